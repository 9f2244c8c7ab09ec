#!/usr/bin/python3
"""Checks of the harness's own judgements: pixel kinds, valgrind errors,
sanitizer reports, the storm's plan, which Wine runs, a case's outcome and
the merged list of the cases."""

import contextlib
import io
import itertools
import os
import shutil
import tempfile
import types
import unittest

from PIL import Image

from harness import picture, storm
from harness.checks import CheckFailed, Unsupported
from harness.driver import SKIPPED, drive
from harness.runners import WINE_DIR, WineRunner, can_start, machine_wine, prefix_arch, wine_for
from harness.case_endurance import resident_level
from harness.cases import merged_cases
from harness.sanitizers import sanitizer_findings
from harness.scene_checks import timed_recording
from harness.valgrind_report import own_errors
from make_wine_prefix import wineboot

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


class OutcomeTest(unittest.TestCase):
    def outcome(self, problem):
        def body(shots):
            if problem:
                raise problem
        printed = io.StringIO()
        with tempfile.TemporaryDirectory() as artifacts, contextlib.redirect_stdout(printed):
            code = drive("web pen", artifacts, 30, body)
        return code, printed.getvalue()

    def test_a_case_that_cannot_run_here_is_skipped_saying_why(self):
        code, printed = self.outcome(Unsupported("pen input needs a newer Firefox"))
        self.assertEqual(code, SKIPPED)
        self.assertIn("skipped web pen: pen input needs a newer Firefox", printed)

    def test_a_failed_check_fails_and_a_held_one_passes(self):
        self.assertEqual(self.outcome(CheckFailed("picture", "drawn", "blank"))[0], 1)
        self.assertEqual(self.outcome(None)[0], 0)


class ValgrindReportTest(unittest.TestCase):
    def own_kinds(self, *errors):
        with tempfile.NamedTemporaryFile("w", suffix=".xml", delete=False) as report:
            report.write('<?xml version="1.0"?><valgrindoutput>' + "".join(errors) +
                         "</valgrindoutput>")
        try:
            return [e.kind for e in own_errors(report.name, SOURCE)]
        finally:
            os.unlink(report.name)

    def test_own_errors_are_those_the_repositorys_code_is_to_blame_for(self):
        origin = [MALLOC, OWN, OWN_MAIN]
        table = [  # what, the error, the kinds that count
            ("fault in own code", error("InvalidWrite", [OWN, OWN_MAIN]), ["InvalidWrite"]),
            ("fault through a runtime copy", error("InvalidRead", [MEMCPY, HEADER, OWN]),
             ["InvalidRead"]),
            ("Mesa fault below own call", error("UninitCondition", [MESA, MESA, OWN_MAIN]), []),
            ("Mesa fault on memory from own code",
             error("UninitCondition", [MESA, OWN_MAIN], origin), ["UninitCondition"]),
            ("leak allocated by Xlib for own call",
             error("Leak_DefinitelyLost", [MALLOC, XLIB, OWN_MAIN]), []),
            ("leak allocated by own code", error("Leak_DefinitelyLost", [MALLOC, HEADER, OWN]),
             ["Leak_DefinitelyLost"]),
            ("possible leak", error("Leak_PossiblyLost", [MALLOC, OWN]), []),
            ("a directory sharing the prefix is not the repository",
             error("InvalidRead", [ELSEWHERE]), []),
        ]
        for what, report, kinds in table:
            with self.subTest(what):
                self.assertEqual(self.own_kinds(report), kinds)


class PixelKindTest(unittest.TestCase):
    def test_each_colour_is_of_its_kind(self):
        text = picture.TEXT_KINDS  # half white over the background
        table = [  # colour, the kinds it may be
            ((102, 76, 89), {picture.BACKGROUND}), ((102, 77, 89), {picture.BACKGROUND}),
            ((179, 179, 179), {picture.GRID}), ((178, 153, 127), {picture.STEM}),
            ((77, 255, 77), {picture.LEAF}), ((178, 165, 172), text), ((217, 217, 217), text),
            ((0, 0, 0), {picture.OTHER}), ((255, 255, 255), {picture.OTHER}),
            ((102, 86, 89), {picture.OTHER}),
        ]
        for colour, kinds in table:
            with self.subTest(colour):
                self.assertIn(picture.kind_of(colour), kinds)

    def test_grid_difference_ignores_what_covers_the_grid(self):
        bg, grey, green = (102, 76, 89), (178, 178, 178), (76, 255, 76)
        before = picture.Picture(image_of([grey, grey, bg, bg]))
        after = picture.Picture(image_of([grey, green, grey, bg]))
        self.assertEqual(picture.grid_difference(before, after), 1)


