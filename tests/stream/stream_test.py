#!/usr/bin/python3
"""Checks of the stream tests' own judgements: reading apitrace's dump,
Wine's trace and the neutral text, cutting a run into frames, and comparing
a real frame with a recorded one."""

import os
import tempfile
import unittest

import apitrace_dump
import neutral_text
import wine_trace
from stream_calls import SWAP, TOLERANCE, Frames, GlCall, Run, StreamError

GL_LINES, GL_QUADS, GL_UNSIGNED_BYTE = 1, 7, 5121


def calls_of(items):
    """The parsed calls and swaps of a reader's items."""
    return [item if item is SWAP else item.call() for item in items]


def dump(*lines, blob_dir=None):
    return calls_of(apitrace_dump.parse_lines([line + "\n" for line in lines], blob_dir))


def wine(*lines):
    return calls_of(wine_trace.parse_lines([line + "\n" for line in lines]))


class ApitraceDumpTest(unittest.TestCase):
    def test_each_dump_gives_its_calls(self):
        table = [  # what, the dump's lines, its calls and swaps
            ("numbers by their names, in order",
             ["1313 glVertex3f(x = 0, y = 1.996195, z = -0.08715574)"],
             [GlCall("glVertex3f", (0, 1.996195, -0.08715574))]),
            ("enumerants as their values",
             ["5 glPolygonMode(face = GL_FRONT, mode = GL_FILL)",
              "6 glClear(mask = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT)"],
             [GlCall("glPolygonMode", (0x404, 0x1B02)), GlCall("glClear", (0x4100,))]),
            ("glGenLists keeps the first list the OpenGL gave",
             ["1297 glGenLists(range = 96) = 1"], [GlCall("glGenLists", (96,), first_list=1)]),
            ("a blob shown by its size leaves the text unknown",
             ["7 glCallLists(n = 5, type = GL_UNSIGNED_BYTE, lists = blob(5))"],
             [GlCall("glCallLists", (5, GL_UNSIGNED_BYTE))]),
            ("the swap marks the frame, the rest of GLX and apitrace is left out",
             ['// process.name = "/build/quenn"',
              "1293 glXCreateContext(dpy = 0x55de, vis = &{visual = 0x55, visualid = 913, "
              "screen = 0}, shareList = NULL, direct = True) = 0x55de33142ec0",
              "1295 glViewport(x = 0, y = 0, width = 256, height = 256) // fake",
              "1307 glViewport(x = 0, y = 0, width = 256, height = 256)", "",
              "1308 glXSwapBuffers(dpy = 0x55de33119390, drawable = 2097154)"],
             [GlCall("glViewport", (0, 0, 256, 256)), SWAP]),
        ]
        for what, lines, calls in table:
            with self.subTest(what):
                self.assertEqual(dump(*lines), calls)

    def test_what_cannot_be_read_is_refused_with_its_call(self):
        for line, message in (("9 glEnable(cap = GL_FOG)", "call 9: .*GL_FOG"),
                              ("3 glEnable(3042)", "call 3: no name = value")):
            with self.subTest(line), self.assertRaisesRegex(StreamError, message):
                dump(line)

    def test_a_blob_in_a_file_is_the_calls_text(self):
        with tempfile.TemporaryDirectory() as blobs:
            with open(os.path.join(blobs, "blob_call7.bin"), "wb") as blob:
                blob.write(b"FPS 21")
            calls = dump('7 glCallLists(n = 6, type = GL_UNSIGNED_BYTE, '
                         'lists = blob("blob_call7.bin"))', blob_dir=blobs)
        self.assertEqual(calls, [GlCall("glCallLists", (6, GL_UNSIGNED_BYTE), b"FPS 21")])

    def test_arguments_split_only_outside_braces_and_quotes(self):
        self.assertEqual(apitrace_dump.split_arguments('a = &{b = 1, c = 2}, d = "e, f", g = 3'),
                         ["a = &{b = 1, c = 2}", 'd = "e, f"', "g = 3"])


