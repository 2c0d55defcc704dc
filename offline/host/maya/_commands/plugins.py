# -*- coding: utf-8 -*-
"""loadPlugin, unloadPlugin, pluginInfo: the scene's plug-ins and Maya's own."""
from __future__ import print_function

from . import open_scene
from .arguments import parse_flags, native

# Plug-ins that ship with Maya: loadPlugin succeeds for these even when the scene does not list them.
MAYA_PLUGINS = (
    "sceneAssembly", "gpuCache", "AbcImport", "AbcExport", "AbcBullet", "fbxmaya", "objExport",
    "stereoCamera", "renderSetup", "mtoa", "xgenToolkit", "lookdevKit", "MASH", "Type", "matrixNodes",
    "quatNodes", "modelingToolkit", "mayaHIK", "Turtle", "Unfold3D", "invertShape", "mayaUsdPlugin",
    "bifrostGraph", "OpenEXRLoader", "tiffFloatReader", "ik2Bsolver", "ikSpringSolver", "hairPhysicalShader",
)


def plugin_key(name):
    base = name
    for ext in (".py", ".so", ".mll", ".bundle", ".pyc"):
        if base.endswith(ext):
            base = base[: -len(ext)]
    return base


def loadPlugin(name, **kwargs):
    parse_flags("loadPlugin", kwargs, (("quiet", "qt"),))
    scene = open_scene.require()
    key = plugin_key(native(name))
    known = [plugin_key(p) for p in scene.loaded_plugins] + list(MAYA_PLUGINS)
    if key not in known:
        raise RuntimeError('Plug-in, "%s", was not found on MAYA_PLUG_IN_PATH.' % name)
    if not any(plugin_key(p) == key for p in scene.loaded_plugins):
        scene.loaded_plugins.append(native(name))
    return [key]


def unloadPlugin(name, **kwargs):
    parse_flags("unloadPlugin", kwargs, (("force", "f"),))
    scene = open_scene.require()
    key = plugin_key(native(name))
    for plugin in scene.loaded_plugins:
        if plugin_key(plugin) == key:
            scene.loaded_plugins.remove(plugin)
            return [key]
    raise RuntimeError('Plug-in "%s" is not loaded.' % name)


def pluginInfo(*args, **kwargs):
    flags = parse_flags("pluginInfo", kwargs, (("query", "q"), ("pluginsInUse", "pu"), ("loaded", "l"),
                                          ("version", "v")))
    scene = open_scene.require()
    if not flags.get("query"):
        raise RuntimeError("maya.cmds stand-in: pluginInfo supports only queries")
    if flags.get("pluginsInUse"):
        return [text for pair in scene.plugins_in_use for text in pair]
    if not args:
        raise RuntimeError("maya.cmds stand-in: this query of 'pluginInfo' is not supported")
    key = plugin_key(native(args[0]))
    if flags.get("loaded"):
        return any(plugin_key(p) == key for p in scene.loaded_plugins)
    if flags.get("version"):
        for plugin, version in scene.requires:
            if plugin_key(plugin) == key:
                return version
        raise RuntimeError('Plug-in "%s" is not loaded.' % args[0])
    raise RuntimeError("maya.cmds stand-in: this query of 'pluginInfo' is not supported")
