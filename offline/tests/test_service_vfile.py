# -*- coding: utf-8 -*-
"""vfile over an in-memory maya.cmds and real folders on disk."""
from __future__ import print_function

import gzip
import os
import shutil
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "service", "modules"))
sys.path.insert(0, HERE)

import support  # noqa: E402,F401  (the service's C++ steps are among the built modules)
import service_fake_maya as fake  # noqa: E402
import vfile  # noqa: E402
from _vfile import disk_view  # noqa: E402


class ServiceTest(unittest.TestCase):
    """A temporary project with a scene, quiet logs, and a fresh fake host."""

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="vfile-test-")
        self.addCleanup(shutil.rmtree, self.root)
        self.saved_env = dict(os.environ)
        self.addCleanup(self._restore_env)
        os.environ["VANALYZER_LOG"] = os.path.join(self.root, "log.txt")
        os.environ["VANALYZER_STDERR_LEVEL"] = "none"
        os.environ.pop("VANALYZER_MISSING", None)
        self.saved_settings = (vfile.assMode, vfile.SeekAllAss, vfile.maxPoolSize, vfile.mulitThreads)
        self.addCleanup(self._restore_settings)
        self.project = os.path.join(self.root, "proj")
        self.scene_path = self.touch("proj/scenes/shot.ma")
        self.touch("proj/workspace.mel")
        self.scene = fake.Scene(self.scene_path)
        # the project as the host answers for a scene under a folder holding workspace.mel
        self.scene.workspace_root = self.project
        self.scene.file_rules = [("scene", "scenes"), ("sourceImages", "sourceimages"), ("fileCache", "cache")]
        fake.install(self.scene)
        self.addCleanup(fake.uninstall)
        self.addCleanup(disk_view.end_run)  # as a delivered result ends the analyzer's run

    def _restore_env(self):
        os.environ.clear()
        os.environ.update(self.saved_env)

    def _restore_settings(self):
        vfile.assMode, vfile.SeekAllAss, vfile.maxPoolSize, vfile.mulitThreads = self.saved_settings

    def touch(self, relative, data=b"x"):
        path = os.path.join(self.root, relative)
        if not os.path.isdir(os.path.dirname(path)):
            os.makedirs(os.path.dirname(path))
        with open(path, "wb") as handle:
            handle.write(data)
        return path

    def p(self, relative):
        return os.path.join(self.root, relative)

    def assertGroup(self, group, files, missing):
        self.assertEqual(sorted(group.files), sorted(self.p(f) for f in files))
        self.assertEqual(sorted(group.missingFiles), sorted(self.p(m) for m in missing))


class SettingsTest(unittest.TestCase):
    def test_defaults(self):
        self.assertEqual((vfile.assMode, vfile.SeekAllAss, vfile.maxPoolSize, vfile.mulitThreads), (0, 0, 1, 0))


