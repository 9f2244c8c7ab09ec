"""Failures that say what was expected and what was seen."""

import time


class CheckFailed(Exception):
    """A check of the program's behaviour that did not hold."""

    def __init__(self, what, expected, seen):
        super().__init__(f"{what}\n  expected: {expected}\n  seen:     {seen}")


class Unsupported(Exception):
    """What a case needs is missing from the browser or system at hand, which
    is no fault of the program: the case is skipped, saying why."""


def wait_until(timeout, probe, interval=0.02):
    """Calls `probe` until it reports success or `timeout` seconds passed.

    `probe` returns (done, seen), `seen` describing the state it found.
    Returns (done, seen) of the last call."""
    deadline = time.monotonic() + timeout
    while True:
        done, seen = probe()
        if done or time.monotonic() >= deadline:
            return done, seen
        time.sleep(interval)


def wait_for(what, expected, probe, timeout, interval=0.02):
    """wait_until, failing with what was expected and last seen on time-out."""
    done, seen = wait_until(timeout, probe, interval)
    if not done:
        raise CheckFailed(f"{what} (waited {timeout:g} s)", expected, seen)
    return seen


def found(value):
    """A probe's result for a value that is None until it is there."""
    return value is not None, value


def check(condition, what, expected, seen):
    if not condition:
        raise CheckFailed(what, expected, seen)
