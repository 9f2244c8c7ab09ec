"""Running one case within a time limit, with its screenshots saved when it
fails: what run_case.py and run_stream.py share."""

import os
import shutil
import signal
import time

from .checks import CheckFailed, Unsupported

# The exit code of a skipped case, CTest's SKIP_RETURN_CODE for it.
SKIPPED = 77


class Stopped(Exception):
    """The case's own time limit ran out, or CTest stopped it."""


def _stop(signum, frame):
    raise Stopped("time limit reached" if signum == signal.SIGALRM else f"signal {signum}")


def save_shots(shots, directory):
    for label, image in shots.items():
        path = os.path.join(directory, f"{label}.png")
        image.save(path)
        print(f"screenshot: {path}")


def fresh_directory(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def drive(label, artifacts, time_limit, body, keep_shots=False):
    """Calls body(shots) with our own limit, below CTest's, so that
    everything started is still stopped. Returns the exit code: 0 when every
    check held, SKIPPED when the case cannot run here, 1 otherwise, after
    saving the screenshots in `shots`."""
    signal.signal(signal.SIGALRM, _stop)
    signal.signal(signal.SIGTERM, _stop)
    signal.alarm(time_limit)
    shots = {}
    start = time.monotonic()
    try:
        body(shots)
    except CheckFailed as failure:
        print(f"FAILED {label}: {failure}")
    except Unsupported as missing:
        print(f"skipped {label}: {missing}")
        return SKIPPED
    except Stopped as stop:
        print(f"FAILED {label}: stopped after {time.monotonic() - start:.0f} s "
              f"({stop}; limit {time_limit} s)")
    else:
        print(f"passed {label} in {time.monotonic() - start:.1f} s")
        if keep_shots:
            save_shots(shots, artifacts)
        return 0
    finally:
        signal.alarm(0)
    save_shots(shots, artifacts)
    print(f"logs: {artifacts}")
    return 1
