"""The maya.cmds stand-in on Maya Binary scenes (the project's .mb fixtures): the same answers a
.ma of the same scene gets, asked only through Maya's commands."""
from __future__ import print_function

import os
import unittest

import support
from maya import cmds

SHOT = support.fixture(os.path.join("mb", "arnold_shot_2024.mb"))
LEGACY = support.fixture(os.path.join("mb", "legacy_mentalray_2012.mb"))


class ShotAnswersTest(unittest.TestCase):
    def setUp(self):
        cmds.file(SHOT, open=True, force=True)

    def test_scene_and_render_settings(self):
        self.assertEqual(cmds.file(q=True, sn=True, shn=True), "arnold_shot_2024.mb")
        cases = [
            ("defaultRenderGlobals.currentRenderer", "arnold"),
            ("defaultRenderGlobals.ren", "arnold"),
            ("defaultRenderGlobals.startFrame", 1.0),
            ("defaultRenderGlobals.endFrame", 48.0),
            ("defaultRenderGlobals.imfkey", "exr"),
            ("defaultResolution.width", 1920),
            ("defaultResolution.height", 1080),
            ("defaultArnoldRenderOptions.AA_samples", 3),
        ]
        for plug, expected in cases:
            self.assertEqual(cmds.getAttr(plug), expected, plug)
            self.assertEqual(type(cmds.getAttr(plug)), type(expected), plug)
        self.assertEqual(cmds.nodeType("defaultArnoldRenderOptions"), "aiOptions")
        self.assertTrue(cmds.pluginInfo("mtoa", q=True, loaded=True))

    def test_layers_and_cameras(self):
        self.assertEqual(cmds.ls(type="renderLayer"), ["defaultRenderLayer", "beauty", "rs_layerA"])
        self.assertEqual(cmds.ls(type="renderSetupLayer"), ["layerA"])
        self.assertEqual(cmds.editRenderLayerGlobals(q=True, currentRenderLayer=True), "beauty")
        self.assertIs(cmds.getAttr("rs_layerA.renderable"), False)
        self.assertEqual(cmds.listConnections("layerA.lrl"), ["rs_layerA"])
        self.assertEqual(cmds.ls(type="camera"), ["perspShape", "renderCamShape"])
        self.assertEqual(cmds.listRelatives("renderCamShape", parent=True, fullPath=True), ["|shots|renderCam"])
        self.assertEqual(cmds.listRelatives("shots", children=True), ["renderCam", "ground"])
        self.assertIs(cmds.getAttr("renderCamShape.renderable"), True)
        self.assertEqual(cmds.ls(type="mesh", long=True), ["|shots|ground|groundShape"])

    def test_scripts_and_textures(self):
        self.assertEqual(cmds.ls(type="script"), ["pyScript"])
        self.assertEqual(cmds.getAttr("pyScript.before"), "import maya.cmds as cmds\nprint('opened')\n")
        self.assertEqual(cmds.getAttr("pyScript.sourceType"), 1)
        self.assertEqual(cmds.getAttr("pyScript.noteText"), "hello")
        self.assertEqual(cmds.ls(type="file"), ["absTex", "udimTex", "treeTex"])
        self.assertEqual(cmds.getAttr("absTex.fileTextureName"), "C:/show/textures/brick_diffuse.png")
        self.assertEqual(cmds.getAttr("udimTex.uvTilingMode"), 3)
        self.assertEqual(cmds.getAttr("treeTex.ftn"), support.text(u"textures/b\u00e4ume.png".encode("utf-8")))
        self.assertEqual(cmds.getAttr("aiImage1.filename"), "${SHOW}/textures/sky.tx")
        self.assertEqual(cmds.listConnections("absTex", s=True, d=False, c=True, p=True),
                         ["absTex.uvCoord", "place2dTexture1.outUV"])
        self.assertEqual(cmds.listConnections("udimTex", d=True, s=False, p=True), ["defaultTextureList1.textures[1]"])

    def test_references(self):
        self.assertEqual(cmds.ls(type="reference"), ["propRN", "setRN"])
        self.assertEqual(cmds.referenceQuery("propRN", namespace=True), ":prop")
        self.assertEqual(cmds.referenceQuery("propRN", filename=True, unresolvedName=True), "C:/show/assets/prop/prop.ma")
        self.assertEqual(cmds.referenceQuery("setRN", filename=True, unresolvedName=True), "C:/show/assets/set/set.mb")
        self.assertIs(cmds.referenceQuery("propRN", isLoaded=True), False)  # not on this disk
        self.assertIs(cmds.referenceQuery("setRN", isLoaded=True), False)   # deferred


class LegacyAnswersTest(unittest.TestCase):
    def test_maya_2012_scene(self):
        cmds.file(LEGACY, open=True, force=True)
        self.assertEqual(cmds.getAttr("defaultRenderGlobals.currentRenderer"), "mentalRay")
        self.assertEqual(cmds.getAttr("defaultRenderGlobals.endFrame"), 50.0)
        self.assertEqual(cmds.listRelatives("cameraShape1", p=True), ["camera1"])
        self.assertEqual(cmds.nodeType("miDefaultOptions"), "mentalrayOptions")
        self.assertEqual(cmds.getAttr("file1.fileTextureName"), support.text(u"D:/textures/caf\u00e9.tga".encode("utf-8")))

    def test_broken_scene_is_an_error(self):
        with self.assertRaises(RuntimeError) as caught:
            cmds.file(support.fixture(os.path.join("mb", "no_such.mb")), open=True, force=True)
        self.assertIn("no_such.mb", str(caught.exception))


if __name__ == "__main__":
    unittest.main()
