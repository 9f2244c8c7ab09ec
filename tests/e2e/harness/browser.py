"""The page in headless Chromium: a private static server for build/web, the
browser through Selenium, and what the page shows, all stopped at the close."""

import base64
import functools
import http.server
import io
import os
import threading

from PIL import Image
from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains

from .checks import CheckFailed, wait_for
from .picture import Picture

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
# WebGL in headless Chromium without a GPU needs SwiftShader, which is only
# allowed when asked for; the rest keeps the browser to the page alone.
FLAGS = ["--headless=new", "--no-sandbox", "--enable-unsafe-swiftshader",
         "--disable-background-networking", "--disable-component-update",
         "--disable-default-apps", "--disable-extensions", "--disable-sync", "--no-first-run",
         "--no-default-browser-check", "--mute-audio", "--force-device-scale-factor=1",
         "--window-size=900,700"]
NO_WEBGL = ["--disable-webgl", "--disable-3d-apis"]
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


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript"})

    def end_headers(self):
        # A cross-origin isolated page: its performance.now() counts in 5 us
        # steps instead of 100 us, fine enough to time one frame.
        self.send_header("Cross-Origin-Opener-Policy", "same-origin")
        self.send_header("Cross-Origin-Embedder-Policy", "require-corp")
        super().end_headers()

    def log_message(self, *args):
        pass


class PageServer:
    """build/web over HTTP on a free local port, in a thread of this process."""

    def __init__(self, directory):
        handler = functools.partial(_QuietHandler, directory=directory)
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def url(self, page):
        return f"http://127.0.0.1:{self.httpd.server_address[1]}/{page}"

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class Browser:
    """Chromium showing one page of `page_dir`. Screenshots of the canvas are
    kept under their labels in `shots`."""

    def __init__(self, page_dir, log_dir, shots, webgl=True):
        self.page_dir = page_dir
        self.log_dir = log_dir
        self.shots = shots
        self.flags = FLAGS + ([] if webgl else NO_WEBGL)
        self.server = None
        self.driver = None
        self.canvas_rect = None  # where the canvas is on the page, once asked

    def __enter__(self):
        try:
            self.server = PageServer(self.page_dir)
            options = Options()
            options.binary_location = CHROMIUM
            for flag in self.flags:
                options.add_argument(flag)
            options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
            service = Service(CHROMEDRIVER,
                              log_path=os.path.join(self.log_dir, "chromedriver.log"))
            self.driver = webdriver.Chrome(service=service, options=options)
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def close(self):
        if self.driver is not None:
            try:
                with open(os.path.join(self.log_dir, "console.log"), "a") as log:
                    for entry in self.driver.get_log("browser"):
                        log.write(f"{entry['level']} {entry['message']}\n")
            except (OSError, WebDriverException):
                pass
            self.driver.quit()
            self.driver = None
        if self.server is not None:
            self.server.stop()
            self.server = None

    def open(self, page, held=False):
        """Loads the page; with `held`, its program waits for start_program."""
        path = os.path.join(self.page_dir, page)
        if not os.path.isfile(path):
            raise CheckFailed(f"cannot open {page}", f"the page at {path}",
                              "no such file (is the web preset built?)")
        self.canvas_rect = None
        hold = None
        if held:
            hold = self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                               {"source": HOLD_PROGRAM})
        self.driver.get(self.server.url(page))
        if hold:
            self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", hold)
        return self.canvas()

    def start_program(self):
        """Lets the program of a page opened with `held` start."""
        self.script("window.quennTestStart();")

    def canvas(self):
        return self.driver.find_element("css selector", "canvas#quenn")

    def script(self, code, *args):
        return self.driver.execute_script(code, *args)

    def shoot(self, label):
        """The canvas as the page shows it, kept under `label`. Through the
        DevTools protocol, which takes half the time of an element's
        screenshot, so that pictures come a frame or four apart."""
        if self.canvas_rect is None:
            self.canvas_rect = self.canvas().rect
        rect = self.canvas_rect
        clip = {"x": rect["x"], "y": rect["y"], "width": rect["width"],
                "height": rect["height"], "scale": 1}
        reply = self.driver.execute_cdp_cmd("Page.captureScreenshot",
                                            {"format": "png", "clip": clip,
                                             "optimizeForSpeed": True})
        image = Image.open(io.BytesIO(base64.b64decode(reply["data"]))).convert("RGB")
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
        self.canvas_rect = None

    def press_at(self, x, y):
        """Moves to canvas pixel (x, y) and presses the left button."""
        canvas = self.canvas()
        size = canvas.size
        ActionChains(self.driver, duration=0).move_to_element_with_offset(
            canvas, x - size["width"] // 2, y - size["height"] // 2).click_and_hold().perform()

    def move_by(self, dx, dy, steps=4):
        chain = ActionChains(self.driver, duration=0)
        done = (0, 0)
        for step in range(1, steps + 1):
            point = (dx * step // steps, dy * step // steps)
            chain.move_by_offset(point[0] - done[0], point[1] - done[1])
            done = point
        chain.perform()

    def release(self):
        ActionChains(self.driver, duration=0).release().perform()

    def open_dialogs(self):
        return self.driver.find_elements("css selector", "dialog[open]")
