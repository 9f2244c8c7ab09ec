#!/usr/bin/python3
"""Checks of the first-frame watcher (first_frame_watch.py) against windows
that a client of the test shows and paints, as a program shows its frames."""

import tempfile
import threading
import time
import unittest

from Xlib import display

from first_frame_watch import FirstFrameWatcher
from harness import picture
from harness.xserver import XServer

TITLE = "vell!"
# The scene's background, as a program clears its window to it.
BACKGROUND = tuple(round(255 * c) for c in picture.SCENE_COLOURS[picture.BACKGROUND])
BLACK = (0, 0, 0)
GREEN = (40, 160, 60)


class Painter:
    """A client with one window of its own: maps it, fills it with a colour."""

    def __init__(self, display_name, title):
        self.display = display.Display(display_name)
        screen = self.display.screen()
        self.window = screen.root.create_window(10, 10, 64, 64, 0, screen.root_depth,
                                                background_pixel=screen.black_pixel)
        self.window.set_wm_name(title)
        self.display.sync()

    def map(self):
        self.window.map()
        self.display.sync()

    def fill(self, colour):
        red, green, blue = colour
        context = self.window.create_gc(foreground=red << 16 | green << 8 | blue)
        self.window.fill_rectangle(context, 0, 0, 64, 64)
        self.display.sync()

    def close(self):
        self.display.close()


class FirstFrameWatcherTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.logs = tempfile.TemporaryDirectory()
        cls.x = XServer(cls.logs.name)

    @classmethod
    def tearDownClass(cls):
        cls.x.stop()
        cls.logs.cleanup()

    def setUp(self):
        self.watcher = FirstFrameWatcher(self.x.display)
        self.painters = []

    def tearDown(self):
        self.watcher.close()
        for painter in self.painters:
            painter.close()

    def painter(self, title=TITLE):
        self.painters.append(Painter(self.x.display, title))
        return self.painters[-1]

    def watch_while(self, steps, timeout=5.0):
        """Watches for TITLE's first frame while `steps` run on another
        thread; the frame and the moment (ns) the last step began."""
        last_step = []

        def run():
            for pause, step in steps:
                time.sleep(pause)
                last_step[:] = [time.monotonic_ns()]
                step()

        spawned = time.monotonic_ns()
        thread = threading.Thread(target=run)
        thread.start()
        frame = self.watcher.watch(TITLE, spawned, timeout)
        thread.join()
        return frame, (last_step[0] - spawned) / 1e6

    def test_the_first_frame_is_the_first_showing_the_background(self):
        window = self.painter()
        frame, painted = self.watch_while([(0.1, window.map), (0.1, lambda: window.fill(BLACK)),
                                           (0.2, lambda: window.fill(BACKGROUND))])
        self.assertIsNotNone(frame)
        self.assertEqual(frame.window.id, window.window.id)
        self.assertLess(frame.mapped, painted)
        self.assertGreaterEqual(frame.presented, painted)
        self.assertLess(frame.presented - painted, 200)
        self.assertGreaterEqual(frame.read, 0)

    def test_a_frame_painted_as_the_window_maps_is_seen(self):
        window = self.painter()
        frame, _ = self.watch_while([(0.1, lambda: (window.map(), window.fill(BACKGROUND)))])
        self.assertIsNotNone(frame)

    def test_other_windows_and_other_colours_are_no_first_frame(self):
        other, program = self.painter("another program"), self.painter()
        frame, _ = self.watch_while([(0, other.map), (0, lambda: other.fill(BACKGROUND)),
                                     (0, program.map), (0.1, lambda: program.fill(GREEN))],
                                    timeout=1.0)
        self.assertIsNone(frame)


if __name__ == "__main__":
    unittest.main()
