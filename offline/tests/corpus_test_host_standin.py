"""The maya.cmds stand-in over the real-scene corpus: answers checked against each scene's own text."""
from __future__ import print_function

import os
import re
import unittest

import support
from maya import cmds


def open_scene(path):
    cmds.file(path, open=True, force=True)


class CorpusAnswersTest(unittest.TestCase):
    """Answers checked against what each sample scene's own text says."""

    RENDERERS = {"01": "arnold", "02": "arnold", "10": "vray", "12": "redshift", "16": "mayaSoftware",
                 "17": "renderman"}

    def scenes(self):
        for path in support.corpus_scenes():
            with open(path, "rb") as handle:
                data = handle.read().decode("latin-1")
            open_scene(path)
            yield os.path.basename(path), data

    def test_renderer(self):
        for name, _data in self.scenes():
            self.assertEqual(cmds.getAttr("defaultRenderGlobals.currentRenderer"), self.RENDERERS[name[:2]], name)
            self.assertEqual(cmds.getAttr("defaultRenderGlobals.ren"), self.RENDERERS[name[:2]], name)

    def test_render_layers(self):
        for name, data in self.scenes():
            written = re.findall(r'^createNode renderLayer (?:-n|-name) "([^"]+)"', data, re.M)
            layers = cmds.ls(type="renderLayer")
            self.assertEqual(sorted(layers), sorted(set(written) | set(["defaultRenderLayer"])), name)
            cmds.editRenderLayerGlobals(currentRenderLayer="defaultRenderLayer")
            self.assertEqual(cmds.editRenderLayerGlobals(q=True, crl=True), "defaultRenderLayer")

    def test_cameras_and_parents(self):
        pattern = r'^createNode (?:camera|stereoRigCamera) (?:-s |-shared )?(?:-n|-name) "([^"]+)" (?:-p|-parent) "([^"]+)"'
        for name, data in self.scenes():
            written = re.findall(pattern, data, re.M)
            cameras = cmds.ls(type="camera")
            self.assertEqual(len(cameras), len(written), name)
            for camera, parent in written:
                parents = cmds.listRelatives(camera, p=1, pa=1)
                self.assertEqual(len(parents), 1)
                self.assertTrue(parents[0].startswith("|") and parents[0].endswith("|" + parent.lstrip("|")),
                                (name, camera, parents))
                self.assertEqual(cmds.nodeType(parents[0]), "transform")

    def test_script_nodes(self):
        for name, data in self.scenes():
            written = re.findall(r'^createNode script (?:-n|-name) "([^"]+)"', data, re.M)
            self.assertEqual(cmds.ls(type="script"), written, name)
            for script in written:
                body = cmds.getAttr(script + ".b")
                self.assertTrue(isinstance(body, str), (name, script))
                if script == "sceneConfigurationScriptNode":
                    self.assertTrue(body.startswith("playbackOptions -min"), (name, body))
                if script == "uiConfigurationScriptNode" and body:
                    self.assertIn("\n", body)  # escapes resolved, concatenation joined
                    self.assertNotIn('" + "', body)

    def test_texture_paths(self):
        pattern = r'^createNode file (?:-n|-name) "([^"]+)";\n(?:\t[^\n]*\n)*?\tsetAttr "\.(?:ftn|fileTextureName)" -type "string" "([^"]*)"'
        checked = 0
        for name, data in self.scenes():
            for node, path in re.findall(pattern, data, re.M):
                self.assertEqual(cmds.getAttr(node + ".fileTextureName"), path, (name, node))
                self.assertEqual(cmds.getAttr(node + ".ftn"), path, (name, node))
                checked += 1
        self.assertGreater(checked, 0)


if __name__ == "__main__":
    unittest.main()
