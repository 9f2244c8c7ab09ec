"""Touch and pen on the page, as Windows promotes them to the left button:
a drag of the first finger or of the pen's tip turns the camera, a second
finger changes nothing, and the page does not scroll for it."""

import time

from .checks import check
from .page import DRAG_START, TURNED, browser, check_grid_like, native_pictures, open_drawn
from .picture import GRID, grid_difference

# Where the second finger comes down and how far it goes, in canvas pixels.
SECOND_FINGER = (200, 60)
SECOND_FINGER_MOVE = (-40, 50)
# Taller than the window: a drag the page took for itself would scroll it.
SCROLLABLE = "document.body.style.minHeight = '4000px'; document.body.style.minWidth = '4000px';"


def scrolled(page):
    return page.script("return [window.scrollX, window.scrollY];")


def turned_by(ctx, kind, second_finger=False):
    """Drags with `kind` by TURNED from DRAG_START and checks the picture is
    the native program's at yaw -10, pitch 55; with `second_finger`, a second
    contact comes down, moves and lifts during the drag and changes nothing."""
    _, reference = native_pictures(ctx, [TURNED])
    with browser(ctx) as page:
        open_drawn(page, "quenn", "first")
        page.script(SCROLLABLE)
        page.pointer_down(kind, *DRAG_START)
        page.move_by(*TURNED, kind=kind)
        time.sleep(0.3)  # a frame or two
        turned = page.shoot(f"{kind} turned")
        check_grid_like(turned, reference, f"{kind} drag 30 right, 10 down")
        if second_finger:
            page.pointer_down(kind, *SECOND_FINGER, finger=1)
            page.move_by(*SECOND_FINGER_MOVE, kind=kind, finger=1)
            page.pointer_up(kind, finger=1)
            time.sleep(0.3)
            after = page.shoot("second finger")
            moved = grid_difference(turned, after)
            check(moved <= turned.count({GRID}) // 100, "a second finger during the drag",
                  "the same picture (at most 1% of grid pixels differ)", f"{moved} differ")
        page.pointer_up(kind)
        check(scrolled(page) == [0, 0], f"the page after a {kind} drag on the canvas",
              "not scrolled", f"scrolled to {scrolled(page)}")


CASES = {
    "touch": lambda ctx: turned_by(ctx, "touch", second_finger=True),
    "pen": lambda ctx: turned_by(ctx, "pen"),
}
