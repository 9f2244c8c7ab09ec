#!/usr/bin/python3
"""The main thread's time for one frame pass of the page (quenn, first plant
at depth 5) in headless Chromium, as measured by bench.html with
performance.now(). Prints one line: median, mean and 90th percentile in ms.

Needs the web preset built (scripts/web or cmake --build --preset web)."""

import tempfile
import time

from harness.checks import wait_for
from harness.engines import ENGINES

from page_bench import page_arguments


def measure(page_dir, timeout=60.0):
    """bench.html's figures: frameMedianMs, frameMeanMs, frameP90Ms (strings
    of ms) and frames."""
    with tempfile.TemporaryDirectory() as logs, ENGINES["chromium"](page_dir, logs, {}) as page:
        page.open("bench.html")
        wait_for("frame times", "600 frames measured",
                 lambda: (page.script("return document.body.dataset.frames;") is not None,
                          "still measuring"), timeout, interval=0.5)
        return page.script("return Object.assign({}, document.body.dataset);")


def main():
    parser = page_arguments(__doc__)
    parser.add_argument("--timeout", type=float, default=60.0)
    args = parser.parse_args()
    start = time.monotonic()
    data = measure(args.page_dir, args.timeout)
    print(f"web frame pass (depth 5, headless Chromium): median {data['frameMedianMs']} ms, "
          f"mean {data['frameMeanMs']} ms, p90 {data['frameP90Ms']} ms over "
          f"{data['frames']} frames ({time.monotonic() - start:.0f} s)")


if __name__ == "__main__":
    main()
