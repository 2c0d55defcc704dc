# -*- coding: utf-8 -*-
"""Pure text rules for paths read from a scene: variables, Windows spellings, the `//` project marker."""
from __future__ import print_function

import os
import re

_VARIABLE = re.compile(r"\$\{(\w+)\}|\$(\w+)|%(\w+)%")
_DRIVE = re.compile(r"^[A-Za-z]:(?:[\\/]|$)")
# Components kept from the end of a path when its trailing parts are tried under a folder: a
# hostile path of thousands of components must not turn into millions of disk lookups.
MAX_TRAILING_PARTS = 16


def expand_variables(path, lookups=(os.environ.get,)):
    """$VAR, ${VAR} and %VAR% replaced by the first lookup that knows them; unknown ones are kept."""
    def value(match):
        name = match.group(1) or match.group(2) or match.group(3)
        for lookup in lookups:
            found = lookup(name)
            if found is not None:
                return found
        return match.group(0)
    return _VARIABLE.sub(value, path)


def is_windows(path):
    """Written on Windows: a drive letter, a UNC share, or backslashes as separators."""
    return bool(_DRIVE.match(path)) or path.startswith("\\\\") or path.startswith("//") or "\\" in path


def forward_slashes(path):
    """Backslashes of a Windows-written path as forward slashes (a POSIX name may hold a backslash)."""
    return path.replace("\\", "/") if is_windows(path) else path


def has_drive(path):
    return bool(_DRIVE.match(path))


def is_absolute(path):
    """A path with a root, on this machine or on the one that wrote it."""
    return path.startswith("/") or path.startswith("\\") or has_drive(path)


def marker_split(path):
    """The part after Maya's `<project>//<rest>` marker, or None. Forward slashes expected."""
    at = path.find("//", 2 if path.startswith("//") else 1)  # a UNC share's leading // is no marker
    if at < 0:
        return None
    rest = path[at:].lstrip("/")
    return rest or None


def components(path):
    """The named parts of a path, without its drive or root, '.' or empty parts."""
    if has_drive(path):
        path = path[2:]
    return [part for part in path.replace("\\", "/").split("/") if part and part != "."]


def trailing_parts(path):
    """Relative paths made of the path's last parts, longest first ('a/b/c', 'b/c', 'c')."""
    parts = components(path)[-MAX_TRAILING_PARTS:]
    return ["/".join(parts[start:]) for start in range(len(parts))]


def join(base, relative):
    return base.rstrip("/") + "/" + relative if relative else base
