# -*- coding: utf-8 -*-
"""vanalyzer-offline: the service's client for one scene on this machine.

It checks what it can before starting (scene, catalogue, interpreter, result
path), starts the host interpreter on bootstrap.py with the run's settings in
its environment, relays progress while the analysis runs, and prints the
delivered result.  Exit status: the result's status (0, 1, 2); 3 when no
result was delivered; 64 for a command-line mistake.
"""
from __future__ import print_function

import argparse
import collections
import glob
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

OFFLINE_ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REPO_ROOT = os.path.dirname(OFFLINE_ROOT)
BOOTSTRAP = os.path.join(OFFLINE_ROOT, "cli", "bootstrap.py")
CATALOGUE = os.path.join(OFFLINE_ROOT, "VANTORCODE")
DEFAULT_PYTHON = "/usr/bin/python3"
HOST_MARK = "vanalyzer-offline-host: "
NO_RESULT = 3
USAGE = 64
STATUS_WORDS = {0: "clean", 1: "warnings", 2: "error"}


class Refusal(Exception):
    """A reason not to start, or a run that delivered no result."""


class _Parser(argparse.ArgumentParser):
    def error(self, message):
        self.print_usage(sys.stderr)
        self.exit(USAGE, "%s: error: %s\n" % (self.prog, message))


def parse_args(argv):
    parser = _Parser(prog="vanalyzer-offline",
                     description="Analyse a Maya ASCII scene as the render service would, "
                                 "and print the result.")
    parser.add_argument("scene", help="the .ma scene file")
    parser.add_argument("--machine-type", choices=("startCpu", "startGpu"),
                        help="machine kind the job asks for (MachineType); inherited when not given")
    parser.add_argument("--result", help="where the result JSON is written (default: not kept)")
    parser.add_argument("--log", help="where the log is written (default: not kept)")
    parser.add_argument("--assets", help="where the asset manifest is written (default: not kept)")
    parser.add_argument("--config", help="service configuration INI (VANALYZER_CONFIG)")
    parser.add_argument("--json", action="store_true", help="print the result JSON as delivered")
    parser.add_argument("--python", default=DEFAULT_PYTHON,
                        help="host interpreter: a path or a version such as 2.7 or 3.9 (default %(default)s)")
    parser.add_argument("--build-dir", help="CMake build folder holding abi3/ and py27/ "
                                            "(default $VANALYZER_BINARY_DIR or <repo>/build/release)")
    parser.add_argument("--timeout", type=float, default=0, help="seconds before the host is ended (0: none)")
    parser.add_argument("-v", "--verbose", action="store_true", help="relay every line of the host")
    return parser.parse_args(argv)


# ---------------------------------------------------------------------------
# checks before starting

def resolve_interpreter(wanted, pyenv_root=None):
    """The interpreter's path for a path or a bare version such as '2.7'."""
    if re.match(r"^\d+\.\d+$", wanted):
        found = shutil.which("python" + wanted)
        pyenv_root = pyenv_root or os.environ.get("PYENV_ROOT") or os.path.expanduser("~/.pyenv")
        candidates = sorted(glob.glob(os.path.join(pyenv_root, "versions", wanted + ".*", "bin", "python")),
                            key=lambda p: [int(x) for x in re.findall(r"\d+", p.split("versions")[-1])])
        if candidates:
            return candidates[-1]
        if found:
            return found
        raise Refusal("no Python %s found on this machine" % wanted)
    path = wanted if os.sep in wanted else shutil.which(wanted)
    if not path or not os.path.isfile(path) or not os.access(path, os.X_OK):
        raise Refusal("the interpreter %s does not exist or cannot be run" % wanted)
    return path


def check_scene(scene):
    if not os.path.exists(scene):
        raise Refusal("the scene %s does not exist" % scene)
    if not os.path.isfile(scene):
        raise Refusal("the scene %s is not a file" % scene)
    try:
        with open(scene, "rb") as handle:
            head = handle.read(4)
    except OSError as error:
        raise Refusal("the scene %s cannot be read: %s" % (scene, error.strerror or error))
    if head in (b"FOR4", b"FOR8"):  # the IFF chunk that opens a Maya Binary file
        raise Refusal("the scene %s is a Maya Binary file; only Maya ASCII (.ma) scenes can be analysed "
                      "here (save it as Maya ASCII)" % scene)


