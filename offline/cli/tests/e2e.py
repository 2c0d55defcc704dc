"""Shared by the end-to-end tests: the real launcher, the built module, the stand-ins
and the catalogue, run as the service's client would run them."""
import json
import os
import subprocess
import sys

import pytest

from cli import paths, preflight

REPO = paths.REPO_ROOT
LAUNCHER = os.path.join(REPO, "bin", "vanalyzer-offline")
EXAMPLES = os.path.join(REPO, "examples")
CORPUS = os.path.abspath(os.environ.get("VANALYZER_CORPUS") or os.path.join(REPO, "..", "shared", "corpus"))


def unavailable(message):
    """A missing piece fails under CI (CI=true) and skips elsewhere."""
    if os.environ.get("CI") == "true":
        pytest.fail(message)
    pytest.skip(message)


def require_build():
    build = preflight.build_dir(None)
    needed = {
        "the built module": os.path.join(build, "abi3", "vanalyzer.abi3.so"),
        "the 2.7 module": os.path.join(build, "py27", "vanalyzer.so"),
        "the reader binary": os.path.join(build, "abi3", "mayascene.abi3.so"),
        "the scene graph binary": os.path.join(build, "abi3", "scenegraph.abi3.so"),
        "the maya.cmds stand-in": os.path.join(paths.OFFLINE_ROOT, "host", "maya", "cmds.py"),
        "the error-code catalogue": paths.CATALOGUE,
    }
    missing = ["%s (%s)" % (what, path) for what, path in sorted(needed.items()) if not os.path.exists(path)]
    if missing:
        unavailable("end-to-end run needs " + ", ".join(missing))


def interpreter(version):
    """The path of a host interpreter of the matrix ('2.7', '3.13', or a path)."""
    try:
        return preflight.resolve_interpreter(version)
    except paths.Refusal as refusal:
        unavailable(str(refusal))


def run(args, env=None, launcher=LAUNCHER, cwd=None):
    """The launcher's exit code, standard output and standard error (text)."""
    done = subprocess.run([sys.executable, launcher] + list(args), stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, env=env, cwd=cwd, timeout=300)
    return done.returncode, done.stdout.decode("utf-8", "replace"), done.stderr.decode("utf-8", "replace")


def analyse(scene, *args, **kwargs):
    """(exit code, parsed result or None, standard error) of one --json run."""
    code, out, err = run([scene, "--json"] + list(args), **kwargs)
    if code == paths.NO_RESULT:
        return code, None, err
    assert out.strip(), err
    return code, json.loads(out), err


def missing_in_messages(result):
    """The missing paths that the missing-file message (10001) lists, one a line after its first."""
    listed = []
    for message in result.get("msg") or []:
        if message.get("code") == 10001:
            listed.extend(line for line in message["en"].split("\r\n")[1:] if line)
    return listed


def comparable(result):
    """The result with the parts whose order comes from a set put in order."""
    result = dict(result)
    result["files"] = sorted(result["files"])
    messages = []
    for message in result["msg"]:
        message = dict(message)
        for language in ("en", "cn"):
            # a message's first line is its text; the lines after it list paths in set order
            head, _, listed = message[language].partition("\r\n")
            message[language] = [head] + sorted(line for line in listed.split("\r\n") if line)
        messages.append(message)
    result["msg"] = messages
    return result
