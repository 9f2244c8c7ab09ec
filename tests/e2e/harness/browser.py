"""The page in a browser: a private static server for build/web, and what a
case does to the page and sees of it, the same in every engine. The engines
(chromium.py, firefox.py) start and stop their browser and carry out the
few steps that differ: loading with scripts run first, running a script,
capturing the screen, and input."""

import base64
import functools
import html.parser
import http.server
import io
import os
import threading
import time

from PIL import Image

from .checks import CheckFailed, wait_for
from .picture import Picture
from .processes import run_all

PAGE_TIMEOUT = 20.0
# Run in every page before its own scripts: holds the program's WebAssembly
# back until start_program, so that a test can watch from its first frame.
HOLD_PROGRAM = """
window.quennTestStart = null;
var held = new Promise(function(resolve) { window.quennTestStart = resolve; });
['instantiate', 'instantiateStreaming'].forEach(function(name) {
  var original = WebAssembly[name];
  WebAssembly[name] = function() {
    var args = arguments;
    return held.then(function() { return original.apply(WebAssembly, args); });
  };
});
"""
# Run in every page before its own scripts, for the rest of the browser's
# life: each securitypolicyviolation event, and each error or promise
# rejection that no listener of the page handled (asked once they all had
# it), kept in the tab's session storage so that those of a page that loads
# again are kept too.
RECORD_FAULTS = """
(function() {
  var keep = function(list, entry) {
    var seen = JSON.parse(sessionStorage.getItem(list) || '[]');
    seen.push(entry);
    sessionStorage.setItem(list, JSON.stringify(seen));
  };
  window.addEventListener('securitypolicyviolation', function(event) {
    keep('quennTestViolations', {page: location.href, directive: event.effectiveDirective,
         blocked: event.blockedURI, at: event.sourceFile + ':' + event.lineNumber,
         sample: event.sample});
  }, true);
  ['error', 'unhandledrejection'].forEach(function(type) {
    window.addEventListener(type, function(event) {
      setTimeout(function() {
        if (event.defaultPrevented) return;
        var thrown = event.error || event.reason;
        var what = thrown && thrown.name ? thrown.name + ': ' + thrown.message
                                         : String(thrown || event.message);
        keep('quennTestUnhandled', type + ' on ' + location.href + ': ' + what);
      });
    });
  });
})();
"""
RECORDED = "return JSON.parse(sessionStorage.getItem(arguments[0]) || '[]');"
CANVAS = "canvas#quenn"
# Where an element is in the viewport, in CSS pixels.
ELEMENT_RECT = """
var element = document.querySelector(arguments[0]);
if (!element) return null;
var rect = element.getBoundingClientRect();
return {x: rect.left, y: rect.top, width: rect.width, height: rect.height};
"""
KINDS = ("mouse", "touch", "pen")
# WebDriver's values of the keys the cases press.
KEYS = {"Tab": "\ue004", "Shift": "\ue008", "Space": " ", "ArrowLeft": "\ue012",
        "ArrowUp": "\ue013", "ArrowRight": "\ue014", "ArrowDown": "\ue015"}
DOWN = {"type": "pointerDown", "button": 0}
UP = {"type": "pointerUp", "button": 0}


def move_to(x, y):
    """A pointer's move to a viewport point, at once."""
    return {"type": "pointerMove", "x": x, "y": y, "origin": "viewport", "duration": 0}


def png_image(data):
    """An RGB image from base64 PNG data, bare or as a data URL."""
    return Image.open(io.BytesIO(base64.b64decode(data.split(",")[-1]))).convert("RGB")


class ScriptError(Exception):
    """A script run in the page threw."""


class PageReader(html.parser.HTMLParser):
    """A page's elements in order (tag, attributes), and where it has code
    inline: a script element without src, a style element, a style= or
    on...= attribute."""

    def __init__(self):
        super().__init__()
        self.elements = []
        self.inline_code = []  # where: what

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        self.elements.append((tag, attrs))
        if tag == "script" and "src" not in attrs:
            self.inline_code.append(f"<script> #{len(self.elements)} without src")
        if tag == "style":
            self.inline_code.append(f"<style> #{len(self.elements)}")
        for name in attrs:
            if name == "style" or name.startswith("on"):
                self.inline_code.append(f"{name}= on <{tag}> #{len(self.elements)}")


def read_page(directory, name="index.html"):
    reader = PageReader()
    with open(os.path.join(directory, name)) as source:
        reader.feed(source.read())
    return reader


