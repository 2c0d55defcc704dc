# -*- coding: utf-8 -*-
"""Running one host interpreter on one scene: its files, its environment, its output, its result or
why it gave none. The single-scene command and the batch scan both run their hosts through here."""
import collections
import json
import os
import re
import shutil
import signal
import subprocess
import threading
import time

from . import directory_mappings
from .host_allocator import host_allocator
from .paths import BOOTSTRAP, OFFLINE_ROOT, Refusal

HOST_MARK = "vanalyzer-offline-host: "


class Interrupted(Exception):
    """The run was stopped from outside (the batch was interrupted); the host has been ended."""


def run_paths(scratch, chosen=None):
    """Where one run's files go: the chosen result, log and assets paths where given, the rest in scratch."""
    chosen = chosen or {}
    paths = {name: os.path.abspath(chosen.get(name) or os.path.join(scratch, name + ".txt"))
             for name in ("result", "log", "assets")}
    paths["missing"] = os.path.join(scratch, "missing.txt")
    paths["host_report"] = os.path.join(scratch, "host_report.json")
    return paths


def host_environment(base, args, paths, build):
    env = dict(base)
    for name in ("PYTHONPATH", "PYTHONHOME", "PYTHONSTARTUP", "PYTHONUSERBASE"):
        env.pop(name, None)
    env.update({
        "VANALYZER_BUILD_DIR": build,
        "VANALYZER_OFFLINE_ROOT": OFFLINE_ROOT,
        "VANALYZER_RESULT": paths["result"],
        "VANALYZER_LOG": paths["log"],
        "VANALYZER_ASSETS": paths["assets"],
        "VANALYZER_MISSING": paths["missing"],
        "VANALYZER_HOST_REPORT": paths["host_report"],
        "VANALYZER_CLIENT_PID": str(os.getpid()),
        "VANALYZER_STDERR_LEVEL": "Debug" if getattr(args, "verbose", False) else "Info",
        "PYTHONIOENCODING": "utf-8",
    })
    env.update(host_allocator(base))
    if args.machine_type:
        env["MachineType"] = args.machine_type
    if args.config:
        env["VANALYZER_CONFIG"] = os.path.abspath(args.config)
    env.update(directory_mappings.host_settings(args))
    return env


_LOG_LINE = re.compile(r"^\S+ \S+ \[(?:Debug|Info|Warring|Error)\] (.*)$")
# the analyzer's own count of what it accounted: the files' total size, each file sized once
_ACCOUNTED = re.compile(r"\] pelk-fileInfo-total:::>fileCount: (\d+), fileSize: (\d+)$")


class HostLines(object):
    """The host's last words (for the reason when it gives no result), its latest log message and
    (count, total size) of the files the analyzer accounted (None until it says)."""

    def __init__(self):
        self.lines = collections.deque(maxlen=400)
        self.latest = ""
        self.accounted = None
        self.started = time.time()
        self.lock = threading.Lock()

    def take(self, line):
        with self.lock:
            self.lines.append(line)
            match = _LOG_LINE.match(line)
            if match:
                self.latest = match.group(1)
                if "pelk-fileInfo-total" in line:
                    accounted = _ACCOUNTED.search(line)
                    if accounted:
                        self.accounted = (int(accounted.group(1)), int(accounted.group(2)))

    def tick(self):
        pass

    def clear(self):
        pass


class Progress(HostLines):
    """HostLines, and a progress line on standard error while the host runs."""

    def __init__(self, stream, verbose):
        HostLines.__init__(self)
        self.verbose = verbose
        self.stream = stream
        self.tty = stream.isatty()
        self.shown = 0.0

    def take(self, line):
        HostLines.take(self, line)
        if self.verbose:
            self.clear()
            self.stream.write(line + "\n")
            self.stream.flush()

    def tick(self):
        elapsed = time.time() - self.started
        if self.verbose or elapsed < 1.0 or elapsed - self.shown < (0.5 if self.tty else 5.0):
            return
        self.shown = elapsed
        text = "vanalyzer-offline: %5.1fs  %s" % (elapsed, self.latest)
        if self.tty:
            width = shutil.get_terminal_size((100, 20)).columns - 1
            self.stream.write("\r" + text[:width].ljust(width))
        else:
            self.stream.write(text + "\n")
        self.stream.flush()

    def clear(self):
        if self.tty and self.shown:
            self.stream.write("\r\033[K")
            self.stream.flush()


def failure_reason(lines, returncode):
    """Why no result came: the host's own message, its last traceback line, or how it ended."""
    lines = [line.rstrip() for line in lines if line.strip()]
    for line in reversed(lines):
        if line.startswith(HOST_MARK):
            return line[len(HOST_MARK):]
    traceback_at = max([i for i, line in enumerate(lines) if line.startswith("Traceback (most recent call last)")]
                       or [-1])
    if traceback_at >= 0:
        tail = [line for line in lines[traceback_at + 1:] if not line.startswith((" ", "\t"))]
        if tail:
            return "the analysis failed: " + tail[0]
    if returncode is not None and returncode < 0:
        try:
            name = signal.Signals(-returncode).name
        except ValueError:
            name = "signal %d" % -returncode
        return "the host was ended by %s without delivering a result" % name
    return "the host ended with code %s without delivering a result" % returncode


def run_host(interpreter, scene, env, progress, timeout, stop=None):
    """Runs the host on the scene and returns its exit code. Refusal when it ran past timeout seconds
    (0: no limit), Interrupted when the stop event was set; the host's process group is ended then."""
    child = subprocess.Popen([interpreter, "-u", "-s", BOOTSTRAP, scene], env=env, stdin=subprocess.DEVNULL,
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True)

    def pump():
        for raw in iter(child.stdout.readline, b""):
            progress.take(raw.decode("utf-8", "replace").rstrip("\r\n"))

    reader = threading.Thread(target=pump)
    reader.daemon = True
    reader.start()
    ended = None
    try:
        while True:
            # Waits of 0.1 s: the timeout and the stop are seen within that. The end of the host's
            # output, which comes with its end, wakes the join at once (Popen.wait polls instead).
            if reader.is_alive():
                reader.join(0.1)
            else:
                try:
                    child.wait(0.1)
                    break
                except subprocess.TimeoutExpired:
                    pass
            if timeout and time.time() - progress.started > timeout:
                ended = Refusal("the analysis took longer than %g s and was ended" % timeout)
            elif stop is not None and stop.is_set():
                ended = Interrupted()
            if ended is not None:
                os.killpg(child.pid, signal.SIGKILL)
                child.wait()
                break
            progress.tick()
    except KeyboardInterrupt:
        os.killpg(child.pid, signal.SIGKILL)
        child.wait()
        raise
    finally:
        reader.join(5)
        child.stdout.close()
        progress.clear()
    if ended is not None:
        raise ended
    return child.returncode


def delivered_result(paths, lines, returncode, check_catalogue):
    """The result the host delivered, as (its UTF-8 bytes as delivered, value). Refusal with the
    reason when there is none: check_catalogue() first, since a catalogue lost or broken while the
    host ran is the likely cause."""
    if not os.path.isfile(paths["result"]):
        check_catalogue()
        raise Refusal(failure_reason(lines, returncode))
    with open(paths["result"], "rb") as handle:
        raw = handle.read()
    try:
        return raw, json.loads(raw.decode("utf-8"))
    except ValueError as error:  # UnicodeDecodeError included
        raise Refusal("the delivered result %s is not JSON: %s" % (paths["result"], error))
