#!/usr/bin/python3
"""How the quenn page (index.html, first plant at depth 5) loads in headless
Chromium: the time from the navigation's start to its first presented frame
and to the first frame that shows the plant, as bench/web_load_timer.js
notes them, with the cache empty (a new browser for each load) and from the
service worker's cache (that browser's next load); and the bytes each load
takes from the server, as gzip -9 makes them (what a static server that
compresses sends). Prints one line per figure.

Needs the web preset built (scripts/web or cmake --build --preset web)."""

import gzip
import os
import re
import statistics
import tempfile
import time

from harness.checks import wait_for
from harness.engines import ENGINES

from page_bench import SOURCE, page_arguments
PAGE = "index.html"
TIMER = os.path.join(SOURCE, "bench", "web_load_timer.js")
# Each file the load fetched, and whether it came from the server: not from
# the HTTP cache, nor from the service worker's cache.
FETCHED = """
var entries = performance.getEntriesByType('navigation')
    .concat(performance.getEntriesByType('resource'));
return entries.map(function(entry) {
  return [entry.name, entry.transferSize > 0];
});
"""
CONTROLLED = "return !!navigator.serviceWorker.controller;"
LOAD_TIMEOUT = 30.0


def gzip_size(page_dir, name):
    with open(os.path.join(page_dir, name), "rb") as file:
        return len(gzip.compress(file.read(), compresslevel=9))


def worker_files(page_dir):
    """What the service worker fetches when it installs: its files."""
    with open(os.path.join(page_dir, "service-worker.js")) as worker:
        return re.findall(r"^  '([^']+)': '[0-9a-f]{64}',$", worker.read(), re.M)


def load(page, timer):
    """One load of the page: its two times in ms, every file it loaded and
    the files of those that came from the server."""
    page.open(PAGE, preload=timer)
    figures = wait_for("the page's frames", "a frame with the plant shown",
                       lambda: (lambda f: ("plantFrameMs" in f, f))(
                           page.script("return window.quennLoad || {};")),
                       LOAD_TIMEOUT, interval=0.05)
    base = page.page_url("")
    names = {url[len(base):].split("?")[0] or PAGE: served
             for url, served in page.script(FETCHED) if url.startswith(base)}
    return {"first": figures["firstFrameMs"], "plant": figures["plantFrameMs"],
            "loaded": set(names), "served": {name for name, served in names.items() if served}}


def measure(page_dir, runs):
    """`runs` pairs of loads, each in a new browser: the first with nothing
    cached, the second once the service worker controls the page."""
    with open(TIMER) as source:
        timer = source.read()
    cold, warm = [], []
    for _ in range(runs):
        with tempfile.TemporaryDirectory() as logs, \
                ENGINES["chromium"](page_dir, logs, {}) as page:
            cold.append(load(page, timer))
            wait_for("the service worker", "one controlling the page",
                     lambda: (page.script(CONTROLLED), "none"), LOAD_TIMEOUT, interval=0.1)
            # Ended first, as a user leaves it: its frames would slow the next load.
            page.click("#close")
            page.wait_exit(LOAD_TIMEOUT)
            warm.append(load(page, timer))
    return cold, warm


def spread(values):
    return (f"{statistics.median(values):.0f} ({min(values):.0f}-{max(values):.0f})")


def byte_sizes(page_dir, names):
    """Their gzip -9 bytes in all, and each file's."""
    sizes = {name: gzip_size(page_dir, name) for name in sorted(names)}
    return sum(sizes.values()), sizes


def figures(page_dir, runs):
    """(figure, value, goal) rows, as run_bench.py's table and this script
    print them."""
    cold, warm = measure(page_dir, runs)
    rows = []
    for name, what, goal in (("first", "first presented frame", "<= 300 ms from the worker's"),
                             ("plant", "first frame with the plant", "")):
        rows.append((f"navigation start to {what}, empty cache / service worker's, "
                     f"median of {runs} (lowest-highest), ms",
                     f"{spread([r[name] for r in cold])} / {spread([r[name] for r in warm])}",
                     goal))
    loaded = set().union(*(r["loaded"] for r in cold))
    total, sizes = byte_sizes(page_dir, loaded)
    rows.append(("what the page loads, gzip -9, bytes",
                 f"{total} ({', '.join(f'{n} {s}' for n, s in sizes.items())})", "<= 65536"))
    extra = set(worker_files(page_dir)) - loaded | {"service-worker.js"}
    total, _ = byte_sizes(page_dir, extra)
    rows.append(("what its service worker adds on the first visit, gzip -9, bytes",
                 f"{total} (its script and {len(extra) - 1} files the page did not load)", ""))
    served = set().union(*(r["served"] for r in warm))
    total, sizes = byte_sizes(page_dir, served)
    rows.append(("from the server on a load from the service worker's cache, gzip -9, bytes",
                 f"{total} ({', '.join(sizes) or 'nothing'})", ""))
    return rows


def main():
    parser = page_arguments(__doc__)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    start = time.monotonic()
    for figure, value, _ in figures(args.page_dir, args.runs):
        print(f"web load (depth 5, headless Chromium): {figure}: {value}")
    print(f"({time.monotonic() - start:.0f} s)")


if __name__ == "__main__":
    main()
