"""The mayascene module on Maya Binary scenes: the project's .mb fixtures (written by
bench/mb_writer.py), their texts and code pages, and the errors of broken files; on 2.7 and 3.x."""
from __future__ import print_function

import os
import shutil
import tempfile
import unittest

import support
import mayascene

SHOT = support.fixture(os.path.join("mb", "arnold_shot_2024.mb"))
LEGACY = support.fixture(os.path.join("mb", "legacy_mentalray_2012.mb"))


def node_named(scene, name):
    for node in scene["nodes"]:
        if node["name"] == name:
            return node
    raise AssertionError("no node %r" % name)


class ShotTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scene = mayascene.load(SHOT)

    def test_header(self):
        s = self.scene
        self.assertEqual((s["format"], s["maya_version"], s["required_maya"], s["codeset"]),
                         ("mayaBinary", "2024", "2024", "UTF-8"))
        self.assertEqual(s["units"], {"linear": "centimeter", "angle": "degree", "time": "film"})
        self.assertEqual(dict(s["file_info"])["osv"], "Windows 10 (Build 19045)\n")
        plugins = [(name, version, types) for name, version, types, _data in s["requires"]]
        self.assertEqual(plugins[0], ("mtoa", "5.4.2.1", ["aiOptions", "aiAOVDriver", "aiAOVFilter", "aiImage"]))
        self.assertEqual([p[0] for p in plugins], ["mtoa", "renderSetup.py", "stereoCamera"])

    def test_references(self):
        refs = [(r["namespace"], r["path"], r["reference_node"], r["type"], r["depth"], r["top_level"], r["deferred"])
                for r in self.scene["references"]]
        self.assertEqual(refs, [
            ("prop", "C:/show/assets/prop/prop.ma", "propRN", "mayaAscii", 1, False, False),
            ("set", "C:/show/assets/set/set.mb", "setRN", "mayaBinary", 1, False, True),
            ("prop", "C:/show/assets/prop/prop.ma", "propRN", "mayaAscii", 0, True, False),
            ("set", "C:/show/assets/set/set.mb", "setRN", "mayaBinary", 0, True, True),
        ])
        edits = self.scene["reference_edits"]
        self.assertEqual([(e["holder"], e["owner"]) for e in edits], [("propRN", "propRN")])
        groups = edits[0]["groups"]
        self.assertEqual([g["reference_node"] for g in groups], ["propRN", "propRN"])
        self.assertEqual(groups[1]["edits"], [
            (2, ["prop:file1", "fileTextureName", ' -type "string" "C:/show/textures/prop_v2.png"']),
            (5, ["4", "propRN", "|prop:root.translateX", "propRN.placeHolderList[1]", ""]),
        ])

    def test_nodes(self):
        s = self.scene
        persp = node_named(s, "persp")
        self.assertEqual((persp["type"], persp["shared"], persp["path"], persp["uuid"]),
                         ("transform", True, "|persp", "59976458-43CB-015E-D648-0FB0221FF09E"))
        cam = node_named(s, "renderCamShape")
        self.assertEqual((cam["type"], cam["parent_name"], cam["path"]), ("camera", "|shots|renderCam", "|shots|renderCam|renderCamShape"))
        self.assertEqual(s["nodes"][cam["parent"]]["name"], "renderCam")
        self.assertLess(cam["parent"], s["nodes"].index(cam))
        self.assertEqual(node_named(s, "aiImage1")["type"], "aiImage")
        self.assertEqual(node_named(s, "layerA")["type"], "renderSetupLayer")
        rn = node_named(s, "propRN")
        self.assertEqual((rn["type"], rn["locked"], rn["path"]), ("reference", True, None))
        globals_ = node_named(s, "defaultRenderGlobals")
        self.assertEqual((globals_["type"], globals_["implicit"]), ("renderGlobals", True))

    def test_values(self):
        s = self.scene
        cases = [
            ("defaultRenderGlobals", "currentRenderer", "arnold"),
            ("defaultRenderGlobals", "startFrame", 1.0),
            ("defaultRenderGlobals", "endFrame", 48.0),
            ("defaultRenderGlobals", "imageFilePrefix", "<Scene>/<RenderLayer>/<Camera>"),
            ("time1", "o", 12),
            ("defaultResolution", "width", 1920),
            ("absTex", "fileTextureName", "C:/show/textures/brick_diffuse.png"),
            ("udimTex", "uvTilingMode", 3),
            ("treeTex", "fileTextureName", support.text(u"textures/b\u00e4ume.png".encode("utf-8"))),
            ("aiImage1", "filename", "${SHOW}/textures/sky.tx"),
            ("pyScript", "before", "import maya.cmds as cmds\nprint('opened')\n"),
            ("pyScript", "scriptType", 1),
            ("pyScript", "sourceType", 1),
            ("pyScript", "noteText", "hello"),
            ("pyScript", "enabled", False),
            ("perspShape", "focalLength", 35.0),
            ("persp", "visibility", False),
            ("persp", "translate", (28.0, 21.0, 28.0)),
            ("renderLayerManager", "currentRenderLayer", 1),
            ("renderLayerManager", "renderLayerId[2]", 2),
            ("rs_layerA", "renderable", False),
            ("groundShape", "uvSet[0].uvSetName", None),
        ]
        for name, attr, expected in cases:
            attrs = node_named(s, name)["attrs"]
            if expected is None:
                self.assertNotIn(attr, attrs, (name, attr))
                continue
            self.assertEqual(attrs[attr], expected, (name, attr))
            self.assertEqual(type(attrs[attr]), type(expected), (name, attr))
        rotate = node_named(s, "renderCam")["attrs"]["rotate"]  # stored in radians, read in the scene's degrees
        for value, expected in zip(rotate, (-30.0, 45.0, 0.0)):
            self.assertAlmostEqual(value, expected, places=9)
        self.assertEqual(node_named(s, "groundShape")["attrs"], {"uvst[0].uvsn": "map1"})  # the mesh data unread
        self.assertEqual(node_named(s, "pyScript")["dynamic"], [("nt", "noteText", "string", None),
                                                                ("en", "enabled", "bool", True)])

    def test_connections(self):
        s = self.scene
        self.assertEqual(s["connections"][:3], [("place2dTexture1.outUV", "absTex.uvCoord"),
                                                ("absTex.message", "defaultTextureList1.textures[0]"),
                                                ("udimTex.message", "defaultTextureList1.textures[1]")])
        self.assertIn(("rs_layerA.message", "layerA.legacyRenderLayer"), s["connections"])
        self.assertIn(("propRN.placeHolderList[1]", "shots.translateX"), s["connections"])
        self.assertEqual(s["relationships"], [("link", ["lightLinker1", "initialShadingGroup.message",
                                                         "defaultLightSet.message"])])


