"""The page for every hand: the canvas and its controls by keys alone, turns
by buttons, the pause under reduced motion, the window at a phone's size
and pixel ratio, resized by a finger, and the page as an installed app."""

import time

from .checks import Unsupported, check, wait_for
from .page import (TURNED, browser, check_grid_like, check_no_violations, native_pictures,
                   open_drawn)
from .picture import GRID, OTHER, TEXT_KINDS, grid_difference
from .scene_checks import check_counter_corner

TAB_ORDER = ["quenn", "turn-left", "turn-right", "turn-up", "turn-down", "pause", "close",
             "smaller", "larger"]
TURN_BUTTONS = ["#turn-right", "#turn-left", "#turn-down", "#turn-up"]
# WCAG's least contrast for a focus indicator, and where the ring is looked
# for: this many CSS pixels left of the canvas's box.
RING_CONTRAST = 3.0
RING_SEARCH = 10
PHONE = (390, 844, 3)
# How far a finger drags the resize handle, and a press of Smaller or
# Larger resizes each way, in CSS pixels.
HANDLE_DRAG = (-60, 40)
SIZE_STEP = 32
# The app window's viewports: a desktop's and a phone's, in CSS pixels.
APP_WINDOWS = [(900, 600, 1), (390, 844, 1)]
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
    """WCAG's relative luminance of an sRGB colour."""
    r, g, b = (c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
               for c in (value / 255.0 for value in rgb))
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


def wait_store(page, what, wanted):
    """Waits for the canvas's backing store, which the page sizes as it
    tells the program the client area's size, to be `wanted`."""
    wait_for(what, f"a store of {wanted}", lambda: (page.script(STORE) == wanted,
                                                   str(page.script(STORE))), 5.0)


def unsharp_blocks(picture, ratio):
    """How many ratio x ratio blocks of the counter's box (its text and the
    scene between) are not of one colour, and how many of its pixels are of
    no scene colour or text over one: both 0 when a pixel of the program's
    is drawn as a block of device pixels, unblended."""
    left, top, right, bottom = picture.bounds(TEXT_KINDS)
    blocks = [[(x + dx, y + dy) for dx in range(ratio) for dy in range(ratio)]
              for y in range(top - top % ratio, bottom + 1, ratio)
              for x in range(left - left % ratio, right + 1, ratio)]
    pixels = picture.image.load()
    return (sum(len({pixels[point] for point in block}) > 1 for block in blocks),
            sum(picture.kind_at(*point) == OTHER for block in blocks for point in block))


def case_web_keys(ctx):
    _, reference = native_pictures(ctx, [TURNED])
    with browser(ctx) as page:
        first = open_drawn(page, "quenn", "first")
        unfocused = ring_contrast(page)
        check(unfocused < RING_CONTRAST, "beside the canvas unfocused", "the page's colour",
              f"contrast {unfocused:.2f}:1")
        no_focus = page.take_focus()
        order = []
        for _ in TAB_ORDER:
            page.press_keys("Tab")
            order.append(page.focused())
            if len(order) == 1 and no_focus is None:
                wait_for("the canvas's focus ring", f"contrast {RING_CONTRAST:g}:1 or more "
                         "against the page", lambda: (ring_contrast(page) >= RING_CONTRAST,
                                                      f"{ring_contrast(page):.2f}:1"), 5.0)
        check(order == TAB_ORDER, "the tab order", TAB_ORDER, order)
        page.press_keys("Space")
        wait_store(page, "Space on Larger", [256 + SIZE_STEP] * 2)
        page.press_keys("Tab", shift=True)
        page.press_keys("Space")
        wait_store(page, "Shift+Tab, then Space on Smaller", [256, 256])
        page.press_keys("Tab", "Tab")
        check(page.focused() != "larger", "Tab on Larger", "the focus leaves it", page.focused())
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
    if no_focus:
        raise Unsupported(f"all else held; the focus ring not seen: {no_focus}")


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
    """Asked for reduced motion, the page starts paused and says how to
    start; Play and Pause, and Space on the canvas, start and stop the sway,
    and a turn while paused is drawn."""
    with browser(ctx, reduced_motion=True) as page:
        first = open_drawn(page, "quenn", "first")
        status = page.text("#status")
        check("reduced motion" in status and "Play" in status, "the status at the start",
              "paused for reduced motion, and how to start", repr(status))
        check(still(page, "reduced motion"), "two pictures 1 s apart", "the same", "different")
        page.click("#pause")
        check(not still(page, "played"), "after Play", "the plants sway", "no change")
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


