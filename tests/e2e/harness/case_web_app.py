"""The page as an app: the manifest each page links and its icons; the
service worker, which keeps one build's files so that both pages run
without the server after one visit and a new build is taken up whole; and
the page as assistive technology gets it, by axe-core's rules."""

import hashlib
import json
import os
import re
import shutil
import tarfile
import tempfile
from urllib.parse import urljoin

from PIL import Image

from .browser import ScriptError
from .checks import CheckFailed, check, wait_for
from .page import (DRAG_START, PAGES, TURNED, browser, build_version, check_failure_box,
                   check_no_violations, check_policy_kept, open_drawn, page_dir, rebuild)
from .picture import GRID, grid_difference
from .program import MESSAGE
from .watch import is_drawn

# A first visit: the worker installs, fetching and checking every file of
# the pages, and takes over the page.
WORKER_TIMEOUT = 15.0
# A load after a rebuild: the page asks, the new worker installs and takes
# over, the page loads again. Chromium's first update after an install
# starts 2 to 4 s after it is asked for, here.
UPDATE_TIMEOUT = 30.0
# A name an icon's label shows whole.
SHORT_NAME = 12
# What the rebuilt program's script leaves on the page.
REBUILT_MARK = "\nwindow.quennTestBuild = 'rebuilt';\n"

# The links and colours that make the page an app.
APP_LINKS = """
var link = function(rel) {
  var element = document.querySelector('link[rel="' + rel + '"]');
  return element && element.href;
};
var theme = document.querySelector('meta[name="theme-color"]');
return {manifest: link('manifest'), icon: link('icon'), touchIcon: link('apple-touch-icon'),
        theme: theme && theme.content, page: location.href,
        background: getComputedStyle(document.body).backgroundColor};
"""
FETCH_TEXT = "return fetch(arguments[0]).then(function(r) { return r.ok ? r.text() : null; });"
CONTROLLED = "return !!(navigator.serviceWorker && navigator.serviceWorker.controller);"
# The document and every resource the page loaded itself.
LOADED = """
return [location.href].concat(performance.getEntriesByType('resource').map(function(entry) {
  return entry.name;
}));
"""
# Every cache of the origin, as [name, [[url, SHA-256 of the body], ...]].
CACHED = """
return (async function() {
  var all = [];
  for (var name of await caches.keys()) {
    var cache = await caches.open(name), entries = [];
    for (var request of await cache.keys()) {
      var body = await (await cache.match(request)).arrayBuffer();
      var digest = new Uint8Array(await crypto.subtle.digest('SHA-256', body));
      entries.push([request.url, Array.from(digest, function(byte) {
        return byte.toString(16).padStart(2, '0');
      }).join('')]);
    }
    all.push([name, entries]);
  }
  return all;
})();
"""
# The open message box as assistive technology names it, and what has the focus.
MESSAGE_BOX = """
var dialog = document.querySelector('dialog[open]');
if (!dialog) return null;
var texts = function(ids) {
  return (ids || '').split(/\\s+/).filter(Boolean).map(function(id) {
    var element = document.getElementById(id);
    return element ? element.textContent : '(no element #' + id + ')';
  }).join(' ');
};
var focused = document.activeElement;
var heading = dialog.querySelector('h2');
return {name: texts(dialog.getAttribute('aria-labelledby')),
        description: texts(dialog.getAttribute('aria-describedby')),
        caption: heading && heading.textContent,
        focused: focused && dialog.contains(focused) ? focused.tagName + ' ' + focused.textContent
                                                     : focused && focused.tagName};
"""
STATUS = """
var status = document.getElementById('status');
return {text: status.textContent, live: status.getAttribute('aria-live')};
"""


# ---- What the page and its server hold -----------------------------------

def file_hash(directory, name):
    with open(os.path.join(directory, name), "rb") as file:
        return hashlib.sha256(file.read()).hexdigest()


def file_name(page, url):
    """A URL of the page's folder as the name of the file it serves."""
    base = page.page_url("")
    check(url.startswith(base), f"the address {url}", f"in the page's folder {base}", url)
    return url[len(base):].split("?")[0].split("#")[0] or "index.html"


def wait_controlled(page, when):
    wait_for(f"the service worker {when}", "one controlling the page",
             lambda: (page.script(CONTROLLED), "the page has no controller"), WORKER_TIMEOUT,
             interval=0.1)


