#!/usr/bin/python3
"""Runs every benchmark of quenn and prints one table of figures.

scripts/bench builds what this needs first. Each figure is measured here,
on this machine, in this run: nothing is carried over from an earlier one.
"""

import argparse
import json
import os
import platform
import re
import statistics
import subprocess
import sys
import time

from harness.checks import wait_for
from harness.processes import Process
from harness.runners import (WineRunner, machine_wine, prefix_arch, windows_path,
                             wine_environment, wineserver)
from harness.xclient import XClient
from harness.xserver import XServer

from first_frame_watch import FirstFrameWatcher
from web_frame import measure as measure_web_frames
from web_load import figures as web_load_figures

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

WINDOW_TITLE = "vell!"


class Table:
    """The figures, printed as one table at the end."""

    def __init__(self):
        self.rows = []

    def add(self, benchmark, figure, value, goal=""):
        self.rows.append((benchmark, figure, value, goal))
        print(f"  {benchmark}: {figure} = {value}", file=sys.stderr, flush=True)

    def print(self, machine):
        print(f"quenn benchmarks on {machine}")
        header = ("benchmark", "figure", "value", "goal")
        widths = [max(len(str(row[i])) for row in self.rows + [header]) for i in range(4)]
        for row in [header, tuple("-" * w for w in widths)] + self.rows:
            print(" | ".join(str(cell).ljust(widths[i]) for i, cell in enumerate(row)).rstrip())


def spread(values, digits=3):
    """Median, with the lowest and highest: '1.010 (0.990-1.050)'."""
    return (f"{statistics.median(values):.{digits}f} "
            f"({min(values):.{digits}f}-{max(values):.{digits}f})")


def machine_description():
    model = "unknown processor"
    with open("/proc/cpuinfo") as cpuinfo:
        for line in cpuinfo:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    native = subprocess.run(["dpkg", "--print-architecture"], capture_output=True,
                            text=True).stdout.strip()
    mesa = subprocess.run(["dpkg-query", "-W", "-f=${Version}", f"libgl1-mesa-dri:{native}"],
                          capture_output=True, text=True).stdout or "?"
    return (f"{model}, {os.cpu_count()} cores, Linux {platform.release()}, "
            f"Mesa {mesa} (llvmpipe) under Xvfb")


# ---- Google Benchmark programs (OpenGL that does nothing) ----------------

def google_benchmark(program, pattern, repetitions):
    """Median real time in microseconds of each benchmark matching `pattern`."""
    result = subprocess.run(
        [program, f"--benchmark_filter={pattern}", "--benchmark_format=json",
         f"--benchmark_repetitions={repetitions}", "--benchmark_report_aggregates_only=true"],
        capture_output=True, text=True, check=True)
    times = {}
    for entry in json.loads(result.stdout)["benchmarks"]:
        if entry.get("aggregate_name") == "median":
            scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[entry["time_unit"]]
            times[entry["run_name"]] = entry["real_time"] * scale
    return times


def cpu_benchmarks(table, bench_dir, repetitions):
    plant = google_benchmark(os.path.join(bench_dir, "plant_bench"),
                             "BM_(Expand|ExpandIntoBuffer|CopyExpansion)/7|Depth5", repetitions)
    expand, copy = plant["BM_ExpandIntoBuffer/7"], plant["BM_CopyExpansion/7"]
    table.add("expansion", "depth 7 into the buffer, us", f"{expand:.1f}")
    table.add("expansion", "memcpy of its 1,068,715 bytes, us", f"{copy:.1f}")
    table.add("expansion", "expansion / memcpy", f"{expand / copy:.2f}", "<= 3")
    table.add("expansion", "whole plant at depth 7 (with its exact copy), us",
              f"{plant['BM_Expand/7']:.1f}")
    table.add("walk (no-op GL)", "first plant, walk / replay",
              f"{plant['BM_DrawDepth5'] / plant['BM_ReplayDepth5']:.2f}")
    scene = google_benchmark(os.path.join(bench_dir, "scene_bench"), ".", repetitions)
    table.add("walk (no-op GL)", "scene, render / replay, us",
              f"{scene['BM_SceneRender']:.0f} / {scene['BM_SceneReplay']:.0f}")


