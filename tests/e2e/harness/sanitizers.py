"""Reports of AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer
in a program's stderr: a sanitized build says there what went wrong."""

import re

_REPORT_LINE = re.compile(
    r"^(?:==\d+==ERROR: \w+Sanitizer\b.*|.*: runtime error: .*|SUMMARY: \w+Sanitizer: .*)$",
    re.MULTILINE)


def sanitizer_findings(stderr):
    """The report lines in `stderr`: each error's headline and summary."""
    return _REPORT_LINE.findall(stderr)
