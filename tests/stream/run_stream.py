#!/usr/bin/python3
"""Checks that a real program sends OpenGL the calls the recording doubles
give for it (record_stream): its first frame call for call, and a later
frame with both plants drawn; natively through apitrace, the Windows
program under Wine through its opengl32 trace, or the page through its
recording build.

Exits 0 when both frames hold the recorded calls, 1 otherwise, naming the
first call that differs; the run's trace or log stays under the artifacts
directory when it fails."""

import argparse
import contextlib
import os
import shutil
import subprocess
import sys
import time

# The end-to-end tests' harness (X server, Wine, browser, time limit).
from harness.checks import CheckFailed, check, wait_for
from harness.chromium import Chromium
from harness.desktop import Desktop
from harness.driver import drive, fresh_directory
from harness.runners import NativeRunner, WineRunner, machine_wine
from harness.watch import wait_exit, wait_picture, wait_window

import apitrace_dump
import neutral_text
import wine_trace
from stream_calls import SWAP, TOLERANCE, Frames, Run, StreamError, first_list

# The recorded later frame's time after the first: both plants show from
# 1.5 s after the first frame.
LATER_MS = 2000
# How long a real program runs past its first picture: past the second
# plant's start, by a few frames.
RUN_PAST_FIRST = 2.0
EXIT_TIME = 10.0
PAGE_TIMEOUT = 20.0
WINE_TRACE = "-all,trace+opengl,trace+wgl"
PAGES = {"quenn": "index.html", "quenn-fast": "fast.html"}
TOLERANCE_SAID = (f"numbers within {TOLERANCE:g} (relative above 1, absolute below), "
                  "integers exactly")


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("runner", choices=["native", "wine", "web"])
    parser.add_argument("name", choices=sorted(PAGES), help="which program")
    parser.add_argument("--program", help="natively the program; under Wine its file name in "
                                          "--windows-programs")
    parser.add_argument("--recorder", required=True, help="record_stream for the program")
    parser.add_argument("--windows-programs", nargs=2, metavar=("FOLDER32", "FOLDER64"))
    parser.add_argument("--wine-prefix")
    parser.add_argument("--page-dir")
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--time-limit", type=int, default=60)
    return parser.parse_args()


def recorded_frame(recorder, *frame):
    done = subprocess.run([recorder, *frame], capture_output=True, text=True, timeout=60,
                          check=False)
    check(done.returncode == 0, f"record_stream {' '.join(frame)}", "exit code 0",
          f"{done.returncode}: {done.stderr[-500:]!r}")
    return neutral_text.parse_frame(done.stdout)


def show_frames(artifacts, shots, runner, program_path, **start):
    """Starts the program and lets it draw its first frame and then
    RUN_PAST_FIRST seconds more, then closes its window. Returns it."""
    with Desktop(artifacts, shots) as desktop:
        program = desktop.start(runner, program_path, **start)
        window = wait_window(desktop, program, runner.window_timeout)
        wait_picture(desktop, program, window, "first picture", runner.window_timeout)
        time.sleep(RUN_PAST_FIRST)
        desktop.client.request_close(window)
        wait_exit(program, EXIT_TIME)
    return program


def native_run(args, artifacts, shots, wanted):
    trace = os.path.join(artifacts, "program.trace")
    show_frames(artifacts, shots, NativeRunner(), args.program,
                wrapper=["apitrace", "trace", "--api", "gl", "--output", trace])
    blobs = fresh_directory(os.path.join(artifacts, "blobs"))
    with contextlib.closing(apitrace_dump.Dump(trace, blobs)) as dump:
        return Run(dump.items(), wanted), [trace, blobs]


def wine_run(args, artifacts, shots, wanted):
    wine = machine_wine()
    program_path = os.path.join(wine.programs(*args.windows_programs), args.program)
    print(wine.describe(program_path))
    program = show_frames(artifacts, shots, WineRunner(args.wine_prefix), program_path,
                          extra_env={"WINEDEBUG": WINE_TRACE})
    with open(program.stderr_path, errors="replace") as log:
        return Run(wine_trace.parse_lines(log), wanted), [program.stderr_path]


def page_frame(page, name):
    """A frame the page handed over ({frame: its number, calls: its text}),
    once it has."""
    script = f"return window.quennStream && window.quennStream.{name} || null;"

    def probe():
        text = page.script(script)
        return text is not None, "nothing handed over yet" if text is None else text

    return wait_for(f"the page's {name} frame", "its calls handed to the page", probe,
                    PAGE_TIMEOUT, interval=0.1)


def web_run(args, artifacts, shots, wanted):
    with Chromium(args.page_dir, artifacts, shots) as page:
        page.open(PAGES[args.name])
        first = page_frame(page, "first")
        time.sleep(RUN_PAST_FIRST)
        page.script("window.quennStreamWant = true;")
        later = page_frame(page, "later")
    frames = [neutral_text.parse_frame(frame["calls"]) for frame in (first, later)]
    run = Run([*frames[0], SWAP, *frames[1], SWAP], lambda frame: True)
    run.later_number = later["frame"]
    return run, []


RUNS = {"native": native_run, "wine": wine_run, "web": web_run}


def check_frames(recorded_first, recorded_later, run):
    recorded_first_list = first_list(recorded_first)
    check(run.first is not None, "frame 1", "a swap in the real program's stream",
          "no swap at all")
    difference = Frames(recorded_first, run.first, recorded_first_list,
                        run.first_list).first_difference()
    check(difference is None, "frame 1 against the recording doubles' frame 1",
          f"its {len(recorded_first)} calls, {TOLERANCE_SAID}", difference)
    print(f"frame 1: the {len(run.first)} recorded calls ({TOLERANCE_SAID})")
    check(run.later is not None, "a later frame",
          f"a frame of {len(recorded_later)} calls, both plants drawn",
          f"none among the {run.frames_read} frames read")
    difference = Frames(recorded_later, run.later, recorded_first_list,
                        run.first_list).first_difference(later=True)
    check(difference is None, f"frame {run.later_number} against the recorded frame "
          f"{LATER_MS} ms after the first", f"its {len(recorded_later)} calls but the "
          f"plants' vertices and the counter's text, {TOLERANCE_SAID}", difference)
    print(f"frame {run.later_number}: the {len(run.later)} calls of the recorded frame "
          f"{LATER_MS} ms after the first, but the plants' vertices and the counter's text")


def main():
    args = parse_arguments()
    artifacts = fresh_directory(os.path.join(args.artifacts, f"{args.runner}-{args.name}"))
    bulky = []  # the run's trace or log, removed once it passed

    def body(shots):
        recorded_first = recorded_frame(args.recorder, "first")
        recorded_later = recorded_frame(args.recorder, "later", str(LATER_MS))

        def wanted(frame):
            # The recorded later frame draws both plants; a frame before the
            # second plant's start has fewer calls.
            return len(frame) == len(recorded_later)

        try:
            run, paths = RUNS[args.runner](args, artifacts, shots, wanted)
            bulky.extend(paths)
            check_frames(recorded_first, recorded_later, run)
        except StreamError as problem:
            raise CheckFailed("reading the real program's stream", "calls it can read",
                              str(problem)) from None

    code = drive(f"stream {args.runner} {args.name}", artifacts, args.time_limit, body)
    for path in bulky if code == 0 else []:
        if os.path.isdir(path):
            shutil.rmtree(path)
        else:
            os.remove(path)
    return code


if __name__ == "__main__":
    sys.exit(main())
