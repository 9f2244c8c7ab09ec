"""Starting where the program cannot run: no GLX, no display at all."""

import time

from .checks import check
from .program import MESSAGE
from .watch import exit_seen, wait_exit, wait_window

# The system's default caption of a message box.
BOX_TITLE = "Error"
EXIT_TIME = 5.0


def dismiss_and_watch(desktop, program, box):
    """Presses Return on the box; returns the exit code, failing if another
    box shows or this one stays."""
    client = desktop.client
    x, y, width, height = client.geometry(box)
    client.move_pointer(x + width // 2, y + height // 2)
    client.press_key("Return")
    deadline = time.monotonic() + EXIT_TIME
    while program.exit_code() is None and time.monotonic() < deadline:
        others = [w for w in client.windows_named(BOX_TITLE) if w.id != box.id]
        check(not others, "after dismissing the box", "no second box", f"{len(others)} more")
        time.sleep(0.02)
    code, _ = wait_exit(program, 0.1)
    still = "the box still showing" if client.windows_named(BOX_TITLE) else "the program running"
    check(code is not None, "after dismissing the box",
          f"the program ending within {EXIT_TIME:g} s", still)
    return code


def case_no_glx(ctx):
    # Wine's message box traces its text, which the picture cannot tell.
    env = None if ctx.native else {"WINEDEBUG": "-all,+msgbox"}
    with ctx.desktop(glx=False, window_manager=True) as desktop:
        program = desktop.start(ctx.runner, ctx.program, extra_env=env)
        box = wait_window(desktop, program, ctx.runner.window_timeout, BOX_TITLE, "error box")
        code = dismiss_and_watch(desktop, program, box)
        check(code == 1, "exit code without GLX", "1", str(code))
        stderr = program.stderr_text()
        expected = (f"{MESSAGE!r} once on stderr" if ctx.native else
                    f"one message box with {MESSAGE!r} in Wine's trace")
        check(stderr.count(MESSAGE) == 1, "the message", expected, repr(stderr))


def case_no_display(ctx):
    with ctx.desktop() as desktop:
        program = desktop.start(ctx.runner, ctx.program, display=False)
        code, took = wait_exit(program, EXIT_TIME)
        stderr = program.stderr_text()
        check(code == 1, "exit code with no DISPLAY", "1", exit_seen(code, took))
        check("display" in stderr.lower(), "stderr with no DISPLAY", "a line about the display",
              repr(stderr))


CASES = {
    "no-glx": case_no_glx,
    "no-display": case_no_display,
}
