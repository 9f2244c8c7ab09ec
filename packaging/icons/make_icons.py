#!/usr/bin/python3
"""Makes quenn's icons from its own picture (docs/quenn.png): the hicolor
PNGs of the desktop entry, the .ico of the Windows programs and the web
page's icons (its manifest's and its touch icon).

Small icons show the first plant close up, since the whole scene's thin
lines blur into the background below 48 pixels; larger ones show the plants
over the grid. Run it again whenever the picture changes, and commit what it
writes."""

import argparse
import os

from PIL import Image, ImageDraw, ImageFilter

APP_ID = "org.quenn.Quenn"
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
ICO_SIZES = (16, 24, 32, 48, 64, 128, 256)
# Squares of the 256x256 picture: the scene without the counter, and the first plant.
WIDE = (30, 20, 250, 240)
CLOSE_UP = (80, 70, 180, 170)
SMALLEST_WIDE = 48
# Corner radius as a share of the icon's side.
ROUNDING = 0.12
# The page's icons, by file name: side and whether the icon is full-bleed
# (opaque to its edges, for a platform that cuts its own shape out of it).
WEB_ICONS = {
    "icon-192.png": (192, False),
    "icon-512.png": (512, False),
    "icon-maskable-512.png": (512, True),
    "apple-touch-icon.png": (180, True),
}
# A full-bleed icon keeps the scene inside the circle that every mask
# leaves (80% of the side), fading into the scene's background beyond it.
SAFE_ZONE = 0.8
# The scene has few colours: a palette of this many keeps the page's icons,
# which its service worker downloads, a third of their full-colour size.
WEB_COLOURS = 128


def icon(picture, size):
    """The picture's square for `size`, scaled to it, with rounded corners."""
    square = WIDE if size >= SMALLEST_WIDE else CLOSE_UP
    image = picture.crop(square).resize((size, size), Image.LANCZOS).convert("RGBA")
    # Drawn four times larger and scaled down, so that the corners are smooth.
    mask = Image.new("L", (size * 4, size * 4), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, size * 4 - 1, size * 4 - 1),
                                           radius=size * 4 * ROUNDING, fill=255)
    image.putalpha(mask.resize((size, size), Image.LANCZOS))
    return image


def full_bleed(picture, size):
    """The scene over the grid in the safe zone of a square of its
    background colour (the picture's corner)."""
    image = Image.new("RGB", (size, size), picture.getpixel((0, 0)))
    inner = round(size * SAFE_ZONE)
    scene = picture.crop(WIDE).resize((inner, inner), Image.LANCZOS)
    # A circle drawn four times larger and scaled down, then softened.
    mask = Image.new("L", (inner * 4, inner * 4), 0)
    ImageDraw.Draw(mask).ellipse((0, 0, inner * 4 - 1, inner * 4 - 1), fill=255)
    mask = mask.resize((inner, inner), Image.LANCZOS).filter(ImageFilter.GaussianBlur(inner / 40))
    offset = (size - inner) // 2
    image.paste(scene, (offset, offset), mask)
    return image


def web_icon(picture, size, bleeds):
    image = full_bleed(picture, size) if bleeds else icon(picture, size)
    return image.quantize(WEB_COLOURS, method=Image.Quantize.FASTOCTREE)


def make_icons(picture_path, out_dir):
    """Writes hicolor/NxN/apps/APP_ID.png for every size, quenn.ico and
    web/ with WEB_ICONS; returns the paths written."""
    picture = Image.open(picture_path).convert("RGB")
    if picture.size != (256, 256):
        raise ValueError(f"{picture_path}: {picture.size[0]}x{picture.size[1]}, not 256x256")
    written = []
    icons = {size: icon(picture, size) for size in SIZES}
    for size, image in icons.items():
        path = os.path.join(out_dir, "hicolor", f"{size}x{size}", "apps", f"{APP_ID}.png")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        image.save(path, optimize=True)
        written.append(path)
    ico = os.path.join(out_dir, "quenn.ico")
    # Each size from its own image, not from one scaled by the encoder.
    largest = icons[max(ICO_SIZES)]
    largest.save(ico, sizes=[(s, s) for s in ICO_SIZES],
                 append_images=[icons[s] for s in ICO_SIZES if s != max(ICO_SIZES)])
    written.append(ico)
    for name, (size, bleeds) in WEB_ICONS.items():
        path = os.path.join(out_dir, "web", name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        web_icon(picture, size, bleeds).save(path, optimize=True)
        written.append(path)
    return written


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--picture", default=os.path.join(here, "..", "..", "docs", "quenn.png"))
    parser.add_argument("--out", default=here)
    args = parser.parse_args()
    for path in make_icons(args.picture, args.out):
        print(path)


if __name__ == "__main__":
    main()
