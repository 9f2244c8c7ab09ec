"""What a case gets: the program under test and how to start it, or the
packages."""

from dataclasses import dataclass

from .desktop import Desktop


@dataclass
class Context:
    runner: object
    program: str
    fast_program: str
    source_dir: str
    log_dir: str
    shots: dict
    engine: str = "chromium"  # the browser the page's cases use
    packages: object = None  # the package cases' Packages
    wine_prefix: str = None

    @property
    def native(self):
        return self.runner.name == "native"

    def desktop(self, glx=True, window_manager=False):
        return Desktop(self.log_dir, self.shots, glx=glx, window_manager=window_manager)
