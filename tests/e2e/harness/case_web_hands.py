"""The page for every hand: the canvas and its controls by keys alone, turns
by buttons, the pause and reduced motion, and the window at a phone's size
and pixel ratio, resized by a finger."""

import time

from .page import TURNED, browser, check_grid_like, native_pictures, open_drawn
from .checks import check, wait_for
from .picture import GRID, grid_difference

TAB_ORDER = ["quenn", "turn-left", "turn-right", "turn-up", "turn-down", "pause", "close"]
TURN_BUTTONS = ["#turn-right", "#turn-left", "#turn-down", "#turn-up"]
# WCAG's least contrast for a focus indicator, and where the ring is looked
# for: this many CSS pixels left of the canvas's box.
RING_CONTRAST = 3.0
RING_SEARCH = 10
PHONE = (390, 844, 3)
# How far a finger drags the resize handle, in CSS pixels.
HANDLE_DRAG = (-60, 40)
# A button held this long repeats its turn (after 0.4 s, every 0.05 s).
HOLD = 1.2
# The canvas's backing store: width and height.
STORE = "var c = document.getElementById('quenn'); return [c.width, c.height];"
# Counts the page's calls of the layer's key entry. Emscripten binds an
# export on its first call, which replaces what stands in Module: a first
# call (a null key, which the layer passes on) binds it before it is wrapped.
COUNT_TURNS = """
Module._quennPageKey(0, 0, 0);
var key = Module._quennPageKey;
window.quennTestTurns = 0;
Module._quennPageKey = function() { window.quennTestTurns++; return key.apply(null, arguments); };
"""


