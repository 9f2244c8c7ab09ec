"""What the page's benchmarks share: where the page is built, and the
command line that can name another build."""

import argparse
import os

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def page_arguments(description):
    """A parser of the benchmark's options, --page-dir among them."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--page-dir", default=os.path.join(SOURCE, "build", "web"))
    return parser
