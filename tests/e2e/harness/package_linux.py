"""The Debian package and the tarball: checked by Debian's own tools, then
unpacked and run as installed."""

import configparser
import gzip
import os
import re
import tarfile
import tempfile
import xml.etree.ElementTree as ElementTree

from PIL import Image

from .checks import check
from .desktop import Desktop
from .packages import (APP_ID, ICON_SIZES, check_same_files, check_same_text, files_under,
                       linux_files, run_tool)
from .picture import Picture
from .runners import NativeRunner
from .scene_checks import check_scene
from .program import show_and_close

# Seconds quenn runs before its picture is taken: the second plant is there.
RUN_SECONDS = 2.0


def case_lintian(ctx):
    deb = ctx.packages.need(ctx.packages.deb)
    # With --fail-on warning, lintian ends with 2 when it reports an error or
    # a warning; the failure then shows its report. Every tag, down to the
    # pedantic ones, is printed either way.
    report = run_tool(["lintian", "--fail-on", "warning", "--display-info", "--pedantic", deb],
                      "lintian: no errors or warnings", timeout=300)
    print(report or "lintian: no tags")
    fields = {name: run_tool(["dpkg-deb", "-f", deb, name], "dpkg-deb -f").strip()
              for name in ("Package", "Version", "Section", "Depends")}
    print(fields)
    check(fields["Section"] == "graphics", "Section", "graphics", fields["Section"])
    check(fields["Version"] == ctx.packages.version, "Version", ctx.packages.version,
          fields["Version"])
    # dpkg-shlibdeps finds what the programs link.
    for library in ("libc6", "libx11-6"):
        check(re.search(rf"\b{library}\b", fields["Depends"]), "Depends",
              f"{library}, from the programs' libraries", fields["Depends"])


def check_desktop_entry(path):
    run_tool(["desktop-file-validate", path], "desktop-file-validate")
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(path)
    main = entry["Desktop Entry"]
    check(main.get("Categories") == "Graphics;", "Categories", "Graphics;",
          main.get("Categories"))
    check(main.get("Icon") == APP_ID, "Icon", APP_ID, main.get("Icon"))
    execs = sorted(section["Exec"] for section in entry.values() if "Exec" in section)
    check(execs == ["quenn", "quenn-fast"], "Exec", "quenn, and quenn-fast as an action",
          repr(execs))


def check_metainfo(path, version):
    run_tool(["appstreamcli", "validate", "--no-net", path], "appstreamcli validate")
    root = ElementTree.parse(path).getroot()
    check(root.findtext("id") == APP_ID, "metadata id", APP_ID, root.findtext("id"))
    releases = [r.get("version") for r in root.iter("release")]
    check(releases[:1] == [version], "metadata release", version, repr(releases))
    check(root.find("screenshots/screenshot/image") is not None, "metadata screenshot",
          "a screenshot's image", "none")


def check_icons(share):
    for size in ICON_SIZES:
        path = os.path.join(share, "icons/hicolor", f"{size}x{size}", "apps", f"{APP_ID}.png")
        with Image.open(path) as icon:
            check(icon.format == "PNG" and icon.size == (size, size), f"icon {size}",
                  f"a {size}x{size} PNG", f"{icon.format} {icon.size}")


def check_manual(share, version):
    page = os.path.join(share, "man/man6/quenn.6.gz")
    with gzip.open(page, "rt") as text:
        heading = text.readline()
    check(heading.startswith(".TH QUENN 6 ") and f"quenn {version}" in heading,
          "man page heading", f"section 6, quenn {version}", heading.strip())
    link = os.path.join(share, "man/man6/quenn-fast.6.gz")
    check(os.readlink(link) == "quenn.6.gz", "quenn-fast's man page", "a link to quenn's",
          os.readlink(link) if os.path.islink(link) else "not a link")
    rendered = run_tool(["man", "-l", page], "man -l", env=dict(os.environ, MANWIDTH="80"))
    for section in ("EXIT STATUS", "USAGE", "OPTIONS"):
        check(section in rendered, "man page", f"a section {section}", rendered[:400])


def case_deb(ctx):
    deb = ctx.packages.need(ctx.packages.deb)
    with tempfile.TemporaryDirectory(prefix="quenn-deb-") as root:
        run_tool(["dpkg-deb", "-x", deb, root], "dpkg-deb -x")
        usr = os.path.join(root, "usr")
        check_same_files("the .deb's files", linux_files(), files_under(usr))
        share = os.path.join(usr, "share")
        check_desktop_entry(os.path.join(share, "applications", f"{APP_ID}.desktop"))
        check_metainfo(os.path.join(share, "metainfo", f"{APP_ID}.metainfo.xml"),
                       ctx.packages.version)
        check_icons(share)
        check_manual(share, ctx.packages.version)
        check_same_text(os.path.join(share, "doc", "quenn", "README.md"),
                        os.path.join(ctx.source_dir, "README.md"))
        with Desktop(ctx.log_dir, ctx.shots) as desktop:
            image = show_and_close(desktop, NativeRunner(), os.path.join(usr, "bin", "quenn"),
                                   RUN_SECONDS)
        ctx.shots["installed"] = image
        check_scene(Picture(image), "quenn from the .deb")


def case_tarball(ctx):
    tarball = ctx.packages.need(ctx.packages.tarball)
    top = os.path.basename(tarball)[:-len(".tar.gz")]
    with tarfile.open(tarball) as archive:
        members = {m.name for m in archive.getmembers() if not m.isdir()}
        modes = {m.name: m.mode for m in archive.getmembers() if m.name.endswith("/bin/quenn")}
    check_same_files("the tarball's files", {f"{top}/{path}" for path in linux_files()}, members)
    check(all(mode & 0o111 for mode in modes.values()), "bin/quenn in the tarball",
          "executable", repr(modes))


CASES = {
    "lintian": case_lintian,
    "deb": case_deb,
    "tarball": case_tarball,
}
