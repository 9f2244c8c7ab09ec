"""Long use and rough use: a minute of drags with the memory watched, and a
seeded storm of input. After either, the program still draws and closes
cleanly."""

import collections
import os
import random
import time

from .checks import check, wait_for
from .picture import OTHER
from .processes import resident_kib
from .program import close_and_expect_zero, drag, start_drawn
from .scene_checks import check_counter_corner, counter_in_corner
from .storm import Click, DragOut, Iconify, Moves, Pause, Resize, Restore, storm_actions
from .watch import is_drawn, still_running, wait_picture, wait_window

LONG_RUN = 60.0
# The level is first taken this long into the run. Resident memory may still
# rise in steps of about a megabyte in the first seconds (in one CI run, by
# 2 MiB at 12 s, then flat for the 45 s after it), while the heap the
# program itself holds stays the same throughout (bench/README.md).
SETTLED = 20.0
DRAG_EVERY = 2.0
SAMPLE_EVERY = 0.25
LEVEL_SPAN = 5.0
MOST_GROWTH_KIB = 2048

STORM = 20.0
SEED_VARIABLE = "QUENN_STORM_SEED"
# The size the window is given after the storm, to check the picture fills it.
AFTER_STORM = (320, 240)


def drawn_and_changing(desktop, program, window, size, label):
    """The whole scene over the client area of `size`, still moving. Under
    Wine a frame or two drawn before the last resize reached the program's
    surface may show first, the rest of the client area unpainted, so the
    picture waited for is one that is whole."""

    def whole(picture):
        return ((picture.width, picture.height) == size and is_drawn(picture) and
                counter_in_corner(picture)[0] and
                picture.count({OTHER}) <= picture.width * picture.height // 50)

    whole_scene = (f"{size[0]}x{size[1]}, the scene drawn, the counter in its corner, "
                   "almost only the scene's colours")
    first = wait_picture(desktop, program, window, label, 10.0, accept=whole,
                         expected=whole_scene)
    check_counter_corner(first, label)
    wait_picture(desktop, program, window, f"{label}, later", 5.0,
                 accept=lambda p: whole(p) and p.image.tobytes() != first.image.tobytes(),
                 expected=whole_scene + ", unlike the first")


# The long run


def resident_level(samples, since, until):
    """The median of the resident sizes sampled between `since` and `until`
    seconds. Single samples jump by up to a megabyte and straight back (the
    renderer's and the allocator's passing use), which is no growth."""
    window = sorted(kib for at, kib in samples if since <= at < until)
    return window[len(window) // 2]


def sample_while_dragging(client, program, window, started):
    """Drags every DRAG_EVERY seconds until LONG_RUN; returns the drags made
    and (seconds since start, resident KiB) sampled all along."""
    x, y, width, height = client.geometry(window)
    centre = (x + width // 2, y + height // 2)
    ends = [(centre[0] + 40, centre[1] + 15), (centre[0] - 25, centre[1] - 35)]
    samples, drags, next_drag = [], 0, started
    while time.monotonic() - started < LONG_RUN:
        still_running(program, f"{time.monotonic() - started:.0f} s into the long run")
        if time.monotonic() >= next_drag:
            drag(client, centre, ends[drags % 2])
            drags += 1
            next_drag += DRAG_EVERY
        samples.append((time.monotonic() - started, resident_kib(program.pid)))
        time.sleep(SAMPLE_EVERY)
    return drags, samples


def case_long_run(ctx):
    with ctx.desktop() as desktop:
        program = desktop.start(ctx.runner, ctx.program)
        started = time.monotonic()
        window = wait_window(desktop, program, ctx.runner.window_timeout)
        wait_picture(desktop, program, window, "first", ctx.runner.window_timeout)
        drags, samples = sample_while_dragging(desktop.client, program, window, started)
        with open(os.path.join(ctx.log_dir, "resident.csv"), "w") as table:
            table.writelines(f"{at:.2f},{kib}\n" for at, kib in samples)
        first = resident_level(samples, SETTLED, SETTLED + LEVEL_SPAN)
        last = resident_level(samples, LONG_RUN - LEVEL_SPAN, LONG_RUN)
        peak = max(kib for at, kib in samples if at >= SETTLED)
        growth = last - first
        print(f"long run: {drags} drags in {LONG_RUN:g} s; resident {first} KiB after "
              f"{SETTLED:g} s, {last} KiB at the end (medians over {LEVEL_SPAN:g} s), "
              f"{peak} KiB at most: grew by {growth} KiB (at most {MOST_GROWTH_KIB})")
        check(growth <= MOST_GROWTH_KIB, "resident memory over the long run",
              f"growth of at most {MOST_GROWTH_KIB} KiB after the first {SETTLED:g} s",
              f"{growth} KiB ({first} KiB to {last}); samples in {ctx.log_dir}/resident.csv")
        size = desktop.client.geometry(window)[2:]
        drawn_and_changing(desktop, program, window, size, "after the long run")
        close_and_expect_zero(desktop, program, window, "the long run")


# The storm


def storm_seed():
    """The seed from the environment, to replay a storm; else a new one."""
    given = os.environ.get(SEED_VARIABLE)
    return int(given) if given else random.SystemRandom().randrange(2**32)


class Storm:
    """Carries out storm actions on the program's window, resolving points
    against the window's current place and size."""

    def __init__(self, client, window):
        self.client = client
        self.window = window
        self.screen = client.screen_size()
        self.counts = collections.Counter()
        self.iconic = False

    def pointer_path(self, points):
        """The window's (x, y, width, height), and `points` on the screen."""
        x, y, width, height = rect = self.client.geometry(self.window)
        return rect, [(min(max(int(x + u * width), 0), self.screen[0] - 1),
                       min(max(int(y + v * height), 0), self.screen[1] - 1)) for u, v in points]

    def run(self, action):
        {Moves: self.moves, Click: self.click, DragOut: self.drag_out, Resize: self.resize,
         Pause: self.pause, Iconify: self.iconify, Restore: self.restore}[type(action)](action)

    def moves(self, action):
        _, path = self.pointer_path(action.points)
        for position in path:
            self.client.move_pointer(*position)
        self.counts["pointer moves"] += len(path)

    def pressed_along(self, points, button, inside_until, what):
        """`button` pressed at the first point and released at the last, if
        the points up to `inside_until` lie in the window: off the screen the
        press would land on the desktop."""
        (x, y, width, height), path = self.pointer_path(points)
        if not all(x <= px < x + width and y <= py < y + height
                   for px, py in path[:inside_until]):
            self.counts["presses left out, the window being off the screen"] += 1
            return
        self.client.move_pointer(*path[0])
        self.client.press_button(button)
        for position in path[1:]:
            self.client.move_pointer(*position)
        self.client.release_button(button)
        self.counts[what] += 1

    def click(self, action):
        self.pressed_along(action.points, action.button, None,
                           f"presses of button {action.button}")

    def drag_out(self, action):
        self.pressed_along(action.points, 1, 1, "drags released outside")

    def resize(self, action):
        self.client.resize(self.window, action.width, action.height)
        self.counts["resizes"] += 1

    def pause(self, action):
        time.sleep(action.seconds)
        self.counts["pauses"] += 1

    def iconify(self, _):
        self.client.iconify(self.window)
        self.iconic = True
        self.counts["iconifications"] += 1

    def restore(self, _):
        self.client.restore(self.window)
        self.iconic = False
        self.counts["restorations"] += 1


def case_storm(ctx):
    seed = storm_seed()
    print(f"storm seed: {seed} (set {SEED_VARIABLE} to replay it)")
    with ctx.desktop(window_manager=True) as desktop:
        program, window, _ = start_drawn(ctx, desktop, "before the storm")
        storm = Storm(desktop.client, window)
        actions = storm_actions(seed, storm.screen)
        deadline = time.monotonic() + STORM
        while time.monotonic() < deadline:
            storm.run(next(actions))
            storm.counts["actions"] += 1
            still_running(program, f"during the storm ({storm.counts})")
        print("storm: " + ", ".join(f"{n} {what}" for what, n in sorted(storm.counts.items())))
        if storm.iconic:
            storm.restore(None)
        wait_for("restore after the storm", "the window viewable",
                 lambda: (desktop.client.is_viewable(window), "not viewable"), timeout=10.0)
        desktop.client.resize(window, *AFTER_STORM)
        drawn_and_changing(desktop, program, window, AFTER_STORM, "after the storm")
        close_and_expect_zero(desktop, program, window, "the storm")


CASES = {
    "long-run": case_long_run,
    "storm": case_storm,
}
