"""The calls of `apitrace dump` of a native program's trace, one a line:

    1297 glGenLists(range = 96) = 1
    1312 glBegin(mode = GL_LINES)
    1313 glVertex3f(x = 0, y = 1.996195, z = 0.08715574)
    63589 glCallLists(n = 5, type = GL_UNSIGNED_BYTE, lists = blob("blob_call63589.bin"))
    63591 glXSwapBuffers(dpy = 0x55de33119390, drawable = 2097154)

Enumerants come as their names, blobs as files (with --blobs) or as their
sizes; the GLX calls are the layer's own, and the calls apitrace adds
itself end in "// fake"."""

import functools
import os
import re
import subprocess

from stream_calls import SWAP, GlCall, Pending, StreamError

LINE = re.compile(r"(?P<number>\d+) (?P<name>\w+)\((?P<args>.*)\)(?: = (?P<result>.*?))?"
                  r"(?P<fake> // fake)?")
NUMBER = re.compile(r"-?(\d+\.?\d*|\.\d+)(e[-+]?\d+)?|-?(inf|nan)", re.IGNORECASE)
BLOB_FILE = re.compile(r'blob\("(?P<file>[^"]+)"\)')
POINTER = re.compile(r"NULL|0x[0-9a-f]+|blob\(\d+\)")
ENUMERANT = re.compile(r"GL_\w+")

# The values of the enumerants OpenGL 1.1 programs like this one pass.
ENUMERANTS = {
    "GL_FALSE": 0, "GL_TRUE": 1,
    "GL_POINTS": 0x0, "GL_LINES": 0x1, "GL_LINE_LOOP": 0x2, "GL_LINE_STRIP": 0x3,
    "GL_TRIANGLES": 0x4, "GL_TRIANGLE_STRIP": 0x5, "GL_TRIANGLE_FAN": 0x6, "GL_QUADS": 0x7,
    "GL_QUAD_STRIP": 0x8, "GL_POLYGON": 0x9,
    "GL_DEPTH_BUFFER_BIT": 0x100, "GL_STENCIL_BUFFER_BIT": 0x400,
    "GL_COLOR_BUFFER_BIT": 0x4000,
    "GL_ZERO": 0, "GL_ONE": 1, "GL_SRC_COLOR": 0x300, "GL_ONE_MINUS_SRC_COLOR": 0x301,
    "GL_SRC_ALPHA": 0x302, "GL_ONE_MINUS_SRC_ALPHA": 0x303, "GL_DST_ALPHA": 0x304,
    "GL_ONE_MINUS_DST_ALPHA": 0x305, "GL_DST_COLOR": 0x306, "GL_ONE_MINUS_DST_COLOR": 0x307,
    "GL_FRONT": 0x404, "GL_BACK": 0x405, "GL_FRONT_AND_BACK": 0x408,
    "GL_LINE_SMOOTH": 0xB20, "GL_CULL_FACE": 0xB44, "GL_LIGHTING": 0xB50,
    "GL_DEPTH_TEST": 0xB71, "GL_BLEND": 0xBE2, "GL_SCISSOR_TEST": 0xC11,
    "GL_TEXTURE_2D": 0xDE1,
    "GL_BYTE": 0x1400, "GL_UNSIGNED_BYTE": 0x1401, "GL_SHORT": 0x1402,
    "GL_UNSIGNED_SHORT": 0x1403, "GL_INT": 0x1404, "GL_UNSIGNED_INT": 0x1405,
    "GL_FLOAT": 0x1406,
    "GL_COMPILE": 0x1300, "GL_COMPILE_AND_EXECUTE": 0x1301,
    "GL_MODELVIEW": 0x1700, "GL_PROJECTION": 0x1701, "GL_TEXTURE": 0x1702,
    "GL_POINT": 0x1B00, "GL_LINE": 0x1B01, "GL_FILL": 0x1B02,
}


def split_arguments(text):
    """`a = 1, b = &{c = 2, d = 3}` as ["a = 1", "b = &{c = 2, d = 3}"]."""
    if not any(char in text for char in '({["'):
        return text.split(", ") if text else []
    parts, depth, quoted, start = [], 0, False, 0
    for index, char in enumerate(text):
        if char == '"' and (index == 0 or text[index - 1] != "\\"):
            quoted = not quoted
        elif not quoted and char in "({[":
            depth += 1
        elif not quoted and char in ")}]":
            depth -= 1
        elif not quoted and depth == 0 and text.startswith(", ", index):
            parts.append(text[start:index])
            start = index + 2
    if text:
        parts.append(text[start:])
    return parts


def enumerant_value(expression):
    """`GL_A | GL_B` as the value of both."""
    value = 0
    for name in expression.split(" | "):
        if name not in ENUMERANTS:
            raise StreamError(f"an enumerant this reader does not know: {name}")
        value |= ENUMERANTS[name]
    return value


def argument_value(value, blob_dir):
    """A number, bytes (a blob's, read from `blob_dir`), or None for a
    pointer whose bytes the dump does not show."""
    if NUMBER.fullmatch(value):
        number = float(value)
        return int(number) if re.fullmatch(r"-?\d+", value) else number
    if ENUMERANT.match(value):
        return enumerant_value(value)
    blob = BLOB_FILE.fullmatch(value)
    if blob:
        if blob_dir is None:
            raise StreamError(f"a blob in a file ({value}) with no folder to read it from")
        with open(os.path.join(blob_dir, blob["file"]), "rb") as contents:
            return contents.read()
    if POINTER.fullmatch(value):
        return None
    raise StreamError(f"an argument this reader cannot read: {value}")


def parse_call(line, blob_dir):
    """The call of a dump's line."""
    match = LINE.fullmatch(line)
    if not match:
        raise StreamError(f"no call: {line!r}")
    args, text = [], None
    try:
        for argument in split_arguments(match["args"]):
            _, equals, value = argument.partition(" = ")
            if not equals:
                raise StreamError(f"no name = value: {argument!r}")
            value = argument_value(value, blob_dir)
            if isinstance(value, bytes):
                text = value
            elif value is not None:
                args.append(value)
    except StreamError as problem:
        raise StreamError(f"call {match['number']}: {problem}") from None
    first_list = None
    if match["name"] == "glGenLists" and match["result"] is not None:
        first_list = int(match["result"])
    return GlCall(match["name"], tuple(args), text, first_list)


def parse_lines(lines, blob_dir=None):
    """The OpenGL calls (each parsed when needed) and the swaps of a dump's
    lines, in order; other lines (comments, the GLX calls but the swap,
    apitrace's own) are left out."""
    parse = functools.partial(parse_call, blob_dir=blob_dir)
    for line in lines:
        number, _, rest = line.rstrip("\n").partition(" ")
        name = rest[:rest.find("(")]
        if not number.isdigit() or not name or rest.endswith(" // fake"):
            continue
        if name == "glXSwapBuffers":
            yield SWAP
        elif name.startswith("gl") and not name.startswith("glX"):
            yield Pending(name, line.rstrip("\n"), parse)


class Dump:
    """`apitrace dump` of a trace as it runs, its blobs written to
    `blob_dir`; stopped when closed (contextlib.closing), however far it got."""

    def __init__(self, trace, blob_dir):
        self.blob_dir = blob_dir
        self.process = subprocess.Popen(
            ["apitrace", "dump", "--color=never", "--multiline=no", "--blobs",
             os.path.abspath(trace)],
            cwd=blob_dir, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)

    def items(self):
        return parse_lines(self.process.stdout, self.blob_dir)

    def close(self):
        self.process.kill()
        self.process.wait()
        self.process.stdout.close()