class WineTraceTest(unittest.TestCase):
    def test_each_log_gives_its_calls(self):
        table = [  # what, the log's lines, its calls and swaps
            ("floats and decimal enumerants",
             ["0024:trace:opengl:glVertex3f x 1.000000, y -2.500000, z 0.000000",
              "0024:trace:opengl:glBlendFunc sfactor 770, dfactor 771",
              "0024:trace:opengl:glListBase base -31"],
             [GlCall("glVertex3f", (1.0, -2.5, 0.0)), GlCall("glBlendFunc", (770, 771)),
              GlCall("glListBase", (-31,))]),
            ("pointers are left out",
             ["0024:trace:opengl:glCallLists n 5, type 5121, lists 0066F4B0"],
             [GlCall("glCallLists", (5, GL_UNSIGNED_BYTE))]),
            ("calls without arguments",
             ["0024:trace:opengl:glEnd ", "0024:trace:opengl:glFinish"],
             [GlCall("glEnd"), GlCall("glFinish")]),
            ("the driver's swap marks the frame, WGL is left out",
             ["0024:trace:opengl:wglMakeCurrent hDc 20010045, newContext 00011000",
              "0024:trace:wgl:glxdrv_wglMakeCurrent (0x20010045,0x7e37f170)",
              "0024:trace:opengl:glFinish ", "0024:trace:wgl:glxdrv_wglSwapBuffers (0x20010045)",
              "0024:err:opengl:glBegin not a trace"],
             [GlCall("glFinish"), SWAP]),
            # Wine 8's wglUseFontBitmaps logs its own calls; the program's go
            # on in order around them.
            ("the first list comes from the font Wine builds",
             ["0024:trace:opengl:glGenLists range 96",
              "0024:trace:opengl:glGetIntegerv pname 3317, data 0066F128",
              "0024:trace:opengl:glPixelStorei pname 3317, param 4",
              "0024:trace:opengl:wglUseFontBitmaps_common Glyph:  32 / List: 1 size 0",
              "0024:trace:opengl:glNewList list 1, mode 4864", "0024:trace:opengl:glEndList ",
              "0024:trace:opengl:glPixelStorei pname 3317, param 4",
              "0024:trace:opengl:glViewport x 0, y 0, width 256, height 256"],
             [GlCall("glGenLists", (96,), first_list=1),
              GlCall("glGetIntegerv", (3317, "0066F128")), GlCall("glNewList", (1, 4864)),
              GlCall("glEndList"),
              GlCall("glViewport", (0, 0, 256, 256))]),
            ("without a font the first list stays unknown",
             ["0024:trace:opengl:glGenLists range 96", "0024:trace:opengl:glFinish ",
              "0024:trace:wgl:glxdrv_wglSwapBuffers (0x20010045)"],
             [GlCall("glGenLists", (96,)), GlCall("glFinish"), SWAP]),
        ]
        for what, lines, calls in table:
            with self.subTest(what):
                self.assertEqual(wine(*lines), calls)

    def test_a_value_that_is_no_number_is_refused(self):
        with self.assertRaisesRegex(StreamError, "'x1' is no number"):
            wine("0024:trace:opengl:glLineWidth width x1")


class NeutralTextTest(unittest.TestCase):
    def test_each_line_a_call(self):
        self.assertEqual(neutral_text.parse_frame(
            "glVertex3f 0 0.69999998807907104 -1e-07\n"
            "glGenLists 96 = 1000\n"
            'glCallLists 7 5121 "FPS \\x225\\x5C"\n'
            "glEnd\n"),
            [GlCall("glVertex3f", (0, 0.69999998807907104, -1e-07)),
             GlCall("glGenLists", (96,), first_list=1000),
             GlCall("glCallLists", (7, GL_UNSIGNED_BYTE), b'FPS "5\\'),
             GlCall("glEnd")])

    def test_a_line_that_is_no_call_is_refused_with_its_number(self):
        with self.assertRaisesRegex(StreamError, "line 2: no call"):
            neutral_text.parse_frame("glEnd\nSwapBuffers 8192\n")
        with self.assertRaisesRegex(StreamError, "line 1: 'x' is no number"):
            neutral_text.parse_frame("glLineWidth x\n")


