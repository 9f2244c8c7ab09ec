"""The page in Firefox ESR, in a window on a private Xvfb (headless Firefox
has no WebGL here), driven over the WebDriver BiDi it speaks itself."""

import hashlib
import json
import os
import shutil
import tempfile

import websocket

from . import bidi
from .browser import Page, ScriptError, png_image
from .checks import CheckFailed, Unsupported, wait_for
from .processes import Process, run_all
from .xserver import XServer

# Another Firefox (an ESR unpacked beside the system's) through the environment.
FIREFOX = os.environ.get("QUENN_FIREFOX", "firefox-esr")
START_TIMEOUT = 30.0
# Room for the canvas's box, its padding and a resize to 300x200.
WINDOW = (900, 700)
# A fresh profile that goes straight to the page and never to the network,
# at one device pixel per CSS pixel. The remote agent sets the rest of what
# automation needs as the command line is read, before any window opens: no
# default-browser check, welcome page, data reporting, updates or safe
# browsing lists (its RecommendedPreferences).
PREFS = {
    "layout.css.devPixelsPerPx": "1.0",
    "browser.startup.page": 0,
    "browser.aboutwelcome.enabled": False,
    "toolkit.telemetry.enabled": False,
    "toolkit.telemetry.unified": False,
    "toolkit.telemetry.archive.enabled": False,
    "toolkit.telemetry.reportingpolicy.firstRun": False,
    "app.update.auto": False,
    "extensions.blocklist.enabled": False,
    "browser.region.update.enabled": False,
    "media.gmp-manager.updateEnabled": False,
    "network.prefetch-next": False,
    "network.dns.disablePrefetch": True,
    "network.http.speculative-parallel-limit": 0,
    # A mouse move reaches the page at once, not with the next frame's.
    "dom.events.coalesce.mousemove": False,
}
# Without it Firefox keeps WebGL from Mesa's software renderer.
WEBGL = {"webgl.force-enabled": True}
NO_WEBGL = {"webgl.disabled": True}
# Firefox's WebDriver has no pen (its pen pointer is a placeholder in ESR 140
# and 153). The browser window itself synthesises the pen's events at a point
# of the page's viewport, as the platform would send them; needs system access
# and a WebDriver BiDi that gives the window's context (moz:scope "chrome",
# which ESR 140 ignores).
PEN_EVENT = """function(type, x, y, buttons) {
  var page = gBrowser.selectedBrowser.getBoundingClientRect();
  window.synthesizeMouseEvent(type, page.left + x, page.top + y, {
      identifier: window.windowUtils.DEFAULT_PEN_POINTER_ID, button: 0, buttons: buttons,
      clickCount: type === 'mousemove' ? 0 : 1, pressure: buttons ? 0.5 : 0,
      inputSource: MouseEvent.MOZ_SOURCE_PEN},
    {isDOMEventSynthesized: true, isWidgetEventSynthesized: false, isAsyncEnabled: false});
}"""

# The browser window makes itself the active one and focuses the page in it.
FOCUS_PAGE = "function() { window.focus(); gBrowser.selectedBrowser.focus(); }"

REDUCED_MOTION = {"ui.prefersReducedMotion": 1}


def user_js(webgl, reduced_motion=False):
    """The profile's user.js: PREFS, WebGL on or off, and reduced motion if asked."""
    prefs = dict(PREFS, **(WEBGL if webgl else NO_WEBGL))
    if reduced_motion:
        prefs.update(REDUCED_MOTION)
    return "".join(f"user_pref({json.dumps(name)}, {json.dumps(value)});\n"
                   for name, value in prefs.items())


def command(profile):
    width, height = WINDOW
    return [FIREFOX, "--profile", profile, "--no-remote", "--new-instance",
            "--remote-debugging-port", "0", "--remote-allow-system-access",
            "--width", str(width), "--height", str(height), "about:blank"]


def preload(source):
    """A preload script's function: `source` run as a classic script would
    run, its declarations global, once in a document. Firefox ESR 140 runs
    a preload script twice in one document in about half the loads its
    service worker serves; run twice, HOLD_PROGRAM holds the program for good."""
    key = json.dumps(hashlib.sha256(source.encode()).hexdigest()[:16])
    return (f"() => {{ var ran = window.quennTestPreloaded || "
            f"(window.quennTestPreloaded = new Set()); if (ran.has({key})) return; "
            f"ran.add({key}); (0, eval)({json.dumps(source)}); }}")


