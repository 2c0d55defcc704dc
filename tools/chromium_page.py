#!/usr/bin/env python3
"""Loads a page in headless Chromium (Debian's /usr/bin/chromium) and tells what a person would
see: its title, what its script printed as errors, values read from the page, a screenshot.

It speaks the DevTools protocol over a pipe (--remote-debugging-pipe: commands on the child's
file descriptor 3, answers and events on 4, NUL-separated JSON), so it needs no port, no driver and
nothing beyond Python's standard library.

    python3 tools/chromium_page.py PAGE.html [--screenshot OUT.png] [--width 1280]
"""
import argparse
import base64
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading

# What Chromium needs here as root on a machine without a network or a display.
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--disable-default-apps", "--disable-extensions", "--mute-audio", "--hide-scrollbars"]
WAIT = 60.0  # seconds any one answer may take before the browser is taken for hung


class BrowserError(RuntimeError):
    pass


def find_chromium():
    return shutil.which("chromium") or shutil.which("chromium-browser")


class Browser(object):
    """One headless Chromium with a fresh profile, driven over the DevTools pipe."""

    def __init__(self, binary=None):
        binary = binary or find_chromium()
        if not binary:
            raise BrowserError("Chromium is not installed (Debian package chromium)")
        self.profile = tempfile.mkdtemp(prefix="vanalyzer-chromium-")
        commands_read, self._commands = os.pipe()
        self._answers, answers_write = os.pipe()

        def onto_3_and_4():
            os.dup2(commands_read, 3)
            os.dup2(answers_write, 4)

        self.process = subprocess.Popen(
            [binary] + FLAGS + ["--user-data-dir=" + self.profile, "--remote-debugging-pipe", "about:blank"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=onto_3_and_4, pass_fds=(3, 4))
        os.close(commands_read)
        os.close(answers_write)
        self._next_id = 0
        self._answered = {}
        self._events = []
        self._changed = threading.Condition()
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()

    def _read(self):
        pending = b""
        with os.fdopen(self._answers, "rb", buffering=0) as stream:
            while True:
                chunk = stream.read(65536)
                if not chunk:
                    break
                pending += chunk
                *messages, pending = pending.split(b"\0")
                with self._changed:
                    for raw in messages:
                        message = json.loads(raw.decode("utf-8"))
                        if "id" in message:
                            self._answered[message["id"]] = message
                        else:
                            self._events.append(message)
                    self._changed.notify_all()
        with self._changed:
            self._closed = True
            self._changed.notify_all()

    def call(self, method, session=None, **params):
        with self._changed:
            self._next_id += 1
            ident = self._next_id
        message = {"id": ident, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self._commands, json.dumps(message).encode("utf-8") + b"\0")
        with self._changed:
            if not self._changed.wait_for(lambda: ident in self._answered or getattr(self, "_closed", False), WAIT):
                raise BrowserError("Chromium did not answer %s" % method)
            if ident not in self._answered:
                raise BrowserError("Chromium ended while answering %s" % method)
            answer = self._answered.pop(ident)
        if "error" in answer:
            raise BrowserError("%s: %s" % (method, answer["error"].get("message")))
        return answer.get("result", {})

    def wait_event(self, method, session):
        with self._changed:
            found = self._changed.wait_for(
                lambda: any(e["method"] == method and e.get("sessionId") == session for e in self._events), WAIT)
        if not found:
            raise BrowserError("Chromium never sent %s" % method)

    def events(self, session):
        with self._changed:
            return [e for e in self._events if e.get("sessionId") == session]

    def open(self, path, width=1280, height=900):
        """A Page on the file at path, loaded."""
        target = self.call("Target.createTarget", url="about:blank")["targetId"]
        session = self.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        for domain in ("Runtime", "Log", "Page"):
            self.call(domain + ".enable", session)
        self.call("Emulation.setDeviceMetricsOverride", session, width=width, height=height, deviceScaleFactor=1,
                  mobile=False)
        self.call("Page.navigate", session, url="file://" + os.path.abspath(path))
        self.wait_event("Page.loadEventFired", session)
        return Page(self, session, width)

    def close(self):
        try:
            self.call("Browser.close")
        except (BrowserError, OSError):
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        os.close(self._commands)
        shutil.rmtree(self.profile, ignore_errors=True)


class Page(object):
    def __init__(self, browser, session, width):
        self.browser = browser
        self.session = session
        self.width = width

    def evaluate(self, expression):
        """The value of a JavaScript expression in the page (JSON-able values only)."""
        answer = self.browser.call("Runtime.evaluate", self.session, expression=expression, returnByValue=True,
                                   awaitPromise=True)
        if "exceptionDetails" in answer:
            raise BrowserError("%s: %s" % (expression, answer["exceptionDetails"].get("text")))
        return answer["result"].get("value")

    def errors(self):
        """What the page reported as errors: console errors, uncaught exceptions, blocked content."""
        found = []
        for event in self.browser.events(self.session):
            params = event.get("params", {})
            if event["method"] == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert"):
                found.append(" ".join(str(a.get("value", a.get("description"))) for a in params.get("args", [])))
            elif event["method"] == "Runtime.exceptionThrown":
                details = params.get("exceptionDetails", {})
                found.append(details.get("exception", {}).get("description") or details.get("text"))
            elif event["method"] == "Log.entryAdded" and params.get("entry", {}).get("level") == "error":
                found.append(params["entry"].get("text"))
        return found

    def pdf(self):
        """The page as printed (A4-size paper is Chromium's default, backgrounds kept), PDF bytes."""
        data = self.browser.call("Page.printToPDF", self.session, printBackground=True)["data"]
        return base64.b64decode(data)

    def screenshot(self, path):
        """A PNG of the whole page, as tall as its content."""
        height = int(self.evaluate("Math.ceil(document.documentElement.scrollHeight)"))
        self.browser.call("Emulation.setDeviceMetricsOverride", self.session, width=self.width, height=height,
                          deviceScaleFactor=1, mobile=False)
        data = self.browser.call("Page.captureScreenshot", self.session, format="png")["data"]
        with open(path, "wb") as out:
            out.write(base64.b64decode(data))


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("page")
    parser.add_argument("--screenshot", help="write a PNG of the whole page here")
    parser.add_argument("--width", type=int, default=1280)
    args = parser.parse_args(argv)
    browser = Browser()
    try:
        page = browser.open(args.page, args.width)
        print("title: %s" % page.evaluate("document.title"))
        if args.screenshot:
            page.screenshot(args.screenshot)
            print("screenshot: %s" % args.screenshot)
        errors = page.errors()
        for error in errors:
            print("error: %s" % error)
    finally:
        browser.close()
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
