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
    """One width of Wine: its loader, its wineserver, the architecture of
    the prefixes it makes and accepts, and which build of the Windows
    programs (32- or 64-bit) it runs."""

    def __init__(self, bits, command, server, environment, why=""):
        self.bits = bits
        self.command = command
        self.server = server
        self.environment = environment
        self.why = why

    @property
    def arch(self):
        """The prefix's architecture, as WINEARCH and system.reg name it."""
        return f"win{self.bits}"

    def environment_for(self, prefix):
        # No debug output, and no prompts to install Mono or Gecko.
        return dict({"WINEPREFIX": prefix, "WINEDEBUG": "-all",
                     "WINEDLLOVERRIDES": "mscoree,mshtml="}, **self.environment)

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
    """The 32-bit programs under 32-bit Wine where 32-bit programs run;
    elsewhere the 64-bit build under 64-bit Wine. Each width has its own
    loader and wineserver, and WINEARCH its prefix: without it the 32-bit
    loader hands a new prefix to 64-bit Wine, which makes it 64-bit, and the
    32-bit wineserver then refuses it."""
    bits = 32 if runs_32bit else 64
    loader = os.path.join(WINE_DIR, "wine" if runs_32bit else "wine64")
    server = os.path.join(WINE_DIR, f"wineserver{bits}")
    environment = {"WINEARCH": f"win{bits}", "WINELOADER": loader, "WINESERVER": server}
    why = "" if runs_32bit else " (this machine cannot run 32-bit programs)"
    return Wine(bits, [loader], server, environment, why)


@functools.cache
def machine_wine():
    """The Wine this machine runs, probed once."""
    return wine_for(can_start(os.path.join(WINE_DIR, "wine")))


class WineRunner:
    """Wine with a private prefix, made beforehand by make_wine_prefix.py."""

    name = "wine"
    window_timeout = 40.0

    def __init__(self, prefix):
        arch = prefix_arch(prefix)
        wanted = machine_wine().arch
        if arch != wanted:
            raise CheckFailed("Wine prefix", f"a {wanted} prefix made by the fixture at {prefix}",
                              f"a {arch} one" if arch else "no system.reg with its #arch there")
        self.prefix = prefix

    def command(self, program):
        return machine_wine().command + [program]

    def environment(self, env):
        return dict(env, **wine_environment(self.prefix))

    def reset(self):
        """Ends every Wine process of the prefix, the wineserver with them."""
        wineserver(self.prefix, "-k")
        wineserver(self.prefix, "-w")


def prefix_arch(prefix):
    """The architecture a Wine prefix was made for ("win32" or "win64"), as
    its system.reg says; None where there is no prefix."""
    try:
        with open(os.path.join(prefix, "system.reg"), encoding="utf-8", errors="replace") as reg:
            for line in reg:
                if line.startswith("#arch="):
                    return line.strip()[len("#arch="):]
    except FileNotFoundError:
        return None
    return None


def wineserver(prefix, option):
    """Runs `wineserver OPTION` on the prefix: -k kills, -w waits for its end."""
    env = dict(os.environ, **wine_environment(prefix))
    subprocess.run([machine_wine().server, option], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60, check=False)


def windows_path(path):
    """Wine's name for a Linux path: drive Z: is the root."""
    return "Z:" + path.replace("/", "\\")


def wine_environment(prefix):
    """The environment of the Wine this machine runs, on `prefix`."""
    return machine_wine().environment_for(prefix)
