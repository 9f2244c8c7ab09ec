"""The page in headless Chromium, through Selenium and the DevTools protocol."""

import os

from selenium import webdriver
from selenium.common.exceptions import JavascriptException, WebDriverException
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.remote.command import Command

from .browser import Page, ScriptError, png_image

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
MAX_TOUCH_POINTS = 5


class Chromium(Page):
    name = "chromium"
    # Set while the browser runs.
    driver = None
    touch_emulated = False

    def start_browser(self):
        options = Options()
        options.binary_location = CHROMIUM
        flags = FLAGS + ([] if self.webgl else NO_WEBGL)
        if self.reduced_motion:
            flags.append("--force-prefers-reduced-motion")
        if self.app:
            # An app window, as an installed app has: its pages match
            # display-mode standalone wherever they are navigated to.
            flags.append(f"--app={self.page_url('')}")
        for flag in flags:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        service = Service(CHROMEDRIVER, log_path=os.path.join(self.log_dir, "chromedriver.log"))
        self.driver = webdriver.Chrome(service=service, options=options)

    def stop_browser(self):
        if self.driver is None:
            return
        try:
            self.save_console((entry["level"], entry["message"])
                              for entry in self.driver.get_log("browser"))
        except (OSError, WebDriverException):
            pass
        self.driver.quit()
        self.driver = None

    def cdp(self, method, params):
        return self.driver.execute_cdp_cmd(method, params)

    def description(self, css):
        """The element's accessible description, as the browser computes it
        for assistive technology."""
        root = self.cdp("DOM.getDocument", {})["root"]["nodeId"]
        node = self.cdp("DOM.querySelector", {"nodeId": root, "selector": css})["nodeId"]
        tree = self.cdp("Accessibility.getPartialAXTree", {"nodeId": node, "fetchRelatives": False})
        return tree["nodes"][0].get("description", {}).get("value", "")

    def add_preload(self, source):
        return self.cdp("Page.addScriptToEvaluateOnNewDocument", {"source": source})

    def remove_preload(self, preload):
        self.cdp("Page.removeScriptToEvaluateOnNewDocument", preload)

    def navigate(self, url):
        self.driver.get(url)
        self.touch_emulated = False  # told again for each page, to be sure

    def script(self, code, *args):
        try:
            return self.driver.execute_script(code, *args)
        except JavascriptException as problem:
            raise ScriptError(problem.msg) from None

    def capture(self, rect):
        """Through the DevTools protocol, which takes half the time of an
        element's screenshot, so that pictures come a frame or four apart."""
        clip = {"x": rect["x"], "y": rect["y"], "width": rect["width"],
                "height": rect["height"], "scale": 1}
        reply = self.cdp("Page.captureScreenshot",
                         {"format": "png", "clip": clip, "optimizeForSpeed": True})
        return png_image(reply["data"])

    def perform(self, sources):
        self.driver.execute(Command.W3C_ACTIONS, {"actions": sources})

    def set_viewport(self, width, height, ratio):
        self.cdp("Emulation.setDeviceMetricsOverride",
                 {"width": width, "height": height, "deviceScaleFactor": ratio, "mobile": True})

    # Fingers through the DevTools protocol: its WebDriver takes a second
    # finger's touch for a move of the first.

    def press(self, kind, finger, x, y):
        if kind != "touch":
            return super().press(kind, finger, x, y)
        self.touch("touchStart")

    def move_through(self, kind, finger, points):
        if kind != "touch":
            return super().move_through(kind, finger, points)
        touches = self.pointers.touches()
        for point in points:
            touches[finger] = point
            self.touch("touchMove", touches)
        # Chromium holds touch moves for the next animation frame.
        self.script("return new Promise(function(done) { requestAnimationFrame(done); });")

    def lift(self, kind, finger):
        if kind != "touch":
            return super().lift(kind, finger)
        self.touch("touchEnd", {finger: self.pointers.at[("touch", finger)]})

    def touch(self, event, touches=None):
        """Sends the touch points that are down (or `touches`: finger ->
        canvas point), once the page is told it has a touch screen. Chromium
        compares them with the points down before: touchStart and touchMove
        list every point down (a new one comes down, the others move or
        stay), touchEnd lists the points that lift."""
        if not self.touch_emulated:
            self.cdp("Emulation.setTouchEmulationEnabled",
                     {"enabled": True, "maxTouchPoints": MAX_TOUCH_POINTS})
            self.touch_emulated = True
        touches = self.pointers.touches() if touches is None else touches
        viewport = {finger: self.in_viewport(*point) for finger, point in touches.items()}
        points = [{"x": x, "y": y, "id": finger} for finger, (x, y) in viewport.items()]
        self.cdp("Input.dispatchTouchEvent", {"type": event, "touchPoints": points})
