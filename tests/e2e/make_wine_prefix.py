#!/usr/bin/python3
"""Makes a fresh Wine prefix for the end-to-end tests of quenn.exe."""

import argparse
import os
import shutil
import sys
import time

from harness.checks import CheckFailed
from harness.processes import Process
from harness.runners import WineRunner, machine_wine, prefix_arch, wineserver
from harness.xserver import XServer


def wineboot(wine, prefix, display):
    """The command that makes `prefix` for `wine`, and its environment: the
    prefix's architecture is the one that Wine's wineserver accepts."""
    env = dict(os.environ, DISPLAY=display, **wine.environment_for(prefix))
    return wine.command + ["wineboot", "-i"], env


def make_prefix(prefix, log_dir):
    shutil.rmtree(prefix, ignore_errors=True)
    os.makedirs(log_dir, exist_ok=True)
    wine = machine_wine()
    # wineboot shows a progress window: give it a display of its own.
    x = XServer(log_dir)
    boot = None
    try:
        command, env = wineboot(wine, prefix, x.display)
        boot = Process("wineboot", command, log_dir, env=env)
        code = boot.wait(timeout=240)
        if code != 0:
            raise CheckFailed("wineboot -i", "exit code 0 within 240 s",
                              f"exit code {code}; stderr: {boot.stderr_text()[-800:]!r}")
        # The registry is written when the wineserver ends.
        wineserver(prefix, "-w")
        if prefix_arch(prefix) != wine.arch:
            raise CheckFailed("the new prefix", f"a {wine.arch} prefix",
                              f"#arch={prefix_arch(prefix)} in its system.reg")
        WineRunner(prefix).reset()
    finally:
        if boot is not None:
            boot.stop()
        x.stop()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("prefix")
    parser.add_argument("--logs", required=True)
    args = parser.parse_args()
    print(machine_wine().describe(f"prefix {args.prefix}"))
    start = time.monotonic()
    try:
        make_prefix(os.path.abspath(args.prefix), args.logs)
    except CheckFailed as failure:
        print(f"FAILED making the Wine prefix: {failure}")
        return 1
    print(f"Wine prefix {args.prefix} made in {time.monotonic() - start:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
