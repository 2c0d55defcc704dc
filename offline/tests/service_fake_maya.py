# -*- coding: utf-8 -*-
"""An in-memory ``maya.cmds`` for the service-module tests.

Only the commands and flags that the service modules use are answered, with
Maya's conventions (None for "nothing", ValueError for unknown plugs); a test
describes its scene with the Scene helpers and installs it.
"""
from __future__ import print_function

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
        self.references = []
        self.plugins = []        # flat [name, version, ...]
        self.calls = []

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
        if flags.get("q") and flags.get("reference"):
            return list(self.scene.references)
        raise RuntimeError("fake file: unsupported %r %r" % (args, flags))

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