def cached(page):
    """Every cache of the page's origin: name -> {file name: SHA-256}."""
    return {name: {file_name(page, url): digest for url, digest in entries}
            for name, entries in page.script(CACHED)}


def only_cache(page, what, old=()):
    """The one cache of the page's origin, none of `old`: (name, files)."""
    caches = cached(page)
    check(len(caches) == 1 and not set(caches) & set(old), what, f"one, none of {sorted(old)}",
          sorted(caches))
    return next(iter(caches.items()))


def check_kept(files, directory, what):
    """Each of `files` (name -> SHA-256) as `directory` holds it."""
    differ = [name for name, digest in files.items() if digest != file_hash(directory, name)]
    check(files and not differ, what, f"the files of {directory}", f"{differ} differ")


def app_links(page, what):
    links = page.script(APP_LINKS)
    for name, tag in (("manifest", "<link rel=manifest>"), ("icon", "<link rel=icon>"),
                      ("touchIcon", "<link rel=apple-touch-icon>"),
                      ("theme", '<meta name="theme-color">')):
        check(links[name], f"{what}: {tag}", "on the page", "none")
    return links


def files_loaded(page):
    """What the page in view loaded: its document and resources, its
    manifest and icons, and the icons its manifest names; not the worker's
    script, which the page reads to learn the server's build."""
    links = app_links(page, "the page")
    urls = set(page.script(LOADED)) | {links["manifest"], links["icon"], links["touchIcon"]}
    manifest = json.loads(page.script(FETCH_TEXT, links["manifest"]))
    urls |= {urljoin(links["manifest"], icon["src"]) for icon in manifest.get("icons", [])}
    return {file_name(page, url) for url in urls} - {"service-worker.js"}


def mark_program(directory):
    with open(os.path.join(directory, "quenn.js"), "a") as script:
        script.write(REBUILT_MARK)


def program_build(page):
    """'rebuilt' once the rebuilt program's script ran; None before, and
    while the page loads again."""
    try:
        return page.script("return window.quennTestBuild || null;")
    except ScriptError:
        return None


# ---- The manifest ------------------------------------------------------------

def hex_colour(css):
    """'#rrggbb' of a CSS colour given as #rgb, #rrggbb or rgb(r, g, b)."""
    css = (css or "").strip().lower()
    found = re.fullmatch(r"rgb\((\d+),\s*(\d+),\s*(\d+)\)", css)
    if found:
        return "#" + "".join(f"{int(c):02x}" for c in found.groups())
    if re.fullmatch(r"#[0-9a-f]{3}", css):
        return "#" + "".join(c * 2 for c in css[1:])
    return css


def check_fields(manifest, program, links, what):
    check(manifest.get("name") == program, f"{what}: name", repr(program),
          repr(manifest.get("name")))
    short = manifest.get("short_name")
    check(isinstance(short, str) and 0 < len(short) <= SHORT_NAME, f"{what}: short_name",
          f"a name of 1 to {SHORT_NAME} characters", repr(short))
    start = urljoin(links["manifest"], manifest.get("start_url", ""))
    check(start == links["page"], f"{what}: start_url", links["page"], start)
    scope = urljoin(links["manifest"], manifest.get("scope", ""))
    check(scope.endswith("/") and start.startswith(scope), f"{what}: scope",
          "the folder of start_url", scope)
    check(manifest.get("display") == "standalone", f"{what}: display", "'standalone'",
          repr(manifest.get("display")))
    background = hex_colour(links["background"])
    for name, value in (("theme_color", manifest.get("theme_color")),
                        ("background_color", manifest.get("background_color")),
                        ('<meta name="theme-color">', links["theme"])):
        check(hex_colour(value) == background, f"{what}: {name}",
              f"the page's background, {background}", repr(value))


def local_png(ctx, page, url, what):
    """The icon at `url` as build/web holds it, once the server served it."""
    name = file_name(page, url)
    check(page.script(FETCH_TEXT, url) is not None, what, f"{name} served", "not found")
    path = os.path.join(page_dir(ctx), name)
    image = Image.open(path)
    check(image.format == "PNG", what, "a PNG file", image.format)
    return image


def opaque_corner(image):
    return image.convert("RGBA").getpixel((0, 0))[3] == 255


