#!/usr/bin/python3
"""Checks of what makes the packages the same from build to build: the
tarball script, CPack's archives made again after CPack, and the reproducible
case's own copy of the sources and comparison of two package folders."""

import gzip
import os
import shutil
import struct
import subprocess
import tarfile
import tempfile
import time
import unittest
import zipfile

from harness.reproducible import Comparison, copy_sources, diffoscope, shortened, source_files

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
PACKAGING = os.path.join(SOURCE_DIR, "packaging")
RELEASE = 1796731200  # 8 December 2026, 12:00 UTC
LATER = RELEASE + 86400
EARLIER = RELEASE - 86400


def write(path, text, mode=0o644, mtime=LATER):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as out:
        out.write(text)
    os.chmod(path, mode)
    os.utime(path, (mtime, mtime))


class Folders(unittest.TestCase):
    def folder(self):
        folder = tempfile.mkdtemp(prefix="quenn-reproducible-test-")
        self.addCleanup(shutil.rmtree, folder)
        return folder


def make_tarball(*arguments, release=RELEASE):
    env = dict(os.environ)
    env.pop("SOURCE_DATE_EPOCH", None)
    if release is not None:
        env["SOURCE_DATE_EPOCH"] = str(release)
    return subprocess.run([os.path.join(PACKAGING, "make_tarball"), *arguments], env=env,
                          capture_output=True, text=True, check=False)


class TarballTest(Folders):
    def staged(self, order=("pkg/share/a.txt", "pkg/share/b.txt", "pkg/bin/quenn"),
               modes=(0o644, 0o755)):
        """A staged folder 'pkg': the same files, made in `order`, with
        `modes` (for text, program) and other times."""
        directory = self.folder()
        files = {"pkg/share/b.txt": ("b", modes[0]), "pkg/share/a.txt": ("a", modes[0]),
                 "pkg/bin/quenn": ("#!/bin/sh\n", modes[1])}
        for name in order:
            text, mode = files[name]
            write(os.path.join(directory, name), text, mode, LATER + order.index(name))
        write(os.path.join(directory, "pkg/old.txt"), "old", 0o644, EARLIER)
        os.symlink("a.txt", os.path.join(directory, "pkg/share/link.txt"))
        return directory

    def tarball(self, directory):
        output = os.path.join(self.folder(), "pkg.tar.gz")
        done = make_tarball(output, directory, "pkg")
        self.assertEqual(done.returncode, 0, done.stderr)
        return output

    def test_the_same_files_give_the_same_bytes(self):
        first = self.tarball(self.staged(["pkg/share/b.txt", "pkg/share/a.txt", "pkg/bin/quenn"]))
        second = self.tarball(self.staged(["pkg/bin/quenn", "pkg/share/a.txt", "pkg/share/b.txt"],
                                          (0o664, 0o775)))
        with open(first, "rb") as one, open(second, "rb") as other:
            self.assertEqual(one.read(), other.read())

    def test_entries_sorted_owned_by_root_with_fixed_modes_and_clamped_times(self):
        output = self.tarball(self.staged(["pkg/share/b.txt", "pkg/share/a.txt", "pkg/bin/quenn"],
                                          (0o600, 0o700)))
        with tarfile.open(output) as archive:
            members = archive.getmembers()
        self.assertEqual([m.name for m in members],
                         ["pkg", "pkg/bin", "pkg/bin/quenn", "pkg/old.txt", "pkg/share",
                          "pkg/share/a.txt", "pkg/share/b.txt", "pkg/share/link.txt"])
        for member in members:
            self.assertEqual((member.uid, member.gid, member.uname, member.gname),
                             (0, 0, "root", "root"), member.name)
        modes = {m.name: m.mode for m in members if not m.issym()}
        self.assertEqual(modes["pkg/bin/quenn"], 0o755)
        self.assertEqual(modes["pkg/share/a.txt"], 0o644)
        self.assertEqual(modes["pkg/share"], 0o755)
        times = {m.name: m.mtime for m in members}
        self.assertEqual(times["pkg/share/a.txt"], RELEASE)
        self.assertEqual(times["pkg/old.txt"], EARLIER)

    def test_no_name_or_time_in_the_gzip_header(self):
        output = self.tarball(self.staged())
        with open(output, "rb") as data:
            header = data.read(10)
        flags, mtime = header[3], struct.unpack("<I", header[4:8])[0]
        self.assertEqual((flags & 0x08, mtime), (0, 0))
        with gzip.open(output) as unpacked:
            self.assertGreater(len(unpacked.read()), 0)

    def test_without_the_release_time_or_the_folder_nothing_is_written(self):
        output = os.path.join(self.folder(), "pkg.tar.gz")
        done = make_tarball(output, self.staged(), "pkg", release=None)
        self.assertNotEqual(done.returncode, 0)
        self.assertIn("SOURCE_DATE_EPOCH", done.stderr)
        self.assertFalse(os.path.exists(output))
        self.assertNotEqual(make_tarball(output, self.folder(), "pkg").returncode, 0)
        self.assertFalse(os.path.exists(output))

    def test_wrong_arguments_are_refused(self):
        done = make_tarball("only-one")
        self.assertEqual(done.returncode, 2)
        self.assertIn("usage", done.stderr)


