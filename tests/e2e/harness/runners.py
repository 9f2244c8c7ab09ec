"""The two ways of starting the program: natively, and the .exe under Wine."""

import functools
import os
import subprocess

from .checks import CheckFailed

WINE_DIR = "/usr/lib/wine"


class NativeRunner:
    name = "native"
    window_timeout = 20.0

    def command(self, program):
        return [program]

    def environment(self, env):
        return env

    def reset(self):
        pass


class Wine:
    """One width of Wine: its loader, its wineserver, and which build of the
    Windows programs (32- or 64-bit) it runs."""

    def __init__(self, bits, command, server, environment, why=""):
        self.bits = bits
        self.command = command
        self.server = server
        self.environment = environment
        self.why = why

    def programs(self, folder32, folder64):
        """The folder of the Windows programs this Wine runs."""
        return folder32 if self.bits == 32 else folder64

    def describe(self, program):
        return f"Wine {self.bits}-bit{self.why}, {program}"


def can_start(program):
    """Whether this machine starts `program`: a kernel without 32-bit
    support refuses an i386 one (ENOEXEC)."""
    try:
        subprocess.run([program, "--version"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60, check=False)
    except OSError:
        return False
    return True


def wine_for(runs_32bit):
    """The 32-bit programs under 32-bit Wine, with its own wineserver, where
    32-bit programs run; elsewhere the 64-bit build under 64-bit Wine."""
    if runs_32bit:
        server = os.path.join(WINE_DIR, "wineserver32")
        return Wine(32, ["wine"], server, {"WINESERVER": server})
    loader, server = os.path.join(WINE_DIR, "wine64"), os.path.join(WINE_DIR, "wineserver64")
    return Wine(64, [loader], server, {"WINELOADER": loader, "WINESERVER": server},
                " (this machine cannot run 32-bit programs)")


@functools.cache
def machine_wine():
    """The Wine this machine runs, probed once."""
    return wine_for(can_start(os.path.join(WINE_DIR, "wine")))


class WineRunner:
    """Wine with a private prefix, made beforehand by make_wine_prefix.py."""

    name = "wine"
    window_timeout = 40.0

    def __init__(self, prefix):
        if not os.path.isfile(os.path.join(prefix, "system.reg")):
            raise CheckFailed("no Wine prefix", f"a prefix made by the fixture at {prefix}",
                              "no system.reg there")
        self.prefix = prefix

    def command(self, program):
        return machine_wine().command + [program]

    def environment(self, env):
        return dict(env, **wine_environment(self.prefix))

    def reset(self):
        """Ends every Wine process of the prefix, the wineserver with them."""
        wineserver(self.prefix, "-k")
        wineserver(self.prefix, "-w")


def wineserver(prefix, option):
    """Runs `wineserver OPTION` on the prefix: -k kills, -w waits for its end."""
    env = dict(os.environ, **wine_environment(prefix))
    subprocess.run([machine_wine().server, option], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60, check=False)


def windows_path(path):
    """Wine's name for a Linux path: drive Z: is the root."""
    return "Z:" + path.replace("/", "\\")


def wine_environment(prefix):
    # No debug output, and no prompts to install Mono or Gecko; the Wine
    # this machine runs.
    return dict({"WINEPREFIX": prefix, "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="},
                **machine_wine().environment)
