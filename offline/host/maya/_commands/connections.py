# -*- coding: utf-8 -*-
"""listConnections: what is connected to a node or plug."""
from __future__ import print_function

from . import open_scene
from .arguments import parse_flags, native, none_if_empty


def listConnections(*args, **kwargs):
    flags = parse_flags("listConnections", kwargs, (("source", "s"), ("destination", "d"), ("plugs", "p"),
                                               ("connections", "c"), ("type", "t")))
    graph = open_scene.require().graph
    targets = []
    for arg in args:
        targets.extend(arg if isinstance(arg, (list, tuple)) else [arg])
    node_type = flags.get("type")
    return none_if_empty(graph.list_connections(
        [native(target) for target in targets], sources=bool(flags.get("source", True)),
        destinations=bool(flags.get("destination", True)), plugs=bool(flags.get("plugs")),
        pairs=bool(flags.get("connections")), type=native(node_type) if node_type is not None else None))
