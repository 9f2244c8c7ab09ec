#!/usr/bin/python3
"""scripts/setup's decisions against a registry that fails, with stand-ins
for apt-get, dpkg and dpkg-query first on PATH and no network."""

import json
import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SETUP = os.path.join(HERE, "..", "..", "scripts", "setup")


def release():
    with open("/etc/os-release", encoding="utf-8") as text:
        return dict(line.strip().split("=", 1) for line in text if "=" in line)["VERSION_CODENAME"]


def group(name):
    listing = subprocess.run([SETUP, "--list"], capture_output=True, text=True, check=True).stdout
    line = next(line for line in listing.splitlines() if line.startswith(name + " "))
    return line.split(": ", 1)[1].split()


class Registry:
    """A folder the stand-ins take as their world, and runs of setup in it."""

    def __init__(self, **world):
        self.folder = tempfile.TemporaryDirectory()
        self.world = world
        bin_dir = os.path.join(self.folder.name, "bin")
        os.mkdir(bin_dir)
        for command in ("apt-get", "dpkg", "dpkg-query"):
            os.symlink(os.path.join(HERE, "apt_standin.py"), os.path.join(bin_dir, command))
        self.env = dict(os.environ, APT_STANDIN=self.folder.name, QUENN_SETUP_RETRY_PAUSE="0",
                        PATH=bin_dir + os.pathsep + os.environ["PATH"])
        self.save()

    def save(self):
        with open(self.file("world.json"), "w", encoding="utf-8") as text:
            json.dump(self.world, text)

    def file(self, name):
        return os.path.join(self.folder.name, name)

    def lines(self, name):
        try:
            with open(self.file(name), encoding="utf-8") as text:
                return text.read().splitlines()
        except FileNotFoundError:
            return []

    def setup(self, *groups):
        done = subprocess.run([SETUP, *groups], env=self.env, capture_output=True, text=True,
                              timeout=60, check=False)
        return done.returncode, done.stdout.splitlines()

    def calls(self, start):
        return [call for call in self.lines("calls") if call.startswith(start)]

    def installed(self):
        return {package.split(":")[0] if package.endswith(":amd64") else package
                for package in self.lines("installed")}


# As another user, setup would call apt-get through sudo, which resets PATH
# and so would reach the real one.
@unittest.skipUnless(os.geteuid() == 0, "set-up runs apt-get itself only as root")
class RegistryFaults(unittest.TestCase):
    def test_update_that_fails_once_is_tried_again(self):
        registry = Registry(update_failures=1)
        code, said = registry.setup("run")
        self.assertEqual(code, 0, said)
        self.assertEqual(len(registry.calls("apt-get update")), 2)
        self.assertFalse([line for line in said if "could not refresh" in line], said)
        self.assertLessEqual(set(group("run")), registry.installed())

    def test_update_that_always_fails_is_named_once_and_passed_over(self):
        registry = Registry(update_failures=-1)
        code, said = registry.setup("run")
        self.assertEqual(code, 0, said)
        self.assertEqual(len(registry.calls("apt-get update")), 3)
        failed = [line for line in said if "could not refresh" in line]
        self.assertEqual(failed, [
            "setup: could not refresh http://deb.example/debian-security/dists/bookworm-security/"
            "main/binary-i386/Packages.xz (File has unexpected size (374820 != 376004). "
            "Mirror sync in progress?); going on with the lists there are"])
        self.assertLessEqual(set(group("run")), registry.installed())

    def test_version_skew_is_installed_from_one_release(self):
        registry = Registry(skewed=["wine32:i386", "libgl1:i386"])
        code, said = registry.setup("wine32")
        self.assertEqual(code, 0, said)
        self.assertEqual(registry.lines("architectures"), ["i386"])
        installs = registry.calls("apt-get install")
        self.assertEqual(len(installs), 2)
        self.assertIn(f"-t {release()} ", installs[1])
        self.assertLessEqual(set(group("wine32")), registry.installed())

    def test_no_32_bit_wine_falls_back_to_64_bit_in_one_line(self):
        registry = Registry(refused=["wine32:i386"])
        code, said = registry.setup("windows", "wine32", "packages")
        self.assertEqual(code, 0, said)
        fallback = [line for line in said if "32-bit Wine" in line and "cannot" in line]
        self.assertEqual(len(fallback), 1, said)
        self.assertIn("held broken packages", fallback[0])
        self.assertIn("windows64 build under 64-bit Wine", fallback[0])
        self.assertLessEqual(set(group("windows") + group("packages")), registry.installed())
        self.assertNotIn("wine32:i386", registry.installed())

    def test_missing_package_stops_with_its_name_and_a_second_run_goes_on(self):
        registry = Registry(unknown=["libopengl-dev"], interrupted=True)
        code, said = registry.setup("run", "headless")
        self.assertEqual(code, 1)
        self.assertEqual(said[-1], "setup: cannot install building quenn (group run): "
                                   "E: Unable to locate package libopengl-dev")
        self.assertEqual(registry.installed(), set())
        self.assertEqual(registry.calls("dpkg --configure"), ["dpkg --configure -a"])

        registry.world["unknown"] = []
        registry.save()
        code, said = registry.setup("run", "headless")
        self.assertEqual(code, 0, said)
        self.assertLessEqual(set(group("run") + group("headless")), registry.installed())
        code, said = registry.setup("run", "headless")
        self.assertEqual((code, said), (0, []))


if __name__ == "__main__":
    sys.exit(unittest.main())
