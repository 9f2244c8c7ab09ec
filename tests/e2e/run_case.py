#!/usr/bin/python3
"""Runs one end-to-end case against quenn, natively, under Wine or in the
browser (where the native program draws the reference pictures).

Exits 0 when every check of the case held, 1 otherwise, after saving the
screenshots it took under the artifacts directory."""

import argparse
import os
import shutil
import signal
import sys
import time

from harness.case_web import CASES as WEB_CASES
from harness.cases import CASES
from harness.checks import CheckFailed
from harness.context import Context
from harness.runners import NativeRunner, WineRunner


class Stopped(Exception):
    """The case's own time limit ran out, or CTest stopped it."""


def _stop(signum, frame):
    raise Stopped("time limit reached" if signum == signal.SIGALRM else f"signal {signum}")


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("case", choices=sorted(set(CASES) | set(WEB_CASES)))
    parser.add_argument("--runner", choices=["native", "wine", "web"], default="native")
    parser.add_argument("--program", required=True)
    parser.add_argument("--fast-program")
    parser.add_argument("--wine-prefix")
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--time-limit", type=int, default=120,
                        help="seconds before the case gives up and cleans up")
    parser.add_argument("--keep-shots", action="store_true",
                        help="save the screenshots when the case passes, too")
    return parser.parse_args()


def save_shots(shots, directory):
    for label, image in shots.items():
        path = os.path.join(directory, f"{label}.png")
        image.save(path)
        print(f"screenshot: {path}")


def main():
    args = parse_arguments()
    artifacts = os.path.join(args.artifacts, f"{args.runner}-{args.case}")
    shutil.rmtree(artifacts, ignore_errors=True)
    os.makedirs(artifacts)
    # Our own limit, below CTest's, so that everything started is still stopped.
    signal.signal(signal.SIGALRM, _stop)
    signal.signal(signal.SIGTERM, _stop)
    signal.alarm(args.time_limit)
    shots = {}
    start = time.monotonic()
    try:
        runner = WineRunner(args.wine_prefix) if args.runner == "wine" else NativeRunner()
        context = Context(runner, args.program, args.fast_program, args.source_dir, artifacts,
                          shots)
        (WEB_CASES if args.runner == "web" else CASES)[args.case](context)
    except CheckFailed as failure:
        print(f"FAILED {args.runner} {args.case}: {failure}")
    except Stopped as stop:
        print(f"FAILED {args.runner} {args.case}: stopped after "
              f"{time.monotonic() - start:.0f} s ({stop}; limit {args.time_limit} s)")
    else:
        print(f"passed {args.runner} {args.case} in {time.monotonic() - start:.1f} s")
        if args.keep_shots:
            save_shots(shots, artifacts)
        return 0
    finally:
        signal.alarm(0)
    save_shots(shots, artifacts)
    print(f"logs: {artifacts}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
