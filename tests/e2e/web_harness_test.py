#!/usr/bin/python3
"""Checks of the page harness's own parts that need no browser: the
pointers' bookkeeping, the input each engine is sent for them, WebDriver
BiDi's values and Firefox's profile."""

import json
import math
import os
import re
import subprocess
import tempfile
import types
import unittest
import urllib.request

from harness import bidi
from harness.browser import Page, PageServer, Pointers, declared_policy
from harness.checks import Unsupported
from harness.chromium import Chromium
from harness.firefox import NO_WEBGL, WEBGL, Firefox, preload, user_js


NODE = "/usr/bin/node"  # Emscripten's, which the page's build needs
CANVAS_RECT = {"x": 17, "y": 44, "width": 256, "height": 256}


def offline(engine):
    """An engine's page with no browser behind it, the canvas at (17, 44):
    `sent` gets each command it would send."""
    page = engine("/nonexistent", "/nonexistent", {})
    page._canvas_rect = CANVAS_RECT
    page.sent = []
    page.script = lambda code, *args: None
    return page


class RecordingPage(Page):
    """A page whose engine records the input it is asked for."""

    def press(self, kind, finger, x, y):
        self.sent.append(("press", kind, finger, self.in_viewport(x, y)))

    def move_through(self, kind, finger, points):
        self.sent.append(("move", kind, finger, [self.in_viewport(*p) for p in points]))

    def lift(self, kind, finger):
        self.sent.append(("lift", kind, finger))


class PointerTest(unittest.TestCase):
    def test_a_drag_moves_from_the_press_in_equal_steps(self):
        page = offline(RecordingPage)
        page.pointer_down("mouse", 85, 128)
        page.move_by(30, 10)
        page.move_by(-30, 35, steps=5)
        page.pointer_up("mouse")
        self.assertEqual(page.sent, [
            ("press", "mouse", 0, (102, 172)),
            ("move", "mouse", 0, [(109, 174), (117, 177), (124, 179), (132, 182)]),
            ("move", "mouse", 0, [(126, 189), (120, 196), (114, 203), (108, 210), (102, 217)]),
            ("lift", "mouse", 0)])

    def test_fingers_are_down_apart_and_lift_alone(self):
        pointers = Pointers()
        pointers.press("touch", 0, (50, 50))
        pointers.press("touch", 1, (100, 100))
        pointers.move("touch", 0, (60, 50))
        pointers.press("pen", 0, (5, 5))
        self.assertEqual(pointers.touches(), {0: (60, 50), 1: (100, 100)})
        pointers.lift("touch", 1)
        self.assertEqual(pointers.touches(), {0: (60, 50)})
        self.assertEqual(pointers.at[("touch", 1)], (100, 100))

    def test_what_no_device_does_is_refused_before_the_browser_gets_it(self):
        page = offline(RecordingPage)
        page.pointer_down("touch", 1, 1)
        refused = [
            lambda: page.pointer_down("touch", 2, 2),            # finger 0 is down
            lambda: page.pointer_move("touch", 2, 2, finger=1),  # a contact cannot hover
            lambda: page.pointer_up("touch", finger=1),
            lambda: page.pointer_up("mouse"),
            lambda: page.pointer_down("mouse", 1, 1, finger=1),  # one mouse, one pen
            lambda: page.pointer_move("pen", 1, 1, finger=2),
            lambda: page.pointer_down("stylus", 1, 1),
            lambda: page.pointer_down("touch", 1, 1, finger=-1),
        ]
        for call in refused:
            with self.assertRaises(ValueError):
                call()
        self.assertEqual(page.sent, [("press", "touch", 0, (18, 45))])

    def test_a_mouse_or_pen_that_is_up_hovers(self):
        page = offline(RecordingPage)
        page.pointer_move("pen", 3, 4)
        page.pointer_move("mouse", 5, 6)
        self.assertEqual(page.sent, [("move", "pen", 0, [(20, 48)]),
                                     ("move", "mouse", 0, [(22, 50)])])
        self.assertEqual(page.pointers.down, {})

    def test_keys_go_down_and_up_in_turn_inside_shift(self):
        page = offline(Page)
        page.perform = page.sent.append
        page.press_keys("Tab", "Space", shift=True)
        (keyboard,), = page.sent
        self.assertEqual([(key["type"], key["value"]) for key in keyboard["actions"]], [
            ("keyDown", "\ue008"), ("keyDown", "\ue004"), ("keyUp", "\ue004"),
            ("keyDown", " "), ("keyUp", " "), ("keyUp", "\ue008")])


def pen_stroke(page):
    """The pen hovers, comes down, moves and lifts."""
    page.pointer_move("pen", 5, 5)
    page.pointer_down("pen", 10, 10)
    page.pointer_move("pen", 20, 15)
    page.pointer_up("pen")