class FileTextureTest(ServiceTest):
    def gather(self):
        return vfile.getAssets(self.scene_path)

    def test_relative_paths_are_placed_as_maya_does(self):
        # (texture as written, files on disk, expected file, expected missing)
        cases = [
            ("sourceimages/a.png", ["proj/sourceimages/a.png"], ["proj/sourceimages/a.png"], []),
            ("b.png", ["proj/sourceimages/b.png"], ["proj/sourceimages/b.png"], []),
            ("c.png", ["proj/scenes/c.png"], ["proj/scenes/c.png"], []),
            ("./tex/../d.png", ["proj/d.png", "proj/scenes/d.png"], ["proj/d.png"], []),
            ("gone.png", [], [], ["proj/gone.png"]),
        ]
        for written, present, files, missing in cases:
            for path in present:
                self.touch(path)
            self.scene.node("tex1", "file", fileTextureName=written)
            self.assertGroup(self.gather(), files, missing)
            for path in present:
                os.remove(self.p(path))

    def test_absolute_and_environment_paths(self):
        self.touch("lib/wood.png")
        os.environ["TEXLIB"] = self.p("lib")
        self.scene.node("a", "file", ftn="$TEXLIB/wood.png")
        self.scene.node("b", "file", ftn="${TEXLIB}/wood.png")
        self.scene.node("c", "psdFileTex", ftn=self.p("lib/none.psd"))
        self.assertGroup(self.gather(), ["lib/wood.png"], ["lib/none.psd"])

    def test_scene_outside_any_project_uses_its_folder(self):
        os.remove(self.p("proj/workspace.mel"))
        # the host then answers the scene's folder as the root, with no file rules
        self.scene.workspace_root, self.scene.file_rules = self.p("proj/scenes"), []
        self.touch("proj/scenes/t.png")
        self.scene.node("f", "file", ftn="t.png").node("g", "file", ftn="u.png")
        self.assertGroup(self.gather(), ["proj/scenes/t.png"], ["proj/scenes/u.png"])

    def test_udim_tiles(self):
        for tile in ("1001", "1002", "1011"):
            self.touch("proj/sourceimages/skin.%s.exr" % tile)
        self.touch("proj/sourceimages/skin.1001.exr.bak")
        tiles = ["proj/sourceimages/skin.1001.exr", "proj/sourceimages/skin.1002.exr",
                 "proj/sourceimages/skin.1011.exr"]
        cases = [
            ({"ftn": "sourceimages/skin.<UDIM>.exr"}, tiles, []),
            ({"ftn": "sourceimages/skin.<udim>.exr"}, tiles, []),
            ({"ftn": "sourceimages/skin.1002.exr", "uvt": 3}, tiles, []),
            ({"ftn": "sourceimages/skin.1003.exr", "uvt": 3}, tiles, ["proj/sourceimages/skin.1003.exr"]),
            ({"ftn": "sourceimages/hair.<UDIM>.exr"}, [], ["proj/sourceimages/hair.<UDIM>.exr"]),
            ({"ftn": "sourceimages/skin.1002.exr", "uvt": 0}, ["proj/sourceimages/skin.1002.exr"], []),
        ]
        for values, files, missing in cases:
            self.scene.types.clear()
            self.scene.values.clear()
            self.scene.node("skin", "file", **values)
            self.assertGroup(self.gather(), files, missing)

    def test_zbrush_tiles(self):
        self.touch("proj/sourceimages/rock_u0_v0.png")
        self.touch("proj/sourceimages/rock_u1_v0.png")
        self.scene.node("r", "file", ftn="sourceimages/rock_u0_v0.png", uvt=1)
        self.assertGroup(self.gather(), ["proj/sourceimages/rock_u0_v0.png", "proj/sourceimages/rock_u1_v0.png"], [])

    def test_frame_sequences(self):
        for frame in (1, 2, 4):
            self.touch("proj/sourceimages/seq.%04d.png" % frame)
        self.touch("proj/sourceimages/seq.0020.png")
        seq = lambda *frames: ["proj/sourceimages/seq.%04d.png" % f for f in frames]  # noqa: E731
        render = {"defaultRenderGlobals.animation": True, "defaultRenderGlobals.startFrame": 1.0,
                  "defaultRenderGlobals.endFrame": 4.0}
        # (node values, render globals, SeekAllAss, files, missing)
        cases = [
            ({"ftn": "sourceimages/seq.0001.png", "ufe": True, "fe": 2.0}, {}, 0, seq(2), []),
            ({"ftn": "sourceimages/seq.0001.png", "ufe": True, "fe": 3.0}, {}, 0, [], seq(3)),
            ({"ftn": "sourceimages/seq.0001.png", "ufe": True}, render, 0, seq(1, 2, 4), seq(3)),
            ({"ftn": "sourceimages/seq.0001.png", "ufe": True}, render, 1, seq(1, 2, 4, 20), seq(3)),
            ({"ftn": "sourceimages/seq.####.png"}, render, 0, seq(1, 2, 4), seq(3)),
            ({"ftn": "sourceimages/seq.<f>.png"}, {}, 0, seq(1, 2, 4, 20), []),
            ({"ftn": "sourceimages/other.####.png"}, render, 0, [], ["proj/sourceimages/other.####.png"]),
            ({"ftn": "sourceimages/seq.0001.png", "ufe": False}, render, 0, seq(1), []),
        ]
        for values, globals_, seek_all, files, missing in cases:
            self.scene.types.clear()
            self.scene.values.clear()
            self.scene.values.update(globals_)
            vfile.SeekAllAss = seek_all
            self.scene.node("seq", "file", **values)
            self.assertGroup(self.gather(), files, missing)

    def test_thread_pool_gives_the_serial_answer(self):
        for index in range(12):
            self.touch("proj/sourceimages/t%d.png" % index)
            self.scene.node("t%d" % index, "file", ftn="t%d.png" % index)
            self.scene.node("m%d" % index, "file", ftn="m%d.png" % index)
        serial = self.gather()
        vfile.maxPoolSize, vfile.mulitThreads = 4, 1
        pooled = self.gather()
        self.assertEqual((pooled.files, pooled.missingFiles), (serial.files, serial.missingFiles))
        self.assertEqual((len(serial.files), len(serial.missingFiles)), (12, 12))

    def test_other_scene_nodes_and_references(self):
        self.touch("proj/scenes/props.ma")
        self.touch("proj/cache/alembic/cloth.abc")
        self.touch("proj/sound/a.wav")
        self.scene.reference("propsRN", "props.ma").reference("propsRN1", "props.ma{1}")
        self.scene.reference("rigRN", self.p("elsewhere/rig.mb"), loaded=False)
        self.scene.node("abc", "AlembicNode", fn=self.p("proj/cache/alembic/cloth.abc"))
        self.scene.node("gpu", "gpuCache", cfn="cache/gone.abc")
        self.scene.node("snd", "audio", filename="sound/a.wav")
        self.scene.node("ip", "imagePlane", imn="", ufe=False)
        self.assertGroup(self.gather(),
                         ["proj/scenes/props.ma", "proj/cache/alembic/cloth.abc", "proj/sound/a.wav"],
                         ["elsewhere/rig.mb", "proj/cache/gone.abc"])

    def test_a_value_that_is_no_text_names_no_file(self):
        # a broken or hostile scene: numbers where paths belong, beside good paths
        self.touch("proj/sourceimages/a.png")
        self.scene.node("number", "file", ftn=5)
        self.scene.node("good", "file", ftn="a.png")
        self.scene.node("mixed", "AlembicNode", fn=["b.abc", 2.5, ""])
        self.scene.node("flag", "file", ftn=True, uvt=3)
        self.assertGroup(self.gather(), ["proj/sourceimages/a.png"], ["proj/b.abc"])
        with open(self.p("log.txt")) as handle:
            warned = [line.rstrip("\n").split("] ", 1)[1] for line in handle if "names no file" in line]
        self.assertEqual(warned, ["number names no file: its file attribute holds 5, not a path.",
                                  "flag names no file: its file attribute holds True, not a path.",
                                  "mixed names no file: its file attribute holds 2.5, not a path."])

    def test_missing_files_are_recorded_when_asked(self):
        os.environ["VANALYZER_MISSING"] = self.p("missing.txt")
        self.scene.node("a", "file", ftn="a.png")
        vfile.getAssets(self.scene_path)
        with open(self.p("missing.txt")) as handle:
            self.assertEqual(handle.read().splitlines(), [self.p("proj/a.png")])


