"""A private virtual X server, and a window manager on it."""

import os
import select
import shutil
import time

from .checks import CheckFailed, wait_for, wait_until
from .processes import Process

SCREEN = "1024x768x24"
# openbox's settings for the tests: one desktop, and no bindings or menus
# that input meant for the program could set off.
CONFIG = os.path.join(os.path.dirname(__file__), "openbox-rc.xml")


class XServer:
    """Xvfb on a free display number, with or without GLX."""

    def __init__(self, log_dir, glx=True):
        read_end, write_end = os.pipe()
        argv = ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp",
                "-noreset"]
        if not glx:
            argv += ["-extension", "GLX"]
        try:
            self.process = Process("xvfb", argv, log_dir, pass_fds=(write_end,))
        finally:
            os.close(write_end)
        try:
            self.display = ":" + self._read_display_number(read_end)
        except CheckFailed:
            self.process.stop()
            raise
        finally:
            os.close(read_end)

    def _read_display_number(self, read_end, timeout=15.0):
        # Xvfb writes the display number it took, then a newline, once it
        # accepts clients. Closing the pipe before the newline would kill it.
        deadline = time.monotonic() + timeout
        text = b""
        while not text.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
            chunk = os.read(read_end, 64) if ready else b""
            if not chunk:
                break
            text += chunk
        number = text.decode().strip()
        if not number.isdigit():
            raise CheckFailed("Xvfb did not start", "a display number on -displayfd",
                              repr(number) + "; " + self.process.stderr_text()[-500:])
        return number

    def stop(self):
        self.process.stop()


class WindowManager:
    """openbox on the given display, ready once it announces itself."""

    def __init__(self, x, log_dir):
        if shutil.which("openbox") is None:
            raise CheckFailed("no window manager", "openbox installed (scripts/setup)", "not found")
        env = dict(os.environ, DISPLAY=x.display)
        self.process = Process("openbox", ["openbox", "--sm-disable", "--config-file", CONFIG],
                               log_dir, env=env)

    def wait_ready(self, client, timeout=15.0):
        """Returns once openbox manages new windows. It announces itself on
        the root window a moment before it handles map requests, and a window
        mapped in between stays unmanaged: so map probe windows until one is
        framed."""
        wait_for("window manager start", "_NET_SUPPORTING_WM_CHECK on the root window",
                 lambda: (client.window_manager_running(), "no such property"), timeout=timeout)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            probe = client.create_probe_window()
            try:
                framed, _ = wait_until(0.5, lambda: (client.is_framed(probe), None))
            finally:
                client.destroy(probe)
            if framed:
                return
        raise CheckFailed("window manager start", "a new window framed by openbox",
                          f"none within {timeout:g} s")

    def stop(self):
        self.process.stop()
