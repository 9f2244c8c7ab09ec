"""Failures that say what was expected and what was seen."""

import time


class CheckFailed(Exception):
    """A check of the program's behaviour that did not hold."""

    def __init__(self, what, expected, seen):
        super().__init__(f"{what}\n  expected: {expected}\n  seen:     {seen}")


def wait_for(what, expected, probe, timeout, interval=0.02):
    """Calls `probe` until it reports success; fails after `timeout` seconds.

    `probe` returns (done, seen): `seen` describes the last state for the
    failure message, and is returned on success."""
    deadline = time.monotonic() + timeout
    while True:
        done, seen = probe()
        if done:
            return seen
        if time.monotonic() >= deadline:
            raise CheckFailed(f"{what} (waited {timeout:g} s)", expected, seen)
        time.sleep(interval)


def check(condition, what, expected, seen):
    if not condition:
        raise CheckFailed(what, expected, seen)
