"""Waiting for what quenn shows: its window, a drawn picture, its exit."""

import time

from Xlib import error

from .checks import CheckFailed, wait_for
from .desktop import TITLE
from .picture import GRID, PLANT, TEXT_KINDS


def still_running(program, when="early"):
    code = program.exit_code()
    if code is not None:
        raise CheckFailed(f"{program.name} ended {when}", "the program running",
                          f"exit code {code}; stderr: {program.stderr_gist()}")


def wait_window(desktop, program, timeout, title=TITLE, what="program window"):
    """The one viewable window titled `title`, shown while the program runs."""

    def probe():
        still_running(program)
        windows = desktop.client.windows_named(title)
        return len(windows) == 1, f"windows: {desktop.client.describe()}"

    wait_for(what, f"one viewable window titled {title!r}", probe, timeout)
    return desktop.client.windows_named(title)[0]


def is_drawn(picture):
    """Grid, plant and counter text all there: a whole frame is on screen."""
    return (picture.count({GRID}) > 0 and picture.count(PLANT) > 0 and
            picture.count(TEXT_KINDS) > 0)


def wait_picture(desktop, program, window, label, timeout, accept=is_drawn,
                 expected="grid, plant and counter pixels"):
    """The first screenshot that `accept` takes, kept under `label`."""
    latest = {}

    def probe():
        still_running(program)
        try:
            picture = desktop.shoot(window, label)
        except error.XError as problem:
            # A window the window manager is still mapping has no image yet.
            return False, f"no image: {problem}"
        latest["picture"] = picture
        return accept(picture), picture.summary()

    wait_for(f"picture {label}", expected, probe, timeout)
    return latest["picture"]


def wait_exit(program, timeout):
    """The exit code, or None if the program still runs after `timeout`."""
    start = time.monotonic()
    code = program.wait(timeout)
    return code, time.monotonic() - start


def exit_seen(code, took):
    """How a program waited for by wait_exit ended, for failure messages."""
    if code is None:
        return "still running"
    if code < 0:
        return f"killed by signal {-code} after {took:.2f} s"
    return f"exit code {code} after {took:.2f} s"
