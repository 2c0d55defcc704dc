"""The maya.cmds and xgenm stand-ins answer as Maya would, from the fixtures and the example scenes."""
from __future__ import print_function

import os
import unittest

import support
from maya import cmds
import xgenm


def open_scene(path):
    cmds.file(path, open=True, force=True)


class FixtureAnswersTest(unittest.TestCase):
    def setUp(self):
        open_scene(support.fixture("arnold_layers.ma"))

    def test_file_queries(self):
        self.assertEqual(cmds.file(q=True, sn=True), support.fixture("arnold_layers.ma").replace(os.sep, "/"))
        self.assertEqual(cmds.file(q=True, sceneName=True, shortName=True), "arnold_layers.ma")
        # resolved as Maya resolves it: "refs/prop.ma" lies beside the scene
        self.assertEqual(cmds.file(q=True, reference=True), [support.fixture("refs/prop.ma").replace(os.sep, "/")])
        self.assertEqual(cmds.referenceQuery("propRN", filename=True, unresolvedName=True), "refs/prop.ma")
        self.assertTrue(cmds.file(support.fixture("textures/brick.png"), q=1, ex=1))
        self.assertFalse(cmds.file(support.fixture("textures/none.png"), q=1, exists=1))

    def test_layers(self):
        self.assertEqual(cmds.editRenderLayerGlobals(q=True, currentRenderLayer=True), "beauty")
        self.assertIs(cmds.getAttr("shadow.renderable"), False)
        self.assertIs(cmds.getAttr("beauty.rndr"), True)  # not written: renderable
        cmds.editRenderLayerGlobals(crl="defaultRenderLayer")
        self.assertEqual(cmds.editRenderLayerGlobals(q=True, crl=True), "defaultRenderLayer")
        self.assertRaises(RuntimeError, cmds.editRenderLayerGlobals, currentRenderLayer="absTex")
        self.assertEqual(cmds.getAttr("renderLayerManager.rlmi", mi=True), [0, 1, 2])
        self.assertIsNone(cmds.getAttr("beauty.adjs", mi=True))

    def test_layer_adjustments_by_long_and_short_names(self):
        open_scene(os.path.join(support.REPO, "examples", "project", "scenes", "shot010.ma"))
        for value, plug in (("closeup.adjustments[0].value", "closeup.adjustments[0].plug"),
                            ("closeup.adjs[0].val", "closeup.adjs[0].plg")):
            self.assertIs(cmds.getAttr(value), True)
            self.assertEqual(cmds.listConnections(plug), ["closeupCamShape"])

    def test_getattr_defaults_and_names(self):
        cases = [
            ("defaultRenderGlobals.imageFilePrefix", "<Scene>/<RenderLayer>/<Camera>"),
            ("defaultRenderGlobals.imfkey", "exr"),
            ("defaultRenderGlobals.imageFormat", 51),
            ("defaultRenderGlobals.defaultSurfaceShader", "lambert1"),
            ("defaultArnoldRenderOptions.denoiseBeauty", True),
            ("aiAOV_diffuse.denoise", True),
            ("aiAOV_specular.denoise", False),
            ("aiAOV_specular.name", "specular"),
            ("emptyTex.fileTextureName", ""),
            ("seqTex.useFrameExtension", True),
            ("seqTex.frameExtension", 12),
            ("udimTex.uvTilingMode", 3),
            ("relTex.uvt", 0),
            ("topShape.renderable", False),
            ("renderCamShape.rnd", True),
            ("perspShape.focalLength", 34.999999999999993),
            ("persp.translate", [(28.0, 21.0, 28.0)]),
            ("persp.scale", [(1.0, 1.0, 1.0)]),
            ("|ground|groundShape.rlio[0]", [(1, True, 0)]),
            ("pyScript.before", ""),
            ("pyScript.sourceType", 1),
            ("pyScript.noteText", "hello"),
            ("defaultResolution.width", 1920),
            ("propRN.fileNames[0]", None),
        ]
        for plug, expected in cases:
            self.assertEqual(cmds.getAttr(plug), expected, plug)
            self.assertEqual(type(cmds.getAttr(plug)), type(expected), plug)

    def test_getattr_errors(self):
        for plug in ("nothing.v", "absTex.noSuchAttr", "absTex"):
            with self.assertRaises(ValueError) as caught:
                cmds.getAttr(plug)
            self.assertIn("No object matches name", str(caught.exception))
        self.assertRaises(ValueError, cmds.getAttr, "groundShape.v")  # two nodes of that name

    def test_ls_and_relatives(self):
        self.assertEqual(cmds.ls(type="camera"), ["perspShape", "topShape", "renderCamShape", "stereoRigShape"])
        self.assertEqual(cmds.ls(type="stereoRigCamera"), ["stereoRigShape"])
        self.assertEqual(cmds.ls(type=["aiAOV", "script"]),
                         ["aiAOV_diffuse", "aiAOV_specular", "uiConfigurationScriptNode",
                          "sceneConfigurationScriptNode", "pyScript"])
        # prop:rootShape is the loaded reference's (refs/prop.ma)
        self.assertEqual(cmds.ls(type="mesh"), ["|ground|groundShape", "shots|ground|groundShape", "prop:rootShape"])
        self.assertEqual(cmds.ls(type="mesh", long=True),
                         ["|ground|groundShape", "|shots|ground|groundShape", "|prop:root|prop:rootShape"])
        self.assertEqual(cmds.ls(type="texture2d"), ["absTex", "relTex", "udimTex", "udimTokenTex", "seqTex", "emptyTex"])
        self.assertEqual(cmds.ls(type="nothingOfThisType"), [])
        self.assertIn("time1", cmds.ls())
        self.assertEqual(cmds.nodeType("renderCamShape"), "camera")
        self.assertTrue(cmds.objExists("absTex"))
        self.assertTrue(cmds.objExists("absTex.ftn"))
        self.assertFalse(cmds.objExists("absTex.noSuch"))
        self.assertFalse(cmds.objExists("nothing"))
        self.assertEqual(cmds.listRelatives("renderCamShape", p=True), ["renderCam"])
        self.assertEqual(cmds.listRelatives("renderCamShape", parent=True, fullPath=True), ["|shots|renderCam"])
        self.assertEqual(cmds.listRelatives("shots", c=True), ["renderCam", "ground"])
        self.assertEqual(cmds.listRelatives("shots", ad=True, type="mesh", f=True), ["|shots|ground|groundShape"])
        self.assertEqual(cmds.listRelatives("persp", s=True), ["perspShape"])
        self.assertIsNone(cmds.listRelatives("persp", p=True))
        self.assertIsNone(cmds.listRelatives("absTex", c=True))
        self.assertTrue(cmds.attributeQuery("denoise", node="aiAOV_diffuse", exists=True))
        self.assertTrue(cmds.attributeQuery("dss", node="defaultRenderGlobals", ex=True))
        self.assertFalse(cmds.attributeQuery("nope", node="aiAOV_diffuse", exists=True))

    def test_connections(self):
        self.assertEqual(cmds.listConnections("defaultArnoldRenderOptions.aovList", s=True, d=False),
                         ["aiAOV_diffuse", "aiAOV_specular"])
        self.assertEqual(cmds.listConnections("absTex", d=True, s=False, p=True),
                         ["groundSG.surfaceShader", "defaultTextureList1.textures[0]"])
        self.assertEqual(cmds.listConnections("absTex", s=True, d=False, c=True, p=True),
                         ["absTex.uvCoord", "place2dTexture1.outUV"])
        self.assertEqual(cmds.listConnections("absTex", type="place2dTexture"), ["place2dTexture1"])
        self.assertEqual(cmds.listConnections("groundSG.dsm"), ["prop:boltShape"])  # referenced node
        self.assertIsNone(cmds.listConnections("emptyTex"))

    def test_plugins(self):
        self.assertEqual(cmds.pluginInfo(query=True, pluginsInUse=True), ["mtoa", "3.1.2", "stereoCamera", "10.0"])
        self.assertTrue(cmds.pluginInfo("mtoa", q=True, loaded=True))
        self.assertFalse(cmds.pluginInfo("gpuCache", q=True, loaded=True))
        cmds.loadPlugin("sceneAssembly")
        cmds.loadPlugin("gpuCache")
        self.assertTrue(cmds.pluginInfo("gpuCache", q=True, loaded=True))
        self.assertRaises(RuntimeError, cmds.loadPlugin, "noSuchPlugin")
        cmds.unloadPlugin("gpuCache", force=True)
        self.assertRaises(RuntimeError, cmds.unloadPlugin, "magicAssetNode.py", force=True)
        self.assertRaises(RuntimeError, cmds.unloadPlugin, "AbcImportAB", f=True)

    def test_unsupported_command_and_flag(self):
        with self.assertRaises(RuntimeError) as caught:
            cmds.polyCube()
        self.assertEqual(str(caught.exception), "maya.cmds stand-in: command 'polyCube' is not supported")
        with self.assertRaises(RuntimeError) as caught:
            cmds.ls(foo=True)
        self.assertEqual(str(caught.exception), "maya.cmds stand-in: flag 'foo' of 'ls' is not supported")


