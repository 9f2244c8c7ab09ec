#!/usr/bin/python3
"""Runs quenn on a virtual X server for a few seconds and saves a screenshot
of its window; then closes it as a window manager would, and stops the
server. For a machine without a display (scripts/run)."""

import argparse
import os
import shutil
import sys
import tempfile

from harness.checks import CheckFailed
from harness.desktop import Desktop
from harness.runners import NativeRunner
from harness.program import show_and_close


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("program")
    parser.add_argument("picture", help="where to save the screenshot (PNG)")
    parser.add_argument("--seconds", type=float, default=3.0)
    args = parser.parse_args()
    log_dir = tempfile.mkdtemp(prefix="quenn-run-")
    try:
        with Desktop(log_dir, {}) as desktop:
            image = show_and_close(desktop, NativeRunner(), args.program, args.seconds)
    except CheckFailed as failure:
        print(f"quenn did not run as it should: {failure}\nlogs: {log_dir}", file=sys.stderr)
        return 1
    shutil.rmtree(log_dir)
    os.makedirs(os.path.dirname(os.path.abspath(args.picture)), exist_ok=True)
    image.save(args.picture)
    print(os.path.abspath(args.picture))
    return 0


if __name__ == "__main__":
    sys.exit(main())