# ---- The frame against its replay ----------------------------------------

def parse_figures(text):
    """The 'name value' lines a floor program prints."""
    figures = {}
    for line in text.splitlines():
        parts = line.split()
        if len(parts) == 2 and re.fullmatch(r"[a-z_]+", parts[0]):
            figures[parts[0]] = float(parts[1])
    return figures


def finished(process, timeout):
    """The exit code; a process still running after `timeout` seconds is
    ended with its group and gives None. What a Wine program started (Wine's
    own services) keeps running after it ends, until wineserver -k."""
    code = process.wait(timeout)
    if code is None:
        process.stop()
    return code


def printed_figures(process):
    with open(process.stdout_path) as out:
        return parse_figures(out.read())


def frame_floor(command, env, rounds, frames, log_dir):
    # Output goes to files: Wine's services inherit the program's output
    # and hold a pipe open long after it ends.
    process = Process("frame_floor", command + [str(rounds), str(frames)], log_dir, env=env)
    code = finished(process, 600)
    figures = printed_figures(process)
    if code != 0 or "ratio_median" not in figures:
        raise RuntimeError(f"{' '.join(command)} failed ({code}): "
                           f"{process.stderr_text()[-400:]}")
    return figures


def add_frame_rows(table, name, figures):
    table.add(name, "frame pass / replay, us",
              f"{figures['frame_us']:.0f} / {figures['replay_us']:.0f}")
    table.add(name, "frames per second, pass / replay",
              f"{1e6 / figures['frame_us']:.0f} / {1e6 / figures['replay_us']:.0f}")
    table.add(name, "pass / replay, median (lowest-highest round)",
              f"{figures['ratio_median']:.3f} ({figures['ratio_min']:.3f}-"
              f"{figures['ratio_max']:.3f})", "<= 1.05")


# ---- Start-up to the first presented frame -------------------------------

# Milestones the probe reports, and the phases between them. The first GLX
# call loads Mesa's driver: the program's layer makes it while choosing the
# pixel format, the bare floor while choosing its visual.
PHASES = [
    ("exec and libraries", "spawn", "loaded"),
    ("static init (expansion)", "loaded", "display_begin"),
    ("display", "display_begin", "display_end"),
    ("window, pixel format (driver load)", "display_end", "context_begin"),
    ("  of which after the driver load (visuals read, pixel format chosen and set)",
     "driver_loaded", "context_begin"),
    ("context", "context_begin", "context_end"),
    ("font", "font_begin", "font_end"),
    ("first frame", "font_end", "presented"),
]


def time_startup(command, env, log_dir):
    """Milliseconds from the spawn to each milestone the probe reports, the
    first of each name; the floor's reading of its recording left out."""
    read_end, write_end = os.pipe()
    env = dict(env, QUENN_PROBE_FD=str(write_end))
    spawned = time.monotonic_ns()
    process = Process("startup", command, log_dir, env=env, pass_fds=(write_end,))
    os.close(write_end)
    text = b""
    with os.fdopen(read_end, "rb") as reader:
        text = reader.read()  # until the probe ends the process
    code = process.wait(30)
    process.stop()
    milestones = {"spawn": 0.0}
    for line in text.decode().splitlines():
        name, stamp = line.split()
        milestones.setdefault(name, (int(stamp) - spawned) / 1e6)
    if code != 0 or "presented" not in milestones:
        raise RuntimeError(f"{command[0]}: no presented frame (exit {code}): "
                           f"{process.stderr_text()[-400:]}")
    load = printed_figures(process).get("load_us", 0.0) / 1e3
    for name in milestones:
        if name not in ("spawn", "loaded"):
            milestones[name] -= load
    return milestones


def alternating(commands, runs, start):
    """`start(command)` of each of the two commands (by name), `runs` times,
    alternating which goes first: the results by name."""
    results = {name: [] for name in commands}
    for run in range(runs):
        order = list(commands) if run % 2 == 0 else list(reversed(commands))
        for name in order:
            results[name].append(start(commands[name]))
    return results


