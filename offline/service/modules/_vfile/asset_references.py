# -*- coding: utf-8 -*-
"""The paths a scene's nodes name, with what their nodes say about tiles and frames."""
from __future__ import print_function

from . import scene_queries


class Reference(object):
    """A raw path from the scene with what is known about its tiles and frames; base_dir is the
    folder of the file that names it when that is not the scene (an Arnold .ass file)."""

    __slots__ = ("raw", "kind", "tiling", "frame_mode", "named_frame", "explicit_tiles", "base_dir")

    def __init__(self, raw, kind="image", tiling=0, frame_mode=False, named_frame=None,
                 explicit_tiles=(), base_dir=None):
        self.raw = raw
        self.kind = kind
        self.tiling = tiling
        self.frame_mode = frame_mode
        self.named_frame = named_frame
        self.explicit_tiles = explicit_tiles
        self.base_dir = base_dir


def _text_values(node, attribute_groups, get):
    """The non-empty text values of a node's file attributes."""
    values = []
    for names in attribute_groups:
        value = get(node, names)
        if isinstance(value, (list, tuple)):
            values.extend(item for item in value if item)
        elif value:
            values.append(value)
    return values


def node_references(node_type, attribute_groups, kind, frame_attrs=None, tiling=False):
    """The references held by every node of a type in the given file attributes, one by one.

    frame_attrs names the (use, frame, offset) attributes of a node that can
    read a frame sequence; tiling reads the node's ``uvTilingMode``.
    """
    nodes = scene_queries.nodes_of_type(node_type)
    if not nodes:
        return
    host = scene_queries.cmds()
    get_attr = host.getAttr

    def get(node, names, default=None):
        # scene_queries.first_attribute, inlined: three of these for each node of a big scene
        for name in names:
            try:
                return get_attr(node + "." + name)
            except Exception:
                continue
        return default

    for node in nodes:
        frame_mode = False
        named_frame = None
        if frame_attrs:
            use_attr, frame_attr, offset_attr = frame_attrs
            frame_mode = bool(get(node, use_attr, False))
            if frame_mode and frame_attr:
                value = get(node, frame_attr)
                offset = get(node, offset_attr, 0) if offset_attr else 0
                if isinstance(value, (int, float)):
                    named_frame = int(round(value + (offset or 0)))
        mode = 0
        explicit = ()
        if tiling:
            mode = get(node, ("uvTilingMode", "uvt"), 0) or 0
            if mode == 4:
                explicit = _explicit_tiles(node, host)
        for raw in _text_values(node, attribute_groups, get):
            yield Reference(raw, kind, mode, frame_mode, named_frame, explicit)


def _explicit_tiles(node, host):
    names = []
    try:
        indices = host.getAttr("%s.explicitUvTiles" % node, mi=True) or []
    except Exception:
        return names
    for index in indices:
        name = scene_queries.first_attribute("%s.explicitUvTiles[%d]" % (node, index),
                                             ("explicitUvTileName", "eutn"), host=host)
        if name:
            names.append(name)
    return names
