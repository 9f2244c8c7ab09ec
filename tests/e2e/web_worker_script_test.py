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

SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
WEB = os.path.join(SOURCE, "packaging", "web")
FILES = ["index.html", "quenn.js", "quenn.wasm"]


def write_worker(directory, version="1.2.3", files=FILES, template=None):
    """Runs the script on `files` in `directory`: (exit code, stderr, the
    worker's text or None)."""
    output = os.path.join(directory, "service-worker.js")
    template = template or os.path.join(WEB, "service_worker.js.in")
    result = subprocess.run(
        ["cmake", f"-DTEMPLATE={template}", f"-DOUTPUT={output}", f"-DDIR={directory}",
         f"-DVERSION={version}", "-DFILES=" + ";".join(files),
         "-P", os.path.join(WEB, "service_worker.cmake")], capture_output=True, text=True)
    text = None
    if os.path.exists(output):
        with open(output) as worker:
            text = worker.read()
    return result.returncode, result.stderr, text


def cache_name(worker):
    return re.search(r"var CACHE = '([^']*)';", worker).group(1)


def listed(worker):
    return dict(re.findall(r"^  '([^']+)': '([0-9a-f]{64})',$", worker, re.M))


class ServiceWorkerScriptTest(unittest.TestCase):
    def setUp(self):
        self.directory = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.directory)
        for number, name in enumerate(FILES):
            self.write(name, f"file {number}\n")

    def write(self, name, text):
        with open(os.path.join(self.directory, name), "w") as file:
            file.write(text)

    def worker(self, **settings):
        code, errors, text = write_worker(self.directory, **settings)
        self.assertEqual(code, 0, errors)
        return text

    def test_each_file_is_listed_with_the_hash_of_its_contents(self):
        files = listed(self.worker())
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
        changed = {name for name in FILES if listed(after)[name] != listed(before)[name]}
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
        code, errors, text = write_worker(self.directory, files=FILES + ["quenn-fast.js"])
        self.assertNotEqual(code, 0)
        self.assertIn("quenn-fast.js", errors)
        self.assertIsNone(text)

    def test_a_missing_setting_stops_it(self):
        code, errors, text = write_worker(self.directory, version="")
        self.assertNotEqual(code, 0)
        self.assertIn("VERSION", errors)
        self.assertIsNone(text)


if __name__ == "__main__":
    unittest.main()