class CodePageTest(unittest.TestCase):
    """A .mb file names no code page: UTF-8 when every text is UTF-8, else $VANALYZER_MB_CODEPAGE (1252)."""

    def setUp(self):
        self.saved = os.environ.pop("VANALYZER_MB_CODEPAGE", None)

    def tearDown(self):
        os.environ.pop("VANALYZER_MB_CODEPAGE", None)
        if self.saved is not None:
            os.environ["VANALYZER_MB_CODEPAGE"] = self.saved

    def path_of_file1(self):
        scene = mayascene.load(LEGACY)
        return scene["codeset"], scene["codec"], node_named(scene, "file1")["attrs"]["fileTextureName"]

    def test_fallback_code_pages(self):
        cases = [
            (None, "1252", "cp1252", u"D:/textures/caf\u00e9.tga"),
            ("1251", "1251", "cp1251", u"D:/textures/caf\u0439.tga"),
            ("mac_roman", "mac_roman", "mac_roman", u"D:/textures/caf\u00c8.tga"),
            ("no-such-codec", "no-such-codec", "utf-8", u"D:/textures/caf\ufffd.tga"),
        ]
        for variable, codeset, codec, path in cases:
            if variable is not None:
                os.environ["VANALYZER_MB_CODEPAGE"] = variable
            self.assertEqual(self.path_of_file1(), (codeset, codec, support.text(path.encode("utf-8"))), variable)

    def test_utf8_scene_ignores_the_variable(self):
        os.environ["VANALYZER_MB_CODEPAGE"] = "1251"
        self.assertEqual(mayascene.load(SHOT)["codeset"], "UTF-8")


class LegacyTest(unittest.TestCase):
    def test_32_bit_form(self):
        s = mayascene.load(LEGACY)
        self.assertEqual((s["format"], s["maya_version"], s["units"]["time"]), ("mayaBinary", "2012", "pal"))
        self.assertEqual(s["requires"][0][:2], ("Mayatomr", "2012.0m - 3.9.1.26 "))
        self.assertEqual(node_named(s, "miDefaultOptions")["type"], "mentalrayOptions")
        self.assertEqual(node_named(s, "defaultRenderGlobals")["attrs"]["endFrame"], 50.0)
        self.assertEqual(node_named(s, "cameraShape1")["path"], "|camera1|cameraShape1")
        self.assertEqual(s["connections"], [("file1.message", "defaultTextureList1.textures[0]")])


class BrokenFileTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()
        with open(SHOT, "rb") as handle:
            self.data = handle.read()

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def load(self, name, data):
        path = os.path.join(self.tmp, name)
        with open(path, "wb") as handle:
            handle.write(data)
        return path, mayascene.load

    def test_errors_name_the_file_offset_and_chunk(self):
        size = len(self.data)
        cases = [
            ("cut.mb", self.data[:size // 2], size // 2, "FOR8", "the file is truncated"),
            ("huge.mb", self.data[:28] + b"\xff" * 8 + self.data[36:], 20, "FOR8", "declares 18446744073709551615 bytes"),
            ("leaf.mb", self.data[:20] + b"VERS" + self.data[24:], 20, "VERS", "no group at the top level"),
        ]
        for name, data, offset, chunk, reason in cases:
            path, load = self.load(name, data)
            with self.assertRaises(mayascene.ParseError) as caught:
                load(path)
            error = caught.exception
            self.assertIsInstance(error, ValueError)
            self.assertEqual((error.file, error.offset, error.chunk, error.line, error.column),
                             (path, offset, chunk, None, None), name)
            self.assertIn(reason, str(error))
            self.assertTrue(str(error).startswith("%s: byte %d, chunk %s: " % (path, offset, chunk)), str(error))

    def test_every_cut_of_the_file_is_an_error(self):
        for end in range(0, len(self.data) - 1, 97):
            path, load = self.load("cut.mb", self.data[:end])
            self.assertRaises(mayascene.ParseError, load, path)

    def test_ascii_errors_keep_line_and_column(self):
        path, load = self.load("bad.ma", b'//Maya ASCII 2022 scene\ncreateNode transform -n "a\n')
        with self.assertRaises(mayascene.ParseError) as caught:
            load(path)
        self.assertEqual((caught.exception.line, caught.exception.column, caught.exception.offset,
                          caught.exception.chunk), (2, 25, None, None))

    def test_the_first_bytes_decide_not_the_name(self):
        path, load = self.load("binary.ma", self.data)
        self.assertEqual(load(path)["format"], "mayaBinary")


if __name__ == "__main__":
    unittest.main()
