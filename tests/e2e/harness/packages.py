"""What the package cases share: where the packages are, what a Linux
install holds, and running the distributions' tools on them."""

import os
import subprocess

from .checks import CheckFailed, check

APP_ID = "org.quenn.Quenn"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
PROGRAMS = ("quenn", "quenn-fast")


class WindowsBuild:
    """One width of the Windows packages: its zip, its installer, and the
    objdump and object format that read its programs."""

    def __init__(self, directory, version, bits, tools, object_format):
        self.bits = bits
        self.zip = os.path.join(directory, f"quenn-{version}-win{bits}.zip")
        self.installer = os.path.join(directory, f"quenn-{version}-win{bits}-setup.exe")
        self.objdump = f"{tools}-w64-mingw32-objdump"
        self.object_format = object_format


class Packages:
    """The packages of one version in scripts/package's output folder: the
    Linux ones, and the Windows ones of the 32- and the 64-bit build."""

    def __init__(self, directory, version):
        self.directory = directory
        self.version = version
        arch = run_tool(["dpkg", "--print-architecture"], "dpkg").strip()
        machine = os.uname().machine
        self.deb = os.path.join(directory, f"quenn_{version}_{arch}.deb")
        self.tarball = os.path.join(directory, f"quenn-{version}-linux-{machine}.tar.gz")
        self.windows = {bits: WindowsBuild(directory, version, bits, tools, object_format)
                        for bits, tools, object_format in ((32, "i686", "pei-i386"),
                                                           (64, "x86_64", "pei-x86-64"))}

    def need(self, path):
        if not os.path.isfile(path):
            folder = self.directory
            held = sorted(os.listdir(folder)) if os.path.isdir(folder) else "nothing"
            raise CheckFailed("package", f"{path}, built by scripts/package",
                              f"no such file; {folder} holds {held}")
        return path


def linux_files(doc_dir="share/doc/quenn"):
    """Every file of the Linux install, relative to its prefix."""
    files = {f"bin/{program}" for program in PROGRAMS}
    files |= {f"share/man/man6/{program}.6.gz" for program in PROGRAMS}
    files |= {f"share/applications/{APP_ID}.desktop", f"share/metainfo/{APP_ID}.metainfo.xml"}
    files |= {f"share/icons/hicolor/{n}x{n}/apps/{APP_ID}.png" for n in ICON_SIZES}
    files |= {f"{doc_dir}/{name}" for name in ("README.md", "copyright", "changelog.gz")}
    return files


def files_under(root):
    """Paths of the files and symbolic links under `root`, relative to it;
    none where there is no `root`."""
    found = set()
    for directory, _, names in os.walk(root):
        for name in names:
            found.add(os.path.relpath(os.path.join(directory, name), root))
    return found


def check_same_files(what, expected, seen):
    if expected != seen:
        raise CheckFailed(what, "exactly the install's files",
                          f"missing {sorted(expected - seen)}, extra {sorted(seen - expected)}")


def check_same_text(packaged, source):
    """A packaged document is the repository's, as it is now."""
    with open(packaged, "rb") as got, open(source, "rb") as want:
        check(got.read() == want.read(), os.path.basename(packaged),
              f"the same as {source}", "other text: are the packages older than the source?")


def run_tool(argv, what, env=None, timeout=120, accept=(0,), text=True):
    """Runs a tool to its end; returns its standard output (bytes unless
    `text`). Fails, with its output, when it ends with a code not in `accept`."""
    try:
        done = subprocess.run(argv, capture_output=True, text=text, env=env, timeout=timeout,
                              stdin=subprocess.DEVNULL, check=False)
    except FileNotFoundError:
        raise CheckFailed(what, f"{argv[0]} installed (scripts/setup)", "no such program")
    if done.returncode not in accept:
        raise CheckFailed(what, f"{' '.join(argv)} ending with {accept[0]}",
                          f"exit code {done.returncode}\n{done.stdout[-2000:]!s}"
                          f"{done.stderr[-2000:]!s}")
    return done.stdout
