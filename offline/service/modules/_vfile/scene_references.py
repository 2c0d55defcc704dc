# -*- coding: utf-8 -*-
"""The files of the scene's references, at every depth, as Maya's reference commands give them.

A loaded reference's file is an asset, resolved by the path rules to its name on disk. A deferred
reference (saved unloaded: ``file -q -deferReference``) is not: the render loads neither it nor
the files inside it. A reference that is not loaded although it is not deferred (its file could
not be read here) is listed when its file is found, since the render node will load it; a
reference whose file is found nowhere is missing by its unresolved path.
"""
from __future__ import print_function

import collections
import re

from . import scene_queries
import vout

_COPY_NUMBER = re.compile(r"\{\d+\}$")


def reference_nodes(host):
    """Every reference node of the scene, the nested ones included, each once."""
    found = []
    seen = set()
    pending = collections.deque(scene_queries.nodes_of_type("reference"))
    while pending:
        node = pending.popleft()
        if node in seen:
            continue
        seen.add(node)
        found.append(node)
        try:
            children = host.referenceQuery(node, child=True, referenceNode=True) or []
        except Exception:
            children = []  # a node that loads no file (sharedReferenceNode) has none
        pending.extend(child for child in children if child not in seen)
    return found


class ReferenceFile(object):
    """One reference's file: the path the rules resolve, and what to report when it is absent."""

    def __init__(self, node, loaded, deferred, path, unresolved):
        self.node = node
        self.loaded = loaded
        self.deferred = deferred      # None when the host cannot tell
        self.path = path              # the host's answer: resolved where it found the file
        self.unresolved = unresolved  # as the scene wrote it


def _deferred(host, node):
    try:
        return bool(host.file(referenceNode=node, query=True, deferReference=True))
    except Exception as error:
        vout.Debug("Whether reference %s is deferred is unknown: %s" % (node, error))
        return None


def reference_files(host):
    files = []
    for node in reference_nodes(host):
        try:
            loaded = bool(host.referenceQuery(node, isLoaded=True))
            path = host.referenceQuery(node, filename=True, withoutCopyNumber=True)
            unresolved = host.referenceQuery(node, filename=True, unresolvedName=True, withoutCopyNumber=True)
        except Exception as error:
            vout.Debug("Reference node %s names no file: %s" % (node, error))
            continue
        if path:
            files.append(ReferenceFile(node, loaded, False if loaded else _deferred(host, node),
                                       _COPY_NUMBER.sub("", path), _COPY_NUMBER.sub("", unresolved or path)))
    return files
