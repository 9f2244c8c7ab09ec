"""What a case gets: the program under test and how to start it."""

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

    @property
    def native(self):
        return self.runner.name == "native"

    def desktop(self, glx=True, window_manager=False):
        return Desktop(self.log_dir, self.shots, glx=glx, window_manager=window_manager)
