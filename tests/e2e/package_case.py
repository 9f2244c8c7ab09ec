#!/usr/bin/python3
"""Runs one end-to-end case against quenn's packages in scripts/package's
output folder: the .deb, the tarball, the Windows zip and installer.

Exits 0 when every check of the case held, 1 otherwise."""

import argparse
import os
import sys

from harness.driver import drive, fresh_directory
from harness.package_linux import case_deb, case_lintian, case_tarball
from harness.package_windows import case_nsis, case_zip
from harness.packages import Packages

CASES = {
    "lintian": case_lintian,
    "deb": case_deb,
    "tarball": case_tarball,
    "zip": case_zip,
    "nsis": case_nsis,
}


class PackageContext:
    def __init__(self, packages, source_dir, wine_prefix, log_dir, shots):
        self.packages = packages
        self.source_dir = source_dir
        self.wine_prefix = wine_prefix
        self.log_dir = log_dir
        self.shots = shots


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("case", choices=sorted(CASES))
    parser.add_argument("--packages", required=True, help="scripts/package's output folder")
    parser.add_argument("--version", required=True, help="the version the packages carry")
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--wine-prefix")
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--time-limit", type=int, default=120)
    args = parser.parse_args()
    artifacts = fresh_directory(os.path.join(args.artifacts, f"package-{args.case}"))

    def body(shots):
        packages = Packages(args.packages, args.version)
        CASES[args.case](PackageContext(packages, args.source_dir, args.wine_prefix, artifacts,
                                        shots))

    return drive(f"package {args.case}", artifacts, args.time_limit, body)


if __name__ == "__main__":
    sys.exit(main())