class TimedRecordingTest(unittest.TestCase):
    def recordings(self, *gaps):
        """record_once for recordings whose pictures are 0.1 s apart but for
        one gap, from 0.4 s on, of each of `gaps` in turn."""
        made = []

        def record_once(attempt):
            made.append(attempt)
            gap = gaps[attempt - 1]
            times = [0.1 * i for i in range(5)] + [0.4 + gap + 0.1 * i for i in range(9)]
            return times, [attempt] * len(times)
        return made, record_once

    def test_a_starved_recording_is_taken_again(self):
        made, record_once = self.recordings(0.3, 0.2)
        self.assertEqual(timed_recording(record_once)[1][0], 2)
        self.assertEqual(made, [1, 2])

    def test_three_starved_recordings_fail(self):
        made, record_once = self.recordings(0.3, 0.3, 0.3)
        with self.assertRaises(CheckFailed):
            timed_recording(record_once)
        self.assertEqual(made, [1, 2, 3])


class SanitizerReportTest(unittest.TestCase):
    def test_each_sanitizer_report_is_found(self):
        stderr = (
            "quenn: OpenGL context init failed\n"
            "==4242==ERROR: AddressSanitizer: heap-use-after-free on address 0x602000000010\n"
            "    #0 0x55 in Plant::draw plant/turtle.cpp:80\n"
            "SUMMARY: AddressSanitizer: heap-use-after-free plant/turtle.cpp:80 in Plant::draw\n"
            "scene/camera.cpp:41:17: runtime error: signed integer overflow: 2147483647 + 1\n"
            "==4243==ERROR: LeakSanitizer: detected memory leaks\n")
        findings = sanitizer_findings(stderr)
        self.assertEqual(len(findings), 4)
        self.assertTrue(findings[0].startswith("==4242==ERROR: AddressSanitizer"))
        self.assertIn("runtime error: signed integer overflow", findings[2])

    def test_the_programs_own_messages_are_no_report(self):
        stderr = ("quenn: OpenGL context init failed\n"
                  "quenn: X error: BadWindow (invalid Window parameter) (request 12.0)\n"
                  "quenn: cannot open display :99\n")
        self.assertEqual(sanitizer_findings(stderr), [])


class ResidentLevelTest(unittest.TestCase):
    def test_a_frames_passing_scratch_memory_does_not_count(self):
        samples = [(5 + i / 4, 85000 + (1100 if i % 7 == 3 else 0)) for i in range(20)]
        self.assertEqual(resident_level(samples, 5, 10), 85000)

    def test_a_steady_climb_does(self):
        samples = [(i / 4, 80000 + 10 * i) for i in range(240)]
        self.assertEqual(resident_level(samples, 55, 60) - resident_level(samples, 5, 10), 2000)


SCREEN = (1024, 768)


def plan(seed, count=3000):
    return list(itertools.islice(storm.storm_actions(seed, SCREEN), count))


def inside(point):
    return 0 <= point[0] < 1 and 0 <= point[1] < 1


class StormPlanTest(unittest.TestCase):
    def test_a_seed_gives_its_own_storm_every_time(self):
        self.assertEqual(plan(7, 500), plan(7, 500))
        self.assertNotEqual(plan(7, 500), plan(8, 500))

    def test_every_kind_of_input_comes(self):
        actions = plan(1)
        kinds = {type(action) for action in actions}
        self.assertEqual(kinds, {storm.Moves, storm.Click, storm.DragOut, storm.Resize,
                                 storm.Pause, storm.Iconify, storm.Restore})
        self.assertEqual({a.button for a in actions if isinstance(a, storm.Click)}, {1, 2, 3})
        points = [p for a in actions if isinstance(a, storm.Moves) for p in a.points]
        self.assertGreater(len(points), 1000)
        self.assertTrue(any(inside(p) for p in points) and not all(inside(p) for p in points))

    def test_sizes_span_one_pixel_to_the_screen(self):
        sizes = [(a.width, a.height) for a in plan(2) if isinstance(a, storm.Resize)]
        self.assertTrue(all(1 <= w <= SCREEN[0] and 1 <= h <= SCREEN[1] for w, h in sizes))
        self.assertIn(1, [w for w, _ in sizes])
        self.assertIn(SCREEN[0], [w for w, _ in sizes])
        self.assertIn(SCREEN[1], [h for _, h in sizes])

    def test_presses_start_inside_and_drags_end_outside(self):
        for action in plan(3):
            if isinstance(action, storm.Click):
                self.assertTrue(all(inside(p) for p in action.points))
            if isinstance(action, storm.DragOut):
                self.assertTrue(inside(action.points[0]))
                self.assertFalse(inside(action.points[-1]))

    def test_iconify_and_restore_alternate_with_no_press_between(self):
        iconic = False
        for action in plan(4):
            if isinstance(action, (storm.Iconify, storm.Restore)):
                self.assertEqual(isinstance(action, storm.Restore), iconic)
                iconic = not iconic
            elif iconic:
                self.assertNotIsInstance(action, (storm.Click, storm.DragOut))


