# -*- coding: utf-8 -*-
"""Maya's directory mappings: absolute prefixes with forward slashes, tried in the order given.

A source matches a path at a folder boundary ("C:/proj" maps "C:/proj/a.png" and "C:/proj//a.png",
never "C:/project/a.png"). A source written on Windows matches whatever its letter case, as the
Windows machine that wrote the scene would; other sources match exactly. Like Maya, the table is
off until enabled, never checks that a folder exists, and lasts for the process.
"""
from __future__ import print_function

from . import path_text


class DirectoryMappings(object):
    def __init__(self):
        self.enabled = False
        self.pairs = []  # [(source, destination)] in the order they were added

    def add(self, source, destination):
        for index, (known, _old) in enumerate(self.pairs):
            if known == source:
                self.pairs[index] = (source, destination)
                return
        self.pairs.append((source, destination))

    def remove(self, source):
        self.pairs = [(s, d) for s, d in self.pairs if s != source]

    def destination(self, source):
        for known, destination in self.pairs:
            if known == source:
                return destination
        return ""

    def flat(self):
        out = []
        for source, destination in self.pairs:
            out.extend([source, destination])
        return out

    def candidates(self, path):
        """[(mapped path, source, destination)] for every enabled mapping whose source holds path."""
        if not self.enabled:
            return []
        found = []
        for source, destination in self.pairs:
            mapped = map_prefix(path, source, destination)
            if mapped is not None:
                found.append((mapped, source, destination))
        return found

    def convert(self, path):
        """`dirmap -cd`: the path through the first mapping that holds it, else unchanged."""
        found = self.candidates(path)
        return found[0][0] if found else path


def map_prefix(path, source, destination):
    """path with the folder prefix source replaced by destination, or None when it does not start so."""
    written = path_text.forward_slashes(path)
    prefix = path_text.forward_slashes(source).rstrip("/")
    if not prefix or not path_text.is_absolute(prefix + "/"):
        return None
    head = written[:len(prefix)]
    same = head.lower() == prefix.lower() if path_text.is_windows(source) else head == prefix
    if not same or (len(written) > len(prefix) and written[len(prefix)] != "/"):
        return None
    rest = written[len(prefix):].lstrip("/")
    target = path_text.forward_slashes(destination).rstrip("/") or "/"
    return path_text.join(target, rest) if rest else target


_state = {"table": DirectoryMappings()}


def table():
    """The mappings of this process."""
    return _state["table"]
