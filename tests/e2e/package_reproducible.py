#!/usr/bin/python3
"""Builds quenn's packages once more with scripts/package, from a copy of
the sources in a fresh folder elsewhere, later, in another time zone and
with another umask, and compares every file with those in --packages (which
scripts/test makes first). Where a file differs, diffoscope shows how.

Exits 0 when every file is the same, 1 otherwise."""

import argparse
import os
import shutil
import sys
import tempfile
import time

from harness.checks import CheckFailed
from harness.driver import drive, fresh_directory
from harness.processes import Process
from harness.reproducible import Comparison, copy_sources, diffoscope

# Seconds diffoscope may take over one pair of packages.
DIFFOSCOPE_TIME = 300


def build_elsewhere(source_dir, work_dir, log_dir):
    """scripts/package run on a copy of the sources in `work_dir`: its
    packages folder."""
    copy = os.path.join(work_dir, "quenn")
    copy_sources(source_dir, copy)
    # Where a time were written in local time, or a mode taken from the
    # umask, the packages would differ from the tree's.
    env = dict(os.environ, TZ="Etc/GMT-14")
    previous = os.umask(0o002)
    try:
        build = Process("package", [os.path.join(copy, "scripts", "package")], log_dir, env=env)
    finally:
        os.umask(previous)
    start = time.monotonic()
    try:
        code = build.wait(timeout=None)
    finally:
        build.stop()
    print(f"scripts/package in {copy}: exit code {code} after {time.monotonic() - start:.0f} s")
    if code != 0:
        raise CheckFailed("scripts/package in a fresh folder", "exit code 0",
                          f"exit code {code}: {build.stderr_text()[-2000:]}")
    return os.path.join(copy, "build", "packages")


def compare(packages, rebuilt, log_dir):
    comparison = Comparison(packages, rebuilt)
    print(comparison.summary())
    if comparison.identical():
        return
    for name in comparison.differing:
        report = os.path.join(log_dir, f"diffoscope-{name}.txt")
        print(f"\ndiffoscope {name} (whole report: {report}):")
        print(diffoscope(os.path.join(packages, name), os.path.join(rebuilt, name), report,
                         DIFFOSCOPE_TIME))
    raise CheckFailed("the packages built again elsewhere",
                      f"the same files as {packages}, byte for byte",
                      f"{len(comparison.differing)} differ, "
                      f"{len(comparison.only_first) + len(comparison.only_second)} "
                      "in one folder only (or are those packages older than the sources?)")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--packages", required=True, help="scripts/package's output folder")
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--time-limit", type=int, default=1800)
    args = parser.parse_args()
    artifacts = fresh_directory(os.path.join(args.artifacts, "package-reproducible"))

    def body(shots):
        if not os.path.isfile(os.path.join(args.packages, "SHA256SUMS")):
            raise CheckFailed("packages", f"scripts/package's output in {args.packages}",
                              "no SHA256SUMS there")
        work_dir = tempfile.mkdtemp(prefix="quenn-reproducible-")
        try:
            rebuilt = build_elsewhere(args.source_dir, work_dir, artifacts)
            compare(args.packages, rebuilt, artifacts)
        finally:
            shutil.rmtree(work_dir, ignore_errors=True)

    return drive("package reproducible", artifacts, args.time_limit, body)


if __name__ == "__main__":
    sys.exit(main())