def startup(table, build_dir, bench_dir, env, runs, log_dir):
    probe = os.path.join(bench_dir, "libfirst_frame_probe.so")
    env = dict(env, LD_PRELOAD=probe)
    program = [os.path.join(build_dir, "quenn")]
    floor = [os.path.join(bench_dir, "startup_floor"), os.path.join(bench_dir, "first.calls")]
    # One untimed start of each first, so that neither pays alone for
    # reading its files into the page cache.
    for command in (program, floor):
        time_startup(command, env, log_dir)
    results = alternating({"quenn": program, "floor": floor}, runs,
                          lambda command: time_startup(command, env, log_dir))
    totals = {name: [m["presented"] for m in runs_] for name, runs_ in results.items()}
    ratios = [q / f for q, f in zip(totals["quenn"], totals["floor"])]
    table.add("start-up, native", "to first presented frame, quenn / floor, ms",
              f"{statistics.median(totals['quenn']):.1f} / {statistics.median(totals['floor']):.1f}")
    table.add("start-up, native", f"quenn / floor, median of {runs} pairs (lowest-highest)",
              spread(ratios), "<= 1.05")
    for phase, start, end in PHASES:
        medians = []
        for name in ("quenn", "floor"):
            spans = [m[end] - m[start] for m in results[name] if start in m and end in m]
            medians.append(f"{statistics.median(spans):.1f}" if spans else "-")
        table.add("start-up, native", f"  {phase}, quenn / floor, ms", " / ".join(medians))


def watch_startup(watcher, title, command, env, log_dir):
    """The first frame of one start of `command`, watched from outside
    (bench/first_frame_watch.py); then its window is closed as a user would.
    The floor's reading of its recording is left out."""
    spawned = time.monotonic_ns()
    process = Process("startup-watched", command, log_dir, env=env)
    frame = watcher.watch(title, spawned, timeout=60)
    if frame is None:
        process.stop()
        raise RuntimeError(f"{' '.join(command)}: no first frame within 60 s: "
                           f"{process.stderr_text()[-400:]}")
    watcher.client.request_close(frame.window)
    code = finished(process, 30)
    if code != 0:
        raise RuntimeError(f"{' '.join(command)} did not end with 0 after the close ({code})")
    load = printed_figures(process).get("load_us", 0.0) / 1e3
    frame.mapped -= load
    frame.presented -= load
    return frame


def watched_natively(table, build_dir, bench_dir, env, runs, display, log_dir):
    """The native program timed by the watcher used under Wine, in pairs
    with the preloaded probe: how late the watcher reads."""
    program = [os.path.join(build_dir, "quenn")]
    probed = dict(env, LD_PRELOAD=os.path.join(bench_dir, "libfirst_frame_probe.so"))
    watcher = FirstFrameWatcher(display)
    try:
        results = alternating({
            "watched": lambda: watch_startup(watcher, WINDOW_TITLE, program, env,
                                             log_dir).presented,
            "probed": lambda: time_startup(program, probed, log_dir)["presented"],
        }, runs, lambda start: start())
    finally:
        watcher.close()
    table.add("start-up, native", "quenn watched from outside as under Wine / probed, ms",
              f"{statistics.median(results['watched']):.1f} / "
              f"{statistics.median(results['probed']):.1f}")
    table.add("start-up, native", f"watched - probed, median of {runs} pairs (lowest-highest), ms",
              spread([w - p for w, p in zip(results["watched"], results["probed"])], 1))


# ---- Memory ---------------------------------------------------------------

def wait_for_window(client):
    wait_for("the window", f"a window titled {WINDOW_TITLE!r}",
             lambda: (client.windows_named(WINDOW_TITLE) or None, client.describe()),
             timeout=60)
    return client.windows_named(WINDOW_TITLE)[0]


def run_and_close(command, env, display, seconds, log_dir, during=None):
    """Runs the program for `seconds` after its window shows, then closes
    the window as a user would; calls `during(process)` before the close."""
    process = Process("memory", command, log_dir, env=env)
    client = XClient(display)
    try:
        window = wait_for_window(client)
        time.sleep(seconds)
        result = during(process) if during else None
        client.request_close(window)
        client.display.flush()
        if process.wait(60) != 0:
            raise RuntimeError(f"{command[0]} did not end with 0 after the close")
        return result
    finally:
        client.close()
        process.stop()


