#!/usr/bin/python3
"""The main thread's busy time per second of the page (quenn) in headless
Chromium, playing and paused: the DevTools protocol's TaskDuration (every
task the renderer's main thread ran) over a span of seconds, after the page
settled in each state. Prints one line.

Needs the web preset built (scripts/web or cmake --build --preset web)."""

import tempfile
import time

from harness.engines import ENGINES
from harness.page import open_drawn

from page_bench import page_arguments

SETTLE = 1.0  # seconds after a change of state before the span starts


def busy_per_second(page, span):
    """Milliseconds of main-thread tasks per second over `span` seconds."""
    def task_seconds():
        metrics = page.cdp("Performance.getMetrics", {})["metrics"]
        return next(m["value"] for m in metrics if m["name"] == "TaskDuration")

    time.sleep(SETTLE)
    start, busy = time.monotonic(), task_seconds()
    time.sleep(span)
    return 1000.0 * (task_seconds() - busy) / (time.monotonic() - start)


def measure(page_dir, span):
    """(playing, paused): ms of main-thread time per second."""
    with tempfile.TemporaryDirectory() as logs, ENGINES["chromium"](page_dir, logs, {}) as page:
        open_drawn(page, "quenn", "first")
        page.cdp("Performance.enable", {"timeDomain": "threadTicks"})
        playing = busy_per_second(page, span)
        page.click("#pause")
        paused = busy_per_second(page, span)
        return playing, paused


def main():
    parser = page_arguments(__doc__)
    parser.add_argument("--span", type=float, default=5.0, help="seconds measured in each state")
    args = parser.parse_args()
    playing, paused = measure(args.page_dir, args.span)
    print(f"web main thread per second (quenn, headless Chromium, {args.span:g} s each): "
          f"playing {playing:.1f} ms, paused {paused:.1f} ms")


if __name__ == "__main__":
    main()
