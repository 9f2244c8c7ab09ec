"""What each pixel of quenn's picture shows, told by its colour.

Nothing is antialiased and the scene's lines are opaque, so every pixel is
one of the scene's colours, or that colour under the counter text, which is
white at half opacity."""

import collections
import functools

BACKGROUND = "background"
GRID = "grid"
STEM = "stem"
LEAF = "leaf"
LINE = "line"
OTHER = "other"
TEXT = "text over "

SCENE_COLOURS = {
    BACKGROUND: (0.4, 0.3, 0.35),
    GRID: (0.7, 0.7, 0.7),
    STEM: (0.7, 0.6, 0.5),
    LEAF: (0.3, 1.0, 0.3),
    LINE: (0.6, 0.6, 0.9),
}
PLANT = frozenset({STEM, LEAF, LINE})
TEXT_KINDS = frozenset(TEXT + name for name in SCENE_COLOURS)

# Rounding of the float colours to 8 bits, and of the blend, varies by one or
# two steps between renderers.
TOLERANCE = 3


def _reference_colours():
    colours = {}
    for name, rgb in SCENE_COLOURS.items():
        colours[name] = tuple(255.0 * c for c in rgb)
        colours[TEXT + name] = tuple(255.0 * (1.0 + c) / 2.0 for c in rgb)
    return colours


_REFERENCES = _reference_colours()


@functools.cache
def kind_of(rgb):
    """The kind of a pixel's colour: a scene colour, text over one, or OTHER."""
    return next((name for name, reference in _REFERENCES.items()
                 if all(abs(value - ref) <= TOLERANCE for value, ref in zip(rgb, reference))),
                OTHER)


class Picture:
    """A screenshot with each pixel's kind."""

    def __init__(self, image):
        self.image = image
        self.width, self.height = image.size
        self.kinds = [kind_of(rgb) for rgb in image.getdata()]

    def kind_at(self, x, y):
        return self.kinds[y * self.width + x]

    def count(self, kinds):
        return sum(1 for kind in self.kinds if kind in kinds)

    def counts(self):
        return collections.Counter(self.kinds)

    def positions(self, kinds):
        """The set of (x, y) whose pixel is of one of `kinds`."""
        width = self.width
        return {(i % width, i // width) for i, kind in enumerate(self.kinds) if kind in kinds}

    def bounds(self, kinds):
        """(left, top, right, bottom) of the pixels of `kinds`, inclusive; None if none."""
        points = self.positions(kinds)
        if not points:
            return None
        xs = [x for x, _ in points]
        ys = [y for _, y in points]
        return min(xs), min(ys), max(xs), max(ys)

    def summary(self):
        counts = self.counts()
        parts = [f"{kind} {counts[kind]}" for kind in sorted(counts, key=counts.get, reverse=True)]
        return f"{self.width}x{self.height}: " + ", ".join(parts)


def grid_difference(before, after):
    """Pixels where one picture shows the grid and the other the background.

    Only pixels that show grid or background in both pictures are compared,
    so that the swaying plants and the counter, which cover the grid, do not
    count."""
    plain = {BACKGROUND, GRID}
    return sum(1 for kind_before, kind_after in zip(before.kinds, after.kinds)
               if kind_before in plain and kind_after in plain and kind_before != kind_after)


def new_pixels(before, after, kinds, radius):
    """Pixels of `kinds` in `after` with none of `kinds` within `radius`
    (in x and y) in `before`: what appeared, not what merely moved a little."""
    old = before.positions(kinds)
    near = {(x + dx, y + dy) for x, y in old for dx in range(-radius, radius + 1)
            for dy in range(-radius, radius + 1)}
    return len(after.positions(kinds) - near)


def bounds_near(bounds, expected, pixels=3):
    """Whether a picture's bounds (None when empty) lie within `pixels` of `expected`."""
    return bounds is not None and all(abs(a - b) <= pixels for a, b in zip(bounds, expected))


def scaled(bounds, sx, sy):
    """Bounds in a picture scaled by `sx` and `sy`, pixel centres kept."""
    left, top, right, bottom = bounds
    return (round((left + 0.5) * sx - 0.5), round((top + 0.5) * sy - 0.5),
            round((right + 0.5) * sx - 0.5), round((bottom + 0.5) * sy - 0.5))
