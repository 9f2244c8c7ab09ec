"""Child processes that end with the harness, whatever happens to it."""

import ctypes
import os
import signal
import subprocess
import sys

from .sanitizers import sanitizer_findings

_PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_parent():
    # Each child leads a process group of its own, so that stopping it also
    # stops what it started, and is killed if the harness itself is killed.
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGKILL)


def _free_log_name(log_dir, name):
    # A case may start the same program more than once: keep every log.
    candidate, number = name, 1
    while os.path.exists(os.path.join(log_dir, f"{candidate}.stderr")):
        number += 1
        candidate = f"{name}-{number}"
    return candidate


class Process:
    """One started program, its output kept in files under `log_dir`."""

    def __init__(self, name, argv, log_dir, env=None, pass_fds=()):
        self.name = name
        log_name = _free_log_name(log_dir, name)
        self.stdout_path = os.path.join(log_dir, f"{log_name}.stdout")
        self.stderr_path = os.path.join(log_dir, f"{log_name}.stderr")
        with open(self.stdout_path, "wb") as out, open(self.stderr_path, "wb") as err:
            self.popen = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                                          env=env, pass_fds=pass_fds, start_new_session=True,
                                          preexec_fn=_die_with_parent)
        self.pid = self.popen.pid

    def exit_code(self):
        """The exit code, or None while it runs."""
        return self.popen.poll()

    def wait(self, timeout):
        """The exit code, or None if it still runs after `timeout` seconds."""
        try:
            return self.popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def stderr_text(self):
        with open(self.stderr_path, "rb") as err:
            return err.read().decode(errors="replace")

    def stderr_gist(self):
        """What a failure message shows of stderr: a sanitizer's headlines if
        it reported, else the end of the text."""
        text = self.stderr_text()
        findings = sanitizer_findings(text)
        return "\n".join(findings[:12]) if findings else repr(text[-800:])

    def stop(self, grace=2.0):
        """Ends the process and its group: SIGTERM, then SIGKILL."""
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.killpg(self.pid, sig)
            except ProcessLookupError:
                pass
            if self.wait(grace) is not None and not self._group_alive():
                return
        self.popen.wait()

    def _group_alive(self):
        try:
            os.killpg(self.pid, 0)
            return True
        except ProcessLookupError:
            return False
        except PermissionError:
            return True


def cpu_seconds(pid):
    """User plus system processor time of a running process so far."""
    with open(f"/proc/{pid}/stat") as stat:
        # The command name in parentheses may hold spaces: split after it.
        fields = stat.read().rsplit(")", 1)[1].split()
    utime, stime = int(fields[11]), int(fields[12])
    return (utime + stime) / os.sysconf("SC_CLK_TCK")


def resident_kib(pid):
    """The resident set size of a running process, in KiB (VmRSS)."""
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise ValueError(f"no VmRSS in /proc/{pid}/status")


def run_all(steps):
    """Calls each of `steps`; one that fails does not keep the next ones
    from running."""
    for step in steps:
        try:
            step()
        except Exception as problem:  # say so, and go on stopping the rest
            print(f"while stopping: {problem!r}", file=sys.stderr)
