"""The page in a browser as the cases open it: its server and policy, its
first drawn picture, its grid against the native program's, its files as a
rebuild writes them, and axe-core's rules."""

import contextlib
import os
import re
import shutil
import subprocess
import time

from .browser import declared_policy
from .checks import CheckFailed, check, wait_for
from .engines import ENGINES
from .picture import GRID
from .program import MESSAGE, move_in_steps, start_drawn
from .watch import is_drawn

PAGES = {"quenn": "index.html", "quenn-fast": "fast.html"}
# Compiling the program, then its first frame, in software.
PAGE_START = 3.0
# Where the drag starts, in canvas pixels, and the moves the checks make:
# 30 right and 10 down turn the camera from yaw 20, pitch 45 to -10, 55;
# 45 down reaches pitch 90, 100 down would pass it.
DRAG_START = (256 // 3, 256 // 2)
TURNED = (30, 10)
# Two renderers rasterise an edge a pixel apart here and there.
NEAR = 1
MOST_MISPLACED = 0.1


def page_dir(ctx):
    return os.path.join(ctx.source_dir, "build", "web")


@contextlib.contextmanager
def browser(ctx, policy_header=True, **options):
    """The case's browser, of the engine the context names, with Page's
    `options` (webgl, reduced_motion, app). Its server sends the policy the
    page declares as a header too, as a strict host does, unless told not to.
    A case that passes has left no error or promise rejection unhandled,
    the program's exit included."""
    directory = page_dir(ctx)
    policy = declared_policy(directory) if policy_header else None
    check(policy or not policy_header, "index.html", "one Content Security Policy declared in "
          "a <meta http-equiv>", "none, or more than one")
    with ENGINES[ctx.engine](directory, ctx.log_dir, ctx.shots, policy=policy, **options) as page:
        yield page
        found = page.unhandled()
        check(not found, "the pages' scripts", "no error or rejection left unhandled",
              "; ".join(found))


def describe_violation(violation):
    return (f"{violation['directive']} blocked {violation['blocked'] or '?'} at "
            f"{violation['at']} on {violation['page']} ({violation['sample'] or 'no sample'})")


def check_policy_kept(page, state):
    """No policy violation since the first page of the case loaded."""
    found = page.violations()
    check(not found, f"the page's Content Security Policy {state}",
          "no securitypolicyviolation event since its first script",
          "; ".join(describe_violation(v) for v in found))


def open_drawn(page, name, label, preload=None):
    """Opens a page (running `preload` first) and starts its program once
    the page can be watched; the first drawn picture, which must come soon."""
    page.open(PAGES[name], held=True, preload=preload)
    page.shoot("before the start")
    page.start_program()
    shown = time.monotonic()
    picture = page.wait_picture(label, is_drawn)
    delay = time.monotonic() - shown
    check(delay < PAGE_START, f"first picture of {label}",
          f"a drawn frame within {PAGE_START:g} s of the program's start", f"after {delay:.2f} s")
    return picture


def check_failure_box(page, what, while_open=None):
    """The program's one box saying it has no OpenGL context, the program
    waiting while it shows (when `while_open` runs), and exit code 1 once
    its OK button is pressed."""
    texts = wait_for(f"{what}: error dialog", "one open dialog",
                     lambda: (len(seen := page.dialog_texts()) == 1, seen), 10.0)
    check(MESSAGE in texts[0], f"{what}: the dialog", f"the text {MESSAGE!r}", repr(texts[0]))
    check(page.exit_code() is None, f"{what}: while the dialog shows", "the program waiting",
          f"exit code {page.exit_code()}")
    if while_open:
        while_open()
    page.click_dialog_button()
    code = page.wait_exit(5.0)
    check(code == 1, f"{what}: exit code", "1", str(code))
    check(not page.dialog_texts(), f"{what}: after the button", "no dialog left",
          f"{len(page.dialog_texts())}")


def misplaced(picture, reference):
    """The share of `picture`'s grid pixels with no grid pixel of
    `reference` within NEAR pixels."""
    ours = picture.positions({GRID})
    theirs = reference.positions({GRID})
    if not ours:
        return 1.0
    far = sum(1 for x, y in ours
              if not any((x + dx, y + dy) in theirs
                         for dx in range(-NEAR, NEAR + 1) for dy in range(-NEAR, NEAR + 1)))
    return far / len(ours)


def check_grid_like(picture, reference, what):
    """The grid where the reference shows it: few pixels of either apart
    from the other's."""
    apart = max(misplaced(picture, reference), misplaced(reference, picture))
    check(apart <= MOST_MISPLACED, f"{what}: grid", "where the native program draws it "
          f"(at most {MOST_MISPLACED:.0%} of grid pixels over {NEAR} pixel from its grid)",
          f"{apart:.1%} apart; page {picture.count({GRID})} grid pixels, native "
          f"{reference.count({GRID})}")


def native_pictures(ctx, moves):
    """The native program's picture at the start and after each drag move
    (from DRAG_START, the button held throughout)."""
    pictures = []
    with ctx.desktop() as desktop:
        _, window, first = start_drawn(ctx, desktop, "native")
        pictures.append(first)
        client = desktop.client
        x, y, _, _ = client.geometry(window)
        start = (x + DRAG_START[0], y + DRAG_START[1])
        client.move_pointer(*start)
        client.press_button()
        at = start
        for number, (dx, dy) in enumerate(moves):
            to = (start[0] + dx, start[1] + dy)
            move_in_steps(client, at, to)
            at = to
            time.sleep(0.3)  # a frame or two
            pictures.append(desktop.shoot(window, f"native move {number}"))
        client.release_button()
    return pictures


def build_version(ctx):
    """The version the web build was configured with."""
    with open(os.path.join(page_dir(ctx), "CMakeCache.txt")) as cache:
        found = re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.*)$", cache.read(), re.M)
    if not found:
        raise CheckFailed("the web build's version", "CMAKE_PROJECT_VERSION in CMakeCache.txt",
                          "none")
    return found.group(1)


