# -*- coding: utf-8 -*-
"""Text rules for paths read from a scene: variables, Windows spellings, the `//` project marker."""
from __future__ import print_function

import os
import re

_LETTERS = frozenset("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")
_VARIABLE = re.compile(r"\$\{(\w+)\}|\$(\w+)|%(\w+)%")
# Components kept from the end of a path when its trailing parts are tried under a folder: a
# hostile path of thousands of components must not turn into millions of lookups.
MAX_TRAILING_PARTS = 16


def expand_variables(path, lookups):
    """$VAR, ${VAR} and %VAR% replaced by the first lookup that knows them; unknown ones are kept."""
    if "$" not in path and "%" not in path:
        return path

    def value(match):
        name = match.group(1) or match.group(2) or match.group(3)
        for lookup in lookups:
            found = lookup(name)
            if found is not None:
                return found
        return match.group(0)
    return _VARIABLE.sub(value, path)


def has_drive(path):
    """Starts with a drive letter: "C:", "C:/...", "C:\\..." """
    return len(path) > 1 and path[1] == ":" and path[0] in _LETTERS and (len(path) == 2 or path[2] in "/\\")


def is_windows(path):
    """Written on Windows: a drive letter, a UNC share, or backslashes as separators."""
    return "\\" in path or path[1:2] == ":" and has_drive(path) or path.startswith("//")


def is_absolute(path):
    """A path with a root, on this machine or on the one that wrote it."""
    return path.startswith("/") or path.startswith("\\") or has_drive(path)


def names_a_place_here(path):
    """An absolute path of this machine (a drive or a share names nothing on a POSIX one)."""
    if os.name == "nt":
        return is_absolute(path)
    return path.startswith("/") and not path.startswith("//")


def normalise(path):
    """The path as the gatherers report it: normalised, except a Windows one on POSIX kept as
    written apart from its forward slashes."""
    if os.sep == "/" and "\\" in path and not path.startswith("/"):
        return path
    if path.startswith("/") and "/." not in path and "//" not in path and not path.endswith("/"):
        return path  # already in its normal form (most paths): spare normpath
    return os.path.normpath(path)


def marker_rest(path):
    """The part after Maya's `<project>//<rest>` marker (forward slashes), or None."""
    at = path.find("//", 2 if path.startswith("//") else 1)  # a share's leading // is no marker
    if at < 0:
        return None
    return path[at:].lstrip("/") or None


def components(path):
    """The named parts of a path (forward slashes), without its drive or root, '.' or empty
    parts; a '..' takes away the part before it (one with nothing before it is kept)."""
    if has_drive(path):
        path = path[2:]
    parts = []
    for part in path.split("/"):
        if not part or part == ".":
            continue
        if part == ".." and parts and parts[-1] != "..":
            parts.pop()
        else:
            parts.append(part)
    return parts
