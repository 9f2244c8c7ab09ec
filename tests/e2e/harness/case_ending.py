"""Native only: how the program ends when other clients act on it: its
window destroyed, its connection to the server lost."""

import os

from .checks import check
from .program import start_drawn
from .watch import exit_seen, wait_exit

# Each of these ends the program within a second.
END_TIME = 1.0


def case_destroyed(ctx):
    with ctx.desktop() as desktop:
        program, window, _ = start_drawn(ctx, desktop)
        desktop.client.destroy(window)
        code, took = wait_exit(program, END_TIME)
        check(code == 0, "exit after another client destroyed the window",
              f"exit code 0 within {END_TIME:g} s, as after a close", exit_seen(code, took))
        stderr = program.stderr_text()
        check(stderr == "", "stderr after the window was destroyed", "nothing", repr(stderr))


def check_lost(program, display, how):
    code, took = wait_exit(program, END_TIME)
    check(code == 1, f"exit after {how}", f"exit code 1 within {END_TIME:g} s, not a signal",
          exit_seen(code, took))
    lines = program.stderr_text().splitlines()
    check(len(lines) == 1 and f'"{display}"' in lines[0], f"stderr after {how}",
          f"one line naming the display {display}", repr(lines))


def losing_environment():
    """Once its server is gone the program's rendering context can no longer
    be released: what the OpenGL driver holds for it stays until the process
    ends, which LeakSanitizer (in a sanitized build) would count."""
    options = ":".join(filter(None, [os.environ.get("ASAN_OPTIONS"), "detect_leaks=0"]))
    return {"ASAN_OPTIONS": options}


def case_connection_lost(ctx):
    with ctx.desktop() as desktop:
        program, window, _ = start_drawn(ctx, desktop, extra_env=losing_environment())
        desktop.client.kill_client(window)
        check_lost(program, desktop.x.display, "its client was killed (xkill)")
    with ctx.desktop() as desktop:
        program, _, _ = start_drawn(ctx, desktop, extra_env=losing_environment())
        desktop.x.stop()
        check_lost(program, desktop.x.display, "the server ended")


CASES = {
    "destroyed": case_destroyed,
    "connection-lost": case_connection_lost,
}
