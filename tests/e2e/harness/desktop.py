"""One test's X server, window manager and programs, all ended at the close."""

import os

from .checks import CheckFailed, check
from .picture import Picture
from .processes import Process, run_all
from .sanitizers import sanitizer_findings
from .xclient import XClient
from .xserver import WindowManager, XServer

TITLE = "vell!"


class Desktop:
    """A private Xvfb (with or without GLX), optionally openbox, and the
    programs started on it. Screenshots taken through it are kept so that a
    failing test can save them."""

    def __init__(self, log_dir, shots, glx=True, window_manager=False):
        self.log_dir = log_dir
        self.shots = shots
        self.glx = glx
        self.want_window_manager = window_manager
        self.programs = []
        self.runners = []
        self.x = None
        self.window_manager = None
        self.client = None

    def __enter__(self):
        try:
            self.x = XServer(self.log_dir, glx=self.glx)
            self.client = XClient(self.x.display)
            if self.want_window_manager:
                self.window_manager = WindowManager(self.x, self.log_dir)
                self.window_manager.wait_ready(self.client)
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, exc_type, *exc):
        self.close()
        if exc_type is None:
            self.check_sanitizers()
        return False

    def close(self):
        """Stops everything started, in order; a step that fails does not
        keep the later ones from running."""
        steps = [program.stop for program in self.programs]
        steps += [runner.reset for runner in self.runners]
        if self.client is not None:
            steps.append(self.client.close)
        steps += [part.stop for part in (self.window_manager, self.x) if part is not None]
        run_all(steps)

    def check_sanitizers(self):
        """Fails on any sanitizer report a program left, however it ended."""
        for program in self.programs:
            findings = sanitizer_findings(program.stderr_text())
            check(not findings, f"{program.name} under the sanitizers", "no report on stderr",
                  "\n".join(findings[:12]) + f"\n  (whole report: {program.stderr_path})")

    def start(self, runner, program, name="quenn", wrapper=(), extra_env=None, display=True,
              args=()):
        """Starts `program` with `args` through `runner` on this desktop (or
        with no DISPLAY at all), its output in the log directory. `extra_env`
        comes last, over the runner's settings."""
        if not os.path.isfile(program):
            raise CheckFailed(f"cannot start {name}", f"the program at {program}",
                              "no such file (is it built?)")
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        if display:
            env["DISPLAY"] = self.x.display
        if runner not in self.runners:
            runner.reset()
            self.runners.append(runner)
        argv = list(wrapper) + runner.command(program) + list(args)
        env = dict(runner.environment(env), **(extra_env or {}))
        process = Process(name, argv, self.log_dir, env=env)
        self.programs.append(process)
        return process

    def shoot(self, window, label):
        """A screenshot of the window's client area, kept under `label`."""
        image = self.client.screenshot(window)
        self.shots[label] = image
        return Picture(image)
