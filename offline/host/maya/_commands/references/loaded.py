# -*- coding: utf-8 -*-
"""The references of the open scene, in load order, as referenceQuery and `file -q -r` answer them."""
from __future__ import print_function

import re

STATES = ("loaded", "deferred", "missing", "failed")
_COPY_NUMBER = re.compile(r"\{\d+\}$")


class Reference(object):
    """One reference node of the open scene and what became of its file."""

    def __init__(self, reference_node, namespace, path, depth, parent):
        self.reference_node = reference_node  # its name in the scene
        self.namespace = namespace            # full, "" for the root namespace
        self.path = path                      # as written in the file that makes it
        self.depth = depth                    # 1 for the scene's own references
        self.parent = parent                  # the reference node of the file that makes it, or None
        self.resolved = None                  # where it was found, or None
        self.rule = None                      # which path rule found it
        self.state = None
        self.reason = None                    # why it is not loaded, or what is odd about it
        self.copy_number = 0                  # Maya's {N}: the how-manieth reference to the same file

    def filename(self, resolved=True, copy_number=True):
        name = self.resolved if resolved and self.resolved else self.path
        return name + ("{%d}" % self.copy_number if copy_number and self.copy_number else "")

    def details(self):
        return {"namespace": self.namespace, "path": self.path, "resolved": self.resolved, "state": self.state,
                "reference_node": self.reference_node, "depth": self.depth, "reason": self.reason,
                "rule": self.rule, "parent": self.parent}


class LoadedReferences(object):
    """The references in load order, indexed as they are added (so a reference's paths must be
    final by then): the queries are asked once for every reference, so none may walk the table."""

    def __init__(self, scene_path):
        self.scene_path = scene_path
        self.references = []
        self._by_node = {}
        self._copies = {}
        self._children = {}     # parent's reference node (None for the scene's own) -> references
        self._by_filename = {}  # filename(), filename(False) -> the first reference that has it
        self._by_path = {}      # resolved path, path as written -> the first reference that has it

    def add(self, reference):
        key = reference.resolved or reference.path
        reference.copy_number = self._copies.get(key, 0)
        self._copies[key] = reference.copy_number + 1
        self.references.append(reference)
        self._by_node.setdefault(reference.reference_node, reference)
        self._children.setdefault(reference.parent, []).append(reference)
        for name in (reference.filename(), reference.filename(False)):
            self._by_filename.setdefault(name, reference)
        for name in (reference.resolved, reference.path):
            if name is not None:
                self._by_path.setdefault(name, reference)

    def top(self):
        return list(self._children.get(None, ()))

    def children(self, reference_node):
        return list(self._children.get(reference_node, ()))

    def by_node(self, name):
        return self._by_node.get(name.lstrip(":"))

    def by_file(self, name):
        """The first reference whose file is name as `referenceQuery -f` gives it, or, for a name
        without a copy number, whose resolved or written path is name."""
        if _COPY_NUMBER.sub("", name) != name:
            return self._by_filename.get(name)
        # A filename without a copy number is the reference's resolved or written path, so the
        # first reference with that path is never later than the first with that filename.
        return self._by_path.get(name)

    def counts(self):
        return dict((state, sum(1 for r in self.references if r.state == state)) for state in STATES)


_state = {"table": LoadedReferences(None)}


def current():
    return _state["table"]


def replace(table):
    _state["table"] = table