def check_catalogue(path):
    """The error-code catalogue must be a JSON array of {code, en, cn} entries."""
    if not os.path.isfile(path):
        raise Refusal("the error-code catalogue %s is absent" % path)
    try:
        with open(path, "rb") as handle:
            entries = json.loads(handle.read().decode("utf-8"))
    except (OSError, ValueError) as error:
        raise Refusal("the error-code catalogue %s is broken: %s" % (path, error))
    if not isinstance(entries, list):
        raise Refusal("the error-code catalogue %s is broken: its top level is not an array" % path)
    for index, entry in enumerate(entries):
        if not (isinstance(entry, dict) and isinstance(entry.get("code"), (int, float))
                and not isinstance(entry.get("code"), bool)
                and isinstance(entry.get("en"), str) and isinstance(entry.get("cn"), str)):
            raise Refusal("the error-code catalogue %s is broken: entry %d lacks a numeric code "
                          "or an en/cn text" % (path, index))


def check_output_target(path, what):
    """The folder must take a new file, and nothing but a file may stand at path."""
    folder = os.path.dirname(os.path.abspath(path))
    if os.path.isdir(path):
        raise Refusal("the %s path %s is a folder" % (what, path))
    if not os.path.isdir(folder):
        raise Refusal("the %s path %s cannot be written: folder %s does not exist" % (what, path, folder))
    try:
        fd, probe = tempfile.mkstemp(dir=folder, prefix=".vanalyzer-probe-")
        os.close(fd)
        os.remove(probe)
    except OSError as error:
        raise Refusal("the %s path %s cannot be written: %s" % (what, path, error.strerror or error))
    if os.path.exists(path) and not os.access(path, os.W_OK):
        raise Refusal("the %s path %s cannot be written: the file is read-only" % (what, path))


def build_dir(option):
    return os.path.abspath(option or os.environ.get("VANALYZER_BINARY_DIR")
                           or os.path.join(REPO_ROOT, "build", "release"))


# ---------------------------------------------------------------------------
# the host run

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
        "VANALYZER_STDERR_LEVEL": "Debug" if args.verbose else "Info",
        "PYTHONIOENCODING": "utf-8",
    })
    if args.machine_type:
        env["MachineType"] = args.machine_type
    if args.config:
        env["VANALYZER_CONFIG"] = os.path.abspath(args.config)
    return env


_LOG_LINE = re.compile(r"^\S+ \S+ \[(?:Debug|Info|Warring|Error)\] (.*)$")


class Progress(object):
    """The host's last words, and a progress line on standard error while it runs."""

    def __init__(self, stream, verbose):
        self.lines = collections.deque(maxlen=400)
        self.latest = ""
        self.verbose = verbose
        self.stream = stream
        self.tty = stream.isatty()
        self.started = time.time()
        self.shown = 0.0
        self.lock = threading.Lock()

    def take(self, line):
        with self.lock:
            self.lines.append(line)
            match = _LOG_LINE.match(line)
            if match:
                self.latest = match.group(1)
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


def run_host(interpreter, scene, env, progress, timeout):
    child = subprocess.Popen([interpreter, "-u", "-s", BOOTSTRAP, scene], env=env, stdin=subprocess.DEVNULL,
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True)

    def pump():
        for raw in iter(child.stdout.readline, b""):
            progress.take(raw.decode("utf-8", "replace").rstrip("\r\n"))

    reader = threading.Thread(target=pump)
    reader.daemon = True
    reader.start()
    timed_out = False
    try:
        while child.poll() is None:
            if timeout and time.time() - progress.started > timeout:
                timed_out = True
                os.killpg(child.pid, signal.SIGKILL)
                child.wait()
                break
            progress.tick()
            time.sleep(0.1)
    except KeyboardInterrupt:
        os.killpg(child.pid, signal.SIGKILL)
        child.wait()
        raise
    finally:
        reader.join(5)
        progress.clear()
    if timed_out:
        raise Refusal("the analysis took longer than %g s and was ended" % timeout)
    return child.returncode


# ---------------------------------------------------------------------------
# the result

def read_lines(path):
    if not os.path.isfile(path):
        return []
    with open(path, encoding="utf-8", errors="replace") as handle:
        return [line.rstrip("\n") for line in handle if line.strip()]


def exit_code(result):
    status = result.get("status") if isinstance(result, dict) else None
    return status if status in (0, 1, 2) and not isinstance(status, bool) else NO_RESULT


def _size(path):
    try:
        return os.path.getsize(path)
    except OSError:
        return 0


def _human(size):
    for unit in ("B", "KB", "MB", "GB"):
        if size < 1024 or unit == "GB":
            return ("%d %s" % (size, unit)) if unit == "B" else ("%.1f %s" % (size, unit))
        size /= 1024.0


