"""xgenm stand-in: the XGen palettes of the open scene whose description file exists on disk."""
from __future__ import print_function

import os

from maya import cmds


def palettes():
    scene = cmds._current_scene()
    if scene is None:
        return []
    scene_dir = os.path.dirname(scene.path)
    result = []
    for index, node in enumerate(scene.nodes):
        if not scene.is_type(index, "xgmPalette"):
            continue
        xg_file = node["attrs"].get("xgFileName", "")
        # Maya resolves the description file beside the scene file.
        if xg_file and os.path.isfile(os.path.join(scene_dir, xg_file)):
            result.append(node["name"])
    return result
