# -*- coding: utf-8 -*-
"""The offline host answers a gatherer's attributes for many nodes in one call; what the gatherers
read that way is what they read node by node through getAttr, as in Maya."""
from __future__ import print_function

import os
import shutil
import sys
import tempfile
import types
import unittest

import support

sys.path.insert(0, os.path.join(support.REPO, "offline", "service", "modules"))

import maya  # noqa: E402
from maya import cmds  # noqa: E402

from _vfile import asset_gatherers, asset_references  # noqa: E402


class _NodeByNode(types.ModuleType):
    """The host's commands without its batch: getAttr node by node, as in Maya."""

    def __init__(self):
        types.ModuleType.__init__(self, "maya.cmds")
        self.ls, self.getAttr = cmds.ls, cmds.getAttr


def _references(node_type, attributes, kind, frame_attrs, tiling):
    return [(r.raw, r.kind, r.tiling, r.frame_mode, r.named_frame, tuple(r.explicit_tiles))
            for r in asset_references.node_references(node_type, attributes, kind, frame_attrs, tiling)]


class AttributeBatchTest(unittest.TestCase):
    def setUp(self):
        sys.modules["maya"], sys.modules["maya.cmds"] = maya, cmds
        self.addCleanup(lambda: sys.modules.update({"maya.cmds": cmds}))
        cmds.file(support.fixture("arnold_layers.ma"), open=True, force=True)
        self.addCleanup(cmds.file, new=True, force=True)

    def test_values_as_get_attr_answers_them(self):
        nodes = ["absTex", "seqTex", "emptyTex", "noSuchNode"]
        cases = [
            # names tried in order, default: the first name a node answers, else the default
            (("fileTextureName", "ftn"), None,
             ["C:/Projects/show/sourceimages/wood.png", "textures/fire.0001.png", "", None]),
            (("noSuchAttribute", "ufe"), False, [False, True, False, False]),
            (("noSuchAttribute",), "default", ["default", "default", "default", "default"]),
            (("frameExtension",), -1, [1, 12, 1, -1]),
        ]
        # each group alone, and all at once: a node found for one group answers the next ones
        for names, default, expected in cases:
            self.assertEqual(cmds._attribute_values(nodes, [(names, default)]), [expected], names)
        self.assertEqual(cmds._attribute_values(nodes, [case[:2] for case in cases]), [case[2] for case in cases])
        self.assertEqual(cmds._attribute_values(nodes, []), [])
        self.assertEqual(cmds._attribute_values([], [(("ftn",), None)]), [[]])
        for groups in ([("ftn",)], [(("ftn",), None, 1)], None):
            self.assertRaises(TypeError, cmds._attribute_values, nodes, groups)

    def test_nodes_of_mixed_types_and_added_attributes_answer_as_get_attr(self):
        folder = tempfile.mkdtemp(prefix="attribute-batch-")
        self.addCleanup(shutil.rmtree, folder)
        scene = os.path.join(folder, "mixed.ma")
        with open(scene, "w") as handle:
            handle.write('''//Maya ASCII 2020 scene
requires maya "2020";
createNode file -n "fileA";
\taddAttr -ci true -ln "notePath" -dt "string";
\taddAttr -ci true -ln "level" -at "long" -dv 7;
\tsetAttr ".notePath" -type "string" "a.png";
\tsetAttr ".ftn" -type "string" "fileA.png";
createNode file -n "fileB";
\tsetAttr ".ftn" -type "string" "fileB.png";
createNode transform -n "grp";
createNode transform -n "leaf" -p "grp";
\taddAttr -ci true -ln "notePath" -dt "string";
\tsetAttr ".notePath" -type "string" "leaf.png";
createNode transform -n "other";
createNode transform -n "leaf" -p "other";
createNode file -n "fileC";
// End of mixed.ma
''')
        cmds.file(scene, open=True, force=True)
        nodes = ["fileA", "fileB", "grp", "grp|leaf", "leaf", "fileC", "other|leaf", "fileA.ftn", "", 5]
        groups = ((("notePath",), "none"), (("level",), "none"), (("translateX", "ftn"), "none"),
                  (("notePath", "fileTextureName"), None), (("ftn", "tx"), -1))
        # what the service asks node by node of a host without the batch, as of Maya
        self.assertEqual(cmds._attribute_values(nodes, groups),
                         asset_references._attribute_columns(_NodeByNode(), nodes, groups))
        self.assertEqual(cmds._attribute_values(nodes[:4], [(("notePath", "ftn"), None)]),
                         [["a.png", "fileB.png", None, "leaf.png"]])

    def test_gatherers_read_the_same_references_in_one_call_as_node_by_node(self):
        tables = (asset_gatherers.GENERAL_NODES + asset_gatherers.ARNOLD_NODES + asset_gatherers.REDSHIFT_NODES +
                  asset_gatherers.VRAY_NODES + asset_gatherers.RENDERMAN_NODES)
        batched = [_references(*entry) for entry in tables]
        sys.modules["maya.cmds"] = _NodeByNode()
        node_by_node = [_references(*entry) for entry in tables]
        self.assertEqual(batched, node_by_node)
        # the fixture's file nodes: a sequence with its frame, a UDIM set by its tile mode
        self.assertIn(("textures/fire.0001.png", "image", 0, True, 12, ()), batched[0])
        self.assertIn(("textures/skin.1001.exr", "image", 3, False, None, ()), batched[0])


if __name__ == "__main__":
    unittest.main()
