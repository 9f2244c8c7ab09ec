"""What every picture of the scene must show, in a window or on the page:
its colours, the counter in the lower-left corner, and over the first
seconds the counter's first change with the second plant after it."""

from .checks import CheckFailed, check
from .picture import BACKGROUND, GRID, LEAF, OTHER, PLANT, STEM, TEXT_KINDS, new_pixels

# How long the recordings of the first seconds last.
RECORD = 2.5
# How far the sway moves a branch from one picture to the next, at most.
SWAY_RADIUS = 4
# The second plant's pixels, short of the about 190 it shows.
SECOND_PLANT = 80
# See timed_recording.
TIMED_FROM = 0.5
MOST_APART = 0.25
RECORDINGS = 3


def check_scene(picture, label, any_moment=False):
    """The scene's colours on `picture`. At the sway's straight end (no bend,
    every 4π s of a plant's age) the leaves lie along the stems and hardly
    show, so a picture taken `any_moment` has its leaves counted with the
    stems."""
    counts = picture.counts()
    total = picture.width * picture.height
    most = max(counts, key=counts.get)
    check(most == BACKGROUND and counts[BACKGROUND] > total // 3, f"{label}: background",
          "the background colour (102, 76, 89) on most pixels", picture.summary())
    plant = ((STEM, counts.get(STEM, 0)), (LEAF, counts.get(LEAF, 0)))
    if any_moment:
        plant = (("plant", sum(count for _, count in plant)),)
    for kind, count in ((GRID, counts.get(GRID, 0)),) + plant:
        check(count >= 50, f"{label}: {kind} colour", "at least 50 pixels", picture.summary())
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


def counter_change(pictures):
    """Index of the first picture whose counter differs from the first's."""
    first = pictures[0].count(TEXT_KINDS)
    return next((i for i, p in enumerate(pictures) if p.count(TEXT_KINDS) != first), None)


def largest_appearance(pictures, times, since, until):
    """The most plant pixels that appeared from one picture to the next, for
    pictures taken between `since` and `until`; and that picture's index,
    the first of those with the most (None where no picture was taken then)."""
    return max(((new_pixels(pictures[i - 1], pictures[i], PLANT, SWAY_RADIUS), i)
                for i in range(1, len(pictures)) if since <= times[i] <= until),
               key=lambda pair: pair[0], default=(0, None))


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
    # Whatever the frame rate, the last shows a count other than the first's 0.
    check(last.positions(TEXT_KINDS) != first.positions(TEXT_KINDS), "last counter",
          "other text than the first picture's 'FPS 0'", "the same text")
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


def largest_gap(times, since):
    """The longest time between two pictures, from the last picture before
    `since` on."""
    start = max(0, len([t for t in times if t < since]) - 1)
    return max((b - a for a, b in zip(times[start:], times[start + 1:])), default=0.0)


def timed_recording(record_once):
    """Pictures of the program's first seconds, as `record_once(attempt)`
    gives them (times from the first, pictures), close enough together from
    before the counter's first change on to time it and the second plant by.
    While the program or the test was starved of the processor for longer,
    the program is started again for a new recording."""
    for attempt in range(1, RECORDINGS + 1):
        times, pictures = record_once(attempt)
        gap = largest_gap(times, TIMED_FROM)
        if gap <= MOST_APART:
            return times, pictures
    raise CheckFailed("the recordings", f"one of {RECORDINGS} with its pictures from "
                      f"{TIMED_FROM:g} s on at most {MOST_APART:g} s apart",
                      f"{gap:.2f} s between two pictures in the last")


def check_fast_plant_smaller(pictures):
    """quenn-fast's first plant is smaller than quenn's: `pictures` of each
    by its name."""
    counts = {name: picture.count(PLANT) for name, picture in pictures.items()}
    check(counts["quenn-fast"] < counts["quenn"] * 0.85, "first plant of quenn-fast",
          "fewer plant pixels than quenn's", f"{counts['quenn-fast']} against {counts['quenn']}")