def high_water_mark_kib(pid):
    """VmHWM of the process, the program's pid under whatever started it."""
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise RuntimeError("no VmHWM")


def own_heap(stacks_path, source_files):
    """Bytes (or calls) by allocating function of the program's own code: a
    stack counts when the frame nearest its allocation that is not the
    allocator or the standard library is in one of the program's files."""
    sites = {}
    with open(stacks_path) as stacks:
        for line in stacks:
            frames, _, cost = line.rstrip("\n").rpartition(" ")
            for frame in reversed(frames.rstrip(";").split(";")):
                if re.search(r"operator new|strdup|malloc|calloc|realloc|std::|__gnu_cxx", frame):
                    continue
                where = re.search(r"\(([\w.]+\.(?:cpp|h))\)$", frame)
                if where and where.group(1) in source_files:
                    site = frame.split("(")[0].strip()
                    sites[site] = sites.get(site, 0) + int(cost)
                break
    return sites


def heaptrack_run(build_dir, env, display, seconds, log_dir, work_dir):
    output = os.path.join(work_dir, f"heaptrack-{seconds}s")
    run_and_close(["heaptrack", "-o", output, os.path.join(build_dir, "quenn")],
                  env, display, seconds, log_dir)
    data = output + ".zst"
    summary = subprocess.run(["heaptrack_print", "-f", data, "-p", "0", "-a", "0", "-T", "0"],
                             capture_output=True, text=True, check=True).stdout
    found = {}
    for cost in ("peak", "allocations"):
        stacks = os.path.join(work_dir, f"stacks-{seconds}s-{cost}.txt")
        subprocess.run(["heaptrack_print", "-f", data, "-p", "0", "-a", "0", "-T", "0",
                        "--flamegraph-cost-type", cost, "-F", stacks],
                       capture_output=True, check=True)
        found[cost] = stacks
    peak = re.search(r"peak heap memory consumption: (\S+)", summary).group(1)
    calls = re.search(r"calls to allocation functions: (\d+)", summary).group(1)
    return peak, int(calls), found


def memory(table, build_dir, env, display, log_dir, work_dir):
    command = [os.path.join(build_dir, "quenn")]
    marks = [run_and_close(command, env, display, seconds, log_dir,
                           during=lambda p: high_water_mark_kib(p.pid)) for seconds in (2, 6)]
    table.add("memory, native", "peak resident set after 2 s / 6 s of frames, MiB",
              f"{marks[0] / 1024:.1f} / {marks[1] / 1024:.1f}")
    source_files = {name for _, _, files in os.walk(SOURCE_DIR) for name in files
                    if name.endswith((".cpp", ".h"))}
    runs = {seconds: heaptrack_run(build_dir, env, display, seconds, log_dir, work_dir)
            for seconds in (2, 6)}
    for seconds, (peak, calls, _) in runs.items():
        table.add("memory, native", f"whole process heap after {seconds} s: peak, allocation calls",
                  f"{peak}, {calls}")
    own = {seconds: (own_heap(stacks["peak"], source_files),
                     own_heap(stacks["allocations"], source_files))
           for seconds, (_, _, stacks) in runs.items()}
    short_bytes, short_calls = own[2]
    for site in sorted(short_bytes, key=short_bytes.get, reverse=True):
        table.add("memory, native", f"  program's own heap at peak: {site}",
                  f"{short_bytes[site]} B in {short_calls.get(site, 0)} allocations")
    for seconds, (own_bytes, own_calls) in own.items():
        table.add("memory, native", f"program's own heap after {seconds} s: bytes, allocations",
                  f"{sum(own_bytes.values())}, {sum(own_calls.values())}")


# ---- Under Wine -----------------------------------------------------------

def wine_preset():
    """The Windows build this machine's Wine runs: 32-bit where 32-bit
    programs run, else 64-bit (the presets are named as their folders)."""
    return machine_wine().programs("windows", "windows64")


