# -*- coding: utf-8 -*-
"""ls, nodeType, objExists, listRelatives: the scene's nodes and their DAG relations."""
from __future__ import print_function

import fnmatch

import mayascene

from . import open_scene
from .arguments import parse_flags, native, none_if_empty
from .attributes import attribute_exists


def ls(*args, **kwargs):
    flags = parse_flags("ls", kwargs, (("type", "typ"), ("long", "l")))
    scene = open_scene.require()
    types = flags.get("type")
    if types is not None and not isinstance(types, (list, tuple)):
        types = [types]
    names = []
    for arg in args:
        names.extend(arg if isinstance(arg, (list, tuple)) else [arg])
    result = []
    for index, node in enumerate(scene.nodes):
        if types is not None and not any(scene.is_type(index, t) for t in types):
            continue
        if names and not any(_matches(scene, index, native(n)) for n in names):
            continue
        result.append(scene.display_name(index, flags.get("long", False)))
    return result


def _matches(scene, index, pattern):
    node = scene.nodes[index]
    if pattern.startswith(":"):
        pattern = pattern[1:]
    if "|" in pattern:
        return node["path"] == pattern or (node["path"] or "").endswith("|" + pattern)
    return fnmatch.fnmatchcase(node["name"], pattern)


def nodeType(node, **kwargs):
    parse_flags("nodeType", kwargs, ())
    scene = open_scene.require()
    return scene.nodes[scene.require(node)]["type"]


def objExists(name, **kwargs):
    parse_flags("objExists", kwargs, ())
    scene = open_scene.current()
    if scene is None:
        return False
    node_name, attr = scene.split_plug(name)
    try:
        index = scene.find(node_name)
    except ValueError:
        return True  # several objects match: it exists
    if index is None:
        return False
    return not attr or attribute_exists(scene, index, attr)


def listRelatives(*args, **kwargs):
    flags = parse_flags("listRelatives", kwargs, (("parent", "p"), ("children", "c"), ("shapes", "s"),
                                             ("path", "pa"), ("fullPath", "f"), ("type", "typ"),
                                             ("allDescendents", "ad"), ("allParents", "ap")))
    scene = open_scene.require()
    targets = []
    for arg in args:
        targets.extend(arg if isinstance(arg, (list, tuple)) else [arg])
    types = flags.get("type")
    if types is not None and not isinstance(types, (list, tuple)):
        types = [types]
    found = []
    for target in targets:
        index = scene.require(target)
        if flags.get("parent") or flags.get("allParents"):
            parent = scene.nodes[index]["parent"]
            if parent is not None:
                found.append(parent)
            elif scene.nodes[index]["parent_name"]:
                # A parent in a referenced file: only its written name is known.
                parent_name = scene.nodes[index]["parent_name"].lstrip(":")
                if (flags.get("path") or flags.get("fullPath")) and not parent_name.startswith("|"):
                    parent_name = "|" + parent_name
                found.append(parent_name)
            continue
        if flags.get("allDescendents"):
            order = []
            stack = list(scene.children.get(index, []))
            while stack:
                child = stack.pop(0)
                order.append(child)
                stack[0:0] = scene.children.get(child, [])
            found.extend(reversed(order))
        else:
            found.extend(scene.children.get(index, []))
    result = []
    for item in found:
        if not isinstance(item, int):
            result.append(item)
            continue
        if flags.get("shapes") and not _is_shape(scene, item):
            continue
        if types is not None and not any(scene.is_type(item, t) for t in types):
            continue
        if flags.get("path") or flags.get("fullPath"):
            result.append(scene.nodes[item]["path"])
        else:
            result.append(scene.nodes[item]["name"])
    return none_if_empty(result)


def _is_shape(scene, index):
    ancestry = mayascene.type_ancestry(scene.nodes[index]["type"])
    if "shape" in ancestry:
        return True
    # A plug-in type the table does not know: a leaf under a transform is its shape.
    return len(ancestry) == 1 and not scene.children.get(index)
