"""The window and what it shows: scene colours, counter, second plant, quenn-fast."""

import time

from .checks import check
from .picture import Picture
from .scene_checks import (RECORD, check_counter_corner, check_fast_plant_smaller,
                           check_recording, check_scene, timed_recording)
from .watch import wait_picture, wait_window

CLIENT_SIZE = (256, 256)
# The second plant shows from 1.5 s after the first frame, and the counter
# its first real value after 1 s.
FIRST_SECOND = 1.0


def start_and_shoot(ctx, desktop, program_path, label):
    """Starts a program; returns it, its window and its first drawn picture,
    which is taken within the first second after the window showed."""
    program = desktop.start(ctx.runner, program_path)
    window = wait_window(desktop, program, ctx.runner.window_timeout)
    shown = time.monotonic()
    picture = wait_picture(desktop, program, window, label, ctx.runner.window_timeout)
    delay = time.monotonic() - shown
    check(delay < FIRST_SECOND, f"first picture of {label}",
          f"a drawn frame within {FIRST_SECOND} s of the window showing", f"after {delay:.2f} s")
    return program, window, picture


def case_window(ctx):
    with ctx.desktop(window_manager=True) as desktop:
        program = desktop.start(ctx.runner, ctx.program)
        window = wait_window(desktop, program, ctx.runner.window_timeout)
        size = desktop.client.geometry(window)[2:]
        check(size == CLIENT_SIZE, "client area", f"{CLIENT_SIZE[0]}x{CLIENT_SIZE[1]}",
              f"{size[0]}x{size[1]}")
        if ctx.native:
            # Wine names the class after the executable.
            hint = desktop.client.class_hint(window)
            check(hint is not None and hint[1] == "Vell", "window class", "WM_CLASS class 'Vell'",
                  repr(hint))


def record(desktop, window, seconds, interval=0.04):
    """Screenshots for `seconds`, with the time each was taken."""
    series = []
    start = time.monotonic()
    while time.monotonic() - start < seconds:
        series.append((time.monotonic(), desktop.client.screenshot(window)))
        time.sleep(interval)
    return series


def case_fast(ctx):
    pictures = {}
    for label, path in (("quenn", ctx.program), ("quenn-fast", ctx.fast_program)):
        with ctx.desktop() as desktop:
            _, _, pictures[label] = start_and_shoot(ctx, desktop, path, label)
            check_scene(pictures[label], label)
    check_fast_plant_smaller(pictures)


def case_picture(ctx):
    def record_once(attempt):
        with ctx.desktop() as desktop:
            label = "first" if attempt == 1 else f"first of recording {attempt}"
            _, window, first = start_and_shoot(ctx, desktop, ctx.program, label)
            check_scene(first, label)
            check_counter_corner(first, label)
            series = [(time.monotonic(), first.image)] + record(desktop, window, RECORD)
        return [t - series[0][0] for t, _ in series], [Picture(image) for _, image in series]

    times, pictures = timed_recording(record_once)
    check_recording(ctx, pictures[0], pictures, times)


CASES = {
    "window": case_window,
    "picture": case_picture,
    "fast": case_fast,
}
