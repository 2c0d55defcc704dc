# -*- coding: utf-8 -*-
"""editRenderLayerGlobals: the current render layer."""
from __future__ import print_function

from . import open_scene
from .arguments import parse_flags, native


def editRenderLayerGlobals(**kwargs):
    flags = parse_flags("editRenderLayerGlobals", kwargs, (("query", "q"), ("currentRenderLayer", "crl")))
    scene = open_scene.require()
    if flags.get("query"):
        if flags.get("currentRenderLayer"):
            return scene.current_layer
        raise RuntimeError("maya.cmds stand-in: this query of 'editRenderLayerGlobals' is not supported")
    if "currentRenderLayer" not in flags:
        raise RuntimeError("maya.cmds stand-in: editRenderLayerGlobals needs -currentRenderLayer")
    layer = flags["currentRenderLayer"]
    index = scene.graph.find(native(layer))
    if index is None or not scene.graph.is_type(index, "renderLayer"):
        raise RuntimeError("editRenderLayerGlobals: '%s' is not a render layer" % layer)
    scene.current_layer = scene.graph.name(index)
