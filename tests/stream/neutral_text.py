"""The neutral text of a frame's calls, as record_stream prints them and the
page's recording build hands them over (tests/stream/stream_text.h):

    glVertex3f 0 1 0
    glGenLists 96 = 1000
    glCallLists 5 5121 "FPS 0"
"""

import re

from stream_calls import GlCall, StreamError

LINE = re.compile(r'(?P<name>gl[A-Z]\w*)(?P<args>(?: \S+)*?)(?: = (?P<list>\d+))?'
                  r'(?: "(?P<text>(?:[^"\\]|\\x[0-9A-F]{2})*)")?')
ESCAPE = re.compile(r"\\x([0-9A-F]{2})")


def to_number(token):
    if re.fullmatch(r"-?\d+", token):
        return int(token)
    try:
        return float(token)
    except ValueError:
        raise StreamError(f"{token!r} is no number") from None


def unquoted(text):
    return ESCAPE.sub(lambda m: chr(int(m.group(1), 16)), text).encode("latin-1")


def parse_line(line):
    """One line's call; StreamError for a line that is none."""
    match = LINE.fullmatch(line)
    if not match:
        raise StreamError(f"no call: {line!r}")
    try:
        args = tuple(to_number(token) for token in match["args"].split())
    except StreamError as problem:
        raise StreamError(f"{problem} in {line!r}") from None
    first_list = None if match["list"] is None else int(match["list"])
    text = None if match["text"] is None else unquoted(match["text"])
    return GlCall(match["name"], args, text, first_list)


def parse_frame(text):
    """The calls of a frame's text, one a line."""
    calls = []
    for line_number, line in enumerate(text.splitlines(), 1):
        try:
            calls.append(parse_line(line))
        except StreamError as problem:
            raise StreamError(f"line {line_number}: {problem}") from None
    return calls
