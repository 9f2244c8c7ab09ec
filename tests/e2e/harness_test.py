#!/usr/bin/python3
"""Checks of the harness's own judgements: pixel kinds and valgrind errors."""

import os
import tempfile
import unittest

from PIL import Image

from harness import picture
from harness.valgrind_report import own_errors

SOURCE = "/src/quenn"


def frame(fn, obj, directory=None, name=None):
    where = f"<dir>{directory}</dir><file>{name}</file><line>7</line>" if directory else ""
    return f"<frame><ip>0x1</ip><obj>{obj}</obj><fn>{fn}</fn>{where}</frame>"


MALLOC = frame("malloc", "/usr/libexec/valgrind/vgpreload_memcheck-amd64-linux.so")
MEMCPY = frame("memcpy", "/usr/libexec/valgrind/vgpreload_memcheck-amd64-linux.so")
PROGRAM = "/build/quenn"
OWN = frame("Plant::draw", PROGRAM, SOURCE + "/plant", "plant.cpp")
OWN_MAIN = frame("main", PROGRAM, SOURCE + "/platform/x11", "main.cpp")
MESA = frame("?", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so")
XLIB = frame("XLoadQueryFont", "/usr/lib/x86_64-linux-gnu/libX11.so.6")
HEADER = frame("std::vector::push_back", PROGRAM, "/usr/include/c++/12/bits", "stl_vector.h")
ELSEWHERE = frame("helper", PROGRAM, "/src/quenn-other", "helper.cpp")


def error(kind, *stacks):
    body = "".join("<stack>" + "".join(frames) + "</stack>" for frames in stacks)
    return f"<error><unique>0x0</unique><tid>1</tid><kind>{kind}</kind><what>w</what>{body}</error>"


class ValgrindReportTest(unittest.TestCase):
    def own_kinds(self, *errors):
        with tempfile.NamedTemporaryFile("w", suffix=".xml", delete=False) as report:
            report.write('<?xml version="1.0"?><valgrindoutput>' + "".join(errors) +
                         "</valgrindoutput>")
        try:
            return [e.kind for e in own_errors(report.name, SOURCE)]
        finally:
            os.unlink(report.name)

    def test_fault_in_own_code_counts(self):
        self.assertEqual(self.own_kinds(error("InvalidWrite", [OWN, OWN_MAIN])), ["InvalidWrite"])

    def test_fault_through_a_runtime_copy_counts(self):
        self.assertEqual(self.own_kinds(error("InvalidRead", [MEMCPY, HEADER, OWN])),
                         ["InvalidRead"])

    def test_mesa_fault_below_own_call_does_not_count(self):
        self.assertEqual(self.own_kinds(error("UninitCondition", [MESA, MESA, OWN_MAIN])), [])

    def test_mesa_fault_on_memory_from_own_code_counts(self):
        origin = [MALLOC, OWN, OWN_MAIN]
        self.assertEqual(self.own_kinds(error("UninitCondition", [MESA, OWN_MAIN], origin)),
                         ["UninitCondition"])

    def test_leak_allocated_by_xlib_for_own_call_does_not_count(self):
        self.assertEqual(self.own_kinds(error("Leak_DefinitelyLost", [MALLOC, XLIB, OWN_MAIN])), [])

    def test_leak_allocated_by_own_code_counts(self):
        self.assertEqual(self.own_kinds(error("Leak_DefinitelyLost", [MALLOC, HEADER, OWN])),
                         ["Leak_DefinitelyLost"])

    def test_possible_leak_does_not_count(self):
        self.assertEqual(self.own_kinds(error("Leak_PossiblyLost", [MALLOC, OWN])), [])

    def test_a_directory_sharing_the_prefix_is_not_the_repository(self):
        self.assertEqual(self.own_kinds(error("InvalidRead", [ELSEWHERE])), [])


class PixelKindTest(unittest.TestCase):
    def test_scene_colours_rounded_either_way(self):
        self.assertEqual(picture.kind_of((102, 76, 89)), picture.BACKGROUND)
        self.assertEqual(picture.kind_of((102, 77, 89)), picture.BACKGROUND)
        self.assertEqual(picture.kind_of((179, 179, 179)), picture.GRID)
        self.assertEqual(picture.kind_of((178, 153, 127)), picture.STEM)
        self.assertEqual(picture.kind_of((77, 255, 77)), picture.LEAF)

    def test_half_white_over_the_background_is_text(self):
        self.assertIn(picture.kind_of((178, 165, 172)), picture.TEXT_KINDS)
        self.assertIn(picture.kind_of((217, 217, 217)), picture.TEXT_KINDS)

    def test_colours_of_no_kind(self):
        self.assertEqual(picture.kind_of((0, 0, 0)), picture.OTHER)
        self.assertEqual(picture.kind_of((255, 255, 255)), picture.OTHER)
        self.assertEqual(picture.kind_of((102, 86, 89)), picture.OTHER)

    def test_grid_difference_ignores_what_covers_the_grid(self):
        bg, grey, green = (102, 76, 89), (178, 178, 178), (76, 255, 76)
        before = picture.Picture(image_of([grey, grey, bg, bg]))
        after = picture.Picture(image_of([grey, green, grey, bg]))
        self.assertEqual(picture.grid_difference(before, after), 1)


def image_of(pixels):
    image = Image.new("RGB", (len(pixels), 1))
    image.putdata(pixels)
    return image


if __name__ == "__main__":
    unittest.main()
