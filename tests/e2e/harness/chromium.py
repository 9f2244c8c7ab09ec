"""The page in headless Chromium, through Selenium and the DevTools protocol."""

import os

from selenium import webdriver
from selenium.common.exceptions import JavascriptException, WebDriverException
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains

from .browser import CANVAS, Page, ScriptError, png_image

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
# A pen's pressure while its tip is down, as a pen that cannot tell reports it.
PEN_PRESSURE = 0.5


def touch_command(event, touches):
    """Input.dispatchTouchEvent's parameters for touch points (finger ->
    viewport point). Chromium compares them with the points down before:
    touchStart and touchMove list every point down (a new one comes down, the
    others move or stay), touchEnd lists the points that lift."""
    points = [{"x": x, "y": y, "id": finger} for finger, (x, y) in touches.items()]
    return {"type": event, "touchPoints": points}


def pen_command(event, x, y, pressed):
    """Input.dispatchMouseEvent's parameters for the pen at a viewport point;
    `pressed`, whether its tip is down once the event is through."""
    command = {"type": event, "x": x, "y": y, "pointerType": "pen",
               "button": "left" if pressed or event == "mouseReleased" else "none",
               "buttons": 1 if pressed else 0,
               "force": PEN_PRESSURE if pressed else 0}
    if event != "mouseMoved":
        command["clickCount"] = 1
    return command


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
            with open(os.path.join(self.log_dir, "console.log"), "a") as log:
                for entry in self.driver.get_log("browser"):
                    log.write(f"{entry['level']} {entry['message']}\n")
        except (OSError, WebDriverException):
            pass
        self.driver.quit()
        self.driver = None

    def cdp(self, method, params):
        return self.driver.execute_cdp_cmd(method, params)

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

    def click(self, css):
        self.driver.find_element("css selector", css).click()

    def key_actions(self, actions):
        chain = ActionChains(self.driver, duration=0)
        for action, value in actions:
            (chain.key_down if action == "down" else chain.key_up)(value)
        chain.perform()

    def emulate_screen(self, width, height, ratio):
        self._canvas_rect = None
        self.cdp("Emulation.setDeviceMetricsOverride",
                 {"width": width, "height": height, "deviceScaleFactor": ratio, "mobile": True})

    # The mouse through WebDriver's actions, from the canvas's centre.

    def mouse_to(self, chain, x, y):
        canvas = self.driver.find_element("css selector", CANVAS)
        size = canvas.size
        return chain.move_to_element_with_offset(canvas, x - size["width"] // 2,
                                                 y - size["height"] // 2)

    def press(self, kind, finger, x, y):
        if kind == "mouse":
            self.mouse_to(ActionChains(self.driver, duration=0), x, y).click_and_hold().perform()
        elif kind == "pen":
            self.pen("mousePressed", x, y, True)
        else:
            self.touch("touchStart")

    def move_through(self, kind, finger, points):
        if kind == "mouse":
            chain = ActionChains(self.driver, duration=0)
            for x, y in points:
                self.mouse_to(chain, x, y)
            chain.perform()
        elif kind == "pen":
            pressed = ("pen", 0) in self.pointers.down
            for x, y in points:
                self.pen("mouseMoved", x, y, pressed)
        else:
            touches = self.pointers.touches()
            for point in points:
                touches[finger] = point
                self.touch("touchMove", touches)
            # Chromium holds touch moves for the next animation frame.
            self.script("return new Promise(function(done) { requestAnimationFrame(done); });")

    def lift(self, kind, finger):
        if kind == "mouse":
            ActionChains(self.driver, duration=0).release().perform()
        elif kind == "pen":
            self.pen("mouseReleased", *self.pointers.at[("pen", 0)], False)
        else:
            self.touch("touchEnd", {finger: self.pointers.at[("touch", finger)]})

    def pen(self, event, x, y, pressed):
        self.cdp("Input.dispatchMouseEvent", pen_command(event, *self.in_viewport(x, y), pressed))

    def touch(self, event, touches=None):
        """Sends the touch points that are down (or `touches`), once the
        page is told it has a touch screen."""
        if not self.touch_emulated:
            self.cdp("Emulation.setTouchEmulationEnabled",
                     {"enabled": True, "maxTouchPoints": MAX_TOUCH_POINTS})
            self.touch_emulated = True
        touches = self.pointers.touches() if touches is None else touches
        viewport = {finger: self.in_viewport(*point) for finger, point in touches.items()}
        self.cdp("Input.dispatchTouchEvent", touch_command(event, viewport))
