# -*- coding: utf-8 -*-
"""The open scene: the reader's data with the indexes the commands need, process-wide as in Maya."""
from __future__ import print_function

import mayascene

from .arguments import native, no_object


class Scene(object):
    """The reader's data with the indexes the commands need."""

    def __init__(self, path, data):
        self.path = path
        self.data = data
        self.nodes = data["nodes"]
        self.by_name = {}
        self.children = {}
        for index, node in enumerate(self.nodes):
            self.by_name.setdefault(node["name"], []).append(index)
            if node["parent"] is not None:
                self.children.setdefault(node["parent"], []).append(index)
        self._suffixes = None  # partial DAG path -> how many nodes it names
        self._found = {}  # name as asked -> indices of the nodes it matches
        self.loaded_plugins = []
        for plugin, _version, _types, _data_types in data["requires"]:
            if plugin not in self.loaded_plugins:
                self.loaded_plugins.append(plugin)
        self.current_layer = self._initial_layer()

    # -- names -------------------------------------------------------------------------------
    def find(self, name):
        """Index of the node `name` (short name, partial or full DAG path); None when absent."""
        name = native(name)
        if name.startswith(":"):
            name = name[1:]
        if name not in self._found:
            self._found[name] = self._lookup(name)
        hits = self._found[name]
        if not hits:
            return None
        if len(hits) > 1:
            raise ValueError("More than one object matches name: %s" % name)
        return hits[0]

    def _lookup(self, name):
        if "|" in name:
            if name.startswith("|"):
                hits = [i for i, n in enumerate(self.nodes) if n["path"] == name]
            else:
                hits = [i for i, n in enumerate(self.nodes)
                        if n["path"] and (n["path"].endswith("|" + name))]
        else:
            hits = self.by_name.get(name, [])
        return hits

    def find_quiet(self, name):
        """find() for names read from the file: an ambiguous name matches nothing."""
        try:
            return self.find(name)
        except ValueError:
            return None

    def require(self, name):
        index = self.find(name)
        if index is None:
            raise no_object(name)
        return index

    def display_name(self, index, long_names=False):
        """Maya's way of naming a node: the shortest unique (partial) path for DAG nodes."""
        node = self.nodes[index]
        path = node["path"]
        if not path:
            return node["name"]
        if long_names:
            return path
        if self._suffixes is None:
            self._suffixes = {}
            for other in self.nodes:
                if other["path"]:
                    parts = other["path"].split("|")[1:]
                    for start in range(len(parts)):
                        suffix = "|".join(parts[start:])
                        self._suffixes[suffix] = self._suffixes.get(suffix, 0) + 1
        parts = path.split("|")[1:]
        for start in range(len(parts) - 1, -1, -1):
            candidate = "|".join(parts[start:])
            if self._suffixes.get(candidate) == 1:
                return candidate
        return path

    def is_type(self, index, wanted):
        node_type = self.nodes[index]["type"]
        return wanted in mayascene.type_ancestry(node_type)

    # -- attributes --------------------------------------------------------------------------
    def split_plug(self, plug):
        plug = native(plug)
        bar = plug.rfind("|")
        dot = plug.find(".", bar + 1)
        if dot < 0:
            return plug, ""
        return plug[:dot], plug[dot + 1:]

    def resolve(self, index, attr):
        node = self.nodes[index]
        dynamic = [(d[0], d[1]) for d in node["dynamic"]]
        canonical, known, default = mayascene.resolve_attribute(node["type"], attr, dynamic)
        leaf = canonical.split(".")[-1].split("[")[0]
        for short_name, long_name, _type, dyn_default in node["dynamic"]:
            if leaf == long_name:
                return canonical, True, dyn_default
        return canonical, known, default

    def _initial_layer(self):
        manager = self.find("renderLayerManager")
        if manager is None:
            return "defaultRenderLayer"
        attrs = self.nodes[manager]["attrs"]
        wanted = attrs.get("currentRenderLayer", 0)
        index = 0
        while index < 4096:
            key = "renderLayerId[%d]" % index
            if attrs.get(key, 0) == wanted:
                source = "renderLayerManager." + key
                for src, dst in self.data["connections"]:
                    if src == source and dst.endswith(".identification"):
                        layer = self.find_quiet(dst.rsplit(".", 1)[0])
                        if layer is not None:
                            return self.nodes[layer]["name"]
            if key not in attrs and index > 0:
                break
            index += 1
        return "defaultRenderLayer"


_state = {"scene": None}


def current():
    """The open scene, or None."""
    return _state["scene"]


def require():
    scene = _state["scene"]
    if scene is None:
        raise RuntimeError("maya.cmds stand-in: no scene is open")
    return scene


def replace(scene):
    _state["scene"] = scene