def is_policy(element):
    tag, attrs = element
    return tag == "meta" and (attrs.get("http-equiv") or "").lower() == "content-security-policy"


def declared_policy(directory, page="index.html"):
    """The policy `page` of `directory` declares, for a server to send as
    its header too; None where it declares none or more than one."""
    elements = read_page(directory, page).elements
    policies = [attrs.get("content") or "" for _, attrs in filter(is_policy, elements)]
    return policies[0] if len(policies) == 1 else None


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript"})

    def __init__(self, *args, policy=None, **kwargs):
        self.policy = policy
        super().__init__(*args, **kwargs)

    def end_headers(self):
        # A cross-origin isolated page: its performance.now() counts in 5 us
        # steps instead of 100 us, fine enough to time one frame.
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        if self.policy:
            self.send_header("Content-Security-Policy", self.policy)
        super().end_headers()

    def log_message(self, *args):
        pass


class PageServer:
    """build/web over HTTP on a free local port (or `port`), in a thread of
    this process; with `policy`, as a Content-Security-Policy header on
    every response, as a strict host sends it."""

    def __init__(self, directory, port=0, policy=None):
        handler = functools.partial(_QuietHandler, directory=directory, policy=policy)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
        self.port = self.httpd.server_address[1]
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self, page):
        return f"http://127.0.0.1:{self.port}/{page}"

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Pointers:
    """Which pointers are down and where each pointer last was, in canvas
    pixels: one mouse, one pen, and touch contacts told apart by finger.
    Refuses what no device can do: a touch contact moving or lifting while
    it is not down, a press on a pointer that is down, a second mouse."""

    def __init__(self):
        self.down = {}  # (kind, finger) -> (x, y), in the order they came down
        self.at = {}

    @staticmethod
    def key(kind, finger):
        if kind not in KINDS:
            raise ValueError(f"pointer kind {kind!r}: not one of {', '.join(KINDS)}")
        if finger != 0 and kind != "touch":
            raise ValueError(f"{kind} finger {finger}: only touch has more than one contact")
        if not isinstance(finger, int) or finger < 0:
            raise ValueError(f"finger {finger!r}: a number from 0")
        return kind, finger

    def press(self, kind, finger, point):
        key = self.key(kind, finger)
        if key in self.down:
            raise ValueError(f"{describe(key)} is down already")
        self.down[key] = self.at[key] = point

    def move(self, kind, finger, point):
        key = self.key(kind, finger)
        if kind == "touch" and key not in self.down:
            raise ValueError(f"{describe(key)} is not down: a touch contact cannot hover")
        self.at[key] = point
        if key in self.down:
            self.down[key] = point

    def lift(self, kind, finger):
        key = self.key(kind, finger)
        if key not in self.down:
            raise ValueError(f"{describe(key)} is not down")
        del self.down[key]

    def touches(self):
        """The touch contacts that are down: finger -> point."""
        return {finger: point for (kind, finger), point in self.down.items() if kind == "touch"}


def describe(key):
    kind, finger = key
    return f"touch finger {finger}" if kind == "touch" else f"the {kind}"


