# -*- coding: utf-8 -*-
"""An in-memory ``maya.cmds`` for the service-module tests.

Only the commands and flags that the service modules use are answered, with
Maya's conventions (None for "nothing", ValueError for unknown plugs); a test
describes its scene with the Scene helpers and installs it.
"""
from __future__ import print_function

import re
import sys
import types
from collections import OrderedDict


class Scene(object):
    def __init__(self, name=""):
        self.name = name
        self.types = OrderedDict()  # node -> type, in creation order
        self.parents = {}        # node -> parent node
        self.values = {}         # "node.attr" -> value
        self.connections = []    # (source plug, destination plug)
        self.references = OrderedDict()  # reference node -> Reference
        self.plugins = []        # flat [name, version, ...]
        self.calls = []
        self.workspace_root = ""     # as `workspace -q -rd` answers: "" when there is no project
        self.file_rules = []         # [(rule, location)] as workspace.mel lists them
        self.workspace_variables = {}
        self.dirmap_enabled = False
        self.mappings = []           # [(source, destination)] in the order added

    def node(self, name, node_type, parent=None, **values):
        self.types[name] = node_type
        if parent:
            self.parents[name] = parent
        for attribute, value in values.items():
            self.values["%s.%s" % (name, attribute)] = value
        return self

    def set(self, plug, value):
        self.values[plug] = value
        return self

    def connect(self, source, destination):
        self.connections.append((source, destination))
        return self

    def reference(self, node, path, loaded=True, unresolved=None, parent=None, deferred=False):
        """A reference node and its file: path as the host resolved it (as written when it could
        not), unresolved as the scene wrote it; a nested one names its parent's node; deferred
        None: the host cannot tell."""
        self.references[node] = Reference(path, loaded, unresolved or path, parent, deferred)
        self.types[node] = "reference"
        return self


class Reference(object):
    def __init__(self, path, loaded, unresolved, parent, deferred):
        self.path = path
        self.loaded = loaded
        self.unresolved = unresolved
        self.parent = parent
        self.deferred = deferred


# derived types the service asks for by their base name
_DERIVED = {"camera": ("camera", "stereoRigCamera"), "file": ("file", "psdFileTex")}


class FakeCmds(types.ModuleType):
    def __init__(self, scene):
        types.ModuleType.__init__(self, "maya.cmds")
        self.scene = scene

    def _record(self, name, args, flags):
        self.scene.calls.append((name, args, flags))

    def ls(self, *args, **flags):
        self._record("ls", args, flags)
        wanted = flags.get("type")
        if wanted is None:
            return list(self.scene.types)
        wanted = [wanted] if isinstance(wanted, str) else list(wanted)
        accepted = set()
        for name in wanted:
            accepted.update(_DERIVED.get(name, (name,)))
        return [node for node, node_type in self.scene.types.items() if node_type in accepted]

    def getAttr(self, plug, **flags):
        self._record("getAttr", (plug,), flags)
        if flags.get("mi") or flags.get("multiIndices"):
            prefix = plug + "["
            indices = sorted(set(int(key[len(prefix):].split("]")[0])
                                 for key in list(self.scene.values) + [d for _, d in self.scene.connections]
                                 if key.startswith(prefix)))
            if not indices and plug.split(".")[0] not in self.scene.types:
                raise ValueError("No object matches name: %s" % plug)
            return indices or None
        if plug in self.scene.values:
            return self.scene.values[plug]
        raise ValueError("No object matches name: %s" % plug)

    def listConnections(self, plug, source=True, destination=True, plugs=False, **flags):
        self._record("listConnections", (plug,), dict(flags, source=source, destination=destination, plugs=plugs))
        found = []
        for src, dst in self.scene.connections:
            if source and (dst == plug or dst.split(".")[0] == plug):
                found.append(src if plugs else src.split(".")[0])
            if destination and (src == plug or src.split(".")[0] == plug):
                found.append(dst if plugs else dst.split(".")[0])
        return found or None

    def listRelatives(self, node, parent=False, path=False, **flags):
        self._record("listRelatives", (node,), dict(flags, parent=parent, path=path))
        if parent and node in self.scene.parents:
            return [self.scene.parents[node]]
        return None

    def file(self, *args, **flags):
        self._record("file", args, flags)
        if flags.get("q") and flags.get("sn"):
            return self.scene.name
        if flags.get("query") and flags.get("deferReference"):
            reference = self.scene.references.get(flags.get("referenceNode"))
            if reference is None or reference.deferred is None:
                raise RuntimeError("fake file: unsupported %r %r" % (args, flags))
            return reference.deferred
        raise RuntimeError("fake file: unsupported %r %r" % (args, flags))

    def referenceQuery(self, node, **flags):
        self._record("referenceQuery", (node,), flags)
        reference = self.scene.references.get(node)
        if reference is None:
            raise RuntimeError("Reference node '%s' is not associated with a reference file." % node)
        if flags.get("child") and flags.get("referenceNode"):
            return [name for name, r in self.scene.references.items() if r.parent == node] or None
        if flags.get("isLoaded"):
            return reference.loaded
        if flags.get("filename"):
            path = reference.unresolved if flags.get("unresolvedName") else reference.path
            return re.sub(r"\{\d+\}$", "", path) if flags.get("withoutCopyNumber") else path
        raise RuntimeError("fake referenceQuery: unsupported %r" % (flags,))

    def workspace(self, *args, **flags):
        self._record("workspace", args, flags)
        scene = self.scene
        root = scene.workspace_root.rstrip("/")
        if flags.get("rootDirectory"):
            return root + "/" if root else ""
        if flags.get("fileRuleList"):
            return [rule for rule, _ in scene.file_rules]
        if "fileRuleEntry" in flags:
            return dict(scene.file_rules).get(flags["fileRuleEntry"], "")
        if flags.get("variableList"):
            return sorted(scene.workspace_variables)
        if "variableEntry" in flags:
            return scene.workspace_variables.get(flags["variableEntry"], "")
        if "expandName" in flags:
            name = flags["expandName"]
            return name if name.startswith("/") or not root else root + "/" + name
        raise RuntimeError("fake workspace: unsupported %r %r" % (args, flags))

    def dirmap(self, **flags):
        self._record("dirmap", (), flags)
        scene = self.scene
        if flags.get("q") and flags.get("enable"):
            return scene.dirmap_enabled
        if flags.get("getAllMappings"):
            return [side for pair in scene.mappings for side in pair]
        if "convertDirectory" in flags:
            path = flags["convertDirectory"]
            for source, destination in scene.mappings if scene.dirmap_enabled else []:
                if path == source or path.startswith(source.rstrip("/") + "/"):
                    return destination.rstrip("/") + "/" + path[len(source):].lstrip("/")
            return path
        raise RuntimeError("fake dirmap: unsupported %r" % (flags,))

    def pluginInfo(self, *args, **flags):
        self._record("pluginInfo", args, flags)
        return list(self.scene.plugins) or None


def install(scene):
    """Make ``from maya import cmds`` answer from scene; returns the module."""
    cmds = FakeCmds(scene)
    maya = types.ModuleType("maya")
    maya.cmds = cmds
    sys.modules["maya"] = maya
    sys.modules["maya.cmds"] = cmds
    return cmds


def uninstall():
    sys.modules.pop("maya", None)
    sys.modules.pop("maya.cmds", None)