def check_icons(ctx, page, manifest, manifest_url, what):
    found = []  # (purpose, side) of every icon
    for icon in manifest.get("icons", []):
        label = f"{what}: icon {icon.get('src')}"
        with local_png(ctx, page, urljoin(manifest_url, icon.get("src", "")), label) as image:
            check(icon.get("type") == "image/png", label, "type image/png", repr(icon.get("type")))
            size = f"{image.width}x{image.height}"
            check(size in icon.get("sizes", "").split(), label, f"declared as {size}",
                  repr(icon.get("sizes")))
            purposes = icon.get("purpose", "any").split()
            if "maskable" in purposes:
                check(opaque_corner(image), label, "opaque to its corners (full-bleed)",
                      "see-through")
            found += [(purpose, image.width) for purpose in purposes]
    for purpose, side in (("any", 192), ("any", 512), ("maskable", 0)):
        check(any(p == purpose and s >= side for p, s in found), f"{what}: icons",
              f"one for '{purpose}' of at least {side}x{side}", f"{found}")


def case_web_manifest(ctx):
    ids = {}
    with browser(ctx) as page:
        for program, file in PAGES.items():
            page.open(file, held=True)
            links = app_links(page, file)
            text = page.script(FETCH_TEXT, links["manifest"])
            check(text is not None, f"{file}: manifest", f"{links['manifest']} served",
                  "not found")
            try:
                manifest = json.loads(text)
            except ValueError as problem:
                raise CheckFailed(f"{file}: manifest", "JSON", str(problem)) from None
            what = f"{file}'s manifest"
            check_fields(manifest, program, links, what)
            check_icons(ctx, page, manifest, links["manifest"], what)
            with local_png(ctx, page, links["touchIcon"], f"{file}: touch icon") as touch:
                check(touch.width == touch.height >= 180 and opaque_corner(touch),
                      f"{file}: touch icon", "square, 180x180 or more, opaque",
                      f"{touch.width}x{touch.height}, opaque: {opaque_corner(touch)}")
            local_png(ctx, page, links["icon"], f"{file}: icon").close()
            ids[file] = urljoin(links["manifest"], manifest.get("id") or manifest["start_url"])
    check(len(set(ids.values())) == len(ids), "the two pages' apps", "an id of their own each",
          f"{ids}")


# ---- The service worker ------------------------------------------------------

def case_web_worker(ctx):
    """After one visit the worker holds this build's files, exactly those
    the two pages load, and serves them before the server: a server with
    the same worker's script but blank pages and no programs still runs
    both pages."""
    version = build_version(ctx)
    with tempfile.TemporaryDirectory() as bare, browser(ctx) as page:
        loaded = set()
        for number, name in enumerate(PAGES):
            open_drawn(page, name, name)
            if number == 0:
                wait_controlled(page, "after the first load of index.html")
            loaded |= files_loaded(page)
        cache, files = only_cache(page, "the caches after the first visit")
        check(re.fullmatch(rf"quenn-{re.escape(version)}-[0-9a-f]{{16}}", cache),
              "the cache's name", f"quenn-{version}- and 16 hex digits", cache)
        check(set(files) == loaded, "the cached files", f"the files the pages load: "
              f"{sorted(loaded)}", f"{sorted(files)}")
        check_kept(files, page_dir(ctx), "the cached files' contents")
        shutil.copy(os.path.join(page_dir(ctx), "service-worker.js"), bare)
        for name in PAGES.values():
            open(os.path.join(bare, name), "w").close()
        page.serve(bare)
        for name in PAGES:
            open_drawn(page, name, f"{name} from the worker")


