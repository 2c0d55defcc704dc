# -*- coding: utf-8 -*-
"""Loading a scene's references into the scene graph as Maya does when it opens the scene.

Every reference whose saved state is loaded is found on disk (paths.resolver), added to the graph
under its full namespace, and its own references are loaded in turn, depth first in file order.
A deferred reference is listed and not opened. A reference that cannot be found or read, that
would load a file already open above it (a cycle), or that lies deeper than MAX_DEPTH keeps its
reference node, is listed with the reason, and the rest of the scene still loads. When every
file is in, the graph applies the reference edits.

The graph is anything with Maya's scene-graph face: add_file(path, namespace, prefix,
reference_node) -> file id (raising ValueError or IOError/OSError for a file it cannot read),
file_info(file id) -> {"references": [records as written], ...}, and apply_reference_edits()
-> [(level, message)].
"""
from __future__ import print_function

import collections
import os

from .. import host_log
from ..paths import disk, resolver
from . import loaded, reference_tree

# Far deeper than any production nests; past it the chain is a generated or hostile one.
MAX_DEPTH = 1000
# Files opened for one scene at most: a lattice of references to references (each file
# referencing the next twice) doubles with every level and would never end otherwise.
MAX_FILES = 10000
# Types whose contents the scene graph reads; others (FBX, ...) are loaded by Maya's plug-ins.
SCENE_TYPES = ("", "mayaAscii", "mayaBinary")


class _RealPaths(object):
    """os.path.realpath of the files a scene's references open, normalised for comparison. realpath
    asks the system about every part of a path; a production's references sit in a few folders,
    so each folder is resolved once and a file's own name is only checked for a link."""

    def __init__(self):
        self._folders = {}

    def __call__(self, path):
        folder, name = os.path.split(path)
        if not folder or name in ("", ".", "..") or os.path.islink(path):
            return os.path.normcase(os.path.realpath(path))
        real_folder = self._folders.get(folder)
        if real_folder is None:
            real_folder = self._folders[folder] = os.path.realpath(folder)
        return os.path.normcase(os.path.join(real_folder, name))


# A file whose references are being loaded: an iterator over its entries not yet settled, the
# file (as found and as _RealPaths gives it), and the names, depth and parent its references take.
_Frame = collections.namedtuple("_Frame", "entries holder real namespace prefix depth parent")


def _frame(records, holder, real, namespace, prefix, depth, parent):
    return _Frame(iter(reference_tree.own_references(records)), holder, real, namespace, prefix, depth, parent)


