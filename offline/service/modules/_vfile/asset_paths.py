# -*- coding: utf-8 -*-
"""Where the files a scene names are looked for.

Relative paths are resolved as Maya does for a scene opened from a project:
against the project root (the nearest folder at or above the scene's folder
that holds ``workspace.mel``), then the project's folder for that kind of file
(``sourceimages`` for images, ``scenes`` for references, ``cache`` for
caches), then the scene's own folder.  ``$VAR``, ``${VAR}`` and ``%VAR%`` are
expanded from the environment first.
"""
from __future__ import print_function

import os
import re

_ENV_VAR = re.compile(r"\$\{(\w+)\}|\$(\w+)|%(\w+)%")
_WINDOWS_ABS = re.compile(r"^(?:[A-Za-z]:[\\/]|[\\/]{2})")
_PROJECT_FOLDERS = {"image": "sourceimages", "scene": "scenes", "cache": "cache"}


def expand_vars(path):
    def value(match):
        name = match.group(1) or match.group(2) or match.group(3)
        return os.environ.get(name, match.group(0))
    return _ENV_VAR.sub(value, path)


def is_absolute(path):
    return path.startswith("/") or bool(_WINDOWS_ABS.match(path))


def normalise(path):
    # foreign (Windows) paths on this platform are kept as written
    if os.sep == "/" and "\\" in path and not path.startswith("/"):
        return path
    return os.path.normpath(path)


def _project_root(scene_dir):
    folder = scene_dir
    while folder:
        if os.path.isfile(os.path.join(folder, "workspace.mel")):
            return folder
        parent = os.path.dirname(folder)
        if parent == folder:
            return None
        folder = parent
    return None


class Places(object):
    """Where relative paths of one scene are looked for."""

    def __init__(self, scene_path):
        scene_path = scene_path or ""
        self.scene_dir = os.path.dirname(os.path.abspath(scene_path)) if scene_path else os.getcwd()
        self.project = _project_root(self.scene_dir)

    def candidates(self, relative, kind):
        bases = []
        if self.project:
            bases.append(self.project)
            folder = _PROJECT_FOLDERS.get(kind)
            if folder:
                bases.append(os.path.join(self.project, folder))
        bases.append(self.scene_dir)
        seen = []
        for base in bases:
            path = normalise(os.path.join(base, relative))
            if path not in seen:
                seen.append(path)
        return seen