class Firefox(Page):
    name = "firefox"
    # Set while the browser runs.
    x = None
    profile = None
    process = None
    session = None
    context = None  # the tab's browsing context
    window = None   # the browser window's, for the pen

    def start_browser(self):
        if self.app:
            raise Unsupported("Firefox on Linux shows no page in an installed app's window "
                              "(display-mode: standalone)")
        if shutil.which(FIREFOX) is None:
            raise CheckFailed("no Firefox", f"{FIREFOX} installed (scripts/setup)", "not found")
        self.x = XServer(self.log_dir)
        self.profile = tempfile.mkdtemp(prefix="quenn-firefox-")
        with open(os.path.join(self.profile, "user.js"), "w") as prefs:
            prefs.write(user_js(self.webgl, self.reduced_motion))
        env = dict(os.environ, DISPLAY=self.x.display)
        self.process = Process("firefox", command(self.profile), self.log_dir, env=env)
        self.session = bidi.Session(self.wait_listening())
        self.context = self.top_context()["context"]
        self.session.command("session.subscribe", {"events": ["log.entryAdded"]})

    def wait_listening(self):
        def probe():
            code = self.process.exit_code()
            if code is not None:
                raise CheckFailed("Firefox start", "Firefox running",
                                  f"exit code {code}; stderr: {self.process.stderr_gist()}")
            address = bidi.listening_address(self.process.stderr_text())
            return address is not None, "no WebDriver BiDi address on stderr yet"

        wait_for("Firefox start", "WebDriver BiDi listening", probe, START_TIMEOUT, interval=0.05)
        return bidi.listening_address(self.process.stderr_text())

    def top_context(self, **scope):
        return self.session.command("browsingContext.getTree",
                                    {"maxDepth": 0, **scope})["contexts"][0]

    def window_context(self, purpose):
        """The browser window's own context, for `purpose`; Unsupported where
        WebDriver BiDi gives only the pages' contexts."""
        if self.window is None:
            top = self.top_context(**{"moz:scope": "chrome"})
            if top.get("moz:scope") != "chrome":
                version = self.session.capabilities.get("browserVersion")
                raise Unsupported(f"{purpose} needs a newer Firefox than {version}: its "
                                  "WebDriver BiDi gives no browser window's context")
            self.window = top["context"]
        return self.window

    def take_focus(self):
        """Without a window manager the browser's window is never active, and
        shows no focus ring: the window focuses its page itself, as a click
        in the page would have it."""
        try:
            self.call(self.window_context("the page's focus"), FOCUS_PAGE, [])
        except Unsupported as missing:
            return str(missing)
        wait_for("the page's focus", "document.hasFocus()", lambda: (
            self.script("return document.hasFocus();"), "not focused"), START_TIMEOUT)
        return None

    def stop_browser(self):
        run_all([self.end_session, self.stop_firefox, self.remove_profile])

    def end_session(self):
        session, self.session = self.session, None
        if session is None:
            return
        self.save_console((params.get("level"), params.get("text"))
                          for method, params in session.events if method == "log.entryAdded")
        try:
            session.close()
        except (bidi.BidiError, OSError, websocket.WebSocketException):
            pass  # Firefox gone already; it is stopped next in any case

    def stop_firefox(self):
        """Firefox's process group, then its X server."""
        process, x, self.process, self.x = self.process, self.x, None, None
        run_all([part.stop for part in (process, x) if part is not None])

    def remove_profile(self):
        if self.profile is not None:
            shutil.rmtree(self.profile, ignore_errors=True)
            self.profile = None

    def add_preload(self, source):
        return self.session.command("script.addPreloadScript",
                                    {"functionDeclaration": preload(source)})

    def remove_preload(self, preload_script):
        self.session.command("script.removePreloadScript", preload_script)

    def navigate(self, url):
        self.session.command("browsingContext.navigate",
                             {"context": self.context, "url": url, "wait": "complete"})

    def call(self, context, function, args):
        """Calls `function` (JavaScript source) in `context` with `args`."""
        reply = self.session.command("script.callFunction", {
            "functionDeclaration": function, "target": {"context": context},
            "arguments": [bidi.local_value(arg) for arg in args], "awaitPromise": True})
        if reply["type"] == "exception":
            raise ScriptError(reply["exceptionDetails"]["text"])
        return bidi.python_value(reply["result"])

    def script(self, code, *args):
        return self.call(self.context, f"function() {{\n{code}\n}}", args)

    def capture(self, rect):
        clip = {"type": "box", "x": rect["x"], "y": rect["y"], "width": rect["width"],
                "height": rect["height"]}
        reply = self.session.command("browsingContext.captureScreenshot",
                                     {"context": self.context, "clip": clip})
        return png_image(reply["data"])

    def perform(self, sources):
        self.session.command("input.performActions",
                             {"context": self.context, "actions": sources})

    def set_viewport(self, width, height, ratio):
        self.session.command("browsingContext.setViewport", {
            "context": self.context, "viewport": {"width": width, "height": height},
            "devicePixelRatio": ratio})

    # Its WebDriver's pen is a placeholder: the browser window synthesises it.

    def press(self, kind, finger, x, y):
        if kind != "pen":
            return super().press(kind, finger, x, y)
        self.pen("mousedown", x, y, 1)

    def move_through(self, kind, finger, points):
        if kind != "pen":
            return super().move_through(kind, finger, points)
        pressed = ("pen", 0) in self.pointers.down
        for x, y in points:
            self.pen("mousemove", x, y, 1 if pressed else 0)

    def lift(self, kind, finger):
        if kind != "pen":
            return super().lift(kind, finger)
        self.pen("mouseup", *self.pointers.at[("pen", 0)], 0)

    def pen(self, event, x, y, buttons):
        self.call(self.window_context("pen input (its WebDriver BiDi has no pen pointer)"),
                  PEN_EVENT, [event, *self.in_viewport(x, y), buttons])
