# -*- coding: utf-8 -*-
"""getAttr and attributeQuery: attribute values by Maya's long or short names, with defaults."""
from __future__ import print_function

from . import open_scene
from .arguments import parse_flags, native, none_if_empty


def getAttr(plug, **kwargs):
    flags = parse_flags("getAttr", kwargs, (("multiIndices", "mi"),))
    graph = open_scene.require().graph
    if flags.get("multiIndices"):
        return none_if_empty(graph.multi_indices(native(plug)))
    return graph.get_attr(native(plug))


def attributeQuery(attr, **kwargs):
    flags = parse_flags("attributeQuery", kwargs, (("node", "n"), ("exists", "ex")))
    if not flags.get("exists") or "node" not in flags:
        raise RuntimeError("maya.cmds stand-in: attributeQuery supports only -node with -exists")
    graph = open_scene.require().graph
    return graph.attribute_exists(native(flags["node"]), native(attr))
