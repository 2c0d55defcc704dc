# -*- coding: utf-8 -*-
"""Where a path read from a scene is on this machine, found as Maya on a farm node finds it.

Variables ($VAR, ${VAR}, %VAR%) are expanded first, then the first candidate that exists wins:
1. the path as written (an absolute path of this machine);
2. the path through each directory mapping, in the order given;
3. relative to the project: the part after a `<root>//` project marker under the project root,
   then the path's trailing parts (longest first) under the project root, under each file-rule
   folder (the preferred rules first), and in the given folders (the scene's).
A path written on Windows is matched ignoring letter case where its exact spelling is absent.
"""
from __future__ import print_function

import os

from ..arguments import native
from . import dirmap_table, disk, path_text, project

# The file rules where Maya keeps scenes, tried first for references.
SCENE_RULES = ("scene", "mayaAscii", "mayaBinary")


class Resolution(object):
    """What became of one path: where it was found (None when nowhere) and by which rule."""

    def __init__(self, written, expanded, path, rule, searched=""):
        self.written = written
        self.expanded = expanded
        self.path = path
        self.rule = rule
        self.searched = searched  # where it was looked for, when it was found nowhere

    @property
    def found(self):
        return self.path is not None

    @property
    def as_written(self):
        return self.rule == "as written"


def _exists_here(path):
    # A drive-letter path names nothing on a POSIX machine; it is never looked up relative to the
    # working folder (a folder named "C:" there would be found by accident).
    return path.startswith("/") and not path.startswith("//") or (os.name == "nt" and path_text.is_absolute(path))


def _candidates(path, root, folders, preferred_rules, mappings, index, fold_case):
    if _exists_here(path):
        yield path, "as written"
    if path_text.is_absolute(path):
        for mapped, source, destination in mappings.candidates(path):
            yield mapped, 'through dirmap "%s" -> "%s"' % (source, destination)
    if root is not None:
        marked = path_text.marker_split(path)
        if marked:
            yield path_text.join(root, marked), "after the // project marker, under the project root %s" % root
    bases = []
    if root is not None:
        bases.append((root, "under the project root %s" % root))
        for folder in project.rule_folders(root, preferred_rules):
            bases.append((folder, "under the file-rule folder %s" % folder))
    for folder in folders:
        if folder and all(folder != known for known, _label in bases):
            bases.append((folder, "in the scene's folder %s" % folder))
    parts = path_text.trailing_parts(path)
    for base, label in bases:
        if not index.is_folder(base):
            continue
        for relative in parts:
            # the base's listing rules out most trailing parts without a lookup of their own
            if index.holds(base, relative.split("/", 1)[0], fold_case):
                yield path_text.join(base, relative), label


def resolve(written, folders=(), preferred_rules=(), scene_path=None):
    """The Resolution of written: folders are the scene's (the file holding the path first)."""
    written = native(written)
    root = project.root(scene_path)
    expanded = project.expand_variables(written.strip(), root)
    windows = path_text.is_windows(expanded)
    path = path_text.forward_slashes(expanded)
    index = disk.index()
    tried = set()
    for candidate, rule in _candidates(path, root, [f.rstrip("/") for f in folders], preferred_rules,
                                       dirmap_table.table(), index, windows):
        if candidate in tried:
            continue
        tried.add(candidate)
        found = index.find(candidate, windows)
        if found is not None:
            return Resolution(written, expanded, found, rule if found == candidate else rule + ", letter case as on disk")
    return Resolution(written, expanded, None, None, _searched(path, root, folders, dirmap_table.table()))


def _searched(path, root, folders, mappings):
    places = ["as written"] if _exists_here(path) else []
    mapped = len(mappings.candidates(path)) if path_text.is_absolute(path) else 0
    if mapped:
        places.append("through %d directory mapping%s" % (mapped, "" if mapped == 1 else "s"))
    if root is not None:
        places.append("in the project %s" % root)
    places.extend("in %s" % folder for folder in folders if folder and folder != root)
    return ", ".join(places)
