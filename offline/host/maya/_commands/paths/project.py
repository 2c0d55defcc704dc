# -*- coding: utf-8 -*-
"""The current project, as Maya's workspace holds it: its root folder, file rules and variables.

The root is the folder opened with `workspace(dir, openWorkspace=True)`; until one is opened, it is
the nearest folder at or above the open scene's folder that holds a workspace.mel, else the scene's
own folder (a farm node's default project would put relative paths nowhere useful).
"""
from __future__ import print_function

import os

from .. import open_scene
from ..arguments import native
from . import path_text, workspace_file

_state = {"opened": None, "definitions": {}, "found": {}, "rule_folders": {}}


def _clean(folder):
    return os.path.abspath(folder).replace(os.sep, "/")


def open_workspace(folder):
    folder = native(folder)
    if not os.path.isdir(folder):
        raise RuntimeError("workspace: the project folder %s does not exist" % folder)
    _state["opened"] = _clean(folder)
    return _state["opened"]


def current_scene_path():
    scene = open_scene.current()
    return getattr(scene, "path", None) if scene is not None else None


def found_root(scene_path):
    """The nearest folder at or above the scene's folder holding workspace.mel, or None."""
    start = os.path.dirname(_clean(scene_path))
    if start not in _state["found"]:
        folder, found = start, None
        while True:
            if os.path.isfile(os.path.join(folder, "workspace.mel")):
                found = folder
                break
            parent = os.path.dirname(folder)
            if parent == folder:
                break
            folder = parent
        _state["found"][start] = found
    return _state["found"][start]


def root(scene_path=None):
    """The project root (no trailing slash), or None when there is neither a project nor a scene."""
    if _state["opened"]:
        return _state["opened"]
    scene_path = scene_path or current_scene_path()
    if not scene_path:
        return None
    return found_root(scene_path) or os.path.dirname(_clean(scene_path))


def definition(root_folder):
    """The rules and variables of the project at root_folder (its workspace.mel read once)."""
    if root_folder is None:
        return workspace_file.Workspace()
    if root_folder not in _state["definitions"]:
        _state["definitions"][root_folder] = workspace_file.read(os.path.join(root_folder, "workspace.mel"))
    return _state["definitions"][root_folder]


def expand_variables(path, root_folder):
    """Workspace variables first, then the environment, as `workspace -expandName` does."""
    return path_text.expand_variables(path, (definition(root_folder).variables.get, os.environ.get))


def rule_folders(root_folder, preferred=()):
    """The absolute folders of the file rules, the preferred rules' first, each once."""
    if root_folder is None:
        return []
    key = (root_folder, tuple(preferred))
    if key not in _state["rule_folders"]:
        _state["rule_folders"][key] = _rule_folders(root_folder, preferred)
    return _state["rule_folders"][key]


def _rule_folders(root_folder, preferred):
    rules = definition(root_folder).rules
    ordered = [r for name in preferred for r in rules if r[0] == name] + [r for r in rules if r[0] not in preferred]
    folders = []
    for _name, location in ordered:
        for entry in location.split(";"):
            entry = path_text.forward_slashes(expand_variables(entry.strip(), root_folder))
            if not entry:
                continue
            folder = entry if path_text.is_absolute(entry) else path_text.join(root_folder, entry)
            folder = folder.rstrip("/") or "/"
            if folder != root_folder and folder not in folders:
                folders.append(folder)
    return folders


def expand_name(name, root_folder):
    """`workspace -expandName`: a project-relative name made absolute under the root."""
    expanded = path_text.forward_slashes(expand_variables(native(name), root_folder))
    if path_text.is_absolute(expanded) or root_folder is None:
        return expanded
    return path_text.join(root_folder, expanded)
