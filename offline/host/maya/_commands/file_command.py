# -*- coding: utf-8 -*-
"""file: opening a scene and asking about it."""
from __future__ import print_function

import os

import scenegraph

from . import open_scene
from .arguments import parse_flags, native
from .reference_query import file_deferred, file_references
from .references import loaded
from .workspace_command import file_exists


def file(*args, **kwargs):
    flags = parse_flags("file", kwargs, (("open", "o"), ("force", "f"), ("query", "q"), ("sceneName", "sn"),
                                    ("shortName", "shn"), ("exists", "ex"), ("reference", "r"),
                                    ("new", "n"), ("withoutCopyNumber", "wcn"), ("unresolvedName", "un"),
                                    ("referenceNode", "rfn"), ("deferReference", "dr")))
    if flags.get("query"):
        if flags.get("exists"):
            if not args:
                raise RuntimeError("file: -exists needs a file name")
            return file_exists(args[0])
        if flags.get("sceneName"):
            scene = open_scene.current()
            if scene is None:
                return ""
            return os.path.basename(scene.path) if flags.get("shortName") else scene.path
        if flags.get("reference"):
            return file_references(args, flags)
        if flags.get("deferReference"):
            return file_deferred(args, flags)
        raise RuntimeError("maya.cmds stand-in: this query of 'file' is not supported")
    if flags.get("new"):
        open_scene.replace(None)
        loaded.replace(loaded.LoadedReferences(None))
        return "untitled"
    if flags.get("open"):
        if not args:
            raise RuntimeError("file: -open needs a file name")
        path = os.path.abspath(native(args[0])).replace(os.sep, "/")
        try:
            scene = open_scene.open_file(path)
        except (scenegraph.ParseError, IOError, OSError) as error:
            raise RuntimeError(str(error))
        open_scene.replace(scene)
        return path
    raise RuntimeError("maya.cmds stand-in: this use of 'file' is not supported")
