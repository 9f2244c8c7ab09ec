"""Showing quenn as a user would: start it, let it draw, close its window."""

import time

from .checks import check
from .watch import wait_exit, wait_picture, wait_window

CLOSE_TIME = 5.0


def show_and_close(desktop, runner, program, seconds):
    """Starts `program` on the desktop, waits for its first whole frame, lets
    it run `seconds` longer, screenshots its window and closes it as a
    window manager would. Returns the screenshot; fails unless the program
    then ends with exit code 0."""
    quenn = desktop.start(runner, program)
    window = wait_window(desktop, quenn, runner.window_timeout)
    wait_picture(desktop, quenn, window, "first", runner.window_timeout)
    time.sleep(seconds)
    image = desktop.client.screenshot(window)
    desktop.client.request_close(window)
    code, _ = wait_exit(quenn, CLOSE_TIME)
    check(code == 0, "closing quenn", "exit code 0", "still running" if code is None
          else f"exit code {code}; stderr: {quenn.stderr_text()!r}")
    return image