def luminance(rgb):
    def linear(value):
        value /= 255.0
        return value / 12.92 if value <= 0.03928 else ((value + 0.055) / 1.055) ** 2.4
    r, g, b = (linear(v) for v in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    light, dark = sorted((luminance(a), luminance(b)), reverse=True)
    return (light + 0.05) / (dark + 0.05)


def still(page, label, apart=1.0):
    """Two pictures `apart` seconds apart: whether they are the same, pixel for pixel."""
    first = page.shoot(f"{label} 1")
    time.sleep(apart)
    return page.shoot(f"{label} 2").image.tobytes() == first.image.tobytes()


def ring_contrast(page):
    """The best contrast, against the page's own colour, of the pixels in a
    strip just left of the canvas's box."""
    box = page.element_rect("#window")
    strip = {"x": box["x"] - RING_SEARCH, "y": box["y"] + box["height"] / 2, "width": RING_SEARCH,
             "height": 1}
    pixels = list(page.capture(strip).getdata())
    return max(contrast(pixel, pixels[0]) for pixel in pixels)


def case_web_keys(ctx):
    _, reference = native_pictures(ctx, [TURNED])
    with browser(ctx) as page:
        first = open_drawn(page, "quenn", "first")
        unfocused = ring_contrast(page)
        check(unfocused < RING_CONTRAST, "beside the canvas unfocused", "the page's colour",
              f"contrast {unfocused:.2f}:1")
        # Where the browser's window has the system's focus: Firefox's, on an
        # Xvfb without a window manager, never has, and never shows a ring.
        shows_focus = page.script("return document.hasFocus();")
        order = []
        for _ in TAB_ORDER:
            page.press_keys("Tab")
            order.append(page.focused())
            if len(order) == 1 and shows_focus:
                wait_for("the canvas's focus ring", f"contrast {RING_CONTRAST:g}:1 or more "
                         "against the page", lambda: (ring_contrast(page) >= RING_CONTRAST,
                                                      f"{ring_contrast(page):.2f}:1"), 5.0)
        check(order == TAB_ORDER, "the tab order", TAB_ORDER, order)
        page.press_keys("Tab")
        check(page.focused() != "close", "Tab on Close", "the focus leaves it", page.focused())
        page.script("document.getElementById('quenn').focus();")
        page.press_keys(*["ArrowRight"] * 6, "ArrowDown", "ArrowDown")
        page.wait_picture("keys", lambda p: grid_difference(first, p) > 0)
        time.sleep(0.3)  # the last press's frame
        check_grid_like(page.shoot("six right, two down"), reference,
                        "six presses of right and two of down")
        # Back by two of Shift's steps left and two steps up.
        page.press_keys("ArrowLeft", "ArrowLeft", shift=True)
        page.press_keys("ArrowUp", "ArrowUp")
        page.wait_picture("keys back", lambda p: grid_difference(first, p) <=
                          first.count({GRID}) // 100)


def case_web_turn_buttons(ctx):
    with browser(ctx) as page:
        first = open_drawn(page, "quenn", "first")
        grid = first.count({GRID})
        page.script(COUNT_TURNS)
        # Right, then left back; down, then up back.
        for number, button in enumerate(TURN_BUTTONS):
            page.tap(button)
            if number % 2 == 0:
                page.wait_picture(button, lambda p: grid_difference(first, p) > grid // 20)
            else:
                page.wait_picture(button, lambda p: grid_difference(first, p) <= grid // 100)
        taps = page.script("return window.quennTestTurns;")
        check(taps == len(TURN_BUTTONS), "a tap on each turn button", "one turn each",
              f"{taps} turns")
        page.tap("#turn-right", hold=HOLD)
        held = page.script("return window.quennTestTurns;") - taps
        check(held >= 10, f"the right button held {HOLD:g} s", "a turn, then ten or more "
              "repeats", f"{held} turns")


def case_web_pause(ctx):
    with browser(ctx) as page:
        first = open_drawn(page, "quenn", "first")
        check(not still(page, "playing"), "the page playing", "the plants sway", "no change")
        page.click("#pause")
        check("Paused" in page.text("#status") and page.text("#pause") == "Play",
              "after Pause", "a Play button and the status saying paused",
              f"{page.text('#pause')!r}, {page.text('#status')!r}")
        check(still(page, "paused"), "paused, two pictures 1 s apart", "the same", "different")
        page.script("document.getElementById('quenn').focus();")
        page.press_keys("ArrowRight", shift=True)
        page.wait_picture("paused turn", lambda p: grid_difference(first, p) > 0)
        page.press_keys("Space")
        wait_for("Space", "the page playing", lambda: (not still(page, "played", 0.3), "still"),
                 5.0)
        check(page.text("#status") == "Playing." and page.text("#pause") == "Pause",
              "after Space", "a Pause button and the status saying playing",
              f"{page.text('#pause')!r}, {page.text('#status')!r}")


def case_web_reduced_motion(ctx):
    with browser(ctx, reduced_motion=True) as page:
        open_drawn(page, "quenn", "first")
        status = page.text("#status")
        check("reduced motion" in status and "Play" in status, "the status",
              "paused for reduced motion, and how to start", repr(status))
        check(still(page, "reduced motion"), "two pictures 1 s apart", "the same", "different")
        page.click("#pause")
        check(not still(page, "played"), "after Play", "the plants sway", "no change")


def case_web_phone(ctx):
    width, height, ratio = PHONE
    with browser(ctx) as page:
        page.emulate_screen(width, height, ratio)
        open_drawn(page, "quenn", "first")
        canvas = page.element_rect("#quenn")
        store = page.script(STORE)
        check(canvas["width"] == 256 and store == [256, 256], "the window on a phone",
              "256 CSS pixels, and a backing store of 256x256", f"{canvas['width']} CSS px, "
              f"store {store}")
        for css in ["#window", "#close", "#pause", "#turn-down"]:
            rect = page.element_rect(css)
            check(rect["x"] + rect["width"] <= width and rect["y"] + rect["height"] <= height,
                  f"{css} at {width}x{height}", "in the first view", str(rect))
        handle = page.element_rect("#resize-handle")
        check(min(handle["width"], handle["height"]) >= 24, "the resize handle",
              "24x24 CSS pixels or more", str(handle))
        start = (round(handle["x"] + handle["width"] / 2 - canvas["x"]),
                 round(handle["y"] + handle["height"] / 2 - canvas["y"]))
        page.pointer_down("touch", *start)
        page.pointer_move("touch", start[0] + HANDLE_DRAG[0], start[1] + HANDLE_DRAG[1])
        wanted = [256 + HANDLE_DRAG[0], 256 + HANDLE_DRAG[1]]
        wait_for("a finger's drag on the handle", f"a store of {wanted}", lambda: (
            page.script(STORE) == wanted, str(page.script(STORE))), 5.0)
        # On to the viewport's right edge, far past the box's widest.
        page.pointer_move("touch", width - 1 - round(canvas["x"]), start[1])
        page.pointer_up("touch")
        box = page.element_rect("#window")
        check(box["x"] + box["width"] <= width, "the box dragged past the viewport's edge",
              f"no wider than the viewport, {width} px", str(box))


CASES = {
    "keys": case_web_keys,
    "turn-buttons": case_web_turn_buttons,
    "pause": case_web_pause,
    "reduced-motion": case_web_reduced_motion,
    "phone": case_web_phone,
}
