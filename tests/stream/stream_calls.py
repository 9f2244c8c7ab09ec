"""A frame's OpenGL calls, from whichever source gave them, and the check
that a real program's frame makes the calls the recording doubles give."""

import re
from dataclasses import dataclass

# Each number of a real call within this of the recorded one, relative to
# the recorded number's size where that is above 1, absolute below: the
# traces print floats to 7 significant digits (apitrace) or 6 decimals
# (Wine), and the Windows and browser C libraries may round a last bit of a
# sine or a square root differently.
TOLERANCE = 1e-5

# What each argument of the program's calls is, in order: "i" an integer
# or enumerant, compared exactly; "f" a number, within TOLERANCE; "l" a
# display list, compared exactly as its distance from the first list the
# OpenGL gave; "p" a pointer, which no source shows. A call not named here
# has numbers only.
SIGNATURES = {
    "glBegin": "i", "glEnd": "", "glVertex3f": "fff", "glColor3f": "fff",
    "glColor4f": "ffff", "glLineWidth": "f", "glEnable": "i", "glDisable": "i",
    "glPolygonMode": "ii", "glClearColor": "ffff", "glClear": "i", "glMatrixMode": "i",
    "glLoadIdentity": "", "glFrustum": "ffffff", "glOrtho": "ffffff", "glTranslatef": "fff",
    "glRotatef": "ffff", "glViewport": "iiii", "glBlendFunc": "ii", "glFinish": "",
    "glRasterPos2f": "ff", "glListBase": "l", "glCallLists": "iip", "glGenLists": "i",
    "glBitmap": "iiffffp",
}
GL_LINES = 1
# Queries change nothing; a layer's font build and its own checks make them.
QUERIES = ("glGet", "glIs", "glAre")
# What the counter draws: "FPS" and the frames of the last second.
COUNTER_TEXT = re.compile(rb"FPS -?\d+")
COUNTER_LENGTHS = range(len("FPS 0"), len("FPS -2147483648") + 1)


def kinds(name, count):
    """The kinds of a call's `count` shown arguments (pointers left out)."""
    shown = SIGNATURES.get(name, "f" * count).replace("p", "")
    return shown if len(shown) == count else "f" * count


@dataclass(frozen=True)
class GlCall:
    name: str
    args: tuple = ()
    text: bytes | None = None       # the bytes it passed, where the source shows them
    first_list: int | None = None   # glGenLists: the list the OpenGL gave, where shown

    def call(self):
        """Itself: a call already read serves where a Pending one does."""
        return self

    def __str__(self):
        shown = [f"{a:g}" if isinstance(a, float) else str(a) for a in self.args]
        if self.text is not None:
            shown.append(repr(self.text)[1:])
        result = "" if self.first_list is None else f" = {self.first_list}"
        return f"{self.name}({', '.join(shown)}){result}"


class Pending:
    """A call read no further than its name, its line parsed only if its
    frame is compared: most frames of a run are passed over."""

    __slots__ = ("name", "line", "parse")

    def __init__(self, name, line, parse):
        self.name = name
        self.line = line
        self.parse = parse

    def call(self):
        return self.parse(self.line)


class Swap:
    """Where a source shows the frame's swap."""


SWAP = Swap()


class StreamError(Exception):
    """A source that cannot be read as a stream, saying where and why."""


def program_calls(calls):
    """The calls the program made: without queries and without display
    lists compiled (glNewList to glEndList), which only the layers' font
    builds make."""
    kept, compiling = [], False
    for call in calls:
        if call.name == "glNewList":
            compiling = True
        elif call.name == "glEndList":
            compiling = False
        elif not compiling and not call.name.startswith(QUERIES):
            kept.append(call)
    return kept


class Run:
    """What a run's source shows: its first frame, the first later frame
    that `wanted` takes, each the program's calls up to its swap, and the
    first display list its OpenGL gave. Reading stops at that later frame;
    calls after the last swap make no frame."""

    def __init__(self, items, wanted):
        self.first = self.later = None
        self.later_number = None  # the later frame's number, from 1
        frames_read = 0
        calls = []
        for item in items:
            if item is not SWAP:
                calls.append(item)
                continue
            frame, calls = program_calls(calls), []
            frames_read += 1
            if self.first is None:
                self.first = [call.call() for call in frame]
            elif wanted(frame):
                self.later = [call.call() for call in frame]
                self.later_number = frames_read
                break
        self.frames_read = frames_read
        self.first_list = first_list(self.first or [])


