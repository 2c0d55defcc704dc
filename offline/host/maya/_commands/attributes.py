# -*- coding: utf-8 -*-
"""getAttr and attributeQuery: attribute values by Maya's long or short names, with defaults."""
from __future__ import print_function

from . import open_scene
from .arguments import parse_flags, native, no_object, none_if_empty


def attribute_exists(scene, index, attr):
    canonical, known, _default = scene.resolve(index, attr)
    if known:
        return True
    attrs = scene.nodes[index]["attrs"]
    return canonical in attrs or any(k.startswith(canonical + "[") or k.startswith(canonical + ".")
                                     for k in attrs)


def _python_value(value):
    # Maya answers compound and vector attributes as a list holding one tuple.
    if isinstance(value, tuple):
        return [value]
    if isinstance(value, list):
        return list(value)
    return value


def getAttr(plug, **kwargs):
    flags = parse_flags("getAttr", kwargs, (("multiIndices", "mi"),))
    scene = open_scene.require()
    node_name, attr = scene.split_plug(plug)
    index = scene.find(node_name)
    if index is None or not attr:
        raise no_object(plug)
    canonical, known, default = scene.resolve(index, attr)
    attrs = scene.nodes[index]["attrs"]
    if flags.get("multiIndices"):
        indices = set()
        prefix = canonical + "["
        for key in attrs:
            if key.startswith(prefix):
                indices.add(int(key[len(prefix):].split("]")[0]))
        node_prefix = scene.nodes[index]["name"] + "." + prefix
        for source, destination in scene.data["connections"]:
            for connected in (source, destination):
                if connected.startswith(node_prefix):
                    indices.add(int(connected[len(node_prefix):].split("]")[0]))
        return none_if_empty(sorted(indices))
    if canonical in attrs:
        return _python_value(attrs[canonical])
    if known or attribute_exists(scene, index, attr):
        return _python_value(default)
    raise no_object(plug)


def attributeQuery(attr, **kwargs):
    flags = parse_flags("attributeQuery", kwargs, (("node", "n"), ("exists", "ex")))
    if not flags.get("exists") or "node" not in flags:
        raise RuntimeError("maya.cmds stand-in: attributeQuery supports only -node with -exists")
    scene = open_scene.require()
    index = scene.find(flags["node"])
    if index is None:
        raise no_object(flags["node"])
    return attribute_exists(scene, index, native(attr))
