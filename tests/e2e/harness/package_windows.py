"""The Windows zip and installer: what they hold, and the installer run
silently under Wine, the installed quenn.exe with it, then the uninstaller."""

import os
import re
import struct
import tempfile
import zipfile

from .checks import check
from .desktop import Desktop
from .packages import check_same_files, check_same_text, files_under, run_tool
from .picture import Picture
from .runners import WineRunner, machine_wine, windows_path, wineserver
from .scene_checks import check_scene
from .program import show_and_close

WINDOWS_PROGRAMS = ("quenn.exe", "quenn-fast.exe")
DOCS = ("README.txt", "LICENSE.txt")
SHORTCUTS = {"quenn.lnk", "quenn-fast.lnk", "Uninstall.lnk"}
ICON_COUNT = 7
# VS_FIXEDFILEINFO starts with this signature.
FIXED_FILE_INFO = struct.pack("<I", 0xFEEF04BD)
# The installers run no Wine menu builder: it would write desktop entries
# into the home folder of whoever runs the tests.
NO_MENUS = {"WINEDLLOVERRIDES": "mscoree,mshtml,winemenubuilder.exe="}
# Add/Remove Programs' entry: one for every version.
UNINSTALL_KEY = "Microsoft\\Windows\\CurrentVersion\\Uninstall\\quenn"
INSTALL_TIME = 120
RUN_SECONDS = 2.0


def check_imports(ctx, build, directory):
    """Both programs import nothing but the five system DLLs."""
    script = os.path.join(ctx.source_dir, "tests", "unit", "check_windows_imports.cmake")
    report = run_tool(["cmake", f"-DOBJDUMP={build.objdump}", f"-DFORMAT={build.object_format}",
                       f"-DPROGRAMS_DIR={directory}", "-P", script], "the programs' imports")
    print(report)


def file_version(resource):
    """(major, minor, patch) of a version resource's fixed file information."""
    at = resource.find(FIXED_FILE_INFO)
    check(at >= 0, "version resource", "VS_FIXEDFILEINFO", f"{len(resource)} bytes without it")
    most, least = struct.unpack_from("<II", resource, at + 8)
    return most >> 16, most & 0xFFFF, least >> 16


def check_resources(program, version):
    """The program's icon and version information."""
    listing = run_tool(["wrestool", "-l", program], "wrestool -l")
    icons = len(re.findall(r"\[type=icon ", listing))
    check("[type=group_icon " in listing and icons == ICON_COUNT, f"{program}: icon",
          f"one icon group of {ICON_COUNT} sizes", listing)
    resource = run_tool(["wrestool", "-x", "--raw", "--type=16", program], "wrestool -x",
                        text=False)
    expected = tuple(int(part) for part in version.split("."))
    check(file_version(resource) == expected, f"{program}: file version", version,
          ".".join(map(str, file_version(resource))))
    name = os.path.basename(program).encode("utf-16-le")
    check(name in resource, f"{program}: original file name", os.path.basename(program),
          "not in the version strings")


def case_zip(ctx):
    for build in ctx.packages.windows.values():
        check_zip(ctx, build)


def check_zip(ctx, build):
    path = ctx.packages.need(build.zip)
    top = os.path.basename(path)[:-len(".zip")]
    with zipfile.ZipFile(path) as archive, tempfile.TemporaryDirectory() as unpacked:
        names = {name for name in archive.namelist() if not name.endswith("/")}
        check_same_files("the zip's files", {f"{top}/{n}" for n in WINDOWS_PROGRAMS + DOCS},
                         names)
        archive.extractall(unpacked)
        folder = os.path.join(unpacked, top)
        check_imports(ctx, build, folder)
        for program in WINDOWS_PROGRAMS:
            check_resources(os.path.join(folder, program), ctx.packages.version)
        for doc, source in zip(DOCS, ("README.md", "LICENSE")):
            check_same_text(os.path.join(folder, doc), os.path.join(ctx.source_dir, source))


