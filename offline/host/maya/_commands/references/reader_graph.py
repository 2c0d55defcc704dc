# -*- coding: utf-8 -*-
"""The open scene's references loaded through the scene reader alone.

Until the scene graph holds the nodes of referenced files, each referenced file is read with the
scene reader: that checks it can be read and gives its own references, so that the loader decides
and reports exactly as with the graph. The referenced files' nodes stay out of the open scene.
"""
from __future__ import print_function

import mayascene

from . import loader


class ReaderGraph(object):
    """The loader's view of a scene graph, over the reader's data of each file."""

    def __init__(self, scene_path, scene_data):
        self.files = [(scene_path, scene_data)]

    def add_file(self, path, namespace="", prefix="", reference_node=""):
        self.files.append((path, mayascene.load(path)))
        return len(self.files) - 1

    def file_info(self, file_id):
        path, data = self.files[file_id]
        return {"path": path, "references": data["references"]}

    def apply_reference_edits(self):
        return []


def load_references(scene_path, scene_data):
    """Loads the references of the scene just opened (see loader.load)."""
    return loader.load(ReaderGraph(scene_path, scene_data), 0, scene_path)
