#!/usr/bin/python3
"""Runs one end-to-end case against quenn's packages in scripts/package's
output folder: the .deb, the tarball, the Windows zip and installer.

Exits 0 when every check of the case held, 1 otherwise."""

import argparse
import os
import sys
from dataclasses import dataclass

from harness.cases import CASES
from harness.driver import drive, fresh_directory
from harness.packages import Packages


@dataclass
class PackageContext:
    packages: Packages
    source_dir: str
    wine_prefix: str
    log_dir: str
    shots: dict


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("case", choices=sorted(CASES["package"]))
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
        context = PackageContext(packages, args.source_dir, args.wine_prefix, artifacts, shots)
        CASES["package"][args.case](context)

    return drive(f"package {args.case}", artifacts, args.time_limit, body)


if __name__ == "__main__":
    sys.exit(main())
