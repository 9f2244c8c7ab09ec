#!/usr/bin/python3
"""Whether a screenshot of quenn's window shows the scene: grid, plant and
counter. For checks of scripts/run's picture (scripts/fresh)."""

import sys

from PIL import Image

from harness.picture import Picture
from harness.watch import is_drawn


def main():
    picture = Picture(Image.open(sys.argv[1]).convert("RGB"))
    print(f"{sys.argv[1]}: {picture.summary()}")
    return 0 if is_drawn(picture) else 1


if __name__ == "__main__":
    sys.exit(main())
