# -*- coding: utf-8 -*-
"""Maya's directory mappings: absolute prefixes with forward slashes, tried in the order given.

A source matches a path at a folder boundary ("C:/proj" maps "C:/proj/a.png" and "C:/proj//a.png",
never "C:/project/a.png"). A source written on Windows matches whatever its letter case, as the
Windows machine that wrote the scene would; other sources match exactly. Like Maya, the table is
off until enabled, never checks that a folder exists, and lasts for the process.
"""
from __future__ import print_function

from . import path_text


def _lead(path):
    """The first one and two named parts of a path, forward slashes, letters lowered: a mapping can
    hold a path only where its own lead is one of these."""
    parts = []
    for part in path_text.forward_slashes(path).lower().split("/"):
        if part:
            parts.append(part)
            if len(parts) == 2:
                break
    return parts[0] if parts else "", "/".join(parts)


class DirectoryMappings(object):
    def __init__(self):
        self.enabled = False
        self.pairs = []  # [(source, destination)] in the order they were added

    @property
    def pairs(self):
        return self._pairs

    @pairs.setter
    def pairs(self, pairs):
        self._pairs = pairs
        self._by_lead = None  # lead -> [index of a pair]: a farm's table holds dozens of mappings

    def add(self, source, destination):
        self._by_lead = None
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
        if not self.enabled or not self.pairs:
            return []
        if self._by_lead is None:
            by_lead = {}
            for index, (source, _destination) in enumerate(self.pairs):
                one, two = _lead(source)
                by_lead.setdefault(two if two != one else one, []).append(index)
            self._by_lead = by_lead
        one, two = _lead(path)
        indexes = self._by_lead.get(one, []) + (self._by_lead.get(two, []) if two != one else [])
        found = []
        for index in sorted(indexes):
            source, destination = self.pairs[index]
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
