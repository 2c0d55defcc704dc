# -*- coding: utf-8 -*-
"""The references a file makes, from its reference records, with their saved load states and names.

A file writes one `file -rdi N` line per reference at every depth (depth-first, a depth-N line
belonging to the nearest earlier line of depth N-1) and one `file -r` line per reference it makes
itself. The `file -r` line is the command that creates the reference, so it gives the path; the
rdi lines are the load state each reference had when the file was saved (`-dr 1`: unloaded).
Files older than the rdi lines have only `file -r` lines, whose `-dr` then tells the state.
"""
from __future__ import print_function


class Entry(object):
    """One reference of a file, as the file writes it."""

    def __init__(self, path, namespace, prefix, reference_node, file_type, deferred):
        self.path = path
        self.namespace = namespace
        self.prefix = prefix
        self.reference_node = reference_node
        self.file_type = file_type
        self.deferred = deferred


def _entry(record, state=None):
    return Entry(record.get("path", ""), record.get("namespace", ""), record.get("prefix", ""),
                 record.get("reference_node", ""), record.get("type", ""),
                 bool((state or record).get("deferred")))


def own_references(records):
    """The Entries of the references the file itself makes, in file order."""
    lines = [r for r in records if r.get("top_level")]
    tops = [r for r in records if not r.get("top_level") and r.get("depth") == 1]
    if not tops:
        return [_entry(r) for r in lines]
    waiting = {}  # (key, value) -> indices of the rdi lines not yet paired, in file order
    for index, top in enumerate(tops):
        for key in ("reference_node", "namespace"):
            if top.get(key):
                waiting.setdefault((key, top[key]), []).append(index)
    paired = set()
    entries = []
    for line in lines:
        state = None
        for key in ("reference_node", "namespace"):
            candidates = waiting.get((key, line.get(key)), [])
            while candidates and candidates[0] in paired:
                candidates.pop(0)
            if line.get(key) and candidates:
                state = candidates.pop(0)
                break
        if state is not None:
            paired.add(state)
        entries.append(_entry(line, tops[state] if state is not None else None))
    # an rdi line without its `file -r` line: the state line is all there is
    entries.extend(_entry(top) for index, top in enumerate(tops) if index not in paired)
    return entries


def join_namespace(parent, namespace):
    """The full namespace of a reference loaded with -ns namespace inside parent's namespace."""
    namespace = (namespace or "").strip(":")
    if not namespace:
        return parent
    return parent + ":" + namespace if parent else namespace


def join_prefix(parent, prefix):
    prefix = (prefix or "").strip(":")
    if not prefix:
        return parent
    return parent + "_" + prefix if parent else prefix


def node_name(namespace, prefix, name):
    """A node of a file loaded under namespace and prefix, as the scene graph names it."""
    name = name.lstrip(":")
    if prefix:
        name = prefix + "_" + name
    return namespace + ":" + name if namespace else name


def child_naming(namespace, prefix, entry):
    """(namespace, prefix) of the file entry loads, inside a file loaded under namespace and prefix.

    A reference written with neither -ns nor -rpr (files older than namespaces) gets its file's
    base name as prefix, as those Maya versions named it; `-ns ":"` adds no namespace."""
    if not entry.namespace and not entry.prefix:
        base = entry.path.replace("\\", "/").rsplit("/", 1)[-1].split(".")[0]
        return namespace, join_prefix(prefix, base)
    return join_namespace(namespace, entry.namespace), join_prefix(prefix, entry.prefix)


class SavedStates(object):
    """Load states of every nested reference, as the opened scene's rdi lines saved them.

    They win over the states in the child files (Maya opens a scene with its references in the
    state they had when it was saved). Keyed by the reference node's name in the scene's frame
    (rdi lines name it so), and by full namespace where a child file renamed its reference node."""

    def __init__(self, records):
        self.by_node = {}
        self.by_namespace = {}
        stack = []  # full namespaces of the open rdi lines, by depth
        for record in records:
            depth = record.get("depth") or 0
            if record.get("top_level") or depth < 1:
                continue
            del stack[depth - 1:]
            parent = stack[-1] if stack else ""
            if len(stack) != depth - 1:  # a line deeper than its predecessor allows: no parent known
                stack.extend([parent] * (depth - 1 - len(stack)))
            full = join_namespace(parent, record.get("namespace", ""))
            stack.append(full)
            deferred = bool(record.get("deferred"))
            self.by_node.setdefault(record.get("reference_node", "").lstrip(":"), deferred)
            self.by_namespace.setdefault(full, deferred)

    def deferred(self, reference_node, namespace, fallback):
        if reference_node in self.by_node:
            return self.by_node[reference_node]
        return self.by_namespace.get(namespace, fallback)