class OtherFixturesTest(unittest.TestCase):
    def test_render_setup_and_gbk(self):
        open_scene(support.fixture("redshift_rendersetup.ma"))
        self.assertEqual(cmds.getAttr("defaultRenderGlobals.ren"), "redshift")
        self.assertEqual(cmds.ls(type="renderLayer"), ["defaultRenderLayer", "rs_layerA"])
        self.assertEqual(cmds.ls(type="renderSetupLayer"), ["layerA"])
        self.assertEqual(cmds.editRenderLayerGlobals(q=True, crl=True), "rs_layerA")
        self.assertEqual(cmds.listConnections("layerA.lrl"), ["rs_layerA"])
        self.assertEqual(cmds.getAttr("redshiftOptions.imageFormat"), 2)
        self.assertEqual(cmds.getAttr("proxy1.fileName"), "//server/assets/tree.rs")
        camera = support.text(b"\xe9\x95\x9c\xe5\xa4\xb41Shape")
        self.assertEqual(cmds.listRelatives(camera, p=1, pa=1), [support.text(b"|\xe9\x95\x9c\xe5\xa4\xb41")])

    def test_vray(self):
        open_scene(support.fixture("vray_legacy.ma"))
        self.assertEqual(cmds.getAttr("defaultRenderGlobals.currentRenderer"), "vray")
        self.assertEqual(cmds.getAttr("vraySettings.productionEngine"), 2)
        self.assertEqual(cmds.getAttr("vraySettings.imgfs"), "exr (multichannel)")
        self.assertEqual(cmds.editRenderLayerGlobals(q=True, crl=True), "defaultRenderLayer")

    def test_renderman_references_and_caches(self):
        open_scene(support.fixture("renderman_refs.ma"))
        self.assertEqual(cmds.getAttr("defaultRenderGlobals.ren"), "renderman")
        self.assertEqual(cmds.file(q=True, r=True),
                         ["C:/Users/artist/Documents/show/scenes/House/House_final.mb", "scenes/cameras/shotcam.ma"])
        self.assertEqual(cmds.getAttr("grassTex.filename"), "P:/Year 1/textures/grass_Diffuse.<f4>.exr")
        self.assertEqual(cmds.getAttr("curtain_AlembicNode.abc_File"),
                         "C:/Users/artist/Downloads/curtains/fbx and abc/curtain1v2.abc")
        self.assertEqual(cmds.getAttr("treeCacheShape.cacheFileName"), "/data/caches/tree.abc")
        self.assertEqual(cmds.getAttr("HouseRN.fileNames", mi=True), [0])
        self.assertEqual(cmds.listRelatives("shotCamShape", p=1, pa=1), ["|cam:rig|shotCam"])
        self.assertEqual(cmds.listRelatives("shotCam", p=1), ["cam:rig"])
        self.assertEqual(cmds.listRelatives("shotCam", p=1, pa=1), ["|cam:rig"])
        self.assertEqual(cmds.ls(type="reference"), ["HouseRN", "camRN"])

    def test_default_renderer_long_names_and_xgen(self):
        open_scene(support.fixture("software_xgen.ma"))
        self.assertEqual(cmds.getAttr("defaultRenderGlobals.currentRenderer"), "mayaSoftware")
        self.assertIsNone(cmds.getAttr("defaultRenderGlobals.imageFilePrefix"))
        self.assertEqual(cmds.getAttr("defaultRenderGlobals.endFrame"), 48.0)
        self.assertIs(cmds.getAttr("sideShape.renderable"), False)
        self.assertEqual(cmds.getAttr("dialog.filename"), "sound/line01.wav")
        self.assertEqual(cmds.getAttr("imagePlaneShape1.imageName"), "plates/plate.####.jpg")
        self.assertEqual(cmds.ls(type="xgmPalette"), ["Hair", "Fur"])
        self.assertEqual(cmds.getAttr("Hair.xgVersion"), "2.0")
        self.assertEqual(cmds.listRelatives("Hair", c=True), ["LeonardHair"])
        self.assertEqual(xgenm.palettes(), ["Hair"])  # Fur's description file is not on disk

    def test_open_errors(self):
        self.assertRaises(RuntimeError, cmds.file, support.fixture("no_such_scene.ma"), o=True, f=True)
        with self.assertRaises(RuntimeError) as caught:
            cmds.file(support.fixture("textures/brick.png"), open=True, force=True)
        self.assertIn("brick.png:1:1", str(caught.exception))


if __name__ == "__main__":
    unittest.main()