class RendererGatherersTest(ServiceTest):
    def test_each_renderer_gathers_its_own_nodes(self):
        present = ["proj/sourceimages/%s" % name for name in ("ai.tx", "dome.hdr", "n.png", "pxr.tex", "l.ies")]
        for path in present:
            self.touch(path)
        cases = [
            (vfile.getArnoldAssets, [("aiImage", {"filename": "ai.tx"}),
                                     ("aiPhotometricLight", {"aiFilename": "sourceimages/l.ies"}),
                                     ("aiVolume", {"filename": "smoke.vdb"})],
             ["proj/sourceimages/ai.tx", "proj/sourceimages/l.ies"], ["proj/smoke.vdb"]),
            (lambda: vfile.getRedShiftAssets(0),
             [("RedshiftDomeLight", {"tex0": "dome.hdr", "tex1": "plate.exr"}),
              ("RedshiftNormalMap", {"tex0": "n.png"}), ("RedshiftIESLight", {"profile": ""})],
             ["proj/sourceimages/dome.hdr", "proj/sourceimages/n.png"], ["proj/plate.exr"]),
            (vfile.getVRayAssets, [("VRayMesh", {"fileName": "geo.vrmesh"}),
                                   ("VRayLightIESShape", {"iesFile": "l.ies"})],
             ["proj/sourceimages/l.ies"], ["proj/geo.vrmesh"]),
            (vfile.getRenerManAssets, [("PxrTexture", {"filename": "pxr.tex"}),
                                       ("PxrDomeLight", {"lightColorMap": "dome.hdr"}),
                                       ("PxrNormalMap", {"filename": "nn.tex"})],
             ["proj/sourceimages/pxr.tex", "proj/sourceimages/dome.hdr"], ["proj/nn.tex"]),
        ]
        decoys = [("file", {"ftn": "n.png"}), ("aiImage", {"filename": "ai.tx"}), ("PxrTexture", {"filename": "pxr.tex"}),
                  ("RedshiftNormalMap", {"tex0": "n.png"}), ("VRayMesh", {"fileName": "geo.vrmesh"})]
        for gatherer, nodes, files, missing in cases:
            self.scene.types.clear()
            self.scene.values.clear()
            for index, (node_type, values) in enumerate(nodes):
                self.scene.node("n%d" % index, node_type, **values)
            self.assertGroup(gatherer(), files, missing)
        # a gatherer ignores the other renderers' nodes
        self.scene.types.clear()
        self.scene.values.clear()
        for index, (node_type, values) in enumerate(decoys):
            self.scene.node("d%d" % index, node_type, **values)
        self.assertEqual(len(vfile.getVRayAssets().files | vfile.getVRayAssets().missingFiles), 1)

    def test_standin_sequences_and_ass_contents(self):
        self.touch("proj/ass/tree.0001.ass", b'image\n{\n name img\n filename "bark.tx"\n}\n'
                                              b'procedural\n{\n filename "/abs/leaf.ass"\n}\n')
        with gzip.open(self.p("proj/ass/tree.0002.ass.gz"), "wb") as handle:
            handle.write(b'image { filename "moss.tx" }')
        self.touch("proj/ass/bark.tx")
        self.scene.node("standin", "aiStandIn", dso="ass/tree.####.ass", useFrameExtension=True, frameNumber=1)
        self.scene.node("standin2", "aiStandIn", dso="ass/tree.0002.ass.gz")
        vfile.assMode = 0
        self.assertGroup(vfile.getArnoldAssets(), ["proj/ass/tree.0001.ass", "proj/ass/tree.0002.ass.gz"], [])
        vfile.assMode = 1
        group = vfile.getArnoldAssets()
        self.assertEqual(sorted(group.files), sorted(self.p(f) for f in (
            "proj/ass/tree.0001.ass", "proj/ass/tree.0002.ass.gz", "proj/ass/bark.tx")))
        self.assertEqual(sorted(group.missingFiles), sorted(["/abs/leaf.ass", self.p("proj/ass/moss.tx")]))

    def test_redshift_texture_caches_on_request(self):
        self.touch("proj/sourceimages/n.png")
        self.touch("proj/sourceimages/n.rstexbin")
        self.scene.node("nm", "RedshiftNormalMap", tex0="n.png")
        self.assertGroup(vfile.getRedShiftAssets(0), ["proj/sourceimages/n.png"], [])
        self.assertGroup(vfile.getRedShiftAssets(1), ["proj/sourceimages/n.png", "proj/sourceimages/n.rstexbin"], [])