def lines_pair(*vertices):
    return [GlCall("glBegin", (GL_LINES,)), *(GlCall("glVertex3f", v) for v in vertices),
            GlCall("glEnd")]


class RunTest(unittest.TestCase):
    def test_frames_end_at_their_swaps_without_queries_and_list_compilation(self):
        run = Run([GlCall("glGenLists", (96,), first_list=1), GlCall("glNewList", (1, 4864)),
                   GlCall("glBitmap", (0, 0, 0, 0, 6, 0)), GlCall("glEndList"),
                   GlCall("glGetIntegerv", (3317, "0066F128")), GlCall("glFinish"), SWAP,
                   GlCall("glClear", (0x4000,)), SWAP,
                   GlCall("glClear", (0x4000,)), GlCall("glFinish"), SWAP,
                   GlCall("glEnd")], lambda frame: len(frame) == 2)
        self.assertEqual(run.first, [GlCall("glGenLists", (96,), first_list=1), GlCall("glFinish")])
        self.assertEqual(run.later, [GlCall("glClear", (0x4000,)), GlCall("glFinish")])
        self.assertEqual((run.first_list, run.later_number, run.frames_read), (1, 3, 3))

    def test_without_a_swap_there_is_no_frame(self):
        run = Run([GlCall("glFinish")], lambda frame: True)
        self.assertEqual((run.first, run.later, run.frames_read), (None, None, 0))


def compare(recorded, real, later=False, first_lists=(1000, 1)):
    return Frames(recorded, real, *first_lists).first_difference(later)


class ComparisonTest(unittest.TestCase):
    def test_the_same_calls_match(self):
        frame = [GlCall("glViewport", (0, 0, 256, 256)), *lines_pair((0, 1, 0), (0, 2, 0))]
        self.assertIsNone(compare(frame, list(frame)))

    def test_numbers_within_the_tolerance_relative_above_one(self):
        # 1107.869: 2e-5 off, as apitrace prints a float to 7 digits.
        recorded = [GlCall("glTranslatef", (0, 0, -1107.8690185546875))]
        self.assertIsNone(compare(recorded, [GlCall("glTranslatef", (0, 0, -1107.869))]))
        off = -1107.8690185546875 * (1 + 2 * TOLERANCE)
        self.assertIn("argument 2", compare(recorded, [GlCall("glTranslatef", (0, 0, off))]))

    def test_numbers_within_the_tolerance_absolute_below_one(self):
        recorded = [GlCall("glColor3f", (0.69999998807907104, 1e-7, 0))]
        self.assertIsNone(compare(recorded, [GlCall("glColor3f", (0.7, 0.0, 0.000001))]))
        self.assertIn("argument 2: 2e-05 where 0 was recorded",
                      compare(recorded, [GlCall("glColor3f", (0.7, 0.0, 0.00002))]))

    def test_integers_exactly(self):
        recorded = [GlCall("glViewport", (0, 0, 256, 256))]
        self.assertIn("argument 3: 256.0001 where 256",
                      compare(recorded, [GlCall("glViewport", (0, 0, 256, 256.0001))]))
        self.assertIsNotNone(compare([GlCall("glBegin", (GL_LINES,))],
                                     [GlCall("glBegin", (GL_QUADS,))]))

    def test_the_first_difference_names_its_index_and_both_calls(self):
        recorded = [GlCall("glFinish"), GlCall("glLineWidth", (2,)), GlCall("glLineWidth", (3,))]
        real = [GlCall("glFinish"), GlCall("glLineWidth", (2.5,)), GlCall("glLineWidth", (4,))]
        self.assertEqual(compare(recorded, real),
                         "call 1 differs: argument 0: 2.5 where 2 was recorded\n"
                         "  recorded: glLineWidth(2)\n  real:     glLineWidth(2.5)")

    def test_another_call_or_another_count(self):
        self.assertIn("call 0 differs: glEnable where glDisable was recorded",
                      compare([GlCall("glDisable", (2884,))], [GlCall("glEnable", (2884,))]))
        self.assertIn("1 arguments where 2 were recorded",
                      compare([GlCall("glBlendFunc", (770, 771))], [GlCall("glBlendFunc", (770,))]))

    def test_a_frame_cut_short_or_running_on(self):
        frame = [GlCall("glClear", (0x4000,)), GlCall("glFinish")]
        self.assertEqual(compare(frame, frame[:1]),
                         "call 1 differs: the real frame has 1 calls, the recorded one 2\n"
                         "  recorded: glFinish()\n  real:     the end of the frame")
        self.assertIn("real:     glFinish()", compare(frame[:1], frame))

    def test_display_lists_from_the_first_list_each_opengl_gave(self):
        recorded = [GlCall("glListBase", (1000 - 32,))]
        self.assertIsNone(compare(recorded, [GlCall("glListBase", (2**32 - 31,))]))
        self.assertIsNone(compare(recorded, [GlCall("glListBase", (-31,))]))
        self.assertIn("argument 0", compare(recorded, [GlCall("glListBase", (-30,))]))
        self.assertIn("no first list known",
                      compare(recorded, [GlCall("glListBase", (-31,))], first_lists=(1000, None)))

    def test_text_where_both_show_it(self):
        recorded = [GlCall("glCallLists", (5, GL_UNSIGNED_BYTE), b"FPS 0")]
        self.assertIsNone(compare(recorded, [GlCall("glCallLists", (5, GL_UNSIGNED_BYTE))]))
        self.assertIn("text b'FPS 9' where b'FPS 0'",
                      compare(recorded, [GlCall("glCallLists", (5, GL_UNSIGNED_BYTE), b"FPS 9")]))