def wine_unavailable(wine):
    """Why Wine cannot run here (None when it can), and its version."""
    try:
        probe = subprocess.run(wine.command + ["--version"], capture_output=True, text=True)
    except OSError as failure:
        return f"{wine.command[0]}: {failure.strerror}", None
    if probe.returncode != 0:
        return (probe.stderr.strip().splitlines() or ["wine --version failed"])[-1], None
    return None, probe.stdout.strip()


def wine_startup(table, name, wine, programs, bench_dir, prefix, env, args, display, log_dir):
    starts = {
        "quenn.exe": (WINDOW_TITLE, wine.command + [os.path.join(programs, "app", "quenn.exe")]),
        "floor": ("floor", wine.command + [os.path.join(programs, "bench", "startup_floor.exe"),
                                           windows_path(os.path.join(bench_dir, "first.calls"))]),
    }
    watcher = FirstFrameWatcher(display)

    def warm(start):
        return watch_startup(watcher, *start, env, log_dir)

    def cold(start):
        WineRunner(prefix).reset()
        return warm(start)

    try:
        # Cold: no wineserver running, so the program starts it and Wine's
        # services, as the first Wine program of a session does.
        cold_results = alternating(starts, args.cold_startups, cold)
        wineserver(prefix, "-p")
        # Warm: one untimed start of each first, so that Wine's services
        # run, as in a session where any Wine program ran before.
        for start in starts.values():
            warm(start)
        results = alternating(starts, args.startups, warm)
    finally:
        watcher.close()

    def medians(frames, span, digits=1):
        return " / ".join(f"{statistics.median(span(f) for f in frames[p]):.{digits}f}"
                          for p in starts)

    def ratios(frames):
        return [q.presented / f.presented for q, f in zip(frames["quenn.exe"], frames["floor"])]

    table.add(name, "to first presented frame, quenn.exe / floor, ms",
              medians(results, lambda f: f.presented))
    table.add(name, "  lowest-highest, quenn.exe / floor, ms",
              " / ".join(f"{min(f.presented for f in results[p]):.1f}-"
                         f"{max(f.presented for f in results[p]):.1f}" for p in starts))
    table.add(name, f"quenn.exe / floor, median of {args.startups} pairs (lowest-highest)",
              spread(ratios(results)))
    table.add(name, "  spawn to window mapped, quenn.exe / floor, ms",
              medians(results, lambda f: f.mapped))
    table.add(name, "  window mapped to first frame, quenn.exe / floor, ms",
              medians(results, lambda f: f.presented - f.mapped))
    table.add(name, f"cold (no wineserver running), quenn.exe / floor, median of "
              f"{args.cold_startups} pairs, ms", medians(cold_results, lambda f: f.presented))
    table.add(name, "cold, quenn.exe / floor (lowest-highest)", spread(ratios(cold_results)))
    reads = [f.read for frames in (results, cold_results) for runs in frames.values()
             for f in runs]
    table.add(name, "watch resolution: the confirming read, median (highest), ms",
              f"{statistics.median(reads):.2f} ({max(reads):.2f})")


def under_wine(table, programs, bench_dir, display, log_dir, work_dir, native, args):
    wine = machine_wine()
    reason, version = wine_unavailable(wine)
    label = f"Wine {wine.bits}-bit"
    if reason:
        for figure in ("frame pass / replay", "Wine / native frame rate", "start-up"):
            table.add(label, figure, f"not measured: {reason}")
        return
    table.add(label, "which Wine, which build",
              f"{version}; {wine.describe(os.path.relpath(programs, SOURCE_DIR))}")
    prefix = os.path.join(work_dir, "wineprefix")
    # Made anew where an earlier run left none, or one of the other width.
    if prefix_arch(prefix) != wine.arch:
        subprocess.run([sys.executable, os.path.join(SOURCE_DIR, "tests", "e2e",
                                                     "make_wine_prefix.py"),
                        prefix, "--logs", os.path.join(log_dir, "wine-prefix")], check=True)
    env = dict(os.environ, DISPLAY=display, **wine_environment(prefix))
    # One wineserver for the frame and the warm start-ups, which then do not
    # start it anew.
    wineserver(prefix, "-p")
    try:
        floor = wine.command + [os.path.join(programs, "bench", "frame_floor.exe"),
                                windows_path(os.path.join(bench_dir, "later.calls"))]
        figures = frame_floor(floor, env, args.rounds, args.frames, log_dir)
        add_frame_rows(table, f"frame, {label}", figures)
        table.add(f"frame, {label}", "Wine / native frame rate",
                  f"{native['frame_us'] / figures['frame_us']:.3f}")
        wine_startup(table, f"start-up, {label}", wine, programs, bench_dir, prefix, env, args,
                     display, log_dir)
    finally:
        WineRunner(prefix).reset()