class LayersTest(ServiceTest):
    def base_scene(self):
        s = self.scene
        s.node("persp", "transform").node("perspShape", "camera", parent="persp", rnd=False)
        s.node("shotCam", "transform").node("shotCamShape", "camera", parent="shotCam", rnd=True)
        s.node("defaultRenderLayer", "renderLayer")
        s.node("defaultRenderGlobals", "renderGlobals", ren="arnold", ifp="<Scene>/<RenderLayer>")
        return s

    def layers(self):
        records = []
        vfile.GetLayersInfo().getLayersInfo(records)
        return records

    def test_master_layer_record(self):
        self.base_scene()
        self.assertEqual(self.layers(), [{"part": "masterLayer", "cameras": ["shotCam"],
                                          "layerFilePrefix": "<Scene>/<RenderLayer>", "ext": "exr",
                                          "renderer": "arnold"}])

    def test_layer_overrides_and_renderability(self):
        s = self.base_scene()
        s.node("beauty", "renderLayer").node("off", "renderLayer", rndr=False)
        s.node("ref:defaultRenderLayer", "renderLayer")
        # beauty renders through persp only, with its own prefix
        s.connect("perspShape.rnd", "beauty.adjs[0].plg").set("beauty.adjs[0].val", True)
        s.connect("shotCamShape.renderable", "beauty.adjs[1].plg").set("beauty.adjs[1].val", False)
        s.connect("defaultRenderGlobals.ifp", "beauty.adjs[2].plg").set("beauty.adjs[2].val", "beauty/<Scene>")
        records = self.layers()
        self.assertEqual([(r["part"], r["cameras"], r["layerFilePrefix"]) for r in records],
                         [("masterLayer", ["shotCam"], "<Scene>/<RenderLayer>"),
                          ("beauty", ["persp"], "beauty/<Scene>")])

    def test_master_values_stored_on_the_default_layer(self):
        # saved while another layer was current: the default layer holds the master's value
        s = self.base_scene()
        s.set("shotCamShape.rnd", False)
        s.node("fx", "renderLayer")
        s.connect("shotCamShape.rnd", "defaultRenderLayer.adjs[0].plg").set("defaultRenderLayer.adjs[0].val", True)
        s.connect("shotCamShape.rnd", "fx.adjs[0].plg").set("fx.adjs[0].val", False)
        self.assertEqual([(r["part"], r["cameras"]) for r in self.layers()],
                         [("masterLayer", ["shotCam"]), ("fx", [])])

    def test_render_setup_layers_take_the_setup_name(self):
        s = self.base_scene()
        s.node("rs_chars", "renderLayer").node("chars", "renderSetupLayer")
        s.connect("rs_chars.msg", "chars.lrl")
        s.node("rs_bg", "renderLayer").node("bg", "renderSetupLayer")
        # a layer two setup layers claim takes the first one's name, through either spelling
        s.node("shared", "renderLayer").node("first", "renderSetupLayer").node("second", "renderSetupLayer")
        s.connect("shared.msg", "second.lrl").connect("shared.msg", "first.legacyRenderLayer")
        self.assertEqual([r["part"] for r in self.layers()], ["masterLayer", "chars", "bg", "first"])

    def test_extension_and_prefix_per_renderer(self):
        # (node values added to the base scene, expected ext, expected prefix)
        cases = [
            ({"defaultRenderGlobals.ren": "arnold", "defaultArnoldDriver.ai_translator": "png"}, "png"),
            ({"defaultRenderGlobals.ren": "arnold", "defaultArnoldDriver.ai_translator": "deepexr"}, "exr"),
            ({"defaultRenderGlobals.ren": "redshift", "redshiftOptions.imageFormat": 2}, "png"),
            ({"defaultRenderGlobals.ren": "redshift"}, "exr"),
            ({"defaultRenderGlobals.ren": "vray", "vraySettings.imageFormatStr": "exr (multichannel)"}, "exr"),
            ({"defaultRenderGlobals.ren": "vray", "vraySettings.imgfs": "jpeg"}, "jpg"),
            ({"defaultRenderGlobals.ren": "renderman"}, "exr"),
            ({"defaultRenderGlobals.ren": "mayaSoftware"}, "iff"),
            ({"defaultRenderGlobals.ren": "mayaSoftware", "defaultRenderGlobals.outf": 32}, "png"),
            ({"defaultRenderGlobals.ren": "mayaHardware2", "defaultRenderGlobals.outf": 51,
              "defaultRenderGlobals.imfkey": "tif"}, "tif"),
        ]
        for values, ext in cases:
            self.scene.values.clear()
            self.base_scene()
            self.scene.values.update(values)
            self.assertEqual(self.layers()[0]["ext"], ext, values)

    def test_unset_prefix_is_none(self):
        self.base_scene()
        for value in ("", None):
            self.scene.set("defaultRenderGlobals.ifp", value)
            self.assertIsNone(self.layers()[0]["layerFilePrefix"])
        del self.scene.values["defaultRenderGlobals.ifp"]
        self.assertIsNone(self.layers()[0]["layerFilePrefix"])


