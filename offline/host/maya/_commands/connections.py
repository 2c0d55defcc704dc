# -*- coding: utf-8 -*-
"""listConnections: what is connected to a node or plug."""
from __future__ import print_function

from . import open_scene
from .arguments import parse_flags, none_if_empty


def listConnections(*args, **kwargs):
    flags = parse_flags("listConnections", kwargs, (("source", "s"), ("destination", "d"), ("plugs", "p"),
                                               ("connections", "c"), ("type", "t")))
    scene = open_scene.require()
    want_sources = flags.get("source", True)
    want_destinations = flags.get("destination", True)
    targets = []
    for arg in args:
        targets.extend(arg if isinstance(arg, (list, tuple)) else [arg])
    result = []
    for target in targets:
        node_name, attr = scene.split_plug(target)
        index = scene.require(node_name)
        canonical = scene.resolve(index, attr)[0] if attr else None
        for source, destination in scene.data["connections"]:
            for mine, other, wanted in ((destination, source, want_sources),
                                        (source, destination, want_destinations)):
                if not wanted:
                    continue
                my_node, my_attr = scene.split_plug(mine)
                if scene.find_quiet(my_node) != index:
                    continue
                if canonical is not None and not (my_attr == canonical or my_attr.startswith(canonical + "[")
                                                  or my_attr.startswith(canonical + ".")):
                    continue
                other_node, other_attr = scene.split_plug(other)
                other_index = scene.find_quiet(other_node)
                if flags.get("type") is not None:
                    if other_index is None or not scene.is_type(other_index, flags["type"]):
                        continue
                other_name = scene.display_name(other_index) if other_index is not None else other_node
                mine_name = scene.display_name(index) + "." + my_attr
                answer = other_name + "." + other_attr if flags.get("plugs") else other_name
                if flags.get("connections"):
                    result.extend([mine_name, answer])
                else:
                    result.append(answer)
    return none_if_empty(result)
