#!/usr/bin/python3
"""packaging/web/service_worker.cmake, which writes the pages' service worker
for a build: the cache's name follows the version and every byte of the
files, each file is listed with its own hash, and a missing file or setting
stops the build."""

import hashlib
import os
import re
import shutil
import subprocess
import tempfile
import unittest

from harness.page import worker_listing, write_worker

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
FILES = ["index.html", "quenn.js", "quenn.wasm"]


def cache_name(worker):
    return re.search(r"var CACHE = '([^']*)';", worker).group(1)


class ServiceWorkerScriptTest(unittest.TestCase):
    def setUp(self):
        self.directory = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.directory)
        for number, name in enumerate(FILES):
            self.write(name, f"file {number}\n")

    def write(self, name, text):
        with open(os.path.join(self.directory, name), "w") as file:
            file.write(text)

    def run_script(self, version="1.2.3", files=FILES):
        """The script's completed process, and the worker's text or None."""
        result = write_worker(SOURCE, self.directory, version, files)
        output = os.path.join(self.directory, "service-worker.js")
        if not os.path.exists(output):
            return result, None
        with open(output) as worker:
            return result, worker.read()

    def worker(self, **settings):
        result, text = self.run_script(**settings)
        self.assertEqual(result.returncode, 0, result.stderr)
        return text

    def test_each_file_is_listed_with_the_hash_of_its_contents(self):
        files = worker_listing(self.worker())
        self.assertEqual(list(files), FILES)
        for name, digest in files.items():
            with open(os.path.join(self.directory, name), "rb") as file:
                self.assertEqual(digest, hashlib.sha256(file.read()).hexdigest())

    def test_the_cache_is_named_for_the_version_and_the_contents(self):
        first = cache_name(self.worker())
        self.assertRegex(first, r"^quenn-1\.2\.3-[0-9a-f]{16}$")
        self.assertEqual(cache_name(self.worker()), first)
        self.assertEqual(cache_name(self.worker(version="1.2.4")),
                         "quenn-1.2.4-" + first.rsplit("-", 1)[1])

    def test_one_changed_byte_makes_a_new_cache(self):
        before = self.worker()
        self.write("quenn.wasm", "file 2.\n")
        after = self.worker()
        self.assertNotEqual(cache_name(after), cache_name(before))
        changed = {name for name in FILES
                   if worker_listing(after)[name] != worker_listing(before)[name]}
        self.assertEqual(changed, {"quenn.wasm"})

    def test_a_file_moved_to_another_name_makes_a_new_cache(self):
        before = self.worker()
        os.rename(os.path.join(self.directory, "quenn.js"), os.path.join(self.directory, "a.js"))
        after = self.worker(files=["index.html", "a.js", "quenn.wasm"])
        self.assertNotEqual(cache_name(after), cache_name(before))

    def test_the_worker_is_javascript(self):
        path = os.path.join(self.directory, "service-worker.js")
        self.worker()
        check = subprocess.run(["node", "--check", path], capture_output=True, text=True)
        self.assertEqual(check.returncode, 0, check.stderr)

    def test_a_missing_file_stops_it_and_writes_no_worker(self):
        result, text = self.run_script(files=FILES + ["quenn-fast.js"])
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("quenn-fast.js", result.stderr)
        self.assertIsNone(text)

    def test_a_missing_setting_stops_it(self):
        result, text = self.run_script(version="")
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("VERSION", result.stderr)
        self.assertIsNone(text)


if __name__ == "__main__":
    unittest.main()