class LaterFrameTest(unittest.TestCase):
    RECORDED = [*lines_pair((0, 0, 0), (0, 1, 0)),
                GlCall("glBegin", (GL_QUADS,)), GlCall("glVertex3f", (-100, 0, -100)),
                GlCall("glEnd"), GlCall("glCallLists", (5, GL_UNSIGNED_BYTE), b"FPS 0")]

    def real(self, plant=((0.1, 0, 0), (0.2, 1, 0)), grid=(-100, 0, -100), counter=(5, None)):
        count, text = counter
        return [*lines_pair(*plant), GlCall("glBegin", (GL_QUADS,)), GlCall("glVertex3f", grid),
                GlCall("glEnd"), GlCall("glCallLists", (count, GL_UNSIGNED_BYTE), text)]

    def test_the_plants_vertices_sway_freely(self):
        self.assertIsNone(compare(self.RECORDED, self.real(), later=True))
        self.assertIsNotNone(compare(self.RECORDED, self.real()))

    def test_every_other_vertex_as_recorded(self):
        self.assertIn("call 5 differs", compare(self.RECORDED, self.real(grid=(-99, 0, -100)),
                                                later=True))

    def test_the_counter_shows_any_count(self):
        for counter in ((6, b"FPS 57"), (6, None), (15, None)):
            self.assertIsNone(compare(self.RECORDED, self.real(counter=counter), later=True))

    def test_the_counter_draws_a_counters_text(self):
        for counter in ((5, b"FPX 5"), (6, b"FPS 5"), (4, None), (16, None)):
            self.assertIn("no counter's text",
                          compare(self.RECORDED, self.real(counter=counter), later=True))

    def test_the_counters_type_as_recorded(self):
        real = self.real()
        real[-1] = GlCall("glCallLists", (5, 5123))
        self.assertIn("type 5123 where 5121", compare(self.RECORDED, real, later=True))

    def test_a_plant_missing_is_no_later_frame(self):
        self.assertIn("call 0 differs: argument 0: 7 where 1 was recorded",
                      compare(self.RECORDED, self.real()[4:], later=True))


if __name__ == "__main__":
    unittest.main()