def owner_field(uid):
    """Info-ZIP's Unix owner field (0x7875): version 1, 4-byte ids."""
    return struct.pack("<HHBBIBI", 0x7875, 11, 1, 4, uid, 4, uid)


class CPackArchivesTest(Folders):
    """packaging/reproducible_archives.cmake, run as CPack runs it after it
    made its packages."""

    def run_script(self, top, folder, packages):
        env = dict(os.environ, SOURCE_DATE_EPOCH=str(RELEASE), TZ="UTC")
        subprocess.run(["cmake", f"-DCPACK_TOPLEVEL_DIRECTORY={top}",
                        f"-DCPACK_TEMPORARY_DIRECTORY={os.path.join(top, folder)}",
                        f"-DCPACK_PACKAGE_FILES={';'.join(packages)}",
                        "-P", os.path.join(PACKAGING, "reproducible_archives.cmake")],
                       env=env, check=True, capture_output=True)

    def test_the_zip_is_sorted_with_the_release_time_and_no_owner(self):
        top = self.folder()
        package = os.path.join(top, "pkg.zip")
        with zipfile.ZipFile(package, "w") as archive:
            for name in ("pkg/quenn.exe", "pkg/LICENSE.txt", "pkg/README.txt"):
                entry = zipfile.ZipInfo(name, date_time=(2030, 1, 2, 3, 4, 6))
                entry.extra = owner_field(1000)
                entry.external_attr = 0o100644 << 16
                archive.writestr(entry, name)
        self.run_script(top, "pkg", [package])
        with zipfile.ZipFile(package) as archive:
            entries = archive.infolist()
            self.assertEqual([e.filename for e in entries],
                             ["pkg/LICENSE.txt", "pkg/README.txt", "pkg/quenn.exe"])
            self.assertEqual(archive.read("pkg/quenn.exe"), b"pkg/quenn.exe")
        release = time.gmtime(RELEASE)[:6]
        for entry in entries:
            self.assertEqual(entry.date_time, release)
            self.assertNotIn(struct.pack("<I", 1000), entry.extra)
            self.assertEqual(entry.external_attr >> 16, 0o100644)

    def test_the_tarball_is_made_again_from_the_staged_folder(self):
        top = self.folder()
        write(os.path.join(top, "pkg/b.txt"), "b")
        write(os.path.join(top, "pkg/a.txt"), "a")
        package = os.path.join(top, "pkg.tar.gz")
        with tarfile.open(package, "w:gz") as archive:
            archive.add(os.path.join(top, "pkg/b.txt"), "pkg/b.txt")
        self.run_script(top, "pkg", [package, os.path.join(top, "pkg.deb")])
        with tarfile.open(package) as archive:
            self.assertEqual(archive.getnames(), ["pkg", "pkg/a.txt", "pkg/b.txt"])
            self.assertEqual({m.mtime for m in archive.getmembers()}, {RELEASE})
        self.assertFalse(os.path.exists(os.path.join(top, "pkg.deb")))