def shortcuts(prefix):
    """Start-menu shortcuts of the prefix, by the folder that holds them."""
    found = {}
    for directory, _, names in os.walk(os.path.join(prefix, "drive_c")):
        if "Start Menu" in directory:
            for name in names:
                if name.endswith(".lnk"):
                    found.setdefault(directory, set()).add(name)
    return found


def registry_section(prefix, key):
    """The lines of the machine's or the user's registry key whose path ends
    with `key`, or None. Read once the wineserver has ended and written them."""
    wanted = key.replace("\\", "\\\\").lower()
    for hive in ("system.reg", "user.reg"):
        with open(os.path.join(prefix, hive), encoding="utf-8", errors="replace") as registry:
            # The text before the first key, then each key's path and its lines.
            parts = re.split(r"^\[(.*)\].*$", registry.read(), flags=re.MULTILINE)
        for path, lines in zip(parts[1::2], parts[2::2]):
            if path.lower().endswith(wanted):
                return lines.strip("\n").splitlines()
    return None


def run_silently(desktop, runner, program, args, what):
    process = desktop.start(runner, program, name=what, args=args, extra_env=NO_MENUS)
    code = process.wait(INSTALL_TIME)
    check(code == 0, what, f"exit code 0 within {INSTALL_TIME} s", "still running" if code is None
          else f"exit code {code}: {process.stderr_text()[-800:]!r}")
    # The uninstaller runs on from a copy in the temporary folder; and the
    # registry is written when the wineserver ends.
    wineserver(runner.prefix, "-w")


def case_nsis(ctx):
    """The installer of the build this machine's Wine runs: the 32-bit one
    where 32-bit programs run, else the 64-bit one."""
    wine = machine_wine()
    installer = ctx.packages.need(ctx.packages.windows[wine.bits].installer)
    print(wine.describe(os.path.basename(installer)))
    runner = WineRunner(ctx.wine_prefix)
    # The window manager closes the window as the close case has it closed.
    with tempfile.TemporaryDirectory(prefix="quenn-nsis-") as temp, \
         Desktop(ctx.log_dir, ctx.shots, window_manager=True) as desktop:
        # No spaces: /D= takes no quotes, and Wine would quote an argument with one.
        folder = os.path.join(temp, "quenn")
        before = shortcuts(runner.prefix)
        run_silently(desktop, runner, installer, ["/S", f"/D={windows_path(folder)}"],
                     "silent install")
        expected = set(WINDOWS_PROGRAMS + DOCS) | {"Uninstall.exe"}
        check_same_files("installed files", expected, files_under(folder))
        added = {d: names - before.get(d, set()) for d, names in shortcuts(runner.prefix).items()}
        menu = [d for d, names in added.items() if names == SHORTCUTS]
        check(len(menu) == 1, "Start menu", f"one folder with {sorted(SHORTCUTS)}", repr(added))
        with open(os.path.join(menu[0], "quenn.lnk"), "rb") as link:
            target = link.read()
        leaf = os.path.basename(temp)
        check(leaf.encode() in target or leaf.encode("utf-16-le") in target, "quenn.lnk",
              f"a link into {folder}", "another target")
        entry = registry_section(runner.prefix, UNINSTALL_KEY)
        check(entry is not None and any("UninstallString" in line for line in entry),
              "Add/Remove Programs", f"an UninstallString under ...\\{UNINSTALL_KEY}",
              repr(entry))

        image = show_and_close(desktop, runner, os.path.join(folder, "quenn.exe"), RUN_SECONDS)
        ctx.shots["installed"] = image
        check_scene(Picture(image), "the installed quenn.exe")

        run_silently(desktop, runner, os.path.join(folder, "Uninstall.exe"), ["/S"],
                     "silent uninstall")
        left = files_under(folder)
        check(not left, "after uninstalling", "the folder gone", f"left: {sorted(left)}")
        check(not os.path.isdir(menu[0]), "after uninstalling", "the Start-menu folder gone",
              repr(shortcuts(runner.prefix).get(menu[0])))
        check(registry_section(runner.prefix, UNINSTALL_KEY) is None, "after uninstalling",
              "no Add/Remove Programs entry", "the entry still there")


CASES = {
    "zip": case_zip,
    "nsis": case_nsis,
}