class _Loader(object):
    def __init__(self, graph, scene_path, log, max_depth, max_files):
        self.graph = graph
        self.scene_path = scene_path
        self.log = log
        self.max_depth = max_depth
        self.max_files = max_files
        self.table = loaded.LoadedReferences(scene_path)
        self.saved = None
        self.files = 0
        self.real = _RealPaths()

    def run(self, scene_file_id):
        records = self.graph.file_info(scene_file_id)["references"]
        self.saved = reference_tree.SavedStates(records)
        self.load_tree(records)
        counts = self.table.counts()
        if self.table.references:
            self.log("Info", "References of %s: %d loaded, %d deferred, %d missing, %d failed" % (
                self.scene_path, counts["loaded"], counts["deferred"], counts["missing"], counts["failed"]))
        for level, message in self.graph.apply_reference_edits():
            self.log(level, message)
        return self.table

    def load_tree(self, records):
        """Every reference, depth first in file order. The files being read are a stack, not a
        recursion, so that only max_depth bounds the nesting; chain[i] is the file of stack[i]."""
        root = _frame(records, self.scene_path, self.real(self.scene_path), "", "", 1, None)
        chain = [(root.real, self.scene_path)]
        open_files = set([root.real])
        stack = [root]
        while stack:
            frame = stack[-1]
            entry = next(frame.entries, None)
            if entry is None:
                stack.pop()
                open_files.discard(chain.pop()[0])
                continue
            child = self.settle_entry(entry, frame, chain, open_files)
            if child is not None:
                stack.append(child)
                chain.append((child.real, child.holder))
                open_files.add(child.real)

    def settle_entry(self, entry, frame, chain, open_files):
        """One reference of the file of frame, settled; the frame of its own file when it is opened."""
        namespace, prefix, depth, parent = frame.namespace, frame.prefix, frame.depth, frame.parent
        node = reference_tree.node_name(namespace, prefix, entry.reference_node) if entry.reference_node else ""
        child_namespace, child_prefix = reference_tree.child_naming(namespace, prefix, entry)
        reference = loaded.Reference(node, child_namespace, entry.path, depth, parent)
        deferred = entry.deferred if parent is None else self.saved.deferred(node, child_namespace, entry.deferred)
        found = resolver.resolve(entry.path, self.folders(frame.holder), resolver.SCENE_RULES, self.scene_path)
        reference.resolved, reference.rule = found.path, found.rule
        self.table.add(reference)
        label = "Reference %s (namespace %s)" % (node or entry.path, child_namespace or ":")
        if found.found and not found.as_written:
            self.log("Info", '%s: "%s" found %s: %s' % (label, entry.path, found.rule, found.path))
        real = self.real(found.path) if found.found and not deferred else None
        if deferred:
            self.settle(reference, "deferred", "saved unloaded (deferred); its contents will not render",
                        "Info", label)
        elif not found.found:
            self.settle(reference, "missing", "file not found", "Warning", label,
                        '"%s" not found (looked for %s); the scene is loaded without it'
                        % (found.expanded, found.searched))
        elif depth > self.max_depth:
            self.settle(reference, "failed", "nested more than %d levels deep" % self.max_depth, "Error", label)
        elif real in open_files:
            cycle = " -> ".join([shown for _real_path, shown in chain] + [found.path])
            self.settle(reference, "failed", "reference cycle: %s" % cycle, "Error", label,
                        "reference cycle %s; the file is not loaded again" % cycle)
        elif entry.file_type not in SCENE_TYPES:
            self.settle(reference, "loaded", "a %s reference: its contents are not read here" % entry.file_type,
                        "Warning", label)
        elif self.files >= self.max_files:
            self.settle(reference, "failed", "more than %d referenced files" % self.max_files, "Error", label)
        else:
            return self.open(reference, found.path, real, child_namespace, child_prefix, label)
        return None

    def folders(self, holder):
        """The folders a reference's relative path is looked for in: its file's, then the scene's."""
        folders = [os.path.dirname(holder).replace(os.sep, "/")]
        top_folder = os.path.dirname(self.scene_path).replace(os.sep, "/")
        if top_folder not in folders:
            folders.append(top_folder)
        return folders

    def open(self, reference, path, real, namespace, prefix, label):
        """The reference's file added to the graph; the frame of its own references, or None when
        it cannot be read."""
        try:
            file_id = self.graph.add_file(path, namespace, prefix, reference.reference_node)
        except (ValueError, IOError, OSError, RuntimeError) as error:
            self.settle(reference, "failed", "cannot be read: %s" % error, "Error", label,
                        '"%s" cannot be read (%s); the scene is loaded without it' % (path, error))
            return None
        self.files += 1
        reference.state = "loaded"
        records = self.graph.file_info(file_id)["references"]
        return _frame(records, path, real, namespace, prefix, reference.depth + 1, reference.reference_node)

    def settle(self, reference, state, reason, level, label, message=None):
        reference.state = state
        reference.reason = reason
        self.log(level, "%s: %s" % (label, message or reason))


def load(graph, scene_file_id, scene_path, log=host_log.record, max_depth=MAX_DEPTH, max_files=MAX_FILES):
    """Loads the references of the scene added to graph as scene_file_id; the open scene's
    references (loaded.LoadedReferences) become the answer of referenceQuery and `file -q -r`."""
    disk.new_run()
    table = _Loader(graph, scene_path, log, max_depth, max_files).run(scene_file_id)
    loaded.replace(table)
    return table