class WineChoiceTest(unittest.TestCase):
    def program(self, content):
        with tempfile.NamedTemporaryFile("wb", delete=False) as program:
            program.write(content)
        os.chmod(program.name, 0o755)
        self.addCleanup(os.unlink, program.name)
        return program.name

    def test_a_program_can_start_if_it_runs_whatever_it_returns(self):
        # Neither an executable format nor a script: execve fails with ENOEXEC.
        self.assertFalse(can_start(self.program(b"\x7fELF\x01\x01\x01" + bytes(64))))
        self.assertFalse(can_start("/nonexistent/wine"))
        self.assertTrue(can_start(self.program(b"#!/bin/sh\nexit 3\n")))

    def test_each_wine_runs_the_build_of_its_width_and_makes_its_prefix(self):
        # A 32-bit loader without WINEARCH hands a new prefix to 64-bit Wine,
        # and the 32-bit wineserver then refuses the 64-bit prefix.
        for runs_32bit, bits, folder, loader in ((True, 32, "w32", "wine"),
                                                 (False, 64, "w64", "wine64")):
            wine = wine_for(runs_32bit)
            self.assertEqual(wine.bits, bits)
            self.assertEqual(wine.programs("w32", "w64"), folder)
            described = wine.describe("x.exe")
            self.assertTrue(described.startswith(f"Wine {bits}-bit"))
            # The 64-bit one says why it runs.
            self.assertEqual("cannot" in described, not runs_32bit)
            self.assertEqual("cannot run 32-bit" in described, not runs_32bit)
            self.assertEqual(wine.environment["WINESERVER"], wine.server)
            self.assertTrue(wine.server.endswith(f"wineserver{bits}"))
            self.assertEqual(wine.arch, f"win{bits}")
            command, env = wineboot(wine, "/tmp/prefix", ":7")
            self.assertEqual(command, [os.path.join(WINE_DIR, loader), "wineboot", "-i"])
            self.assertEqual(wine.command, [env["WINELOADER"]])
            self.assertEqual(env["WINELOADER"], command[0])
            self.assertEqual(env["WINEARCH"], f"win{bits}")
            self.assertEqual(env["WINESERVER"], os.path.join(WINE_DIR, f"wineserver{bits}"))
            self.assertEqual((env["WINEPREFIX"], env["DISPLAY"]), ("/tmp/prefix", ":7"))

    def prefix(self, registry):
        prefix = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, prefix)
        if registry is not None:
            with open(os.path.join(prefix, "system.reg"), "w") as reg:
                reg.write(registry)
        return prefix

    def test_a_prefix_says_its_width_in_its_registry(self):
        header = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
        self.assertEqual(prefix_arch(self.prefix(header + "#arch=win32\n\n[Software]\n")),
                         "win32")
        self.assertEqual(prefix_arch(self.prefix(header + "#arch=win64\n")), "win64")
        self.assertIsNone(prefix_arch(self.prefix(header)))
        self.assertIsNone(prefix_arch(self.prefix(None)))

    def test_a_prefix_of_the_other_width_is_refused_before_wine_starts(self):
        other = {"win32": "win64", "win64": "win32"}[machine_wine().arch]
        with self.assertRaises(CheckFailed) as refused:
            WineRunner(self.prefix(f"WINE REGISTRY Version 2\n#arch={other}\n"))
        self.assertIn(f"a {other} one", str(refused.exception))
        with self.assertRaises(CheckFailed):
            WineRunner(self.prefix(None))


class CasesTest(unittest.TestCase):
    def module(self, name, **cases):
        return types.SimpleNamespace(__name__=name, CASES=cases)

    def test_every_module_adds_its_cases(self):
        merged = merged_cases([self.module("a", picture=1, drag=2), self.module("b", touch=3)])
        self.assertEqual(merged, {"picture": 1, "drag": 2, "touch": 3})

    def test_a_name_two_modules_use_is_refused(self):
        with self.assertRaises(ValueError) as refused:
            merged_cases([self.module("a", pen=1), self.module("b", pen=2)])
        self.assertIn("'pen'", str(refused.exception))


def image_of(pixels):
    image = Image.new("RGB", (len(pixels), 1))
    image.putdata(pixels)
    return image


if __name__ == "__main__":
    unittest.main()
