# -*- coding: utf-8 -*-
"""The open scene: the scene graph of the file and of its references, process-wide as in Maya."""
from __future__ import print_function

import os

import scenegraph

from . import host_log


class OpenScene(object):
    """The scene graph with the state Maya keeps beside it: loaded plug-ins, the current layer."""

    def __init__(self, path, graph):
        self.path = path
        self.graph = graph
        self.requires = []  # (plug-in, version) of every file, the scene's first
        for file_id in range(graph.file_count()):
            for plugin, version, _types, _data_types in graph.file_info(file_id)["requires"]:
                self.requires.append((plugin, version))
        # (plug-in, version) of each plug-in's first requires line: a scene may hold tens of thousands
        self.plugins_in_use = []
        seen = set()
        for plugin, version in self.requires:
            if plugin not in seen:
                seen.add(plugin)
                self.plugins_in_use.append((plugin, version))
        self.loaded_plugins = [plugin for plugin, _version in self.plugins_in_use]
        self.current_layer = _initial_layer(graph)


def open_file(path):
    """Opens a scene as Maya does: the scene file, then the references Maya would load, then the
    edits they store. Raises scenegraph.ParseError, IOError or OSError."""
    from .references import loader  # its path rules ask this module for the open scene

    graph = scenegraph.Graph()
    graph.add_file(path)
    # The loader adds each file Maya would load (graph.add_file with its namespace and reference
    # node), then has the graph apply the edits the files store.
    loader.load(graph, 0, path)
    _report_long_values(graph)
    return OpenScene(path, graph)


def _report_long_values(graph):
    """Says which texts were too long to keep in memory: none is ever cut."""
    cap = os.environ.get("VANALYZER_MAX_VALUE_BYTES") or str(scenegraph.DEFAULT_MAX_VALUE_BYTES)
    for file_id in range(graph.file_count()):
        info = graph.file_info(file_id)
        for where, length, kept in info["long_values"]:
            if kept:
                host_log.record("Info", "%s: %s holds a text of %d bytes, over the cap of %s bytes on a stored "
                                        "value (VANALYZER_MAX_VALUE_BYTES): it stays in the file and is read from "
                                        "there when asked" % (info["path"], where, length, cap))
            else:
                host_log.record("Warning", "%s: %s holds a text of %d bytes, over the cap of %s bytes on a stored "
                                           "value (VANALYZER_MAX_VALUE_BYTES): it is not read" % (info["path"], where,
                                                                                                length, cap))


def _find_quiet(graph, name):
    try:
        return graph.find(name)
    except ValueError:
        return None


def _initial_layer(graph):
    """The layer whose identification is driven by the manager's entry for currentRenderLayer."""
    if _find_quiet(graph, "renderLayerManager") is None:
        return "defaultRenderLayer"
    wanted = graph.get_attr("renderLayerManager.currentRenderLayer")
    index = 0
    while index < 4096:
        plug = "renderLayerManager.renderLayerId[%d]" % index
        value = graph.get_attr(plug)
        if (0 if value is None else value) == wanted:
            for destination in graph.list_connections([plug], sources=False, plugs=True):
                node, _, attribute = destination.rpartition(".")
                layer = _find_quiet(graph, node) if attribute == "identification" else None
                if layer is not None:
                    return graph.name(layer)
        if value is None and index > 0:
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