class ChromiumInputTest(unittest.TestCase):
    def test_the_second_finger_comes_down_beside_the_first_and_lifts_alone(self):
        page = offline(Chromium)
        page.cdp = lambda method, params: page.sent.append((method, params))
        page.pointer_down("touch", 50, 50)
        page.pointer_down("touch", 100, 100, finger=1)
        page.pointer_move("touch", 60, 50)
        page.pointer_up("touch", finger=1)
        self.assertEqual(page.sent[0], ("Emulation.setTouchEmulationEnabled",
                                        {"enabled": True, "maxTouchPoints": 5}))
        touches = [(params["type"], [(p["id"], p["x"], p["y"]) for p in params["touchPoints"]])
                   for method, params in page.sent[1:] if method == "Input.dispatchTouchEvent"]
        self.assertEqual(touches, [
            ("touchStart", [(0, 67, 94)]),
            ("touchStart", [(0, 67, 94), (1, 117, 144)]),
            ("touchMove", [(0, 77, 94), (1, 117, 144)]),
            ("touchEnd", [(1, 117, 144)])])

    def test_the_pen_is_a_webdriver_pen_pressing_the_left_button_only_while_down(self):
        page = offline(Chromium)
        page.perform = page.sent.append
        pen_stroke(page)
        sources = [source for (source,) in page.sent]
        self.assertEqual({(s["id"], s["parameters"]["pointerType"]) for s in sources},
                         {("pen-0", "pen")})
        self.assertEqual([[(a["type"], a.get("x"), a.get("button")) for a in s["actions"]]
                          for s in sources], [
            [("pointerMove", 22, None)], [("pointerMove", 27, None), ("pointerDown", None, 0)],
            [("pointerMove", 37, None)], [("pointerUp", None, 0)]])


class BidiValueTest(unittest.TestCase):
    def test_script_results_come_back_as_webdriver_gives_them(self):
        remote = {"type": "object", "value": [
            ["size", {"type": "array", "value": [{"type": "number", "value": 256},
                                                 {"type": "number", "value": 0.5}]}],
            ["name", {"type": "string", "value": "quenn"}],
            ["gone", {"type": "undefined"}],
            ["open", {"type": "boolean", "value": False}],
            ["big", {"type": "bigint", "value": "9007199254740993"}]]}
        self.assertEqual(bidi.python_value(remote), {
            "size": [256, 0.5], "name": "quenn", "gone": None, "open": False,
            "big": 9007199254740993})

    def test_numbers_json_cannot_hold(self):
        self.assertTrue(math.isnan(bidi.python_value({"type": "number", "value": "NaN"})))
        self.assertEqual(bidi.python_value({"type": "number", "value": "-Infinity"}), -math.inf)
        self.assertEqual(bidi.local_value(math.inf), {"type": "number", "value": "Infinity"})

    def test_a_node_is_no_value(self):
        with self.assertRaises(TypeError):
            bidi.python_value({"type": "node", "sharedId": "x"})
        with self.assertRaises(TypeError):
            bidi.local_value(object())

    def test_arguments_go_as_local_values(self):
        self.assertEqual(bidi.local_value([300, "px", True, None, {"w": 2.5}]), {
            "type": "array", "value": [
                {"type": "number", "value": 300}, {"type": "string", "value": "px"},
                {"type": "boolean", "value": True}, {"type": "null"},
                {"type": "object", "value": [["w", {"type": "number", "value": 2.5}]]}]})

    def test_the_address_firefox_announces(self):
        stderr = ("*** You are running in headless mode.\n"
                  "WebDriver BiDi listening on ws://127.0.0.1:41373\n"
                  "Read port: 41373\n")
        self.assertEqual(bidi.listening_address(stderr), "ws://127.0.0.1:41373")
        self.assertIsNone(bidi.listening_address("console.error: ...\n"))


