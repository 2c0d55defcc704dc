# -*- coding: utf-8 -*-
"""The disk as path rules see it: each directory listed at most once per run, names matched by case."""
from __future__ import print_function

import os
import sys

_PY2 = sys.version_info[0] == 2


def _fold(name):
    if _PY2 and isinstance(name, str):
        name = name.decode("utf-8", "replace")
    return name.lower()


class DiskIndex(object):
    """Existence checks and letter-case matching against cached directory listings."""

    def __init__(self):
        self._listings = {}
        self._folders = {}
        self.listed = 0

    def entries(self, folder):
        """The names in folder (listed once), or () when it is no readable directory."""
        if folder not in self._listings:
            try:
                names = os.listdir(folder)
                self.listed += 1
            except OSError:
                names = []
            by_case = {}
            for name in sorted(names):
                by_case.setdefault(_fold(name), []).append(name)
            self._listings[folder] = by_case
        return self._listings[folder]

    def holds(self, folder, name, fold_case):
        """Whether folder has an entry name (in any letter case with fold_case), from its listing."""
        spellings = self.entries(folder).get(_fold(name), ())
        return bool(spellings) if fold_case else name in spellings

    def is_folder(self, path):
        if path not in self._folders:
            self._folders[path] = os.path.isdir(path)
        return self._folders[path]

    def find(self, path, fold_case):
        """The path as it is spelled on disk, or None. With fold_case, a component whose exact
        spelling is absent matches one that differs only in letter case (the first in sorted
        order when several do), as a Windows file system would."""
        if os.path.lexists(path):
            return path
        if not fold_case or not path.startswith("/"):
            return None
        found = "/"
        for part in [p for p in path.split("/") if p]:
            exact = os.path.join(found, part)
            if os.path.lexists(exact):
                found = exact
                continue
            matches = self.entries(found).get(_fold(part))
            if not matches:
                return None
            found = os.path.join(found, matches[0])
        return found


_state = {"index": DiskIndex()}


def index():
    """The index of this run."""
    return _state["index"]


def new_run():
    """A new run starts with nothing listed (a scene is being opened)."""
    _state["index"] = DiskIndex()
