"""The page's WebGL context taken away and given back by the browser, and
shaders the browser refuses."""

import time

from .checks import check
from .page import (DRAG_START, PAGES, TURNED, browser, check_failure_box, check_grid_like,
                   native_pictures, open_drawn)
from .picture import PLANT, new_pixels
from .scene_checks import check_scene
from .watch import is_drawn

# What the page does to its own canvas's context, as a GPU reset would.
LOSE = ("window.quennLoss = document.getElementById('quenn').getContext('webgl2')"
        ".getExtension('WEBGL_lose_context'); window.quennLoss.loseContext();")
RESTORE = "window.quennLoss.restoreContext();"
AWAY = 0.5  # seconds without a context
BACK_WITHIN = 1.0
# Run before the page's own scripts: every shader source is one no browser
# compiles.
REFUSE_SHADERS = """
var compileable = WebGL2RenderingContext.prototype.shaderSource;
WebGL2RenderingContext.prototype.shaderSource = function(shader) {
  return compileable.call(this, shader, 'not a shader');
};
"""


def case_web_context_lost(ctx):
    _, reference = native_pictures(ctx, [TURNED])
    with browser(ctx) as page:
        open_drawn(page, "quenn", "first")
        page.pointer_down("mouse", *DRAG_START)
        page.move_by(*TURNED)
        page.pointer_up("mouse")
        page.script(LOSE)
        time.sleep(AWAY)
        away = page.shoot("away")
        check(not is_drawn(away), "while the context is away", "no scene on the canvas",
              away.summary())
        check(page.exit_code() is None, "while the context is away", "the program running",
              f"exit code {page.exit_code()}")
        page.script(RESTORE)
        back = page.wait_picture("restored", is_drawn, timeout=BACK_WITHIN)
        check_scene(back, "picture after the context's return", any_moment=True)
        # The camera as the drag left it, not as a new start would have it.
        check_grid_like(back, reference, "after the return, yaw -10, pitch 55")
        time.sleep(0.5)
        later = page.shoot("later")
        check(new_pixels(back, later, PLANT, 0) > 0, "after the return",
              "the plants still swaying", "the same plant pixels half a second later")
        check(page.exit_code() is None, "after the return", "no exit code",
              f"exit code {page.exit_code()}")


def case_web_shaders_refused(ctx):
    with browser(ctx) as page:
        page.open(PAGES["quenn"], preload=REFUSE_SHADERS)
        check_failure_box(page, "refused shaders")


CASES = {
    "context-lost": case_web_context_lost,
    "shaders-refused": case_web_shaders_refused,
}