class Page:
    """A browser showing one page of `page_dir` at a time. Screenshots of
    the canvas are kept under their labels in `shots`; the browser's logs
    go to `log_dir`. Positions are in canvas CSS pixels from its top-left
    corner. The server sends `policy` as a header; every page records the
    policy violations it sees. With `reduced_motion`, the browser tells
    pages that the user prefers reduced motion; with `app`, it shows the
    pages in the window of an installed app (display-mode: standalone).

    An engine sets `name` and does these its own way:
    - start_browser(); stop_browser(), which stops all the browser needs
      and is safe to call twice;
    - add_preload(source): runs `source` in each new document before its
      own scripts, until remove_preload(what add_preload returned);
    - navigate(url): returns once the page has loaded;
    - script(code, *args): runs `code` as a function's body with `args` as
      `arguments`; its return value (a promise's once settled), or ScriptError;
    - capture(rect): the viewport's pixels in `rect` as an RGB image;
    - perform(sources): W3C input sources' actions, as trusted input;
    - set_viewport(width, height, ratio), for emulate_screen."""

    name = None

    def __init__(self, page_dir, log_dir, shots, webgl=True, reduced_motion=False,
                 policy=None, app=False):
        self.page_dir = page_dir
        self.log_dir = log_dir
        self.shots = shots
        self.webgl = webgl
        self.reduced_motion = reduced_motion
        self.policy = policy
        self.app = app
        self.server = None
        self.port = None  # the server's, kept while it is stopped
        self.pointers = Pointers()
        self._canvas_rect = None  # where the canvas is in the viewport, once asked

    def __enter__(self):
        try:
            self.server = PageServer(self.page_dir, policy=self.policy)
            self.start_browser()
            self.add_preload(RECORD_FAULTS)
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def close(self):
        """Stops the browser, then the server."""
        run_all([self.stop_browser, self.stop_server])

    def stop_server(self):
        if self.server is not None:
            self.port = self.server.port
            self.server.stop()
            self.server = None

    def save_console(self, entries):
        """Appends the browser's console messages, (level, text) each, to its log."""
        with open(os.path.join(self.log_dir, "console.log"), "a") as log:
            log.writelines(f"{level} {text}\n" for level, text in entries)

    # A case may stop the server (the page then runs from its service worker)
    # and serve another build of the page at the same address: one origin,
    # so that the page's worker sees the new build.

    def page_url(self, page):
        """The page's address, served or not."""
        port = self.server.port if self.server is not None else self.port
        return f"http://127.0.0.1:{port}/{page}"

    def serve(self, directory):
        """From now on the page's address serves the files of `directory`."""
        self.stop_server()
        self.page_dir = directory
        self.server = PageServer(directory, self.port, self.policy)

    def open(self, page, held=False, preload=None):
        """Loads the page. With `held`, its program waits for start_program;
        `preload`, JavaScript source, runs in the page before its own scripts."""
        path = os.path.join(self.page_dir, page)
        if not os.path.isfile(path):
            raise CheckFailed(f"cannot open {page}", f"the page at {path}",
                              "no such file (is the web preset built?)")
        self._canvas_rect = None
        self.pointers = Pointers()
        sources = ([HOLD_PROGRAM] if held else []) + ([preload] if preload else [])
        added = [self.add_preload(source) for source in sources]
        self.navigate(self.page_url(page))
        for preload in added:
            self.remove_preload(preload)

    def violations(self):
        """Each policy violation the pages of the tab saw, in order, since
        the first of them loaded: page, directive, blocked URI, at, sample."""
        return self.script(RECORDED, "quennTestViolations")

    def unhandled(self):
        """Each error and promise rejection the pages of the tab left
        unhandled, in order, since the first of them loaded."""
        return self.script(RECORDED, "quennTestUnhandled")

    def start_program(self):
        """Lets the program of a page opened with `held` start."""
        self.script("window.quennTestStart();")

    def element_rect(self, css):
        rect = self.script(ELEMENT_RECT, css)
        if rect is None:
            raise CheckFailed(f"the element {css}", "one on the page", "none")
        return rect

    def canvas_rect(self):
        """The canvas's place in the viewport: x, y, width, height."""
        if self._canvas_rect is None:
            self._canvas_rect = self.element_rect(CANVAS)
        return self._canvas_rect

    def in_viewport(self, x, y):
        rect = self.canvas_rect()
        return rect["x"] + x, rect["y"] + y

    def centre(self, css):
        """The centre of the element, in canvas pixels, rounded."""
        rect, canvas = self.element_rect(css), self.canvas_rect()
        return (round(rect["x"] + rect["width"] / 2 - canvas["x"]),
                round(rect["y"] + rect["height"] / 2 - canvas["y"]))

    def shoot(self, label):
        """The canvas as the page shows it, kept under `label`."""
        image = self.capture(self.canvas_rect())
        self.shots[label] = image
        return Picture(image)

    def wait_picture(self, label, accept, timeout=PAGE_TIMEOUT):
        latest = {}

        def probe():
            code = self.exit_code()
            if code is not None:
                raise CheckFailed(f"picture {label}", "the program running",
                                  f"it ended with exit code {code}")
            latest["picture"] = picture = self.shoot(label)
            return accept(picture), picture.summary()

        wait_for(f"picture {label}", "the picture asked for", probe, timeout)
        return latest["picture"]

    def exit_code(self):
        """The exit code the page shows once the program ended, else None."""
        code = self.script("return document.body.dataset.exitCode;")
        return None if code is None else int(code)

    def wait_exit(self, timeout):
        wait_for("exit", "the page showing the exit code",
                 lambda: (self.exit_code() is not None, "no exit code yet"), timeout)
        return self.exit_code()

    def resize_canvas(self, width, height):
        """Lays the canvas's box out at width x height CSS pixels, as the
        user does with its resize handle."""
        self.script("var box = document.getElementById('window');"
                    "box.style.width = arguments[0] + 'px';"
                    "box.style.height = arguments[1] + 'px';", width, height)
        self._canvas_rect = None

    def emulate_screen(self, width, height, ratio):
        """A viewport of width x height CSS pixels at `ratio` device pixels
        each, as a phone's, for the page shown and those loaded next."""
        self._canvas_rect = None
        self.set_viewport(width, height, ratio)

    def text(self, css):
        """The text the first element matching `css` shows."""
        text = self.script("var e = document.querySelector(arguments[0]);"
                           "return e ? e.innerText : null;", css)
        if text is None:
            raise CheckFailed(f"the text of {css}", "an element showing it", "no such element")
        return text

    def dialog_texts(self):
        """The text of each open dialog, in page order."""
        return self.script("return Array.from(document.querySelectorAll('dialog[open]'),"
                           " function(d) { return d.innerText; });")

    def click_dialog_button(self):
        """Clicks the button of the one open dialog."""
        count = len(self.dialog_texts())
        if count != 1:
            raise CheckFailed("a dialog's button", "one open dialog", f"{count}")
        self.click("dialog[open] button")

    def click(self, css):
        """Clicks the first element matching `css` with the mouse, at its centre."""
        rect = self.element_rect(css)
        self.pointer_actions("mouse", 0, [move_to(rect["x"] + rect["width"] / 2,
                                                  rect["y"] + rect["height"] / 2), DOWN, UP])

    def press_keys(self, *names, shift=False):
        """Presses and releases each key of `names` (KEYS) in turn, as the
        keyboard does, to the focused element; with `shift` held throughout."""
        held = [KEYS["Shift"]] if shift else []
        keys = [("keyDown", key) for key in held]
        for name in names:
            keys += [("keyDown", KEYS[name]), ("keyUp", KEYS[name])]
        keys += [("keyUp", key) for key in held]
        self.perform([{"type": "key", "id": "keyboard",
                       "actions": [{"type": kind, "value": key} for kind, key in keys]}])

    def tap(self, css, hold=0.0):
        """A finger's tap on the element, lifted after `hold` seconds."""
        self.pointer_down("touch", *self.centre(css))
        time.sleep(hold)
        self.pointer_up("touch")

    def focused(self):
        """The id of the focused element, '' for the document's body."""
        return self.script("var e = document.activeElement;"
                           "return e && e !== document.body ? e.id : '';")

    def take_focus(self):
        """Gives the page the focus of a browser window the user works in,
        which shows focus rings; None, or why the browser here cannot."""
        return None  # the engine's window has it from the start

    # Pointers of each kind: the page gets Pointer Events of that type; a
    # second touch contact is not the primary one.

    def pointer_down(self, kind, x, y, finger=0):
        """Moves the pointer to (x, y) and puts it down: the left button,
        the pen's tip or the finger."""
        self.pointers.press(kind, finger, (x, y))
        self.press(kind, finger, x, y)

    def pointer_move(self, kind, x, y, finger=0):
        """Moves the pointer to (x, y); a mouse or pen that is up hovers."""
        self.pointers.move(kind, finger, (x, y))
        self.move_through(kind, finger, [(x, y)])

    def move_by(self, dx, dy, kind="mouse", finger=0, steps=4):
        """Moves the pointer by (dx, dy) in `steps` equal moves, all at once."""
        x, y = self.pointers.at.get(self.pointers.key(kind, finger), (0, 0))
        points = [(x + dx * step // steps, y + dy * step // steps) for step in range(1, steps + 1)]
        self.pointers.move(kind, finger, points[-1])
        self.move_through(kind, finger, points)

    def pointer_up(self, kind, finger=0):
        """Lifts the pointer where it is."""
        self.pointers.lift(kind, finger)
        self.lift(kind, finger)

    # Each pointer through W3C actions, an input source per kind and finger;
    # an engine sends a kind its WebDriver lacks its own way.

    def pointer_actions(self, kind, finger, actions):
        self.perform([{"type": "pointer", "id": f"{kind}-{finger}",
                       "parameters": {"pointerType": kind}, "actions": actions}])

    def press(self, kind, finger, x, y):
        self.pointer_actions(kind, finger, [move_to(*self.in_viewport(x, y)), DOWN])

    def move_through(self, kind, finger, points):
        """Moves the pointer through `points` in one go."""
        self.pointer_actions(kind, finger, [move_to(*self.in_viewport(x, y)) for x, y in points])

    def lift(self, kind, finger):
        self.pointer_actions(kind, finger, [UP])
