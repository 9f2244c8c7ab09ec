"""Times a program's first presented frame from outside, through the X server.

For a program nothing can be preloaded into (a Windows program under Wine):
the watcher asks the server to report every change of the screen's pixels
(DAMAGE on the root window, made before the program starts, so no frame is
missed), and after each report reads a row of the program's window. The
first frame has been presented once both ends of that row show the scene's
background. The moment taken is when that read returns: never early, late by
at most the read itself, which the watcher reports as its resolution.
"""

import select
import time

from Xlib import X, error
from Xlib.ext import damage

from harness.picture import BACKGROUND, kind_of
from harness.xclient import XClient

# The row read, this far inside the window's top and sides: background in
# the first frame of the program and of its floor.
INSET = 4


class FirstFrame:
    """Milliseconds from the spawn to the window's map and to the first
    frame, the window, and the milliseconds the confirming read took."""

    def __init__(self, mapped, presented, window, read):
        self.mapped = mapped
        self.presented = presented
        self.window = window
        self.read = read


class FirstFrameWatcher:
    def __init__(self, display_name):
        self.client = XClient(display_name)
        self.display = self.client.display
        if not self.display.has_extension("DAMAGE"):
            self.client.close()
            raise RuntimeError("the X server has no DAMAGE extension")
        self.display.damage_query_version()
        root = self.client.root
        root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.damage = root.damage_create(damage.DamageReportNonEmpty)
        self.display.sync()

    def close(self):
        self.client.close()

    def watch(self, title, spawned_ns, timeout):
        """The first frame of the next window titled `title` mapped on the
        root, timed from `spawned_ns` (time.monotonic_ns()); None when none
        shows within `timeout` seconds."""
        self._drain()
        deadline = time.monotonic() + timeout
        window, width, mapped = None, 0, None
        while time.monotonic() < deadline:
            select.select([self.display], [], [], max(0.0, deadline - time.monotonic()))
            while self.display.pending_events():
                event = self.display.next_event()
                since_spawn = (time.monotonic_ns() - spawned_ns) / 1e6
                if event.type == X.MapNotify and window is None:
                    width = self._width_if_titled(event.window, title)
                    if width:
                        window, mapped = event.window, since_spawn
                elif event.type == self.display.extension_event.DamageNotify:
                    self.display.damage_subtract(self.damage, X.NONE, X.NONE)
                    if window is not None and self._shows_scene(window, width):
                        presented = (time.monotonic_ns() - spawned_ns) / 1e6
                        return FirstFrame(mapped, presented, window, presented - since_spawn)
        return None

    def _drain(self):
        """Forgets what earlier programs drew: the next report is new."""
        self.display.damage_subtract(self.damage, X.NONE, X.NONE)
        self.display.sync()
        while self.display.pending_events():
            self.display.next_event()

    def _width_if_titled(self, window, title):
        """The window's width if it is titled `title`, else 0."""
        try:
            return window.get_geometry().width if self.client.title(window) == title else 0
        except error.XError:
            return 0  # gone already

    def _shows_scene(self, window, width):
        try:
            row = window.get_image(0, INSET, width, 1, X.ZPixmap, 0xFFFFFFFF).data
        except error.XError:
            return False  # unmapped or gone
        return all(_is_background(row, x) for x in (INSET, width - 1 - INSET))


def _is_background(row, x):
    blue, green, red = row[4 * x:4 * x + 3]  # 32-bit pixels, BGRX
    return kind_of((red, green, blue)) == BACKGROUND
