"""The calls of a Windows program under Wine, from the log of
WINEDEBUG=-all,trace+opengl,trace+wgl:

    0024:trace:opengl:glGenLists range 96
    0024:trace:opengl:wglUseFontBitmaps_common Glyph:  32 / List: 1 size 0
    0024:trace:opengl:glVertex3f x 0.000000, y 1.000000, z 0.000000
    0024:trace:opengl:glCallLists n 5, type 5121, lists 0066F4B0
    0024:trace:wgl:glxdrv_wglSwapBuffers (0x20010045)

opengl32 logs each OpenGL call it passes on, enumerants as decimal
numbers and pointers as addresses, and no return values; its driver logs
each swap. What glGenLists gave shows as the first list of the font
wglUseFontBitmaps builds from it."""

import re
from dataclasses import replace

from stream_calls import SIGNATURES, SWAP, GlCall, Pending, StreamError

CALL = re.compile(r"[0-9a-f]+:trace:opengl:(?P<name>gl[A-Z]\w*) ?(?P<args>.*)")
CALL_NAME = re.compile(r"[0-9a-f]+:trace:opengl:(?P<name>gl[A-Z]\w*)")
SWAP_LINE = re.compile(r"[0-9a-f]+:trace:wgl:glxdrv_wglSwapBuffers\b.*")
FONT_LIST = re.compile(r"[0-9a-f]+:trace:opengl:wglUseFontBitmaps_common Glyph: *\d+ / "
                       r"List: (?P<list>\d+)\b.*")
INTEGER = re.compile(r"-?\d+")
FLOAT = re.compile(r"-?(\d+\.\d*|inf|nan)", re.IGNORECASE)
# Wine's wglUseFontBitmaps sets the unpacking alignment its bitmaps need
# and puts it back (GL_UNPACK_ALIGNMENT, 3317): its own calls, not the
# program's.
UNPACK_ALIGNMENT = 3317


def values(name, args):
    """The arguments of a call's "name value, name value" text: numbers,
    the pointers of its signature left out. A call of no known signature
    keeps what is no number (an address) as its text."""
    pairs = [pair.split(" ", 1) for pair in args.split(", ")] if args else []
    if any(len(pair) != 2 for pair in pairs):
        raise StreamError(f"no name value pairs: {args!r}")
    signature = SIGNATURES.get(name)
    known = signature is not None and len(signature) == len(pairs)
    shown = []
    for index, (_, value) in enumerate(pairs):
        if known and signature[index] == "p":
            continue
        if INTEGER.fullmatch(value):
            shown.append(int(value))
        elif FLOAT.fullmatch(value):
            shown.append(float(value))
        elif not known:
            shown.append(value)
        else:
            raise StreamError(f"{value!r} is no number in {args!r}")
    return tuple(shown)


def parse_call(line):
    """The call of a log's line of an OpenGL call."""
    match = CALL.fullmatch(line)
    return GlCall(match["name"], values(match["name"], match["args"]))


def is_wine_own(name, line):
    return name == "glPixelStorei" and parse_call(line).args[:1] == (UNPACK_ALIGNMENT,)


def parse_lines(lines):
    """The OpenGL calls (each parsed when needed) and the swaps of a Wine
    log's lines, in order."""
    held = []  # glGenLists and the calls after it, until the font's first list shows
    for line in lines:
        line = line.rstrip("\n")
        if ":trace:" not in line:
            continue
        font_list = FONT_LIST.fullmatch(line)
        if font_list and held:
            held[0] = replace(held[0], first_list=int(font_list["list"]))
        if font_list or SWAP_LINE.fullmatch(line):
            yield from held
            held = []
            if not font_list:
                yield SWAP
            continue
        match = CALL_NAME.match(line)
        if not match or is_wine_own(match["name"], line):
            continue
        if match["name"] == "glGenLists":
            yield from held
            held = [parse_call(line)]
        else:
            call = Pending(match["name"], line, parse_call)
            if held:
                held.append(call)
            else:
                yield call