def case_web_offline(ctx):
    with browser(ctx) as page:
        open_drawn(page, "quenn", "online")
        wait_controlled(page, "after the first load")
        page.stop_server()
        first = open_drawn(page, "quenn", "offline")
        # A drag of the camera changes the picture, as the program draws it.
        page.pointer_down("mouse", *DRAG_START)
        page.move_by(*TURNED)
        page.wait_picture("turned", lambda p: grid_difference(first, p) >
                          first.count({GRID}) // 4, timeout=5.0)
        page.pointer_up("mouse")
        open_drawn(page, "quenn-fast", "quenn-fast offline")
        check_policy_kept(page, "online, then offline")


def serve_rebuilt(ctx, page, directory, **changes):
    """The first build's visit, its worker in control; then a rebuild into
    `directory` (rebuild's `changes`) served and the page loaded again.
    Returns the first visit's caches."""
    open_drawn(page, "quenn", "first build")
    wait_controlled(page, "after the first load")
    before = cached(page)
    rebuild(ctx, directory, **changes)
    page.serve(directory)
    page.open(PAGES["quenn"])
    return before


def case_web_update(ctx):
    """One changed file: the next load runs the new build, all of it from
    the new build's cache, and the old cache is gone."""
    with tempfile.TemporaryDirectory() as rebuilt, browser(ctx) as page:
        old = serve_rebuilt(ctx, page, rebuilt, before_worker=mark_program)
        wait_for("the next load", "the rebuilt program running",
                 lambda: (program_build(page) == "rebuilt", f"{program_build(page)}"),
                 UPDATE_TIMEOUT, interval=0.2)
        page.wait_picture("rebuilt", is_drawn)
        _, files = only_cache(page, "the caches after the next load", old)
        check_kept(files, rebuilt, "the new cache")
        check_policy_kept(page, "through a service worker update")


def case_web_update_refused(ctx):
    """A host halfway through replacing the files, its worker newer than
    one of them: the new worker refuses them, and the page runs the build
    it has, whole."""
    with tempfile.TemporaryDirectory() as mixed, browser(ctx) as page:
        before = serve_rebuilt(ctx, page, mixed, after_worker=mark_program)
        page.wait_picture("the build at hand", is_drawn, timeout=UPDATE_TIMEOUT)
        check(program_build(page) is None, "the program running", "the first build's",
              "the changed quenn.js")
        check(cached(page) == before, "the caches", "the first build's, as they were",
              f"{sorted(cached(page))} against {sorted(before)}")


def case_web_archive(ctx):
    """scripts/package's archive of the page, unpacked as a static host
    would: both pages run from it, and its worker takes it whole (it checks
    every file it keeps against its list)."""
    packages = os.path.join(ctx.source_dir, "build", "packages")
    version = build_version(ctx)
    archive = os.path.join(packages, f"quenn-web-{version}.tar.gz")
    check(os.path.isfile(archive), "the page's archive", f"{archive} (scripts/package makes it)",
          "missing")
    with tempfile.TemporaryDirectory() as host, browser(ctx) as page:
        with tarfile.open(archive) as tar:
            tar.extractall(host)  # our own archive
        folder = os.path.join(host, f"quenn-web-{version}")
        page.serve(folder)
        for name in PAGES:
            open_drawn(page, name, f"{name} from the archive")
            wait_controlled(page, f"of the archive's {PAGES[name]}")
        _, files = only_cache(page, "the caches")
        unpacked = set(os.listdir(folder)) - {"service-worker.js"}
        check(set(files) == unpacked, "what the archive's worker keeps",
              f"every other file of it: {sorted(unpacked)}", f"{sorted(files)}")
        check_kept(files, folder, "what the archive's worker keeps")


# ---- Accessibility -----------------------------------------------------------

def check_status_says(page, code):
    status = page.script(STATUS)
    check(f"exit code {code}" in status["text"] and status["live"] in ("polite", "assertive"),
          "the status line after the end", f"a live region saying 'exit code {code}'",
          f"{status}")


def check_box_told(ctx, page):
    """The open message box as assistive technology gets it."""
    box = page.script(MESSAGE_BOX)
    check(box["caption"] and box["name"] == box["caption"], "the box's name",
          "its caption", f"{box['name']!r}, caption {box['caption']!r}")
    check(MESSAGE in box["description"], "the box's description", f"its text {MESSAGE!r}",
          repr(box["description"]))
    check(box["focused"] == "BUTTON OK", "the focus", "on the box's OK button",
          repr(box["focused"]))
    check_no_violations(ctx, page, "with the message box open")


def case_web_accessibility(ctx):
    with browser(ctx) as page:
        open_drawn(page, "quenn", "running")
        check_no_violations(ctx, page, "with the program running")
        page.click("#close")
        code = page.wait_exit(3.0)
        check(code == 0, "exit after the close control", "exit code 0", str(code))
        check_status_says(page, 0)
        check_no_violations(ctx, page, "after the program ended")


def case_web_accessibility_box(ctx):
    with browser(ctx, webgl=False) as page:
        page.open(PAGES["quenn"])
        check_failure_box(page, "the message box", lambda: check_box_told(ctx, page))
        check_status_says(page, 1)


CASES = {
    "manifest": case_web_manifest,
    "worker": case_web_worker,
    "offline": case_web_offline,
    "update": case_web_update,
    "update-refused": case_web_update_refused,
    "archive": case_web_archive,
    "accessibility": case_web_accessibility,
    "accessibility-box": case_web_accessibility_box,
}
