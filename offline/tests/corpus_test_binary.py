"""Maya Binary scenes of the real-scene corpus (mb/, Maya 8.5 to 2026, and the Walker production):
each loads whole, its nodes agree with a plain walk of its chunks, the maya.cmds stand-in answers
what the file holds, and the rig saved both as .ma and as .mb reads the same through either reader."""
from __future__ import print_function

import glob
import os
import struct
import tempfile
import unittest

import support
import mayascene
from maya import cmds

MB = os.path.join(support.CORPUS, "mb")
PAIR = os.path.join(MB, "p01_GenEugene_rig_BoxMan_Buzz_2019")


def binary_scenes():
    if not os.path.isdir(MB):
        raise AssertionError("sample corpus not found at %s (set VANALYZER_CORPUS)" % support.CORPUS)
    return sorted(glob.glob(os.path.join(MB, "*.mb")) +
                  glob.glob(os.path.join(support.CORPUS, "productions", "Walker", "*.mb")) +
                  glob.glob(os.path.join(support.CORPUS, "productions", "Walker", "*", "*.mb")))


def created_nodes(path):
    """(name, parent as written) of every CREA chunk, by a walk of the file's chunks."""
    with open(path, "rb") as handle:
        data = handle.read()
    wide = data[:4] == b"FOR8"
    header, align = (16, 8) if wide else (8, 4)

    def chunks(start, end):
        while start < end:
            size = struct.unpack(">Q" if wide else ">I", data[start + header - (8 if wide else 4):start + header])[0]
            body = start + header
            group = data[start:start + 3] in (b"FOR", b"LIS")
            yield data[start:start + 4], group, body, body + size
            start = body + size if group else body + (size + align - 1) // align * align

    found = []
    for _, _, body, end in chunks(0, len(data)):
        for _, group, start, stop in chunks(body + 4, end):
            first = next(chunks(start + 4, stop), None) if group else None
            if first is None or first[0] != b"CREA":
                continue
            crea = data[first[2]:first[3]]
            fields = crea[1:].split(b"\0")
            rest = crea[len(fields[0]) + 2:]  # after the flags and the name
            has_parent = not (ord(crea[0:1]) & 0x80) and rest and not (len(rest) == 16 and b"\0" not in rest)
            found.append((fields[0].decode("latin-1"), fields[1].decode("latin-1") if has_parent else ""))
    return found


def text(value):
    return support.text(value.encode("utf-8"))


