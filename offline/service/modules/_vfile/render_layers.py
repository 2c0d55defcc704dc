# -*- coding: utf-8 -*-
"""One record per renderable render layer of the open scene."""
from __future__ import print_function

from . import scene_queries
import vout

_MAYA_IMAGE_FORMATS = {
    0: "gif", 1: "pic", 2: "rla", 3: "tif", 4: "tif", 5: "sgi", 6: "als", 7: "iff", 8: "jpg",
    9: "eps", 10: "iff", 11: "cin", 12: "yuv", 13: "sgi", 19: "tga", 20: "bmp", 23: "yuv",
    31: "psd", 32: "png", 35: "dds", 36: "psd", 40: "exr",
}
_REDSHIFT_IMAGE_FORMATS = {0: "iff", 1: "exr", 2: "png", 3: "tga", 4: "jpg", 5: "tif"}
_EXTENSION_ALIASES = {"jpeg": "jpg", "tiff": "tif", "deepexr": "exr", "openexr": "exr"}


class GetLayersInfo(object):
    """Collects one record per renderable render layer of the open scene."""

    def __init__(self):
        self.cmds = scene_queries.cmds()
        self._render_setup_names = None

    def getLayersInfo(self, lst):
        self._render_setup_names = None
        default_overrides = self._overrides("defaultRenderLayer")
        cameras = self._camera_shapes()
        for layer in self._layers():
            overrides = self._overrides(layer)
            value = self._value_getter(layer, overrides, default_overrides)
            renderer = value("defaultRenderGlobals", ("currentRenderer", "ren"), "mayaSoftware")
            prefix = value("defaultRenderGlobals", ("imageFilePrefix", "ifp"), None)
            lst.append({
                "part": self._display_name(layer),
                "cameras": [self._transform(shape) for shape in cameras
                            if value(shape, ("renderable", "rnd"), True)],
                "layerFilePrefix": prefix if prefix else None,
                "ext": self._extension(renderer, value),
                "renderer": renderer,
            })
        return lst

    def _layers(self):
        layers = []
        for layer in self.cmds.ls(type="renderLayer") or []:
            if ":" in layer:
                continue  # a referenced scene's layer; Maya never renders it
            renderable = scene_queries.first_attribute(layer, ("renderable", "rndr"), True)
            if renderable or renderable is None:
                layers.append(layer)
        return layers

    def _display_name(self, layer):
        if layer == "defaultRenderLayer":
            return "masterLayer"
        setup_layers, setup_layer_of = self._render_setup()
        if layer in setup_layer_of:
            return setup_layer_of[layer]
        if layer.startswith("rs_") and layer[3:] in setup_layers:
            return layer[3:]
        return layer

    def _render_setup(self):
        """(the render setup's layers, {legacy layer: the first setup layer connected to it}), read
        once per call of getLayersInfo, when a layer first needs its name."""
        if self._render_setup_names is None:
            setup_layers = scene_queries.nodes_of_type("renderSetupLayer")
            setup_layer_of = {}
            for setup_layer in setup_layers:
                for attribute in ("legacyRenderLayer", "lrl"):
                    try:
                        sources = self.cmds.listConnections("%s.%s" % (setup_layer, attribute),
                                                            source=True, destination=False) or []
                    except Exception:
                        continue
                    for source in sources:
                        setup_layer_of.setdefault(source, setup_layer)
            self._render_setup_names = (frozenset(setup_layers), setup_layer_of)
        return self._render_setup_names

    def _camera_shapes(self):
        return list(self.cmds.ls(type="camera") or [])

    def _transform(self, shape):
        parents = self.cmds.listRelatives(shape, parent=True, path=True) or [shape]
        return parents[0]

    def _overrides(self, layer):
        """{(node, attribute): value} of the layer's adjustments."""
        indices = None
        for multi in ("adjustments", "adjs"):
            try:
                indices = self.cmds.getAttr("%s.%s" % (layer, multi), mi=True)
            except Exception:
                continue
            if indices:
                break
        found = {}
        for index in indices or []:
            element = "%s.%s[%d]" % (layer, multi, index)
            # hosts differ in which spelling of the children they answer
            for plug, value in (("plug", "value"), ("plg", "val")):
                try:
                    sources = self.cmds.listConnections("%s.%s" % (element, plug), source=True,
                                                        destination=False, plugs=True)
                    if sources:
                        node, _, attribute = sources[0].rpartition(".")
                        found[(node.split("|")[-1], attribute)] = self.cmds.getAttr("%s.%s" % (element, value))
                        break
                except Exception as error:
                    vout.Debug("Layer adjustment %s.%s unreadable: %s" % (element, plug, error))
        return found

    def _value_getter(self, layer, overrides, default_overrides):
        def value(node, names, default):
            short = node.split("|")[-1]
            for table in (overrides, default_overrides):
                for name in names:
                    if (short, name) in table:
                        return table[(short, name)]
            result = scene_queries.first_attribute(node, names, default)
            return default if result is None and default is not None else result
        return value

    def _extension(self, renderer, value):
        renderer = (renderer or "").lower()
        ext = None
        if renderer == "arnold":
            ext = value("defaultArnoldDriver", ("ai_translator", "aitr"), "exr")
        elif renderer == "redshift":
            ext = _REDSHIFT_IMAGE_FORMATS.get(value("redshiftOptions", ("imageFormat",), 1), "exr")
        elif renderer == "vray":
            ext = value("vraySettings", ("imageFormatStr", "imgfs"), "png")
        elif renderer == "renderman":
            ext = "exr"
        if not ext:
            code = value("defaultRenderGlobals", ("imageFormat", "outf"), 7)
            if code in (50, 51):
                ext = value("defaultRenderGlobals", ("imfPluginKey", "imfkey"), "") or "iff"
            else:
                ext = _MAYA_IMAGE_FORMATS.get(code, "iff")
        ext = ext.split()[0].lower() if ext.split() else "exr"
        return _EXTENSION_ALIASES.get(ext, ext)


