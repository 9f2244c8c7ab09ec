"""Whether two builds of the packages are the same: scripts/package run once
more on a copy of the sources in a fresh folder elsewhere, later, in another
time zone and with another umask, and every file compared with those of the
packages' folder (which scripts/test makes first). Where a file differs,
diffoscope shows how."""

import hashlib
import os
import shutil
import subprocess
import tempfile
import time

from .checks import CheckFailed
from .processes import Process

# Lines of diffoscope's report shown for each file that differs; the whole
# report is kept beside the case's logs.
REPORT_LINES = 150
# Seconds diffoscope may take over one pair of packages.
DIFFOSCOPE_TIME = 300


def source_files(source_dir):
    """The sources as a build sees them: the files git tracks, and the new
    ones it does not ignore, as they are in the working tree."""
    listed = subprocess.run(
        ["git", "-C", source_dir, "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
        capture_output=True, check=True).stdout.decode()
    paths = sorted(set(path for path in listed.split("\0") if path))
    # A tracked file deleted from the working tree is no source any more.
    return [path for path in paths if os.path.lexists(os.path.join(source_dir, path))]


def copy_sources(source_dir, destination):
    """Copies the sources into `destination`, with their modes but with
    times of their own, as a fresh clone has them."""
    for path in source_files(source_dir):
        source, target = os.path.join(source_dir, path), os.path.join(destination, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        if os.path.islink(source):
            os.symlink(os.readlink(source), target)
        else:
            shutil.copy(source, target)


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as data:
        for block in iter(lambda: data.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


class Comparison:
    """Two package folders, file by file: the names only one of them holds,
    and those both hold with other bytes."""

    def __init__(self, first, second):
        names = [set(os.listdir(folder)) for folder in (first, second)]
        self.only_first = sorted(names[0] - names[1])
        self.only_second = sorted(names[1] - names[0])
        both = sorted(names[0] & names[1])
        sums = {name: (sha256(os.path.join(first, name)), sha256(os.path.join(second, name)))
                for name in both}
        self.same = [name for name in both if sums[name][0] == sums[name][1]]
        self.differing = [name for name in both if sums[name][0] != sums[name][1]]
        self.sums = sums

    def identical(self):
        return not (self.only_first or self.only_second or self.differing)

    def summary(self):
        lines = [f"same     {self.sums[name][0]}  {name}" for name in self.same]
        lines += [f"DIFFERS  {name}: {self.sums[name][0]} / {self.sums[name][1]}"
                  for name in self.differing]
        lines += [f"ONLY IN THE FIRST   {name}" for name in self.only_first]
        lines += [f"ONLY IN THE SECOND  {name}" for name in self.only_second]
        return "\n".join(lines)


def shortened(report, lines=REPORT_LINES):
    """The first `lines` lines of a report, and how many were left out."""
    kept = report.splitlines()
    if len(kept) <= lines:
        return report.rstrip("\n")
    return "\n".join(kept[:lines] + [f"[... {len(kept) - lines} more lines]"])


def diffoscope(first, second, report_path, timeout):
    """diffoscope's text report of what differs between two files, kept
    whole in `report_path`; returns its first lines."""
    try:
        done = subprocess.run(["diffoscope", "--no-progress", "--text", report_path, first, second],
                              capture_output=True, text=True, timeout=timeout, check=False)
    except FileNotFoundError:
        raise CheckFailed("diffoscope", "installed (scripts/setup)", "no such program")
    except subprocess.TimeoutExpired:
        return f"diffoscope did not end within {timeout} s"
    # It ends with 1 when the files differ, with more when it failed.
    if done.returncode > 1 or not os.path.isfile(report_path):
        return f"diffoscope failed ({done.returncode}): {done.stderr[-2000:]}"
    with open(report_path, encoding="utf-8", errors="replace") as report:
        return shortened(report.read())


def build_elsewhere(source_dir, work_dir, log_dir):
    """scripts/package run on a copy of the sources in `work_dir`: its
    packages folder."""
    copy = os.path.join(work_dir, "quenn")
    copy_sources(source_dir, copy)
    # Where a time were written in local time, or a mode taken from the
    # umask, the packages would differ from the tree's.
    env = dict(os.environ, TZ="Etc/GMT-14")
    previous = os.umask(0o002)
    try:
        build = Process("package", [os.path.join(copy, "scripts", "package")], log_dir, env=env)
    finally:
        os.umask(previous)
    start = time.monotonic()
    try:
        code = build.wait(timeout=None)
    finally:
        build.stop()
    print(f"scripts/package in {copy}: exit code {code} after {time.monotonic() - start:.0f} s")
    if code != 0:
        raise CheckFailed("scripts/package in a fresh folder", "exit code 0",
                          f"exit code {code}: {build.stderr_text()[-2000:]}")
    return os.path.join(copy, "build", "packages")


def compare(packages, rebuilt, log_dir):
    comparison = Comparison(packages, rebuilt)
    print(comparison.summary())
    if comparison.identical():
        return
    for name in comparison.differing:
        report = os.path.join(log_dir, f"diffoscope-{name}.txt")
        print(f"\ndiffoscope {name} (whole report: {report}):")
        print(diffoscope(os.path.join(packages, name), os.path.join(rebuilt, name), report,
                         DIFFOSCOPE_TIME))
    raise CheckFailed("the packages built again elsewhere",
                      f"the same files as {packages}, byte for byte",
                      f"{len(comparison.differing)} differ, "
                      f"{len(comparison.only_first) + len(comparison.only_second)} "
                      "in one folder only (or are those packages older than the sources?)")


def case_reproducible(ctx):
    packages = ctx.packages.directory
    ctx.packages.need(os.path.join(packages, "SHA256SUMS"))
    work_dir = tempfile.mkdtemp(prefix="quenn-reproducible-")
    try:
        compare(packages, build_elsewhere(ctx.source_dir, work_dir, ctx.log_dir), ctx.log_dir)
    finally:
        shutil.rmtree(work_dir, ignore_errors=True)


CASES = {
    "reproducible": case_reproducible,
}
