"""What a case gets: the program under test and how to start it."""

from .desktop import Desktop


class Context:
    def __init__(self, runner, program, fast_program, source_dir, log_dir, shots,
                 engine="chromium"):
        self.runner = runner
        self.program = program
        self.fast_program = fast_program
        self.source_dir = source_dir
        self.log_dir = log_dir
        self.shots = shots
        self.engine = engine  # the browser the page's cases use

    @property
    def native(self):
        return self.runner.name == "native"

    def desktop(self, glx=True, window_manager=False):
        return Desktop(self.log_dir, self.shots, glx=glx, window_manager=window_manager)
