"""The two ways of starting the program: natively, and the .exe under Wine."""

import os
import subprocess

from .checks import CheckFailed


class NativeRunner:
    name = "native"
    window_timeout = 20.0

    def command(self, program):
        return [program]

    def environment(self, env):
        return env

    def reset(self):
        pass


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
        return ["wine", program]

    def environment(self, env):
        return dict(env, **wine_environment(self.prefix))

    def reset(self):
        """Ends every Wine process of the prefix, the wineserver with them."""
        wineserver(self.prefix, "-k")
        wineserver(self.prefix, "-w")


def wineserver(prefix, option):
    """Runs `wineserver OPTION` on the prefix: -k kills, -w waits for its end."""
    env = dict(os.environ, **wine_environment(prefix))
    subprocess.run(["wineserver", option], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=60, check=False)


def wine_environment(prefix):
    # No debug output, and no prompts to install Mono or Gecko.
    return {"WINEPREFIX": prefix, "WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}
