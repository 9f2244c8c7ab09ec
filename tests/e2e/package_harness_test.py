#!/usr/bin/python3
"""Checks of what the package cases read: Wine's registry files, the Start
menu of a prefix, version resources, file lists."""

import os
import shutil
import struct
import tempfile
import unittest

from harness.checks import CheckFailed
from harness.package_windows import file_version, registry_section, shortcuts
from harness.runners import windows_path
from harness.packages import check_same_files

KEY = "Microsoft\\Windows\\CurrentVersion\\Uninstall\\quenn"
SYSTEM_REG = r"""WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win32

[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\quenn-old] 1733660000
"UninstallString"="elsewhere"

[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\quenn] 1733660000
#time=1db497d1c1a2b3c
"DisplayName"="quenn 1.0.0"
"UninstallString"="Z:\\tmp\\quenn\\Uninstall.exe"

[Software\\Wine] 1733660000
"Version"="8.0"
"""


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)


class RegistryTest(unittest.TestCase):
    def prefix(self, system, user=""):
        directory = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, directory)
        write(os.path.join(directory, "system.reg"), system)
        write(os.path.join(directory, "user.reg"), user)
        return directory

    def test_the_key_and_its_values_and_no_other_key(self):
        lines = registry_section(self.prefix(SYSTEM_REG), KEY)
        self.assertIn('"UninstallString"="Z:\\\\tmp\\\\quenn\\\\Uninstall.exe"', lines)
        self.assertNotIn('"UninstallString"="elsewhere"', lines)
        self.assertNotIn('"Version"="8.0"', lines)

    def test_a_key_last_in_the_users_file(self):
        user = ("WINE REGISTRY Version 2\n\n[Software\\\\" + KEY.replace("\\", "\\\\") +
                "] 1\n\"A\"=\"b\"\n")
        self.assertEqual(registry_section(self.prefix("", user), KEY), ['"A"="b"'])

    def test_no_such_key(self):
        self.assertIsNone(registry_section(self.prefix(SYSTEM_REG), KEY + "-new"))


class StartMenuTest(unittest.TestCase):
    def test_only_links_under_a_start_menu(self):
        with tempfile.TemporaryDirectory() as prefix:
            menu = os.path.join(prefix, "drive_c", "ProgramData", "Microsoft", "Windows",
                                "Start Menu", "Programs", "quenn")
            for name in ("quenn.lnk", "readme.txt"):
                write(os.path.join(menu, name), "")
            write(os.path.join(prefix, "drive_c", "elsewhere", "other.lnk"), "")
            self.assertEqual(shortcuts(prefix), {menu: {"quenn.lnk"}})


class VersionResourceTest(unittest.TestCase):
    def test_fixed_file_information(self):
        fixed = struct.pack("<IIII", 0xFEEF04BD, 0x10000, (1 << 16) | 2, 3 << 16)
        resource = b"\x00" * 40 + fixed + b"\x00" * 8
        self.assertEqual(file_version(resource), (1, 2, 3))

    def test_a_resource_without_it_fails(self):
        with self.assertRaises(CheckFailed):
            file_version(b"\x00" * 64)


class PathsTest(unittest.TestCase):
    def test_wine_names_a_linux_path_on_drive_z(self):
        self.assertEqual(windows_path("/tmp/quenn-nsis-1/quenn"), "Z:\\tmp\\quenn-nsis-1\\quenn")

    def test_file_lists_name_what_is_missing_and_extra(self):
        check_same_files("files", {"a", "b"}, {"b", "a"})
        with self.assertRaisesRegex(CheckFailed, r"missing \['a'\], extra \['c'\]"):
            check_same_files("files", {"a", "b"}, {"b", "c"})


if __name__ == "__main__":
    unittest.main()