def first_list(frame):
    """The first display list the frame's first glGenLists gave, if shown."""
    lists = [call.first_list for call in frame if call.name == "glGenLists"]
    return lists[0] if lists else None


def close(real, recorded):
    return abs(real - recorded) <= TOLERANCE * max(1.0, abs(recorded))


def list_offset(name, first_list):
    """A display list's distance from the first list, as the 32-bit
    unsigned arithmetic of OpenGL has it."""
    return (name - first_list + 2**31) % 2**32 - 2**31


class Frames:
    """A recorded frame and a real one, with the first list each OpenGL gave."""

    def __init__(self, recorded, real, recorded_first_list, real_first_list):
        self.recorded = recorded
        self.real = real
        self.first_lists = (recorded_first_list, real_first_list)

    def argument_difference(self, index, kind, recorded, real):
        """What is wrong with argument `index` of a real call, or None."""
        if kind == "l":
            if None in self.first_lists:
                return f"argument {index}: a display list, with no first list known"
            recorded = list_offset(recorded, self.first_lists[0])
            real = list_offset(real, self.first_lists[1])
            same = recorded == real
        elif kind == "i":
            same = recorded == real
        else:
            same = (isinstance(real, (int, float)) and isinstance(recorded, (int, float))
                    and close(real, recorded))
        return None if same else f"argument {index}: {real} where {recorded} was recorded"

    def call_difference(self, recorded, real):
        """What is wrong with a real call of the recorded name, or None."""
        if len(real.args) != len(recorded.args):
            return f"{len(real.args)} arguments where {len(recorded.args)} were recorded"
        for index, (kind, want, got) in enumerate(
                zip(kinds(recorded.name, len(recorded.args)), recorded.args, real.args)):
            problem = self.argument_difference(index, kind, want, got)
            if problem:
                return problem
        if None not in (real.text, recorded.text) and real.text != recorded.text:
            return f"text {real.text!r} where {recorded.text!r} was recorded"
        return None

    def first_difference(self, later=False):
        """None when the real frame makes the recorded calls; else the first
        call that differs, its index and both calls. In a later frame the
        plants' vertices (in glBegin(GL_LINES) pairs) sway with a time only
        the real program knew, and the counter shows its own count: there
        the vertices are compared by name, and the counter's glCallLists
        by its type and its text being a counter's."""
        in_lines = False
        for index, (recorded, real) in enumerate(zip(self.recorded, self.real)):
            if real.name != recorded.name:
                problem = f"{real.name} where {recorded.name} was recorded"
            elif later and in_lines and recorded.name == "glVertex3f":
                problem = None  # a plant's vertex
            elif later and recorded.name == "glCallLists":
                problem = counter_difference(recorded, real)
            else:
                problem = self.call_difference(recorded, real)
            if problem:
                return (f"call {index} differs: {problem}\n"
                        f"  recorded: {recorded}\n  real:     {real}")
            if recorded.name == "glBegin":
                in_lines = recorded.args == (GL_LINES,)
        if len(self.real) != len(self.recorded):
            index = min(len(self.real), len(self.recorded))
            shown = [str(calls[index]) if index < len(calls) else "the end of the frame"
                     for calls in (self.recorded, self.real)]
            return (f"call {index} differs: the real frame has {len(self.real)} calls, the "
                    f"recorded one {len(self.recorded)}\n"
                    f"  recorded: {shown[0]}\n  real:     {shown[1]}")
        return None


def counter_difference(recorded, real):
    """A real counter's glCallLists against the recorded one: the same type,
    and a counter's text of the length it draws."""
    if len(real.args) != 2 or len(recorded.args) != 2:
        return "not a count and a type"
    count, kind = real.args
    if kind != recorded.args[1]:
        return f"type {kind} where {recorded.args[1]} was recorded"
    if real.text is None:
        return None if count in COUNTER_LENGTHS else f"{count} characters: no counter's text"
    if not COUNTER_TEXT.fullmatch(real.text) or count != len(real.text):
        return f"{count} characters {real.text!r}: no counter's text"
    return None
