"""The program as its user meets it: started until it draws, dragged with
the pointer, closed; and the message it shows when it cannot draw."""

import time

from .checks import check
from .watch import wait_exit, wait_picture, wait_window

# What the program says when it cannot make its OpenGL context.
MESSAGE = "OpenGL context init failed"
# The pointer moves of a drag.
STEPS = 4
CLOSE_TIME = 3.0


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


def close_and_expect_zero(desktop, program, window, what):
    """WM_DELETE_WINDOW, then exit code 0 within CLOSE_TIME."""
    desktop.client.request_close(window)
    code, took = wait_exit(program, CLOSE_TIME)
    check(code == 0, f"exit after {what}", f"exit code 0 within {CLOSE_TIME:g} s",
          "still running" if code is None else
          f"exit code {code} after {took:.1f} s; stderr: {program.stderr_gist()}")
