# -*- coding: utf-8 -*-
"""What the client checks before it starts a host: interpreter, scene, catalogue, output paths."""
import glob
import json
import os
import re
import shutil
import tempfile

from .paths import REPO_ROOT, Refusal


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
    """The scene must be a readable file; whether it is Maya ASCII or Maya Binary (told by its
    first bytes) and whether it is well formed are the reader's to say."""
    if not os.path.exists(scene):
        raise Refusal("the scene %s does not exist" % scene)
    if not os.path.isfile(scene):
        raise Refusal("the scene %s is not a file" % scene)
    try:
        with open(scene, "rb") as handle:
            handle.read(4)
    except OSError as error:
        raise Refusal("the scene %s cannot be read: %s" % (scene, error.strerror or error))


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