class EnvironmentAndConfigTest(ServiceTest):
    def test_env_dict_keeps_renderer_variables_only(self):
        os.environ.update({"MAYA_MODULE_PATH": "/m", "ARNOLD_PLUGIN_PATH": "/a", "OCIO": "/o.ocio",
                           "HOME_X": "/h", "REDSHIFT_LICENSE_KEY": "s3cret", "VRAY_AUTH_TOKEN": "t"})
        entries = vfile.getEnvDict(0)
        for wanted in ("MAYA_MODULE_PATH=/m", "ARNOLD_PLUGIN_PATH=/a", "OCIO=/o.ocio"):
            self.assertIn(wanted, entries)
        self.assertFalse([e for e in entries if e.split("=")[0] in ("HOME_X", "REDSHIFT_LICENSE_KEY", "VRAY_AUTH_TOKEN")])
        self.assertEqual(entries, sorted(entries))
        self.assertEqual(vfile.getEnvDict(1), entries)

    def test_evaluation_mode(self):
        header = '//Maya ASCII 2020 scene\nfileInfo "application" "maya";\n%s\ncreateNode transform -n "x";\n%s\n'
        # (fileInfo line in the header, line after the nodes, environment, expected mode)
        cases = [
            ('fileInfo "evaluationMode" "parallel";', "", None, "parallel"),
            ('fileInfo "evaluationMode" "DG";', "", "parallel", "off"),
            ("", "", "serial", "serial"),
            ("", 'fileInfo "evaluationMode" "parallel";', None, "off"),
            ('fileInfo "evaluationMode" "bogus";', "", None, "off"),
        ]
        for info, tail, env, mode in cases:
            self.touch("proj/scenes/shot.ma", (header % (info, tail)).encode("ascii"))
            os.environ.pop("VANALYZER_EVALUATION_MODE", None)
            if env:
                os.environ["VANALYZER_EVALUATION_MODE"] = env
            self.assertEqual(vfile.getEvaluation(), 'evaluationManager -mode "%s";' % mode)

    def test_ini_configuration(self):
        ini = self.touch("service.ini", b"[Customzation]\nSKIPPATH = C:/lib|%temp%|cache\n")
        os.environ["VANALYZER_CONFIG"] = ini
        self.assertEqual(vfile.getIniConfiger("Customzation", "SKIPPATH"),
                         [{"SKIPPATH": "C:/lib|%temp%|cache"}])
        failures = [(None, RuntimeError), (self.p("absent.ini"), RuntimeError)]
        for path, error in failures:
            os.environ.pop("VANALYZER_CONFIG", None)
            if path:
                os.environ["VANALYZER_CONFIG"] = path
            self.assertRaises(error, vfile.getIniConfiger, "Customzation", "SKIPPATH")
        os.environ["VANALYZER_CONFIG"] = ini
        self.assertRaises(Exception, vfile.getIniConfiger, "Customzation", "OTHER")
        self.assertRaises(Exception, vfile.getIniConfiger, "Other", "SKIPPATH")


if __name__ == "__main__":
    unittest.main()
