"""A seeded storm of user input: what to do, decided before anything runs.

The same seed gives the same actions in the same order. Where the pointer
goes is given relative to the window's client area at the time of the action
(0..1 inside, beyond that outside), since the storm itself moves and resizes
the window; sizes are absolute, from 1 by 1 up to the whole screen."""

import random
from dataclasses import dataclass

BUTTONS = (1, 2, 3)
# How far past the client area the pointer may stray, in client sizes.
OUTSIDE = 0.6


@dataclass(frozen=True)
class Moves:
    points: tuple  # (u, v) relative to the client area, in and out of it


@dataclass(frozen=True)
class Click:
    button: int
    points: tuple  # pressed at the first point, released at the last, all inside


@dataclass(frozen=True)
class DragOut:
    points: tuple  # the left button pressed at the first (inside), released at the last (outside)


@dataclass(frozen=True)
class Resize:
    width: int
    height: int


@dataclass(frozen=True)
class Pause:
    seconds: float  # a moment for the program to draw between bursts


@dataclass(frozen=True)
class Iconify:
    pass


@dataclass(frozen=True)
class Restore:
    pass


def _inside(rng):
    return (rng.random(), rng.random())


def _anywhere(rng):
    return (rng.uniform(-OUTSIDE, 1 + OUTSIDE), rng.uniform(-OUTSIDE, 1 + OUTSIDE))


def _outside(rng):
    """A point beyond one edge of the client area."""
    u, v = _inside(rng)
    edge = rng.randrange(4)
    beyond = 1 + rng.uniform(0.05, OUTSIDE)
    return ((-beyond + 1, v), (beyond, v), (u, -beyond + 1), (u, beyond))[edge]


def _size(rng, screen):
    """Often an extreme (1 pixel, the whole screen), otherwise anything between."""
    def one(most):
        roll = rng.random()
        return 1 if roll < 0.15 else most if roll < 0.3 else rng.randint(1, most)
    return one(screen[0]), one(screen[1])


def _drag_out(rng):
    start, end = _inside(rng), _outside(rng)
    steps = rng.randint(2, 8)
    return DragOut(tuple((start[0] + (end[0] - start[0]) * i / steps,
                          start[1] + (end[1] - start[1]) * i / steps) for i in range(steps + 1)))


# Each kind of action with its weight; presses only while the window shows,
# since on the bare desktop they would open the window manager's menus.
_KINDS = (
    ("moves", 40, lambda rng, screen: Moves(tuple(_anywhere(rng)
                                                  for _ in range(rng.randint(20, 80))))),
    ("click", 20, lambda rng, screen: Click(rng.choice(BUTTONS),
                                            tuple(_inside(rng) for _ in range(rng.randint(1, 6))))),
    ("drag", 12, lambda rng, screen: _drag_out(rng)),
    ("resize", 14, lambda rng, screen: Resize(*_size(rng, screen))),
    ("pause", 8, lambda rng, screen: Pause(rng.uniform(0.005, 0.1))),
    ("iconic", 6, None),
)
_PRESSES = {"click", "drag"}


def storm_actions(seed, screen):
    """The endless sequence of actions for `seed` on a screen of `screen`
    (width, height)."""
    rng = random.Random(seed)
    iconic = False
    while True:
        kinds = [kind for kind in _KINDS if not (iconic and kind[0] in _PRESSES)]
        name, _, make = rng.choices(kinds, weights=[kind[1] for kind in kinds])[0]
        if make is not None:
            yield make(rng, screen)
        else:
            iconic = not iconic
            yield Iconify() if iconic else Restore()
