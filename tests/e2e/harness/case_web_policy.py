"""The page under its own Content Security Policy: every page declares the
same policy before anything it loads, nothing the pages load carries inline
code or runs code made from strings, and a script or style slipped into a
page is refused by the page's declaration alone."""

import os
import re
import tempfile

from .browser import declared_policy, is_policy, read_page
from .checks import check
from .page import PAGES, browser, describe_violation, open_drawn, page_dir, rebuild
from .scene_checks import check_scene

# Every page of the build, bench.html too.
ALL_PAGES = ["index.html", "fast.html", "bench.html"]
# Elements that load or run something, which the policy must precede.
LOADING = {"script", "link", "style", "img", "iframe", "object", "embed"}
# Code from strings: eval, the Function constructor, and timers given text.
CODE_FROM_TEXT = re.compile(r"(?<![\w$.])(eval|Function)\s*\(|\bnew\s+Function\b|"
                            r"\bset(Timeout|Interval)\s*\(\s*['\"`]")
# What an injection slips into a copy of index.html, before its own script.
INJECTED = ("<script>document.documentElement.dataset.injected = 'ran';</script>\n"
            "<style>h1 { letter-spacing: 7px; }</style>\n")
INJECTED_EFFECTS = """
return {script: document.documentElement.dataset.injected || null,
        style: getComputedStyle(document.querySelector('h1')).letterSpacing};
"""


def check_pages_declare(directory, policy):
    """Each page: the one policy, before the first element that loads
    anything, and no inline code."""
    for name in ALL_PAGES:
        page = read_page(directory, name)
        check(declared_policy(directory, name) == policy, f"{name}'s policy",
              f"index.html's: {policy!r}", repr(declared_policy(directory, name)))
        position = next(i for i, element in enumerate(page.elements) if is_policy(element))
        loading = [tag for tag, _ in page.elements[:position] if tag in LOADING]
        check(not loading, f"{name}'s policy", "declared before anything the page loads",
              f"after {loading}")
        check(not page.inline_code, f"{name}", "no inline script, style or handler",
              "; ".join(page.inline_code))


def check_no_code_from_text(directory, files):
    """The scripts of `files`, the service worker and the bench's timer."""
    scripts = [name for name in files if name.endswith(".js")]
    for name in scripts + ["service-worker.js", "web_frame_timer.js"]:
        with open(os.path.join(directory, name)) as source:
            found = [match.group(0) for match in CODE_FROM_TEXT.finditer(source.read())]
        check(not found, f"{name}", "no eval, Function or timer given text", f"{found}")


def inject(directory):
    path = os.path.join(directory, PAGES["quenn"])
    with open(path) as source:
        text = source.read()
    own_script = text.index('<script src="start.js"')
    with open(path, "w") as page:
        page.write(text[:own_script] + INJECTED + text[own_script:])


def case_web_policy(ctx):
    built = page_dir(ctx)
    policy = declared_policy(built)
    check(policy, "index.html", "one Content Security Policy declared", "none")
    check_pages_declare(built, policy)
    with tempfile.TemporaryDirectory() as injected, \
            browser(ctx, policy_header=False) as page:
        files = rebuild(ctx, injected, before_worker=inject)
        check_no_code_from_text(built, files)
        page.serve(injected)
        picture = open_drawn(page, "quenn", "with an injected script")
        check_scene(picture, "the page with an injected script")
        effects = page.script(INJECTED_EFFECTS)
        check(effects == {"script": None, "style": "normal"}, "the injected script and style",
              "neither applied", f"{effects}")
        found = page.violations()
        directives = sorted(v["directive"].split("-")[0] for v in found
                            if v["blocked"] == "inline")
        check(directives == ["script", "style"] and len(found) == 2,
              "the policy's violations", "the injected script's and style's, refused inline",
              "; ".join(describe_violation(v) for v in found) or "none")


CASES = {
    "policy": case_web_policy,
}
