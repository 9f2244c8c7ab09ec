"""The page in a browser, checked as the native program is: the same
pictures, and the native program's own pictures as the reference."""

import time

from .browser import PAGE_TIMEOUT, png_image
from .checks import check, found, wait_for
from .page import (DRAG_START, PAGES, TURNED, browser, check_failure_box, check_grid_like,
                   check_policy_kept, native_pictures, open_drawn)
from .picture import GRID, Picture, bounds_near, grid_difference, scaled
from .scene_checks import (RECORD, check_counter_corner, check_fast_plant_smaller,
                           check_recording, check_scene, timed_recording)
from .watch import is_drawn

# From DRAG_START (page.py), 45 down reaches pitch 90, 100 down would pass it.
STRAIGHT_DOWN = (30, 45)
PAST_STRAIGHT_DOWN = (30, 100)


# Run before the page's own scripts: a copy of every frame the program draws
# in its first RECORD seconds, with the time it began it by the page's clock,
# which is the program's. An animation frame wakes the program, which draws
# and then asks for the next one: the canvas holds the frame at that moment.
# Screenshots of a loaded machine come too far apart, and too late, to time
# the counter's first change and the second plant by.
RECORD_FRAMES = """
window.quennTestFrames = [];
(function() {
  var copy = document.createElement('canvas').getContext('2d', {willReadFrequently: true});
  var until = null;
  var painting = null;  // when the animation frame the program draws in began
  var keep = function(canvas) {
    if (until === null) until = painting + %(seconds)d;
    if (painting > until) return;
    copy.canvas.width = canvas.width;
    copy.canvas.height = canvas.height;
    copy.drawImage(canvas, 0, 0);
    quennTestFrames.push([painting, copy.getImageData(0, 0, canvas.width, canvas.height)]);
  };
  var request = window.requestAnimationFrame;
  window.requestAnimationFrame = function(callback) {
    if (painting !== null) keep(document.getElementById('quenn'));
    painting = null;
    return request.call(window, function(stamp) {
      painting = performance.now();
      callback(stamp);
    });
  };
  // The frames recorded, as [time in seconds, PNG data URL], once the
  // recording is over; else null.
  window.quennTestRecorded = function() {
    if (until === null || performance.now() <= until) return null;
    return quennTestFrames.map(function(frame) {
      copy.canvas.width = frame[1].width;
      copy.canvas.height = frame[1].height;
      copy.putImageData(frame[1], 0, 0);
      return [frame[0] / 1000, copy.canvas.toDataURL()];
    });
  };
})();
""" % {"seconds": RECORD * 1000}


def recorded_frames(page):
    """The frames RECORD_FRAMES kept, from the first drawn one, as (time in
    seconds, Picture), once the page's recording is over."""
    frames = wait_for("the page's recording", f"{RECORD:g} s of frames recorded",
                      lambda: found(page.script("return quennTestRecorded();")), PAGE_TIMEOUT)
    pictures = [(when, Picture(png_image(url))) for when, url in frames]
    drawn = [number for number, (_, picture) in enumerate(pictures) if is_drawn(picture)]
    check(drawn, "the frames recorded", "drawn frames", f"{len(pictures)} frames, none drawn")
    return pictures[drawn[0]:]


def case_web_picture(ctx):
    native = native_pictures(ctx, [])[0]
    with browser(ctx) as page:
        first = open_drawn(page, "quenn", "first", preload=RECORD_FRAMES)
        check(first.width == 256 and first.height == 256, "canvas", "256x256 device pixels",
              f"{first.width}x{first.height}")
        check_scene(first, "first picture")
        check_counter_corner(first, "first picture")
        check_grid_like(first, native, "first picture")

        def record_once(attempt):
            if attempt > 1:
                open_drawn(page, "quenn", f"recording {attempt}", preload=RECORD_FRAMES)
            frames = recorded_frames(page)
            return [t - frames[0][0] for t, _ in frames], [picture for _, picture in frames]

        times, frames = timed_recording(record_once)
        check_recording(ctx, frames[0], frames, times)
        check_policy_kept(page, "with the program running")


def case_web_drag(ctx):
    moves = [TURNED, STRAIGHT_DOWN, PAST_STRAIGHT_DOWN, (0, 0)]
    native = native_pictures(ctx, moves)
    with browser(ctx) as page:
        first = open_drawn(page, "quenn", "first")
        page.pointer_down("mouse", *DRAG_START)
        at = (0, 0)
        seen = [first]
        for number, move in enumerate(moves):
            page.move_by(move[0] - at[0], move[1] - at[1])
            at = move
            time.sleep(0.3)
            seen.append(page.shoot(f"move {number}"))
        page.pointer_up("mouse")
        check_policy_kept(page, "through a drag")
    turned, straight, past, back = seen[1:]
    grid = first.count({GRID})
    check(grid_difference(first, turned) > grid // 4, "drag 30 right, 10 down",
          "the grid moved (over a quarter of its pixels)", f"{grid_difference(first, turned)}")
    check_grid_like(turned, native[1], "turned to yaw -10, pitch 55")
    check_grid_like(straight, native[2], "looking straight down, pitch 90")
    check(grid_difference(straight, past) <= grid // 100, "drag past pitch 90",
          "the picture at pitch 90: pitch stops there", f"{grid_difference(straight, past)} "
          "pixels differ")
    check(grid_difference(first, back) <= grid // 100, "drag back to the start",
          "the first picture again", f"{grid_difference(first, back)} pixels differ")


def case_web_resize(ctx):
    new_size = (300, 200)
    with browser(ctx) as page:
        before = open_drawn(page, "quenn", "reference")
        expected = scaled(before.bounds({GRID}), new_size[0] / before.width,
                          new_size[1] / before.height)
        page.resize_canvas(*new_size)

        after = page.wait_picture("resized", lambda p: (p.width, p.height) == new_size and
                                  bounds_near(p.bounds({GRID}), expected), timeout=5.0)
        check_scene(after, "resized picture")
        check_counter_corner(after, "resized picture")


def case_web_close(ctx):
    with browser(ctx) as page:
        open_drawn(page, "quenn", "shown")
        page.click("#close")
        code = page.wait_exit(3.0)
        check(code == 0, "exit after the close control", "exit code 0", str(code))
        # Space on the canvas would pause a running program.
        page.script("document.getElementById('quenn').focus();")
        page.press_keys("Space")
        status = page.text("#status")
        check("exit code 0" in status, "the page after the end, and Space on it",
              "says the program ended with exit code 0", repr(status))


def case_web_no_webgl(ctx):
    with browser(ctx, webgl=False) as page:
        page.open(PAGES["quenn"])
        check_failure_box(page, "without WebGL 2",
                          lambda: check_policy_kept(page, "with the message box open"))
        check_policy_kept(page, "after the message box")


def case_web_fast(ctx):
    pictures = {}
    with browser(ctx) as page:
        for name in PAGES:
            pictures[name] = open_drawn(page, name, name)
            check_scene(pictures[name], name)
    check_fast_plant_smaller(pictures)


CASES = {
    "picture": case_web_picture,
    "drag": case_web_drag,
    "resize": case_web_resize,
    "close": case_web_close,
    "no-webgl": case_web_no_webgl,
    "fast": case_web_fast,
}