def web_frames(table, page_dir, runs):
    """The page's frame pass in headless Chromium, over `runs` page loads."""
    figures = [measure_web_frames(page_dir) for _ in range(runs)]
    medians = [float(f["frameMedianMs"]) for f in figures]
    means = [float(f["frameMeanMs"]) for f in figures]
    table.add("frame, web", f"main thread per frame pass, median of {runs} runs (lowest-highest)",
              spread(medians) + " ms", "<= 1 ms")
    table.add("frame, web", "mean per run, median (lowest-highest)", spread(means) + " ms")


def web_loads(table, page_dir, runs):
    """The page's load to its first frames, and its bytes (bench/web_load.py)."""
    for figure, value, goal in web_load_figures(page_dir, runs):
        table.add("load, web", figure, value, goal)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", default=os.path.join(SOURCE_DIR, "build", "linux"))
    parser.add_argument("--windows-build", help="the Windows build Wine runs "
                        "(default: build/ and the preset --wine-preset prints)")
    parser.add_argument("--wine-preset", action="store_true",
                        help="print the preset of the Windows build this machine's Wine runs, "
                        "and stop")
    parser.add_argument("--repetitions", type=int, default=10)
    parser.add_argument("--rounds", type=int, default=60)
    parser.add_argument("--frames", type=int, default=20)
    parser.add_argument("--startups", type=int, default=30)
    parser.add_argument("--cold-startups", type=int, default=3,
                        help="start-ups under Wine with no wineserver running")
    parser.add_argument("--web-runs", type=int, default=5)
    args = parser.parse_args()
    if args.wine_preset:
        print(wine_preset())
        return 0
    windows_build = args.windows_build or os.path.join(SOURCE_DIR, "build", wine_preset())

    bench_dir = os.path.join(args.build, "bench")
    work_dir = os.path.join(SOURCE_DIR, "build", "bench")
    log_dir = os.path.join(work_dir, "logs")
    os.makedirs(log_dir, exist_ok=True)
    table = Table()

    cpu_benchmarks(table, bench_dir, args.repetitions)
    subprocess.run([os.path.join(bench_dir, "record_frames"), os.path.join(bench_dir, "first.calls"),
                    os.path.join(bench_dir, "later.calls")], check=True, stdout=subprocess.DEVNULL)

    x = XServer(log_dir)
    try:
        env = dict(os.environ, DISPLAY=x.display)
        native_floor = [os.path.join(bench_dir, "frame_floor"),
                        os.path.join(bench_dir, "later.calls")]
        native = frame_floor(native_floor, env, args.rounds, args.frames, log_dir)
        add_frame_rows(table, "frame, native", native)
        startup(table, args.build, bench_dir, env, args.startups, log_dir)
        watched_natively(table, args.build, bench_dir, env, args.startups, x.display, log_dir)
        memory(table, args.build, env, x.display, log_dir, work_dir)
        under_wine(table, windows_build, bench_dir, x.display, log_dir, work_dir, native, args)
    finally:
        x.stop()
    web_frames(table, os.path.join(SOURCE_DIR, "build", "web"), args.web_runs)
    web_loads(table, os.path.join(SOURCE_DIR, "build", "web"), args.web_runs)
    table.print(machine_description())
    return 0


if __name__ == "__main__":
    sys.exit(main())
