# -*- coding: utf-8 -*-
"""The paths a scene's nodes name, with what their nodes say about tiles and frames."""
from __future__ import print_function

from . import scene_queries
import vout

_NODES_ASKED_AT_ONCE = 5000


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


class ReferenceSlice(object):
    """The references of a slice of one type's nodes, in the nodes' order. Most are a path of the
    slice's kind with no tiles or frames to ask about: such an item is the path's text alone (no
    object per path); the others are References."""

    __slots__ = ("kind", "items")

    def __init__(self, kind, items):
        self.kind = kind
        self.items = items

    def reference(self, item):
        """The Reference an item stands for."""
        return item if isinstance(item, Reference) else Reference(item, self.kind)

    def references(self):
        return [self.reference(item) for item in self.items]


_TEXT_TYPES = (type(u""), type(""))  # 2.7: unicode and str; 3.x: str


def _text_values(node, values):
    """The non-empty texts of a node's file attributes, from their answers. An answer that is no
    text (a number that a broken or hostile scene sets) names no file, as in Maya, which refuses
    such a value when it opens the scene: it is logged and left out."""
    texts = []
    for value in values:
        for item in (value if isinstance(value, (list, tuple)) else (value,)):
            if isinstance(item, _TEXT_TYPES):
                if item:
                    texts.append(item)
            elif item is not None:
                vout.Warring("%s names no file: its file attribute holds %r, not a path." % (node, item))
    return texts


def _attribute_columns(host, nodes, groups):
    """[[for each node, the first of the group's attribute names it answers, else the group's default]
    for each (names, default) group]: in one call where the host answers for many nodes at once (the
    offline host), else node by node."""
    batch = getattr(host, "_attribute_values", None)
    if batch is not None:
        return batch(nodes, groups)
    get_attr = host.getAttr
    columns = []
    for names, default in groups:
        answers = []
        for node in nodes:
            for name in names:
                try:
                    answers.append(get_attr(node + "." + name))
                    break
                except Exception:
                    continue
            else:
                answers.append(default)
        columns.append(answers)
    return columns


def node_references(node_type, attribute_groups, kind, frame_attrs=None, tiling=False):
    """The references held by every node of a type in the given file attributes, one by one.

    frame_attrs names the (use, frame, offset) attributes of a node that can
    read a frame sequence; tiling reads the node's ``uvTilingMode``.
    """
    for part in node_reference_slices(node_type, attribute_groups, kind, frame_attrs, tiling):
        for reference in part.references():
            yield reference


def node_reference_slices(node_type, attribute_groups, kind, frame_attrs=None, tiling=False):
    """node_references a ReferenceSlice at a time, for a slice of the nodes: the answers for a big
    scene are never all held at once, and a caller walks each slice without a generator step per
    reference."""
    nodes = scene_queries.nodes_of_type(node_type)
    if not nodes:
        return
    host = scene_queries.cmds()
    for start in range(0, len(nodes), _NODES_ASKED_AT_ONCE):
        yield _slice_references(host, nodes[start:start + _NODES_ASKED_AT_ONCE], attribute_groups, kind,
                                frame_attrs, tiling)


def _slice_references(host, nodes, attribute_groups, kind, frame_attrs, tiling):
    groups = [(names, None) for names in attribute_groups]
    if frame_attrs:
        groups.append((frame_attrs[0], False))
    if tiling:
        groups.append((("uvTilingMode", "uvt"), 0))
    columns = _attribute_columns(host, nodes, groups)
    texts = columns[:len(attribute_groups)]
    uses = columns[len(attribute_groups)] if frame_attrs else None
    modes = columns[-1] if tiling else None
    items = []
    only = texts[0] if len(texts) == 1 else None
    for index, node in enumerate(nodes):
        frame_mode = bool(uses[index]) if uses else False
        mode = (modes[index] or 0) if modes else 0
        if not frame_mode and not mode:
            # most nodes: one file each, neither tiles nor frames to ask about
            value = only[index] if only is not None else None
            if value and type(value) in _TEXT_TYPES:
                items.append(value)
            else:
                items.extend(_text_values(node, [group[index] for group in texts]))
            continue
        named_frame = None
        if frame_mode and frame_attrs[1]:
            # a sequence (few nodes): its frame and offset asked for this node alone
            frame_attr, offset_attr = frame_attrs[1:]
            value = scene_queries.first_attribute(node, frame_attr, host=host)
            offset = scene_queries.first_attribute(node, offset_attr, 0, host) if offset_attr else 0
            if isinstance(value, (int, float)):
                named_frame = int(round(value + (offset or 0)))
        explicit = _explicit_tiles(node, host) if mode == 4 else ()
        for raw in _text_values(node, [group[index] for group in texts]):
            items.append(Reference(raw, kind, mode, frame_mode, named_frame, explicit))
    return ReferenceSlice(kind, items)


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