class LoadTest(unittest.TestCase):
    def test_every_scene_loads_with_the_nodes_it_creates(self):
        for path in binary_scenes():
            scene = mayascene.load(path)
            self.assertEqual(scene["format"], "mayaBinary", path)
            created = created_nodes(path)
            nodes = [n for n in scene["nodes"] if not n["implicit"]]
            # a repeated shared node (createNode -s) edits the first of its name
            self.assertEqual(len(nodes), len(created) - (len(created) - len(set(created))), path)
            by_name = {}
            for node in nodes:
                by_name.setdefault(node["name"], []).append(node["parent_name"] or "")
            for name, parent in created:
                self.assertIn(text(parent), by_name.get(text(name), []), (path, name))
            for node in nodes:
                if node["parent"] is not None:
                    self.assertLess(node["parent"], scene["nodes"].index(node), (path, node["name"]))

    def test_node_types_are_named(self):
        unknown = {}
        for path in binary_scenes():
            names = sorted(set(n["type"] for n in mayascene.load(path)["nodes"] if n["type"].startswith("unknown type")))
            if names:
                unknown[os.path.basename(path)] = names
        # Maya 2012 and older carry no plug-in type table: mental ray's shaders stay unnamed.
        self.assertEqual(sorted(unknown), ["m01_mrv_allnodetypes_8.5.mb", "m02_mrv_allnodetypes_2008.mb",
                                           "m04_riverless-walk_walk-01_2012.mb"])
        self.assertEqual(unknown["m01_mrv_allnodetypes_8.5.mb"], ["unknown type 0x554D4254 (UMBT)"])
        self.assertEqual(unknown["m04_riverless-walk_walk-01_2012.mb"],
                         ["unknown type 0x00102E54", "unknown type 0x00102E7A", "unknown type 0x0010A84E",
                          "unknown type 0x0010A84F"])

    def test_texts_not_in_utf8_take_the_fallback_code_page(self):
        for path in binary_scenes():
            codeset = mayascene.load(path)["codeset"]
            # m02's save time is in a Mac code page ("M\x8ar" for "Maerz")
            self.assertEqual(codeset, "1252" if "m02_" in path else "UTF-8", path)

    def test_cut_files_are_errors(self):
        for path in binary_scenes():
            with open(path, "rb") as handle:
                data = handle.read()
            descriptor, cut = tempfile.mkstemp(suffix=".mb")
            os.close(descriptor)
            try:
                for end in (7, 19, len(data) // 3, len(data) - 1):
                    with open(cut, "wb") as handle:
                        handle.write(data[:end])
                    with self.assertRaises(mayascene.ParseError) as caught:
                        mayascene.load(cut)
                    self.assertIsNotNone(caught.exception.offset, (path, end))
            finally:
                if os.path.exists(cut):
                    os.remove(cut)


class StandInAnswersTest(unittest.TestCase):
    """What each file holds, as found by walking its chunks, asked through maya.cmds."""

    DEFAULT_CAMERAS = [("perspShape", "|persp"), ("topShape", "|top"), ("frontShape", "|front"), ("sideShape", "|side")]
    CONFIG = ["uiConfigurationScriptNode", "sceneConfigurationScriptNode"]
    # file: renderer, render layers, cameras (shape, parent), script nodes, file texture names
    SCENES = {
        "m01": ("mayaSoftware", ["defaultRenderLayer", "renderLayer1"], DEFAULT_CAMERAS + [("cameraShape1", "|camera1")],
                ["script1", "sceneConfigurationScriptNode"], {"file1": "", "movie1": "", "psdFileTex1": ""}),
        "m03": ("mayaSoftware", ["defaultRenderLayer"], [("camera1Shape", "|group1|camera1")], [], {}),
        "m04": ("mentalRay", ["defaultRenderLayer", "layer1"], DEFAULT_CAMERAS + [("viewerShape", "|viewer")], CONFIG, {}),
        "m07": ("mayaSoftware", ["defaultRenderLayer"], DEFAULT_CAMERAS, CONFIG, {}),
        "m09": ("arnold", ["defaultRenderLayer", "bipedExample_defaultRenderLayer"], DEFAULT_CAMERAS, CONFIG, {}),
        "m10": ("renderman", ["defaultRenderLayer"], DEFAULT_CAMERAS, CONFIG,
                {"file1": "/venture/shows/katana_tutorials//dumps/source_images/batman/origin/tongue.png",
                 "file2": "/venture/shows/katana_tutorials//dumps/source_images/batman/origin/belt.png"}),
        "m13": ("arnold", ["defaultRenderLayer"], DEFAULT_CAMERAS, CONFIG, {}),
        "m15": ("arnold", ["defaultRenderLayer"],
                [("cameraShape%d" % i, "|camLayout|cameras|camera%d" % i) for i in range(1, 5)], [], {}),
        "p01": ("arnold", ["defaultRenderLayer"], DEFAULT_CAMERAS, CONFIG, {}),
    }

    def open(self, prefix):
        path = glob.glob(os.path.join(MB, prefix + "_*.mb"))
        self.assertEqual(len(path), 1, prefix)
        cmds.file(path[0], open=True, force=True)

    def test_renderer_layers_cameras_scripts_textures(self):
        for prefix, (renderer, layers, cameras, scripts, textures) in sorted(self.SCENES.items()):
            self.open(prefix)
            self.assertEqual(cmds.getAttr("defaultRenderGlobals.currentRenderer"), renderer, prefix)
            self.assertEqual(cmds.ls(type="renderLayer"), layers, prefix)
            self.assertEqual([(c, cmds.listRelatives(c, parent=True, fullPath=True)[0]) for c in cmds.ls(type="camera")],
                             cameras, prefix)
            self.assertEqual(cmds.ls(type="script"), scripts, prefix)
            for script in scripts:
                self.assertIsInstance(cmds.getAttr(script + ".before"), str, prefix)
            self.assertEqual(dict((f, cmds.getAttr(f + ".fileTextureName")) for f in cmds.ls(type="file")), textures, prefix)

    def test_script_text(self):
        self.open("m04")
        ui = cmds.getAttr("uiConfigurationScriptNode.before")
        self.assertTrue(ui.startswith("// Maya Mel UI Configuration File.\n//\n"))
        self.assertGreater(len(ui), 1000)
        self.assertTrue(cmds.getAttr("sceneConfigurationScriptNode.before").startswith("playbackOptions -min 1 -max 24 "))
        self.assertEqual(cmds.getAttr("sceneConfigurationScriptNode.scriptType"), 6)

    def test_plugin_textures(self):
        self.open("m10")
        self.assertEqual(cmds.ls(type="PxrTexture"), ["PxrTexture1", "PxrTexture2"])
        self.assertEqual(cmds.getAttr("PxrTexture1.filename"),
                         "/venture/shows/katana_tutorials//dumps/source_images/batman/tx/tongue.tx")
        self.assertEqual(cmds.nodeType("rmanGlobals"), "rmanGlobals")

    def test_references_and_their_edits(self):
        walker = os.path.join(support.CORPUS, "productions", "Walker")
        for shot in ("WalkerAnimation.mb", os.path.join("RunCycle", "Walker_Run.mb")):
            cmds.file(os.path.join(walker, shot), open=True, force=True)
            self.assertEqual(cmds.ls(type="reference"), ["Ultimate_Walker_IK_v1_0_1RN"], shot)
            node = "Ultimate_Walker_IK_v1_0_1RN"
            self.assertEqual(cmds.referenceQuery(node, namespace=True), ":Ultimate_Walker_IK_v1_0_1", shot)
            self.assertEqual(cmds.referenceQuery(node, filename=True, unresolvedName=True),
                             "C:/Git/2230Fall2024//MayaRigs/Ultimate_Walker_IK_v1.0.1.ma", shot)
            self.assertIs(cmds.referenceQuery(node, isLoaded=True), True, shot)  # found through the // marker
        scene = mayascene.load(os.path.join(walker, "WalkerAnimation.mb"))
        refs = [(r["namespace"], r["depth"], r["top_level"], r["deferred"], r["type"]) for r in scene["references"]]
        self.assertEqual(refs, [("Ultimate_Walker_IK_v1_0_1", 1, False, False, "mayaAscii"),
                                ("Ultimate_Walker_IK_v1_0_1", 0, True, True, "mayaAscii")])
        edits, = scene["reference_edits"]
        self.assertEqual([(g["reference_node"], len(g["edits"])) for g in edits["groups"]],
                         [("Ultimate_Walker_IK_v1_0_1RN", 0), ("Ultimate_Walker_IK_v1_0_1RN", 46)])
        codes = [(code, fields[0] if code == 5 else None) for code, fields in edits["groups"][1]["edits"]]
        self.assertEqual(codes.count((2, None)), 9)
        self.assertEqual(codes.count((5, "4")), 37)
        self.assertEqual(edits["groups"][1]["edits"][0][1][1:], ["footRoll", " -k 1"])


class PairTest(unittest.TestCase):
    """The rig saved as .ma and as .mb five seconds apart."""

    @classmethod
    def setUpClass(cls):
        cls.ma = mayascene.load(PAIR + ".ma")
        cls.mb = mayascene.load(PAIR + ".mb")

    @staticmethod
    def nodes(scene):
        return [(n["name"], n["type"], n["parent_name"], n["path"], n["shared"], n["implicit"], n["locked"], n["uuid"])
                for n in scene["nodes"]]

    @staticmethod
    def strings(scene):
        return [(n["name"], sorted((k, v) for k, v in n["attrs"].items() if isinstance(v, str))) for n in scene["nodes"]]

    def test_same_nodes_types_parents(self):
        self.assertEqual(len(self.mb["nodes"]), 1440)
        self.assertEqual(self.nodes(self.mb), self.nodes(self.ma))
        self.assertEqual([n["parent"] for n in self.mb["nodes"]], [n["parent"] for n in self.ma["nodes"]])

    def test_same_connections_and_relationships(self):
        self.assertEqual(len(self.mb["connections"]), 7932)
        self.assertEqual(self.mb["connections"], self.ma["connections"])
        self.assertEqual(self.mb["relationships"], self.ma["relationships"])

    def test_same_strings_header_and_numbers(self):
        self.assertEqual(self.strings(self.mb), self.strings(self.ma))
        for key in ("maya_version", "required_maya", "units", "requires", "references"):
            self.assertEqual(self.mb[key], self.ma[key], key)
        self.assertEqual(self.mb["file_info"][1:], self.ma["file_info"])  # the .mb adds exportedFrom
        for plug in ("time1.o", "defaultRenderGlobals.startFrame", "defaultRenderGlobals.endFrame",
                     "perspShape.focalLength", "persp.rotate", "persp.translate"):
            node, attr = plug.split(".")
            index = [n["name"] for n in self.ma["nodes"]].index(node)
            ma_value = self.ma["nodes"][index]["attrs"].get(self.canonical(self.ma, index, attr))
            mb_value = self.mb["nodes"][index]["attrs"].get(self.canonical(self.mb, index, attr))
            self.assertIsNotNone(mb_value, plug)
            if isinstance(ma_value, tuple):
                for a, b in zip(ma_value, mb_value):
                    self.assertAlmostEqual(a, b, places=9, msg=plug)
            else:
                self.assertEqual((type(mb_value), mb_value), (type(ma_value), ma_value), plug)

    @staticmethod
    def canonical(scene, index, attr):
        node = scene["nodes"][index]
        return mayascene.resolve_attribute(node["type"], attr, [(d[0], d[1]) for d in node["dynamic"]])[0]


if __name__ == "__main__":
    unittest.main()
