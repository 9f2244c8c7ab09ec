#!/usr/bin/python3
"""Runs one end-to-end case against quenn, natively, under Wine or in the
browser (where the native program draws the reference pictures).

Exits 0 when every check of the case held, 77 when the case cannot run
here (it says why), 1 otherwise, after saving the screenshots it took under
the artifacts directory."""

import argparse
import importlib
import os
import sys

from harness.cases import CASES
from harness.context import Context
from harness.driver import drive, fresh_directory
from harness.engines import DEFAULT, ENGINES
from harness.runners import NativeRunner, WineRunner, machine_wine

# The page's cases, a module of them to a line.
WEB_CASE_MODULES = [
    "case_web",
    "case_web_pointers",
    "case_web_context",
    "case_web_app",
    "case_web_hands",
    "case_web_policy",
]


def merged_cases(modules):
    """Every module's CASES in one dict; a name two of them use is an error."""
    cases = {}
    for module in modules:
        for name, case in module.CASES.items():
            if name in cases:
                raise ValueError(f"web case {name!r} in {module.__name__} and another module")
            cases[name] = case
    return cases


WEB_CASES = merged_cases(importlib.import_module(f"harness.{name}") for name in WEB_CASE_MODULES)


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("case", choices=sorted(set(CASES) | set(WEB_CASES)))
    parser.add_argument("--runner", choices=["native", "wine", "web"], default="native")
    parser.add_argument("--engine", choices=sorted(ENGINES), default=DEFAULT,
                        help="the browser of the web runner")
    parser.add_argument("--program", required=True,
                        help="the program; under Wine, its file name in --windows-programs")
    parser.add_argument("--fast-program")
    parser.add_argument("--windows-programs", nargs=2, metavar=("FOLDER32", "FOLDER64"),
                        help="the 32- and the 64-bit Windows programs' folders")
    parser.add_argument("--wine-prefix")
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--time-limit", type=int, default=120,
                        help="seconds before the case gives up and cleans up")
    parser.add_argument("--keep-shots", action="store_true",
                        help="save the screenshots when the case passes, too")
    return parser.parse_args()


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
        context = Context(runner, program, fast_program, args.source_dir, artifacts, shots,
                          engine=args.engine)
        (WEB_CASES if web else CASES)[args.case](context)

    return drive(f"{label} {args.case}", artifacts, args.time_limit, body, args.keep_shots)


if __name__ == "__main__":
    sys.exit(main())