def worker_listing(text):
    """The files a service worker's text keeps: name -> SHA-256, in order."""
    return dict(re.findall(r"^  '([^']+)': '([0-9a-f]{64})',$", text, re.M))


def write_worker(source_dir, directory, version, files):
    """Runs the build's script that writes the service worker of `files` in
    `directory`; its completed process."""
    web = os.path.join(source_dir, "packaging", "web")
    return subprocess.run(["cmake", f"-DTEMPLATE={web}/service_worker.js.in",
                           f"-DOUTPUT={directory}/service-worker.js", f"-DDIR={directory}",
                           f"-DVERSION={version}", "-DFILES=" + ";".join(files),
                           "-P", f"{web}/service_worker.cmake"], capture_output=True, text=True)


def rebuild(ctx, directory, after_worker=None, before_worker=None):
    """The page's files as a rebuild writes them into `directory`: the
    build's own, changed by `before_worker(directory)`, with a service
    worker written by the build's own script for them; `after_worker`
    changes them after it, as a host halfway through replacing them."""
    built = page_dir(ctx)
    with open(os.path.join(built, "service-worker.js")) as worker:
        files = list(worker_listing(worker.read()))
    check(files, "build/web/service-worker.js", "the files it keeps", "none listed")
    for name in files:
        shutil.copy(os.path.join(built, name), directory)
    if before_worker:
        before_worker(directory)
    write_worker(ctx.source_dir, directory, build_version(ctx), files).check_returncode()
    if after_worker:
        after_worker(directory)
    return files


# axe-core's rules, by the tags of the levels and practices the page keeps.
AXE_CORE = os.path.join("build", "node", "node_modules", "axe-core", "axe.min.js")
AXE_TAGS = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa", "best-practice"]
# axe-core into the page, run as the driver's own script: the page's policy
# refuses it as an inline script.
LOAD_AXE = "\n;return typeof axe === 'object';"
RUN_AXE = """
return axe.run(document, {runOnly: {type: 'tag', values: arguments[0]},
                          resultTypes: ['violations']}).then(function(results) {
  return results.violations.map(function(violation) {
    return {id: violation.id, help: violation.help, nodes: violation.nodes.map(function(node) {
      return node.target.join(' ');
    })};
  });
});
"""


def check_no_violations(ctx, page, state):
    """No violation of axe-core's rules on the page, in `state`."""
    path = os.path.join(ctx.source_dir, AXE_CORE)
    check(os.path.isfile(path), "axe-core", f"at {path} (scripts/setup installs it)", "missing")
    if not page.script("return typeof axe === 'object';"):
        with open(path) as source:
            check(page.script(source.read() + LOAD_AXE), "axe-core", "loaded into the page",
                  "no axe object")
    found = page.script(RUN_AXE, AXE_TAGS)
    check(not found, f"axe-core's rules ({', '.join(AXE_TAGS)}) {state}", "no violation",
          "; ".join(f"{v['id']} ({v['help']}) at {', '.join(v['nodes'])}" for v in found))