def format_summary(result, missing):
    """The result for a person: status, layers, cameras, files, missing files, messages."""
    model = result.get("model") or {}
    status = result.get("status")
    out = []
    out.append("Status   %s (%s)" % (status, STATUS_WORDS.get(status, "unknown")))
    out.append("Scene    %s" % model.get("scenePath"))
    custom = model.get("custom") or {}
    # the job-wide values: "exr" only when every layer writes EXR, a prefix only when all layers share it
    out.append("Output   %s; common prefix: %s" % (
        "every layer writes %s" % model["ext"] if model.get("ext") else "the layers do not all write EXR",
        custom.get("filePrefix") or "none"))
    if custom.get("melString"):
        out.append("MEL      %s" % custom["melString"])
    env = model.get("envVars") or []
    if env:
        out.append("Env      %s" % ", ".join(env))
    layers = model.get("parts") or []
    out.append("Layers (%d)" % len(layers))
    for layer in layers:
        if not isinstance(layer, dict):
            continue
        details = ", ".join("%s %s" % (key, layer.get(key)) for key in ("renderer", "ext", "layerFilePrefix")
                            if layer.get(key) is not None)
        out.append("  %s%s" % (layer.get("part"), "  (%s)" % details if details else ""))
        cameras = layer.get("cameras") or []
        out.append("      cameras: %s" % (", ".join(cameras) if cameras else "none"))
    cameras = model.get("allCameras") or []
    out.append("Cameras (%d)  %s" % (len(cameras), ", ".join(cameras)))
    if status == 2:
        # the analysis stops before the assets when the scene itself is in error
        out.append("Files    not collected (status 2)")
    else:
        files = sorted(result.get("files") or [])
        out.append("Files (%d, %s)" % (len(files), _human(sum(_size(f) for f in files))))
        out.extend("  " + path for path in files)
        out.append("Missing files (%d)" % len(missing))
        out.extend("  " + path for path in missing)
    messages = result.get("msg") or []
    out.append("Messages (%d)" % len(messages))
    for message in messages:
        code = "[%s] " % message.get("code")
        for index, language in enumerate(("en", "cn")):
            lead = "  " + (code if index == 0 else " " * len(code)) + language + ": "
            lines = [line for line in re.split(r"[\r\n]+", message.get(language) or "") if line] or [""]
            out.append(lead + lines[0])
            out.extend(" " * (len(lead) + 2) + line for line in lines[1:])
    return "\n".join(out)


# ---------------------------------------------------------------------------

def main(argv=None):
    args = parse_args(sys.argv[1:] if argv is None else argv)
    if hasattr(sys.stdout, "reconfigure"):
        sys.stdout.reconfigure(errors="backslashreplace")
    scratch = tempfile.mkdtemp(prefix="vanalyzer-offline-")
    try:
        return _main(args, scratch)
    except Refusal as refusal:
        sys.stderr.write("vanalyzer-offline: %s\n" % refusal)
        return NO_RESULT
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def _main(args, scratch):
    scene = os.path.abspath(args.scene)
    check_scene(scene)
    check_catalogue(CATALOGUE)
    interpreter = resolve_interpreter(args.python)
    build = build_dir(args.build_dir)
    if not os.path.isdir(build):
        raise Refusal("the build folder %s does not exist (build first, or give --build-dir)" % build)
    if args.config and not os.path.isfile(args.config):
        raise Refusal("the configuration %s does not exist" % args.config)
    paths = {name: os.path.abspath(getattr(args, name) or os.path.join(scratch, name + ".txt"))
             for name in ("result", "log", "assets")}
    paths["missing"] = os.path.join(scratch, "missing.txt")
    for name in ("result", "log", "assets"):
        check_output_target(paths[name], name)
    # the result file exists after the run only if this run delivered it
    if os.path.isfile(paths["result"]):
        os.remove(paths["result"])
    for name in ("log", "assets"):
        if getattr(args, name) and os.path.isfile(paths[name]):
            os.remove(paths[name])

    progress = Progress(sys.stderr, args.verbose)
    env = host_environment(os.environ, args, paths, build)
    returncode = run_host(interpreter, scene, env, progress, args.timeout)
    if not os.path.isfile(paths["result"]):
        check_catalogue(CATALOGUE)  # it may have gone or broken while the host ran
        raise Refusal(failure_reason(progress.lines, returncode))
    with open(paths["result"], "rb") as handle:
        text = handle.read().decode("utf-8")
    try:
        result = json.loads(text)
    except ValueError as error:
        raise Refusal("the delivered result %s is not JSON: %s" % (paths["result"], error))
    if args.json:
        sys.stdout.write(text + ("" if text.endswith("\n") else "\n"))
    else:
        missing = sorted(set(read_lines(paths["missing"])))
        sys.stdout.write(format_summary(result, missing) + "\n")
    sys.stdout.flush()
    code = exit_code(result)
    if code == NO_RESULT:
        sys.stderr.write("vanalyzer-offline: the result carries no status 0, 1 or 2\n")
    return code


if __name__ == "__main__":
    sys.exit(main())
