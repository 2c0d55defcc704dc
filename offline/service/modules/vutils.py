# -*- coding: utf-8 -*-
"""Path and plug-in utilities of the offline service."""
from __future__ import print_function

import os
import re

from _vfile import disk_view

# Plug-ins that ship with Maya itself: present in every host, whether or not
# the scene asks for them.
MAYA_BUILTIN_PLUGINS = frozenset(name.lower() for name in (
    "AbcExport", "AbcImport", "AbcBullet", "ArubaTessellator", "atomImportExport", "autoLoader",
    "bifmeshio", "cgfxShader", "cleanPerFaceAssignment", "curveWarp", "ddsFloatReader",
    "deformerEvaluator", "dx11Shader", "fbxmaya", "gameFbxExporter", "glslShader",
    "GPUBuiltInDeformer", "gpuCache", "hairPhysicalShader", "ik2Bsolver", "ikSpringSolver",
    "invertShape", "lookdevKit", "MASH", "matrixNodes", "mayaCharacterization", "mayaHIK",
    "MayaMuscle", "mayaUsdPlugin", "meshReorder", "modelingToolkit", "nearestPointOnMesh",
    "objExport", "OneClick", "OpenEXRLoader", "quatNodes", "renderSetup", "retargeterNodes",
    "rotateHelper", "sceneAssembly", "shaderFXPlugin", "shotCamera", "stereoCamera",
    "svgFileTranslator", "sweep", "tiffFloatReader", "Turtle", "Type", "Unfold3D",
    "VectorRender", "xgenToolkit",
))

_PLUGIN_SUFFIX = re.compile(r"\.(py|pyc|so|mll|bundle|dll)$", re.IGNORECASE)


def _plugin_key(name):
    return _PLUGIN_SUFFIX.sub("", name.strip()).lower()


def _cmds():
    from maya import cmds
    return cmds


def isPluginExist(name):
    """True when the open scene requires the plug-in or Maya ships it."""
    key = _plugin_key(name)
    if key in MAYA_BUILTIN_PLUGINS:
        return True
    in_use = _cmds().pluginInfo(query=True, pluginsInUse=True) or []
    # a flat list: name, version, name, version ...
    return any(_plugin_key(entry) == key for entry in in_use[0::2])


def _like(path, text):
    """An ASCII literal in the string type of path."""
    return text.encode("ascii") if isinstance(path, bytes) else text


def getRealDiskPath(path):
    """The path in the spelling stored on disk.

    An existing spelling is returned unchanged.  Otherwise each component is
    matched against its folder's entries ignoring case (the first in sorted
    order when several match); when a component has no match at all the path
    is returned unchanged.  Bytes in, bytes out.  Folders are read through the
    run's view of the disk, so each is listed at most once per run.
    """
    if not path:
        return path
    view = disk_view.current()
    if view.exists(path):
        return path
    windows = os.name == "nt"
    root_pattern = r"^(?:[A-Za-z]:)?[\\/]*" if windows else r"^/*"
    root = re.match(_like(path, root_pattern), path).group(0)
    parts = re.split(_like(path, r"[\\/]" if windows else r"/"), path[len(root):])
    sep = _like(path, os.sep)
    found = []
    for part in parts:
        if part and part not in (_like(path, "."), _like(path, "..")):
            folder = root + sep.join(found) if (root or found) else _like(path, ".")
            if not view.folder(folder).holds(part):
                matches = view.matching_case(folder, part)
                if not matches:
                    return path
                part = matches[0]
        found.append(part)
    return root + sep.join(found)
