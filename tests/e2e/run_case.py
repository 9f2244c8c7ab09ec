#!/usr/bin/python3
"""Runs one end-to-end case against quenn, natively, under Wine or in the
browser (where the native program draws the reference pictures); or
against its packages in scripts/package's output folder.

Exits 0 when every check of the case held, 77 when the case cannot run
here (it says why), 1 otherwise, after saving the screenshots it took under
the artifacts directory."""

import argparse
import os
import sys

from harness.cases import CASES
from harness.context import Context
from harness.driver import drive, fresh_directory
from harness.engines import DEFAULT, ENGINES
from harness.packages import Packages
from harness.runners import NativeRunner, WineRunner, machine_wine


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("case", choices=sorted(set().union(*CASES.values())))
    parser.add_argument("--runner", choices=["native", "wine", "web", "package"],
                        default="native")
    parser.add_argument("--engine", choices=sorted(ENGINES), default=DEFAULT,
                        help="the browser of the web runner")
    parser.add_argument("--program",
                        help="the program; under Wine, its file name in --windows-programs")
    parser.add_argument("--fast-program")
    parser.add_argument("--windows-programs", nargs=2, metavar=("FOLDER32", "FOLDER64"),
                        help="the 32- and the 64-bit Windows programs' folders")
    parser.add_argument("--wine-prefix")
    parser.add_argument("--packages", help="scripts/package's output folder")
    parser.add_argument("--version", help="the version the packages carry")
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--time-limit", type=int, default=120,
                        help="seconds before the case gives up and cleans up")
    parser.add_argument("--keep-shots", action="store_true",
                        help="save the screenshots when the case passes, too")
    args = parser.parse_args()
    if args.case not in cases_of(args.runner):
        parser.error(f"case {args.case!r} does not run in the {args.runner} runner")
    needed = ("packages", "version") if args.runner == "package" else ("program",)
    for name in needed:
        if getattr(args, name) is None:
            parser.error(f"the {args.runner} runner needs --{name}")
    return args


def cases_of(runner):
    """The cases of the page in the web runner, of the packages in the
    package runner, else the program's."""
    return CASES[runner if runner in ("web", "package") else "program"]


def runner_and_programs(args):
    """The runner, the program and its fast variant: under Wine, the build
    for the Wine this machine runs. The page's cases take the native program's
    pictures as their reference."""
    if args.runner != "wine":
        return NativeRunner(), args.program, args.fast_program
    wine = machine_wine()
    folder = wine.programs(*args.windows_programs)
    program = os.path.join(folder, args.program)
    print(wine.describe(os.path.relpath(program, args.source_dir)))
    return WineRunner(args.wine_prefix), program, os.path.join(folder, args.fast_program)


def main():
    args = parse_arguments()
    web = args.runner == "web"
    label = f"{args.runner}-{args.engine}" if web and args.engine != DEFAULT else args.runner
    artifacts = fresh_directory(os.path.join(args.artifacts, f"{label}-{args.case}"))

    def body(shots):
        runner, program, fast_program = runner_and_programs(args)
        packages = Packages(args.packages, args.version) if args.runner == "package" else None
        context = Context(runner, program, fast_program, args.source_dir, artifacts, shots,
                          engine=args.engine, packages=packages, wine_prefix=args.wine_prefix)
        cases_of(args.runner)[args.case](context)

    return drive(f"{label} {args.case}", artifacts, args.time_limit, body, args.keep_shots)


if __name__ == "__main__":
    sys.exit(main())
