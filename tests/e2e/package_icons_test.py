#!/usr/bin/python3
"""The committed icons are what packaging/icons/make_icons.py makes from the
program's picture: a changed picture or script shows here until the icons
are made again."""

import filecmp
import os
import tempfile
import unittest

import make_icons  # packaging/icons, on the path CTest gives
from PIL import Image

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
ICONS = os.path.join(SOURCE, "packaging", "icons")


class MakeIconsTest(unittest.TestCase):
    def test_committed_icons_are_the_scripts_output(self):
        with tempfile.TemporaryDirectory() as out:
            written = make_icons.make_icons(os.path.join(SOURCE, "docs", "quenn.png"), out)
            self.assertEqual(len(written), len(make_icons.SIZES) + 1 + len(make_icons.WEB_ICONS))
            for path in written:
                committed = os.path.join(ICONS, os.path.relpath(path, out))
                self.assertTrue(filecmp.cmp(path, committed, shallow=False),
                                f"{committed} differs: run packaging/icons/make_icons.py")

    def test_icons_are_square_see_through_at_the_corners_and_opaque_inside(self):
        for size in make_icons.SIZES:
            path = os.path.join(ICONS, "hicolor", f"{size}x{size}", "apps",
                                f"{make_icons.APP_ID}.png")
            with Image.open(path) as icon:
                self.assertEqual(icon.size, (size, size))
                self.assertLess(icon.getpixel((0, 0))[3], 128)
                self.assertEqual(icon.getpixel((size // 2, size // 2))[3], 255)

    def test_page_icons_are_rounded_or_opaque_to_the_edge_as_declared(self):
        for name, (size, bleeds) in make_icons.WEB_ICONS.items():
            with Image.open(os.path.join(ICONS, "web", name)) as icon:
                self.assertEqual(icon.size, (size, size), name)
                rgba = icon.convert("RGBA")
                self.assertEqual(rgba.getpixel((0, 0))[3] == 255, bleeds, name)
                self.assertEqual(rgba.getpixel((size // 2, size // 2))[3], 255, name)

    def test_a_full_bleed_icon_keeps_the_scene_inside_the_safe_zone(self):
        background = (102, 76, 89)
        picture = Image.new("RGB", (256, 256), background)
        picture.paste((255, 255, 255), (0, 128, 256, 256))  # the lower half white
        icon = make_icons.full_bleed(picture, 100).convert("RGB")
        self.assertEqual(icon.getpixel((50, 80)), (255, 255, 255))  # inside the circle
        self.assertEqual(icon.getpixel((2, 97)), background)  # white, but outside it
        self.assertEqual(icon.getpixel((50, 2)), background)

    def test_a_picture_of_another_size_is_refused(self):
        with tempfile.TemporaryDirectory() as out:
            picture = os.path.join(out, "small.png")
            Image.new("RGB", (100, 80)).save(picture)
            with self.assertRaisesRegex(ValueError, "100x80"):
                make_icons.make_icons(picture, out)
            self.assertEqual(os.listdir(out), ["small.png"])


if __name__ == "__main__":
    unittest.main()
