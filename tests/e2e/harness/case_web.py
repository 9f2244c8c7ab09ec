"""The page in a browser, checked as the native program is: the same
pictures, and the native program's own pictures as the reference."""

import os
import time

from .browser import PAGE_TIMEOUT, declared_policy, png_image
from .engines import ENGINES
from .case_input import move_in_steps, scaled, start_drawn
from .case_failure import MESSAGE
from .case_picture import (RECORD, check_counter_corner, check_recording, check_scene,
                           timed_recording)
from .checks import check, found, wait_for
from .picture import GRID, PLANT, Picture, grid_difference
from .watch import is_drawn

PAGES = {"quenn": "index.html", "quenn-fast": "fast.html"}
# Compiling the program, then its first frame, in software.
PAGE_START = 3.0
# Where the drag starts, in canvas pixels, and the moves the checks make:
# 30 right and 10 down turn the camera from yaw 20, pitch 45 to -10, 55;
# 45 down reaches pitch 90, 100 down would pass it.
DRAG_START = (256 // 3, 256 // 2)
TURNED = (30, 10)
STRAIGHT_DOWN = (30, 45)
PAST_STRAIGHT_DOWN = (30, 100)
# Two renderers rasterise an edge a pixel apart here and there.
NEAR = 1
MOST_MISPLACED = 0.1


def page_dir(ctx):
    return os.path.join(ctx.source_dir, "build", "web")


def browser(ctx, webgl=True, reduced_motion=False, policy_header=True):
    """The case's browser, of the engine the context names. Its server sends
    the policy the page declares as a header too, as a strict host does,
    unless told not to."""
    directory = page_dir(ctx)
    policy = declared_policy(directory) if policy_header else None
    check(policy or not policy_header, "index.html", "one Content Security Policy declared in "
          "a <meta http-equiv>", "none, or more than one")
    return ENGINES[ctx.engine](directory, ctx.log_dir, ctx.shots, webgl=webgl,
                               reduced_motion=reduced_motion, policy=policy)


def describe_violation(violation):
    return (f"{violation['directive']} blocked {violation['blocked'] or '?'} at "
            f"{violation['at']} on {violation['page']} ({violation['sample'] or 'no sample'})")


def check_policy_kept(page, state):
    """No policy violation since the first page of the case loaded."""
    found = page.violations()
    check(not found, f"the page's Content Security Policy {state}",
          "no securitypolicyviolation event since its first script",
          "; ".join(describe_violation(v) for v in found))


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


def open_drawn(page, name, label, preload=None):
    """Opens a page (running `preload` first) and starts its program once
    the page can be watched; the first drawn picture, which must come soon."""
    page.open(PAGES[name], held=True, preload=preload)
    page.shoot("before the start")
    page.start_program()
    shown = time.monotonic()
    picture = page.wait_picture(label, is_drawn)
    delay = time.monotonic() - shown
    check(delay < PAGE_START, f"first picture of {label}",
          f"a drawn frame within {PAGE_START:g} s of the program's start", f"after {delay:.2f} s")
    return picture


def recorded_frames(page):
    """The frames RECORD_FRAMES kept, from the first drawn one, as (time in
    seconds, Picture), once the page's recording is over."""
    frames = wait_for("the page's recording", f"{RECORD:g} s of frames recorded",
                      lambda: found(page.script("return quennTestRecorded();")), PAGE_TIMEOUT)
    pictures = [(when, Picture(png_image(url))) for when, url in frames]
    drawn = [number for number, (_, picture) in enumerate(pictures) if is_drawn(picture)]
    check(drawn, "the frames recorded", "drawn frames", f"{len(pictures)} frames, none drawn")
    return pictures[drawn[0]:]


def misplaced(picture, reference):
    """The share of `picture`'s grid pixels with no grid pixel of
    `reference` within NEAR pixels."""
    ours = picture.positions({GRID})
    theirs = reference.positions({GRID})
    if not ours:
        return 1.0
    far = sum(1 for x, y in ours
              if not any((x + dx, y + dy) in theirs
                         for dx in range(-NEAR, NEAR + 1) for dy in range(-NEAR, NEAR + 1)))
    return far / len(ours)


def check_grid_like(picture, reference, what):
    """The grid where the reference shows it: few pixels of either apart
    from the other's."""
    apart = max(misplaced(picture, reference), misplaced(reference, picture))
    check(apart <= MOST_MISPLACED, f"{what}: grid", "where the native program draws it "
          f"(at most {MOST_MISPLACED:.0%} of grid pixels over {NEAR} pixel from its grid)",
          f"{apart:.1%} apart; page {picture.count({GRID})} grid pixels, native "
          f"{reference.count({GRID})}")


def native_pictures(ctx, moves):
    """The native program's picture at the start and after each drag move
    (from DRAG_START, the button held throughout)."""
    pictures = []
    with ctx.desktop() as desktop:
        _, window, first = start_drawn(ctx, desktop, "native")
        pictures.append(first)
        client = desktop.client
        x, y, _, _ = client.geometry(window)
        start = (x + DRAG_START[0], y + DRAG_START[1])
        client.move_pointer(*start)
        client.press_button()
        at = start
        for number, (dx, dy) in enumerate(moves):
            to = (start[0] + dx, start[1] + dy)
            move_in_steps(client, at, to)
            at = to
            time.sleep(0.3)  # a frame or two
            pictures.append(desktop.shoot(window, f"native move {number}"))
        client.release_button()
    return pictures


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
        page.press_at(*DRAG_START)
        at = (0, 0)
        seen = [first]
        for number, move in enumerate(moves):
            page.move_by(move[0] - at[0], move[1] - at[1])
            at = move
            time.sleep(0.3)
            seen.append(page.shoot(f"move {number}"))
        page.release()
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

        def stretched(picture):
            bounds = picture.bounds({GRID})
            return ((picture.width, picture.height) == new_size and bounds is not None and
                    all(abs(a - b) <= 3 for a, b in zip(bounds, expected)))

        after = page.wait_picture("resized", stretched, timeout=5.0)
        check_scene(after, "resized picture")
        check_counter_corner(after, "resized picture")


def case_web_close(ctx):
    with browser(ctx) as page:
        open_drawn(page, "quenn", "shown")
        page.click("#close")
        code = page.wait_exit(3.0)
        check(code == 0, "exit after the close control", "exit code 0", str(code))
        status = page.text("#status")
        check("exit code 0" in status, "the page after the end", "says the program ended "
              "with exit code 0", repr(status))


def case_web_no_webgl(ctx):
    with browser(ctx, webgl=False) as page:
        page.open(PAGES["quenn"])
        texts = []

        def one_dialog():
            texts[:] = page.dialog_texts()
            return len(texts) == 1, f"{len(texts)} open dialogs"

        wait_for("error dialog", "one open dialog", one_dialog, 10.0)
        check(MESSAGE in texts[0], "the dialog", f"the text {MESSAGE!r}", repr(texts[0]))
        check(page.exit_code() is None, "while the dialog shows", "the program waiting",
              f"exit code {page.exit_code()}")
        check_policy_kept(page, "with the message box open")
        page.click_dialog_button()
        code = page.wait_exit(5.0)
        check(code == 1, "exit code without WebGL 2", "1", str(code))
        check(not page.dialog_texts(), "after the button", "no dialog left",
              f"{len(page.dialog_texts())}")
        check_policy_kept(page, "after the message box")


def case_web_fast(ctx):
    counts = {}
    with browser(ctx) as page:
        for name in PAGES:
            picture = open_drawn(page, name, name)
            check_scene(picture, name)
            counts[name] = picture.count(PLANT)
    check(counts["quenn-fast"] < counts["quenn"] * 0.85, "first plant of quenn-fast",
          "fewer plant pixels than quenn's", f"{counts['quenn-fast']} against {counts['quenn']}")


CASES = {
    "picture": case_web_picture,
    "drag": case_web_drag,
    "resize": case_web_resize,
    "close": case_web_close,
    "no-webgl": case_web_no_webgl,
    "fast": case_web_fast,
}
