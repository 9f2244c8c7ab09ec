"""The window and what it shows: scene colours, counter, second plant, quenn-fast."""

import time

from .checks import check
from .picture import BACKGROUND, GRID, LEAF, OTHER, PLANT, STEM, TEXT_KINDS, Picture, new_pixels
from .watch import wait_picture, wait_window

CLIENT_SIZE = (256, 256)
# The second plant shows from 1.5 s after the first frame, and the counter
# its first real value after 1 s.
FIRST_SECOND = 1.0
RECORD = 2.5
# How far the sway moves a branch from one picture to the next, at most.
SWAY_RADIUS = 4
# The second plant's pixels, short of the about 190 it shows.
SECOND_PLANT = 80


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


def check_scene(picture, label):
    counts = picture.counts()
    total = picture.width * picture.height
    most = max(counts, key=counts.get)
    check(most == BACKGROUND and counts[BACKGROUND] > total // 3, f"{label}: background",
          "the background colour (102, 76, 89) on most pixels", picture.summary())
    for kind, least in ((GRID, 50), (STEM, 50), (LEAF, 50)):
        check(counts.get(kind, 0) >= least, f"{label}: {kind} colour",
              f"at least {least} pixels", picture.summary())
    check(counts.get(OTHER, 0) <= total // 50, f"{label}: colours",
          "almost only the scene's colours", picture.summary())


def counter_in_corner(picture):
    """Whether the counter's text lies in the lower-left corner, and where it lies."""
    bounds = picture.bounds(TEXT_KINDS)
    if bounds is None:
        return False, "no text"
    left, top, right, bottom = bounds
    in_corner = (left <= 4 and bottom >= picture.height - 4 and top >= picture.height - 24 and
                 right < picture.width // 2)
    return in_corner, f"text within x {left}..{right}, y {top}..{bottom}"


def check_counter_corner(picture, label):
    check(picture.count(TEXT_KINDS) >= 20, f"{label}: counter text",
          "half-white text pixels", picture.summary())
    in_corner, where = counter_in_corner(picture)
    check(in_corner, f"{label}: counter position", "text in the lower-left corner", where)


def counter_width(picture):
    left, _, right, _ = picture.bounds(TEXT_KINDS)
    return right - left + 1


def record(desktop, window, seconds, interval=0.04):
    """Screenshots for `seconds`, with the time each was taken."""
    series = []
    start = time.monotonic()
    while time.monotonic() - start < seconds:
        series.append((time.monotonic(), desktop.client.screenshot(window)))
        time.sleep(interval)
    return series


def counter_change(pictures):
    """Index of the first picture whose counter differs from the first's."""
    first = pictures[0].count(TEXT_KINDS)
    return next((i for i, p in enumerate(pictures) if p.count(TEXT_KINDS) != first), None)


def largest_appearance(pictures, times, since, until):
    """The most plant pixels that appeared from one picture to the next, for
    pictures taken between `since` and `until`; and that picture's index."""
    best = (0, None)
    for i in range(1, len(pictures)):
        if since <= times[i] <= until:
            best = max(best, (new_pixels(pictures[i - 1], pictures[i], PLANT, SWAY_RADIUS), i),
                       key=lambda pair: pair[0])
    return best


def check_recording(ctx, first, pictures, times):
    """The scene and counter throughout `pictures`, taken at `times` seconds
    after the first: the counter's first change, then the second plant
    half a second later."""
    last = pictures[-1]
    ctx.shots["last"] = last.image
    check_scene(last, "last picture")
    check_counter_corner(last, "last picture")
    # The counter's first change is the end of the program's first second.
    change = counter_change(pictures)
    check(change is not None, "counter", f"the counter changing within {RECORD:g} s",
          f"{first.count(TEXT_KINDS)} text pixels throughout")
    check(counter_width(last) > counter_width(first), "counter after 2 s", "wider than 'FPS 0'",
          f"{counter_width(last)} px wide, 'FPS 0' {counter_width(first)}")
    one_second = times[change]
    before = largest_appearance(pictures, times, one_second - 0.2, one_second + 0.3)
    appeared = largest_appearance(pictures, times, one_second + 0.3, one_second + 0.9)
    if appeared[1] is not None:
        ctx.shots["before second plant"] = pictures[appeared[1] - 1].image
        ctx.shots["second plant"] = pictures[appeared[1]].image
    check(appeared[0] >= SECOND_PLANT and appeared[0] > 2 * before[0], "second plant",
          f"at least {SECOND_PLANT} new plant pixels from one picture to the next half a "
          f"second after the counter's first change, more than twice the sway's",
          f"{appeared[0]} (the sway alone: {before[0]}); plant pixels first "
          f"{first.count(PLANT)}, last {last.count(PLANT)}")
    print(f"second plant: {appeared[0]} new plant pixels at {times[appeared[1]]:.2f} s, "
          f"counter change at {one_second:.2f} s, sway at most {before[0]}")


def case_picture(ctx):
    with ctx.desktop() as desktop:
        _, window, first = start_and_shoot(ctx, desktop, ctx.program, "first")
        check_scene(first, "first picture")
        check_counter_corner(first, "first picture")
        series = [(time.monotonic(), first.image)] + record(desktop, window, RECORD)
        times = [t - series[0][0] for t, _ in series]
        check_recording(ctx, first, [Picture(image) for _, image in series], times)


def case_fast(ctx):
    counts = {}
    for label, path in (("quenn", ctx.program), ("quenn-fast", ctx.fast_program)):
        with ctx.desktop() as desktop:
            _, _, picture = start_and_shoot(ctx, desktop, path, label)
            check_scene(picture, label)
            counts[label] = picture.count(PLANT)
    check(counts["quenn-fast"] < counts["quenn"] * 0.85, "first plant of quenn-fast",
          "fewer plant pixels than quenn's", f"{counts['quenn-fast']} against {counts['quenn']}")
