"""Native only: an iconified window costs no processor time; memcheck."""

import os
import time
from xml.etree.ElementTree import ParseError

from .checks import CheckFailed, check, wait_for
from .picture import GRID, bounds_near
from .processes import cpu_seconds
from .program import drag, start_drawn
from .valgrind_report import own_errors, read_errors
from .watch import exit_seen, is_drawn, wait_exit, wait_picture, wait_window

MEASURE = 2.0
MOST_WHEN_ICONIFIED = 0.05
# Shown, it draws back to back: proof that the measurement sees its work.
LEAST_WHEN_SHOWN = 0.2


def processor_share(pid, seconds):
    """The share of one core the process used over the next `seconds`."""
    start, used_before = time.monotonic(), cpu_seconds(pid)
    time.sleep(seconds)
    return (cpu_seconds(pid) - used_before) / (time.monotonic() - start)


def case_iconify(ctx):
    with ctx.desktop(window_manager=True) as desktop:
        client = desktop.client
        program, window, before = start_drawn(ctx, desktop, "shown")
        shown = processor_share(program.pid, 1.0)
        check(shown >= LEAST_WHEN_SHOWN, "processor time while shown",
              f"at least {LEAST_WHEN_SHOWN:.0%} of a core (frames back to back)", f"{shown:.1%}")
        client.iconify(window)
        wait_for("iconify", "the window unmapped by the window manager",
                 lambda: (not client.is_viewable(window), "still viewable"), timeout=5.0)
        iconified = processor_share(program.pid, MEASURE)
        check(iconified < MOST_WHEN_ICONIFIED, "processor time while iconified",
              f"under {MOST_WHEN_ICONIFIED:.0%} of a core over {MEASURE:g} s", f"{iconified:.1%}")
        client.restore(window)
        wait_for("restore", "the window viewable again",
                 lambda: (client.is_viewable(window), "not viewable"), timeout=5.0)
        first = wait_picture(desktop, program, window, "restored", 5.0)
        # Iconic, the viewport was 0 by 0; restored, it is the client area again.
        check((first.width, first.height) == (before.width, before.height) and
              bounds_near(first.bounds({GRID}), before.bounds({GRID})),
              "picture after restoring", f"the grid at {before.bounds({GRID})} as before",
              f"{first.width}x{first.height}, grid at {first.bounds({GRID})}")
        wait_picture(desktop, program, window, "restored later", 5.0,
                     accept=lambda p: is_drawn(p) and p.image.tobytes() != first.image.tobytes())


VALGRIND_RUN = 5.0
# Software rendering under valgrind takes a frame a second or less.
VALGRIND_WAIT = 120.0


def valgrind_command(xml_path):
    return ["valgrind", "--tool=memcheck", "--xml=yes", f"--xml-file={xml_path}",
            "--leak-check=full", "--show-leak-kinds=definite", "--errors-for-leak-kinds=definite",
            "--track-origins=yes", "--num-callers=40"]


def drag_for(client, window, seconds):
    x, y, width, height = client.geometry(window)
    centre = (x + width // 2, y + height // 2)
    ends = [(centre[0] + 30, centre[1] + 10), (centre[0] - 20, centre[1] - 30)]
    deadline = time.monotonic() + seconds
    turn = 0
    while time.monotonic() < deadline:
        drag(client, centre, ends[turn % 2], hold=0.2)
        turn += 1


def case_valgrind(ctx):
    xml_path = os.path.join(ctx.log_dir, "memcheck.xml")
    # Softpipe: no JIT-compiled code for valgrind to translate.
    env = {"LIBGL_ALWAYS_SOFTWARE": "1", "GALLIUM_DRIVER": "softpipe"}
    with ctx.desktop() as desktop:
        program = desktop.start(ctx.runner, ctx.program, wrapper=valgrind_command(xml_path),
                                extra_env=env)
        window = wait_window(desktop, program, VALGRIND_WAIT)
        wait_picture(desktop, program, window, "under valgrind", VALGRIND_WAIT)
        drag_for(desktop.client, window, VALGRIND_RUN)
        desktop.client.request_close(window)
        code, took = wait_exit(program, VALGRIND_WAIT)
        check(code == 0, "exit under valgrind", "exit code 0 after WM_DELETE_WINDOW",
              exit_seen(code, took))
    try:
        errors = own_errors(xml_path, ctx.source_dir)
        others = len(read_errors(xml_path)) - len(errors)
    except (OSError, ParseError) as problem:
        raise CheckFailed("valgrind report", f"a complete XML report at {xml_path}", str(problem))
    check(not errors, "memcheck", "no error in the program's own code",
          f"{len(errors)} errors:\n" + "\n".join(str(e) for e in errors))
    print(f"memcheck: no error of the program's own; {others} in system libraries, not counted")


CASES = {
    "iconify": case_iconify,
    "valgrind": case_valgrind,
}
