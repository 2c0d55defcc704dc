"""xgenm stand-in: the XGen palettes of the open scene whose description file exists on disk."""
from __future__ import print_function

import os

from maya import cmds


def palettes():
    scene = cmds._current_scene()
    if scene is None:
        return []
    graph = scene.graph
    scene_dir = os.path.dirname(scene.path)
    result = []
    for node in graph.nodes(types=["xgmPalette"]):
        xg_file = graph.value(node, "xgFileName")
        # Maya resolves the description file beside the scene file.
        if xg_file and os.path.isfile(os.path.join(scene_dir, xg_file)):
            result.append(graph.name(node))
    return result
