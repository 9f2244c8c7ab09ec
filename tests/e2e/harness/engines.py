"""The browsers the page's cases run in, by the name run_case.py takes."""

from .chromium import Chromium
from .firefox import Firefox

ENGINES = {engine.name: engine for engine in (Chromium, Firefox)}
DEFAULT = Chromium.name