class SourcesTest(Folders):
    def repository(self):
        root = self.folder()
        subprocess.run(["git", "init", "-q", root], check=True)
        write(os.path.join(root, ".gitignore"), "/build/\n")
        write(os.path.join(root, "tracked.txt"), "t", mtime=EARLIER)
        write(os.path.join(root, "tool"), "#!/bin/sh\n", 0o755)
        write(os.path.join(root, "gone.txt"), "g")
        os.symlink("tracked.txt", os.path.join(root, "link"))
        subprocess.run(["git", "-C", root, "add", "."], check=True)
        os.unlink(os.path.join(root, "gone.txt"))
        write(os.path.join(root, "new/untracked.txt"), "u")
        write(os.path.join(root, "build/linux/quenn"), "built")
        return root

    def test_tracked_and_new_files_but_not_ignored_or_deleted_ones(self):
        self.assertEqual(source_files(self.repository()),
                         [".gitignore", "link", "new/untracked.txt", "tool", "tracked.txt"])

    def test_the_copy_keeps_modes_and_links_but_not_times(self):
        copy = os.path.join(self.folder(), "quenn")
        copy_sources(self.repository(), copy)
        self.assertTrue(os.access(os.path.join(copy, "tool"), os.X_OK))
        self.assertEqual(os.readlink(os.path.join(copy, "link")), "tracked.txt")
        self.assertNotEqual(os.stat(os.path.join(copy, "tracked.txt")).st_mtime, EARLIER)
        self.assertFalse(os.path.exists(os.path.join(copy, "build")))


class ComparisonTest(Folders):
    def packages(self, files):
        folder = self.folder()
        for name, text in files.items():
            write(os.path.join(folder, name), text)
        return folder

    def test_same_differing_and_alone(self):
        comparison = Comparison(self.packages({"a.deb": "1", "b.zip": "2", "old.exe": "3"}),
                                self.packages({"a.deb": "1", "b.zip": "two", "new.exe": "3"}))
        self.assertFalse(comparison.identical())
        self.assertEqual((comparison.same, comparison.differing), (["a.deb"], ["b.zip"]))
        self.assertEqual((comparison.only_first, comparison.only_second),
                         (["old.exe"], ["new.exe"]))
        summary = comparison.summary()
        self.assertIn("DIFFERS  b.zip", summary)
        self.assertIn("ONLY IN THE SECOND  new.exe", summary)

    def test_identical_folders(self):
        files = {"a.deb": "1", "SHA256SUMS": "x"}
        self.assertTrue(Comparison(self.packages(files), self.packages(files)).identical())

    def test_a_long_report_is_cut_and_says_how_much(self):
        report = "\n".join(f"line {n}" for n in range(200))
        self.assertEqual(shortened(report, 3), "line 0\nline 1\nline 2\n[... 197 more lines]")
        self.assertEqual(shortened("one\ntwo\n", 3), "one\ntwo")

    def test_diffoscope_shows_the_line_that_differs(self):
        first = self.packages({"p.txt": "same\nold line\n"})
        second = self.packages({"p.txt": "same\nnew line\n"})
        report = os.path.join(self.folder(), "report.txt")
        shown = diffoscope(os.path.join(first, "p.txt"), os.path.join(second, "p.txt"), report,
                           timeout=120)
        self.assertIn("-old line", shown)
        self.assertIn("+new line", shown)
        self.assertTrue(os.path.isfile(report))


if __name__ == "__main__":
    unittest.main()
