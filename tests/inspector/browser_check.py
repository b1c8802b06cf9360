#!/usr/bin/python3
"""Opens the inspector's HTML reference in headless Chromium, offline, through the DevTools
protocol (Debian's python3-websocket), and checks what a reader sees: every class, member,
namespace and function of the inspection's JSON is on the pages, the search box filters as
one types, a result's link lands on its member, nothing runs but the reference's own
scripts, no page logs an error, and no page is wider than a phone's screen. Screenshots go
to --shots. With --measure it prints the load and search times and the sizes instead of
checking every page (for the 10^4-class figures).

The protocol rather than --dump-dom: it sees console errors and exceptions, types into
the search box as a reader does, and times the page from inside.

  browser_check.py --json inspection.json --reference DIR --shots DIR
  browser_check.py --measure --reference DIR
"""
import argparse
import base64
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.parse
import urllib.request

import websocket

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, file=sys.stderr)


class Browser:
    def __init__(self):
        self.profile = tempfile.mkdtemp(prefix="orrery-chromium-")
        # As root Chromium needs --no-sandbox; the profile is new and thrown away, and
        # nothing is fetched: the pages are files, and background services are off.
        self.process = subprocess.Popen(
            [shutil.which("chromium") or "chromium", "--headless", "--no-sandbox", "--disable-gpu",
             "--user-data-dir=" + self.profile, "--remote-debugging-port=0", "--remote-allow-origins=*",
             "--no-first-run", "--no-default-browser-check", "--disable-extensions", "--disable-sync",
             "--disable-background-networking", "--disable-component-update", "--no-proxy-server",
             "--hide-scrollbars", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(self.profile, "DevToolsActivePort")
        deadline = time.monotonic() + 60
        while not os.path.exists(port_file) or os.path.getsize(port_file) == 0:
            if time.monotonic() > deadline or self.process.poll() is not None:
                raise RuntimeError("Chromium did not start")
            time.sleep(0.1)
        with open(port_file) as f:
            port = f.readline().strip()
        with urllib.request.urlopen("http://127.0.0.1:%s/json/list" % port, timeout=30) as answer:
            pages = [t for t in json.load(answer) if t["type"] == "page"]
        self.socket = websocket.create_connection(pages[0]["webSocketDebuggerUrl"], timeout=120,
                                                  suppress_origin=True)
        self.serial = 0
        self.events = []
        for domain in ("Page", "Runtime", "Log"):
            self.send(domain + ".enable")

    def close(self):
        try:
            self.socket.close()
        finally:
            self.process.terminate()
            try:
                self.process.wait(timeout=30)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
            shutil.rmtree(self.profile, ignore_errors=True)

    def send(self, method, **params):
        self.serial += 1
        serial = self.serial
        self.socket.send(json.dumps({"id": serial, "method": method, "params": params}))
        while True:
            message = json.loads(self.socket.recv())
            if message.get("id") == serial:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result", {})
            self.events.append(message)

    def wait_for(self, event):
        while True:
            for i, message in enumerate(self.events):
                if message.get("method") == event:
                    del self.events[: i + 1]
                    return message
            self.events.append(json.loads(self.socket.recv()))

    def errors(self):
        """The console errors and uncaught exceptions since the last call."""
        found = []
        for message in self.events:
            method, params = message.get("method"), message.get("params", {})
            if method == "Runtime.exceptionThrown":
                found.append(params["exceptionDetails"].get("text", "exception"))
            elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert"):
                found.append("console.error: %s" % params.get("args"))
            elif method == "Log.entryAdded" and params["entry"].get("level") == "error":
                found.append("%s (%s)" % (params["entry"].get("text"), params["entry"].get("url", "")))
        self.events = [m for m in self.events if m.get("method") not in
                       ("Runtime.exceptionThrown", "Runtime.consoleAPICalled", "Log.entryAdded")]
        return found

    def open(self, url):
        """Loads a page; the seconds from the request to its load event."""
        self.events = [m for m in self.events if m.get("method") != "Page.loadEventFired"]
        start = time.monotonic()
        self.send("Page.navigate", url=url)
        self.wait_for("Page.loadEventFired")
        return time.monotonic() - start

    def value(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True, awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def type(self, text):
        """Empties the search box and types `text` into it, a character at a time."""
        self.value("(() => { const s = document.getElementById('search'); s.focus(); s.value = '';"
                   " s.dispatchEvent(new Event('input')); })()")
        for character in text:
            self.send("Input.insertText", text=character)
        self.wait_for_results()

    def wait_for_results(self):
        """The results come once search.js has loaded, on the first search of a page."""
        self.value("new Promise(done => { const wait = () => document.getElementById('results').dataset.query"
                   " === document.getElementById('search').value.trim().toLowerCase() ? done() :"
                   " setTimeout(wait, 5); wait(); })")

    def results(self):
        return self.value("[...document.querySelectorAll('#results li a')].map(a => a.textContent)")

    def screenshot(self, path, width, height, mobile=False):
        self.send("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=1,
                  mobile=mobile)
        with open(path, "wb") as f:
            f.write(base64.b64decode(self.send("Page.captureScreenshot", format="png")["data"]))
        print("screenshot: " + path)


def expected(inspection):
    """Classes (id -> member names), namespaces and functions of the inspection."""
    classes, spaces, functions = {}, [], []
    pending = list(inspection["namespaces"])
    while pending:
        space = pending.pop()
        pending.extend(space["namespaces"])
        spaces.append(space["path"])
        functions.extend(space["path"] + "." + f["name"] for f in space["functions"])
        for cls in space["classes"]:
            classes[cls["id"]] = cls
    for cls in inspection["classes"]:
        classes[cls["id"]] = cls
    return classes, spaces, functions


def own_members(cls):
    return [m["name"] for key in ("constructors", "properties", "methods") for m in cls[key]]


def all_members(cls):
    return own_members(cls) + [m["name"] for key in ("inheritedProperties", "inheritedMethods") for m in cls[key]]


def page_checks(browser, where):
    check(not browser.errors(), "%s: console errors" % where)
    scripts = browser.value("[...document.scripts].map(s => s.getAttribute('src'))")
    check(1 <= len(scripts) <= 2 and all(s and s.endswith(("search.js", "script.js")) for s in scripts),
          "%s: scripts other than the reference's own: %s" % (where, scripts))


def check_reference(browser, reference, inspection, shots):
    classes, spaces, functions = expected(inspection)
    index = "file://" + os.path.abspath(os.path.join(reference, "index.html"))
    browser.send("Emulation.setDeviceMetricsOverride", width=1280, height=900, deviceScaleFactor=1, mobile=False)
    browser.open(index)
    page_checks(browser, "index.html")
    links = browser.value("Object.fromEntries([...document.querySelectorAll('main a')]"
                          ".map(a => [a.textContent, a.href]))")
    headings = browser.value("[...document.querySelectorAll('main h2')].map(h => h.textContent)")
    for space in spaces:
        check("namespace " + space in headings, "index.html: no section for namespace %r" % space)
    names = browser.value("[...document.querySelectorAll('main article .name')].map(a => a.textContent)")
    for function in functions:
        check(function.rsplit(".", 1)[1] in names, "index.html: no function %r" % function)
    browser.screenshot(os.path.join(shots, "index.png"), 1280, 900)

    # Every class page, reached by the index's link.
    for cls_id, cls in classes.items():
        check(cls_id in links, "index.html: no link to class %r" % cls_id)
        if cls_id not in links:
            continue
        browser.open(links[cls_id])
        page_checks(browser, cls_id)
        check(browser.value("document.querySelector('h1').textContent") == "class " + cls_id,
              "%s: heading" % cls_id)
        shown = browser.value("[...document.querySelectorAll('article .name')].map(a => a.textContent)")
        check(sorted(shown) == sorted(all_members(cls)), "%s: members %s, expected %s" %
              (cls_id, sorted(shown), sorted(all_members(cls))))
        wide = browser.value("(() => document.documentElement.scrollWidth)()")
        check(wide <= 1280, "%s: wider than the window (%s px)" % (cls_id, wide))

    # A class page at a phone's width: nothing sticks out sideways.
    first = next((c for c in classes if classes[c]["superclasses"] and c in links), next(iter(classes), None))
    if first:
        browser.send("Emulation.setDeviceMetricsOverride", width=390, height=844, deviceScaleFactor=1, mobile=True)
        browser.open(links[first])
        wide = browser.value("document.documentElement.scrollWidth")
        check(wide <= 390, "%s at a phone's width: %s px wide" % (first, wide))
        browser.screenshot(os.path.join(shots, "class-phone.png"), 390, 844, mobile=True)
        browser.screenshot(os.path.join(shots, "class.png"), 1280, 900)

    # Search, typed into the index's box: each class, member and function by its full name.
    browser.open(index)
    for cls_id, cls in classes.items():
        for name in [cls_id] + [cls_id + "." + m for m in own_members(cls)]:
            if any(ord(c) < 32 for c in name):
                continue  # a search box drops line ends: a name with one cannot be typed
            browser.type(name)
            check(name in browser.results(), "search %r: not among %s" % (name, browser.results()))
            check(all(name.lower() in r.lower() for r in browser.results()),
                  "search %r: results that do not match: %s" % (name, browser.results()))
    for function in functions:
        if any(ord(c) < 32 for c in function):
            continue
        browser.type(function)
        check(function in browser.results(), "search %r: not among %s" % (function, browser.results()))
    browser.type("zz no such name")
    check(browser.results() == [] and
          browser.value("document.querySelector('#results .count').textContent") == "Nothing matches.",
          "a search for nothing shows results")
    # Case does not matter, and a result's link lands on its member.
    member = next(((c, own_members(cls)[-1]) for c, cls in classes.items() if own_members(cls)), None)
    if member:
        browser.type((member[0] + "." + member[1]).upper())
        check(member[0] + "." + member[1] in browser.results(), "an upper-case search finds nothing")
        browser.screenshot(os.path.join(shots, "search.png"), 1280, 900)
        target = browser.value("[...document.querySelectorAll('#results li a')].find(a => a.textContent === %s)"
                               ".href" % json.dumps(member[0] + "." + member[1]))
        browser.open(target)
        check(browser.value("document.querySelector(':target .name').textContent") == member[1],
              "the search result for %s.%s does not land on it" % member)
        # A search in the address opens with its results.
        browser.open(index + "?q=" + urllib.parse.quote(member[1]))
        browser.wait_for_results()
        check(member[0] + "." + member[1] in browser.results(), "index.html?q=%s finds nothing" % member[1])
    browser.value("document.getElementById('search').focus()")
    browser.send("Input.dispatchKeyEvent", type="keyDown", key="Escape", code="Escape", windowsVirtualKeyCode=27)
    check(browser.value("document.getElementById('results').hidden"), "Escape leaves the results shown")
    page_checks(browser, "after the searches")


def measure(browser, reference):
    index = "file://" + os.path.abspath(os.path.join(reference, "index.html"))
    sizes, files = 0, 0
    for directory, _, names in os.walk(reference):
        for name in names:
            sizes += os.path.getsize(os.path.join(directory, name))
            files += 1
    browser.send("Emulation.setDeviceMetricsOverride", width=1280, height=900, deviceScaleFactor=1, mobile=False)
    loads = [browser.open(index) for _ in range(3)]
    classes = browser.value("document.querySelectorAll('ul.classes li').length")
    page_checks(browser, "index.html")
    pages = sorted(os.listdir(os.path.join(reference, "classes")))
    page_loads = [browser.open("file://" + os.path.abspath(os.path.join(reference, "classes", p)))
                  for p in pages[:: max(1, len(pages) // 10)]]
    browser.open(index)
    timing = ("(() => { const s = document.getElementById('search'); const t = performance.now();"
              " s.value = %s; s.dispatchEvent(new Event('input'));"
              " document.body.offsetHeight; return performance.now() - t; })()")
    # The first search loads search.js: timed until its results are shown.
    first = browser.value("new Promise(done => { const s = document.getElementById('search'); const t ="
                          " performance.now(); s.value = 'm'; s.dispatchEvent(new Event('input')); const wait ="
                          " () => document.getElementById('results').dataset.query === 'm' ?"
                          " done(performance.now() - t) : setTimeout(wait, 1); wait(); })")
    queries = ["m", "p2", "C9999.m3", "no such name", "bench.C12"]
    times = {q: statistics.median(browser.value(timing % json.dumps(q)) for _ in range(5)) for q in queries}
    matches = {q: browser.value("(() => { const s = document.getElementById('search'); s.value = %s;"
                                " s.dispatchEvent(new Event('input'));"
                                " return document.querySelector('#results .count').textContent; })()"
                                % json.dumps(q)) for q in queries}
    page_checks(browser, "after the searches")
    check(classes == len(pages), "the index lists %d classes of %d" % (classes, len(pages)))
    last = browser.value("(() => { const s = document.getElementById('search'); s.value = %s;"
                         " s.dispatchEvent(new Event('input'));"
                         " return [...document.querySelectorAll('#results li a')].map(a => a.textContent); })()"
                         % json.dumps(pages[-1][:-5]))
    check(pages[-1][:-5] in last, "a search for %s does not find it" % pages[-1][:-5])
    print("reference: %d files, %.1f MB; index.html %.1f MB, search.js %.1f MB; %d classes on the index"
          % (files, sizes / 1e6, os.path.getsize(os.path.join(reference, "index.html")) / 1e6,
             os.path.getsize(os.path.join(reference, "search.js")) / 1e6, classes))
    print("load: index %.2f s (median of 3), a class page %.3f s (median of %d)"
          % (statistics.median(loads), statistics.median(page_loads), len(page_loads)))
    print("search: first keystroke %.1f ms (loads search.js, builds the list)" % first)
    for q in queries:
        print("search: %-14r %6.1f ms (median of 5)  %s" % (q, times[q], matches[q]))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--reference", required=True)
    parser.add_argument("--json", help="the inspector's --json output for the same plugins")
    parser.add_argument("--shots", help="where the screenshots go")
    parser.add_argument("--measure", action="store_true")
    arguments = parser.parse_args()
    browser = Browser()
    try:
        if arguments.measure:
            measure(browser, arguments.reference)
        else:
            with open(arguments.json, encoding="utf-8") as f:
                inspection = json.load(f)
            os.makedirs(arguments.shots, exist_ok=True)
            check_reference(browser, arguments.reference, inspection, arguments.shots)
    finally:
        browser.close()
    print("browser: %s" % ("%d failed" % len(failures) if failures else "all checks passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
