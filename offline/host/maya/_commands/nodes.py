# -*- coding: utf-8 -*-
"""ls, nodeType, objExists, listRelatives: the scene's nodes and their DAG relations."""
from __future__ import print_function

from . import open_scene
from .arguments import parse_flags, native, none_if_empty


def _flattened(args):
    items = []
    for arg in args:
        items.extend(arg if isinstance(arg, (list, tuple)) else [arg])
    return [native(item) for item in items]


def _types(flags):
    types = flags.get("type")
    if types is not None and not isinstance(types, (list, tuple)):
        types = [types]
    return types


def ls(*args, **kwargs):
    flags = parse_flags("ls", kwargs, (("type", "typ"), ("long", "l")))
    graph = open_scene.require().graph
    return graph.ls(types=_types(flags), patterns=_flattened(args), long=bool(flags.get("long", False)))


def nodeType(node, **kwargs):
    parse_flags("nodeType", kwargs, ())
    return open_scene.require().graph.node_type(native(node))


def objExists(name, **kwargs):
    parse_flags("objExists", kwargs, ())
    scene = open_scene.current()
    if scene is None:
        return False
    return scene.graph.object_exists(native(name))


def listRelatives(*args, **kwargs):
    flags = parse_flags("listRelatives", kwargs, (("parent", "p"), ("children", "c"), ("shapes", "s"),
                                             ("path", "pa"), ("fullPath", "f"), ("type", "typ"),
                                             ("allDescendents", "ad"), ("allParents", "ap")))
    graph = open_scene.require().graph
    return none_if_empty(graph.list_relatives(
        _flattened(args), parents=bool(flags.get("parent") or flags.get("allParents")),
        all_descendents=bool(flags.get("allDescendents")), shapes=bool(flags.get("shapes")),
        types=_types(flags), full_paths=bool(flags.get("path") or flags.get("fullPath"))))
