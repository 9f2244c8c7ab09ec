"""Which errors of a valgrind memcheck XML report are the program's own.

Mesa and Xlib leak and read uninitialised memory of their own, reached from
the program's calls, so a stack merely passing through the program proves
nothing. An error is the program's when, skipping valgrind's replacements and
the C and C++ runtimes, the innermost frame of its stack is in a source file
of this repository, or the memory involved was allocated (or left
uninitialised) there: so a bad pointer or an uninitialised value that the
program hands to OpenGL still counts."""

import os
import xml.etree.ElementTree as ElementTree

# Leaks other than these are not faults: the program keeps its objects until exit.
COUNTED_LEAKS = {"Leak_DefinitelyLost"}
_RUNTIME_OBJECTS = ("libc.so", "libstdc++.so", "libgcc_s.so", "libm.so", "ld-linux")


class Frame:
    def __init__(self, element):
        self.function = element.findtext("fn") or "?"
        self.obj = element.findtext("obj") or ""
        directory, name = element.findtext("dir"), element.findtext("file")
        self.path = os.path.join(directory, name) if directory and name else None
        self.line = element.findtext("line")

    def is_runtime(self):
        """valgrind's own replacements (malloc, memcpy), libc, the C++ library."""
        base = os.path.basename(self.obj)
        return ("/valgrind/" in self.obj or base.startswith(_RUNTIME_OBJECTS) or
                (self.path is not None and self.path.startswith("/usr/include/")))

    def __str__(self):
        where = f"{self.path}:{self.line}" if self.path else self.obj
        return f"{self.function} ({where})"


class Error:
    def __init__(self, element):
        self.kind = element.findtext("kind")
        self.what = element.findtext("what") or element.findtext("xwhat/text") or ""
        # The first stack is where it happened; any further one is where the
        # memory was allocated or the uninitialised value created.
        self.stacks = [[Frame(frame) for frame in stack.iter("frame")]
                       for stack in element.findall("stack")]

    def is_own(self, source_dir):
        if self.kind.startswith("Leak_") and self.kind not in COUNTED_LEAKS:
            return False
        return any(_deciding_frame_is_own(stack, source_dir) for stack in self.stacks)

    def __str__(self):
        frames = "\n".join(f"      {frame}" for frame in (self.stacks[0] if self.stacks else []))
        return f"{self.kind}: {self.what}\n{frames}"


def _deciding_frame_is_own(stack, source_dir):
    root = os.path.realpath(source_dir) + os.sep
    for frame in stack:
        if frame.is_runtime():
            continue
        return frame.path is not None and os.path.realpath(frame.path).startswith(root)
    return False


def read_errors(xml_path):
    """Every error in the report; the report must be complete."""
    root = ElementTree.parse(xml_path).getroot()
    return [Error(element) for element in root.findall("error")]


def own_errors(xml_path, source_dir):
    return [error for error in read_errors(xml_path) if error.is_own(source_dir)]
