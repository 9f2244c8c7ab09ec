"""The program as its user meets it: started until it draws, dragged with
the pointer, closed; and the message it shows when it cannot draw."""

import time

from .checks import check
from .watch import exit_seen, wait_exit, wait_picture, wait_window

# What the program says when it cannot make its OpenGL context.
MESSAGE = "OpenGL context init failed"
# The pointer moves of a drag.
STEPS = 4
CLOSE_TIME = 3.0
# How long show_and_close (the packages' cases, scripts/run) waits for the exit.
SHOW_CLOSE_TIME = 5.0


def start_drawn(ctx, desktop, label="reference", extra_env=None):
    program = desktop.start(ctx.runner, ctx.program, extra_env=extra_env)
    window = wait_window(desktop, program, ctx.runner.window_timeout)
    picture = wait_picture(desktop, program, window, label, ctx.runner.window_timeout)
    return program, window, picture


def move_in_steps(client, start, end):
    for step in range(1, STEPS + 1):
        client.move_pointer(start[0] + (end[0] - start[0]) * step // STEPS,
                            start[1] + (end[1] - start[1]) * step // STEPS)


def drag(client, start, end, hold=0.0):
    """A left-button drag from `start` to `end`, held there `hold` seconds."""
    client.move_pointer(*start)
    client.press_button()
    move_in_steps(client, start, end)
    time.sleep(hold)
    client.release_button()


def close_and_expect_zero(desktop, program, window, what, timeout=CLOSE_TIME):
    """WM_DELETE_WINDOW, then exit code 0 within `timeout` seconds."""
    desktop.client.request_close(window)
    code, took = wait_exit(program, timeout)
    check(code == 0, f"exit after {what}", f"exit code 0 within {timeout:g} s",
          f"{exit_seen(code, took)}; stderr: {program.stderr_gist()}")


def show_and_close(desktop, runner, program, seconds):
    """Starts `program` on the desktop, waits for its first whole frame, lets
    it run `seconds` longer, screenshots its window and closes it as a
    window manager would. Returns the screenshot; fails unless the program
    then ends with exit code 0 within SHOW_CLOSE_TIME."""
    quenn = desktop.start(runner, program)
    window = wait_window(desktop, quenn, runner.window_timeout)
    wait_picture(desktop, quenn, window, "first", runner.window_timeout)
    time.sleep(seconds)
    image = desktop.client.screenshot(window)
    close_and_expect_zero(desktop, quenn, window, "closing quenn", SHOW_CLOSE_TIME)
    return image