def case_web_phone(ctx):
    width, height, ratio = PHONE
    with browser(ctx) as page:
        page.emulate_screen(width, height, ratio)
        picture = open_drawn(page, "quenn", "first")
        blocks, other = unsharp_blocks(picture, ratio)
        check(blocks == other == 0, f"the counter at ratio {ratio}", f"every {ratio}x{ratio} "
              "block of one colour, none blended", f"{blocks} mixed blocks, {other} pixels of "
              f"no scene or text colour; {picture.width} device pixels wide")
        canvas = page.element_rect("#quenn")
        store = page.script(STORE)
        check(canvas["width"] == 256 and store == [256, 256], "the window on a phone",
              "256 CSS pixels, and a backing store of 256x256", f"{canvas['width']} CSS px, "
              f"store {store}")
        for css in ["#window", "#close", "#pause", "#turn-down", "#resize-handle", "#smaller",
                    "#larger"]:
            rect = page.element_rect(css)
            check(rect["x"] + rect["width"] <= width and rect["y"] + rect["height"] <= height
                  and min(rect["width"], rect["height"]) >= 24, f"{css} at {width}x{height}",
                  "in the first view, 24x24 CSS pixels or more", str(rect))
        start = page.centre("#resize-handle")
        page.pointer_down("touch", *start)
        page.pointer_move("touch", start[0] + HANDLE_DRAG[0], start[1] + HANDLE_DRAG[1])
        wait_store(page, "a finger's drag on the handle",
                   [256 + HANDLE_DRAG[0], 256 + HANDLE_DRAG[1]])
        # On to the viewport's right edge, far past the box's widest.
        page.pointer_move("touch", width - 1 - round(canvas["x"]), start[1])
        page.pointer_up("touch")
        box = page.element_rect("#window")
        check(box["x"] + box["width"] <= width, "the box dragged past the viewport's edge",
              f"no wider than the viewport, {width} px", str(box))
        # A tap on Smaller; then on Larger twice, the widest box growing in height only.
        laid_out = page.element_rect("#quenn")
        widest, tall = round(laid_out["width"]), round(laid_out["height"])
        wait_store(page, "the box at its widest", [widest, tall])
        page.tap("#smaller")
        wait_store(page, "a tap on Smaller", [widest - SIZE_STEP, tall - SIZE_STEP])
        page.tap("#larger")
        page.tap("#larger")
        wait_store(page, "two taps on Larger", [widest, tall + SIZE_STEP])


def case_web_standalone(ctx):
    """Installed as an app: the canvas fills the app window's width and its
    height above the controls, and follows the window's size."""
    with browser(ctx, app=True) as page:
        page.emulate_screen(*APP_WINDOWS[0])
        open_drawn(page, "quenn", "app window")
        for number, (width, height, ratio) in enumerate(APP_WINDOWS):
            page.emulate_screen(width, height, ratio)
            canvas, controls = page.element_rect("#quenn"), page.element_rect("#controls")
            check(canvas["x"] == canvas["y"] == 0 and canvas["width"] == width and
                  0 <= controls["y"] - canvas["y"] - canvas["height"] <= 8 and
                  controls["y"] + controls["height"] <= height, f"the canvas in {width}x"
                  f"{height}", "the window's width, and its height down to the controls",
                  f"canvas {canvas}, controls {controls}")
            wait_store(page, f"the canvas in {width}x{height}",
                       [round(canvas["width"]), round(canvas["height"])])
            check_counter_corner(page.wait_picture(f"app window {number} drawn", lambda p: (
                p.width, p.height) == (width, round(canvas["height"]))), f"app window {number}")
        description = page.description("#quenn")
        check("turn" in description and "resize" not in description,
              "the canvas's description in an app window", "its turns, not the hidden resizing",
              repr(description))
        check_no_violations(ctx, page, "in an app window")


CASES = {
    "keys": case_web_keys,
    "turn-buttons": case_web_turn_buttons,
    "pause": case_web_pause,
    "phone": case_web_phone,
    "standalone": case_web_standalone,
}
