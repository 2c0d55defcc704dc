# -*- coding: utf-8 -*-
"""getAttr and attributeQuery: attribute values by Maya's long or short names, with defaults; and
attribute_values, getAttr over many nodes in one call (offline only)."""
from __future__ import print_function

from . import open_scene
from .arguments import parse_flags, native, none_if_empty


def getAttr(plug, **kwargs):
    flags = parse_flags("getAttr", kwargs, (("multiIndices", "mi"),))
    graph = open_scene.require().graph
    if flags.get("multiIndices"):
        return none_if_empty(graph.multi_indices(native(plug)))
    return graph.get_attr(native(plug))


def attribute_values(nodes, groups):
    """[[value of each node] for each (names, default) group]: getAttr of the first of the group's
    attribute names that the node answers, else the group's default. What a gatherer would ask node
    by node, in one call (no Maya has this). The graph takes 2.7's unicode as it takes str."""
    return open_scene.require().graph.attribute_values(nodes, groups)


def attributeQuery(attr, **kwargs):
    flags = parse_flags("attributeQuery", kwargs, (("node", "n"), ("exists", "ex")))
    if not flags.get("exists") or "node" not in flags:
        raise RuntimeError("maya.cmds stand-in: attributeQuery supports only -node with -exists")
    graph = open_scene.require().graph
    return graph.attribute_exists(native(flags["node"]), native(attr))