class FirefoxTest(unittest.TestCase):
    def prefs(self, webgl):
        pairs = re.findall(r"^user_pref\((.*?), (.*)\);$", user_js(webgl), re.MULTILINE)
        return {json.loads(name): json.loads(value) for name, value in pairs}

    def test_webgl_is_forced_on_or_off(self):
        on, off = self.prefs(True), self.prefs(False)
        self.assertTrue(all(on[name] == value for name, value in WEBGL.items()))
        self.assertTrue(all(off[name] == value for name, value in NO_WEBGL.items()))
        self.assertNotIn("webgl.disabled", on)
        self.assertNotIn("webgl.force-enabled", off)
        self.assertEqual(on["layout.css.devPixelsPerPx"], "1.0")

    def test_a_preload_runs_its_source_as_given_once_in_a_document(self):
        """Each preload run twice in one global, as Firefox ESR 140 may: each
        source runs once, its declarations global, its text as given."""
        held = 'var runs = (typeof runs === "number" ? runs : 0) + 1; var text = "it\'s\\n";'
        other = "var others = (typeof others === 'number' ? others : 0) + 1;"
        script = (f"var window = globalThis; var held = {preload(held)}, other = "
                  f"{preload(other)}; held(); other(); held(); other(); "
                  "console.log(JSON.stringify([runs, others, text]));")
        shown = subprocess.run([NODE, "-e", script], capture_output=True, text=True, check=True)
        self.assertEqual(json.loads(shown.stdout), [1, 1, "it's\n"])

    def page(self, window="window", tree=None):
        """A page whose browser answers each command with success, and
        browsingContext.getTree with `tree`'s contexts."""
        page = offline(Firefox)
        page.context, page.window = "tab", window
        page.session = types.SimpleNamespace(capabilities={"browserVersion": "140.12.0"})

        def command(method, params):
            page.sent.append((method, params))
            if method == "browsingContext.getTree":
                return {"contexts": tree}
            return {"type": "success", "result": {"type": "undefined"}}

        page.session.command = command
        return page

    def test_each_finger_is_an_input_source_of_its_own_at_viewport_points(self):
        page = self.page()
        page.pointer_down("touch", 50, 50)
        page.pointer_down("touch", 100, 100, finger=1)
        page.pointer_up("touch", finger=1)
        sources = [params["actions"][0] for _, params in page.sent]
        self.assertEqual([(s["id"], s["parameters"]) for s in sources],
                         [("touch-0", {"pointerType": "touch"})] +
                         [("touch-1", {"pointerType": "touch"})] * 2)
        self.assertEqual(sources[1]["actions"], [
            {"type": "pointerMove", "x": 117, "y": 144, "origin": "viewport", "duration": 0},
            {"type": "pointerDown", "button": 0}])
        self.assertEqual(sources[2]["actions"], [{"type": "pointerUp", "button": 0}])
        self.assertEqual({params["context"] for _, params in page.sent}, {"tab"})

    def test_the_pen_is_synthesised_by_the_window_with_its_tip_as_the_button(self):
        page = self.page()
        pen_stroke(page)
        calls = [(params["target"]["context"], [a["value"] for a in params["arguments"]])
                 for method, params in page.sent if method == "script.callFunction"]
        self.assertEqual(calls, [("window", ["mousemove", 22, 49, 0]),
                                 ("window", ["mousedown", 27, 54, 1]),
                                 ("window", ["mousemove", 37, 59, 1]),
                                 ("window", ["mouseup", 37, 59, 0])])

    def test_the_pen_goes_to_the_browser_windows_context_once_found(self):
        page = self.page(window=None, tree=[{"context": "chrome-1", "moz:scope": "chrome"}])
        page.pointer_down("pen", 10, 10)
        page.pointer_up("pen")
        self.assertEqual([params["target"]["context"] for method, params in page.sent
                          if method == "script.callFunction"], ["chrome-1", "chrome-1"])

    def test_a_firefox_that_gives_no_window_context_cannot_run_the_pen(self):
        """As ESR 140 does, which ignores moz:scope and gives the tab."""
        page = self.page(window=None, tree=[{"context": "tab"}])
        with self.assertRaises(Unsupported) as missing:
            page.pointer_down("pen", 10, 10)
        self.assertIn("newer Firefox than 140.12.0", str(missing.exception))
        self.assertFalse([method for method, _ in page.sent if method == "script.callFunction"])


class PolicyTest(unittest.TestCase):
    POLICY = "default-src 'none'; script-src 'self'"

    def folder(self, head):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        with open(os.path.join(folder.name, "index.html"), "w") as page:
            page.write(f"<!DOCTYPE html><html><head>{head}</head><body></body></html>")
        with open(os.path.join(folder.name, "start.js"), "w") as script:
            script.write("'use strict';\n")
        return folder.name

    def meta(self, policy):
        return f'<meta http-equiv="content-security-policy" content="{policy}">'

    def headers(self, folder, policy):
        server = PageServer(folder, policy=policy)
        self.addCleanup(server.stop)
        return [urllib.request.urlopen(server.url(name)).headers.get_all("Content-Security-Policy")
                for name in ("index.html", "start.js")]

    def test_the_declared_policy_goes_out_as_a_header_on_every_file(self):
        folder = self.folder(self.meta(self.POLICY) + '<meta name="theme-color" content="#000">')
        policy = declared_policy(folder)
        self.assertEqual(policy, self.POLICY)
        self.assertEqual(self.headers(folder, policy), [[self.POLICY], [self.POLICY]])
        self.assertEqual(self.headers(folder, None), [None, None])

    def test_a_page_declaring_none_or_two_gives_no_policy(self):
        self.assertIsNone(declared_policy(self.folder("")))
        self.assertIsNone(declared_policy(self.folder(self.meta(self.POLICY) +
                                                      self.meta("default-src 'self'"))))


if __name__ == "__main__":
    unittest.main()
