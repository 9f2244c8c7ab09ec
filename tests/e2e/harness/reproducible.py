"""Whether two builds of the packages are the same: a copy of the sources in
a fresh folder, and the comparison of two package folders, file by file."""

import hashlib
import os
import shutil
import subprocess

from .checks import CheckFailed

# Lines of diffoscope's report shown for each file that differs; the whole
# report is kept beside the case's logs.
REPORT_LINES = 150


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
