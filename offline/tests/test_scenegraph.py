"""The scenegraph module: a scene and the files it references in one graph, as Maya names and
links their nodes, and the maya.cmds stand-in answering from it (2.7 and 3.x)."""
from __future__ import print_function

import os
import shutil
import tempfile
import unittest

import support
import scenegraph
from maya import cmds
from maya._commands import open_scene


def fixture(name):
    return support.fixture(os.path.join("graph", name))


def shot_graph():
    """The shot with its references added as the reference loader adds them."""
    graph = scenegraph.Graph()
    graph.add_file(fixture("shot.ma"))
    graph.add_file(fixture("set.ma"), namespace="set", reference_node="setRN")
    graph.add_file(fixture("chair.ma"), namespace="set:chair", reference_node="set:chairRN")
    graph.add_file(fixture("solar.ma"), prefix="solar", reference_node="solarRN")
    return graph


class ReferencedNodesTest(unittest.TestCase):
    """Through maya.cmds, referenced nodes are seen as Maya shows them."""

    def setUp(self):
        open_scene.replace(open_scene.OpenScene(fixture("shot.ma"), shot_graph()))

    def tearDown(self):
        open_scene.replace(None)

    def test_names_and_types(self):
        self.assertEqual(cmds.ls(type="file"), ["shotTex", "set:roomTex", "set:chair:file3"])
        self.assertEqual(cmds.ls("set:chair:*", type="transform"), ["set:chair:grp", "set:chair:geo"])
        self.assertEqual(cmds.ls(type="pointLight", long=True), ["|solar_sun|solar_sunShape"])
        # Shared nodes (the default cameras, the light linker) are the scene's, once.
        self.assertEqual(cmds.ls(type="camera"), ["perspShape"])
        self.assertEqual(cmds.ls(type="lightLinker"), ["lightLinker1"])
        self.assertEqual(cmds.getAttr("perspShape.focalLength"), 35.0)
        # A referenced file's own layers and manager stay in its namespace.
        self.assertEqual(cmds.ls(type="renderLayer"), ["defaultRenderLayer", "set:chair:defaultRenderLayer"])
        self.assertEqual(cmds.getAttr("defaultRenderGlobals.currentRenderer"), "mayaSoftware")
        self.assertEqual(cmds.nodeType("set:chair:geoShape"), "mesh")
        self.assertTrue(cmds.objExists("set:chair:file3.ftn"))
        self.assertFalse(cmds.objExists("chair:file3"))

    def test_parents_across_files(self):
        self.assertEqual(cmds.listRelatives("set:chair:grp", c=True), ["set:chair:geo", "prop", "set:cushion"])
        self.assertEqual(cmds.listRelatives("propShape", p=True, pa=True), ["|set:chair:grp|prop"])
        self.assertEqual(cmds.listRelatives("set:cushionShape", p=True, f=True), ["|set:chair:grp|set:cushion"])
        self.assertEqual(cmds.listRelatives("set:chair:grp", ad=True, type="mesh"),
                         ["set:cushionShape", "propShape", "set:chair:geoShape"])
        self.assertEqual(cmds.ls("|set:chair:grp|set:chair:geo|set:chair:geoShape"), ["set:chair:geoShape"])

    def test_attributes_and_connections(self):
        self.assertEqual(cmds.getAttr("set:chair:file3.fileTextureName"), "sourceimages/wood.png")
        self.assertEqual(cmds.getAttr("set:roomTex.ftn"), "sourceimages/wall.png")
        # A plug the shot writes as set:chair:file3.ftn connects to the referenced node.
        self.assertEqual(cmds.listConnections("set:chair:file3.ftn", s=True, d=False, p=True),
                         ["shotTex.fileTextureName"])
        self.assertEqual(cmds.listConnections("shotTex", d=True, s=False, c=True, p=True),
                         ["shotTex.fileTextureName", "set:chair:file3.fileTextureName"])
        self.assertEqual(cmds.listConnections("set:chair:lambert2", s=True, d=False),
                         ["set:roomTex", "set:chair:file3"])  # graph order: files as they were added
        self.assertEqual(cmds.listConnections("shotSet.dsm"), ["solar_sunShape"])
        self.assertEqual(cmds.listConnections("shotTex.ufe"), ["set:gone:node"])  # not loaded
        self.assertEqual(cmds.listConnections("set:chair:geoShape", s=True, d=False), ["lightLinker1"])

    def test_plugins_of_every_file(self):
        self.assertEqual(cmds.pluginInfo(q=True, pluginsInUse=True), ["mtoa", "5.0.0", "xgenToolkit", "1.0"])
        self.assertTrue(cmds.pluginInfo("xgenToolkit", q=True, loaded=True))


class OpenedShotTest(unittest.TestCase):
    """The shot opened as Maya opens it: its references loaded, their edits applied bottom-up."""

    def setUp(self):
        cmds._take_host_messages()
        cmds.file(fixture("shot.ma"), open=True, force=True)
        self.messages = cmds._take_host_messages()

    def tearDown(self):
        cmds.file(new=True, force=True)

    def test_edits_of_the_shot_win_over_the_sets(self):
        self.assertEqual(cmds.getAttr("set:chair:file3.fileTextureName"), "sourceimages/shot_wood.png")
        self.assertEqual(cmds.getAttr("set:chair:file3.uvTilingMode"), 3)  # the set's edit stands
        self.assertEqual(cmds.listRelatives("set:chair:geo", p=True, pa=True), ["|set:room"])
        self.assertIs(cmds.getAttr("set:room.visibility"), False)
        self.assertEqual(cmds.listConnections("set:chair:lambert2", s=True, d=False),
                         ["set:roomTex", "set:chair:file3", "shotTex"])
        edits = [text for level, text in self.messages if text.startswith("Reference edits")]
        self.assertEqual(edits, [
            "Reference edits stored in %s: 3 applied (2 setAttr, 0 connectAttr, 1 parent)" % fixture("set.ma"),
            "Reference edits stored in %s: 3 applied (2 setAttr, 1 connectAttr, 0 parent)" % fixture("shot.ma")])


class GraphTest(unittest.TestCase):
    def test_file_info(self):
        graph = shot_graph()
        self.assertEqual(graph.file_count(), 4)
        info = graph.file_info(2)
        self.assertEqual((info["path"], info["format"], info["maya_version"], info["codeset"]),
                         (fixture("chair.ma"), "mayaAscii", "2020", "UTF-8"))
        self.assertEqual((info["namespace"], info["prefix"], info["reference_node"]),
                         ("set:chair", "", "set:chairRN"))
        self.assertEqual(info["requires"], [("mtoa", "4.0.0", [], [])])
        shot = graph.file_info(0)
        self.assertEqual([r["reference_node"] for r in shot["references"]],
                         ["setRN", "set:chairRN", "solarRN", "setRN", "solarRN"])
        self.assertEqual(shot["references"][1]["depth"], 2)
        self.assertTrue(shot["references"][3]["top_level"] and shot["references"][3]["deferred"])
        self.assertRaises(IndexError, graph.file_info, 4)

    def test_nodes_by_id(self):
        graph = shot_graph()
        node = graph.find("set:chair:file3")
        self.assertEqual(graph.name(node), "set:chair:file3")
        self.assertTrue(graph.is_type(node, "texture2d"))
        self.assertEqual(graph.value(node, "ftn"), "sourceimages/wood.png")
        self.assertEqual([graph.name(n) for n in graph.nodes(types=["mesh"])],
                         ["propShape", "set:cushionShape", "set:chair:geoShape"])
        self.assertEqual(len(graph.nodes()), len(graph.ls()))
        self.assertIsNone(graph.find("nothing"))
        self.assertRaises(IndexError, graph.name, len(graph.nodes()))
        self.assertRaises(ValueError, graph.value, node, "noSuchAttribute")

    def test_several_and_no_objects(self):
        graph = scenegraph.Graph()
        graph.add_file(support.fixture("arnold_layers.ma"))
        for call, message in ((lambda: graph.find("groundShape"), "More than one object matches name: groundShape"),
                              (lambda: graph.get_attr(":groundShape.v"), "More than one object matches name: groundShape"),
                              (lambda: graph.node_type("nothing"), "No object matches name: nothing"),
                              (lambda: graph.get_attr("absTex.none"), "No object matches name: absTex.none")):
            with self.assertRaises(ValueError) as caught:
                call()
            self.assertEqual(str(caught.exception), message)
        self.assertRaises(TypeError, graph.find, 3)
        self.assertRaises(TypeError, graph.ls, types=[None])


class AddFileErrorsTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def test_unreadable_and_malformed_files(self):
        graph = scenegraph.Graph()
        self.assertRaises((IOError, OSError), graph.add_file, os.path.join(self.tmp, "none.ma"))
        path = os.path.join(self.tmp, "bad.ma")
        with open(path, "wb") as handle:
            handle.write(b'//Maya ASCII 2020 scene\ncreateNode transform -n "a";\n\tsetAttr ".t" (1);\n')
        with self.assertRaises(scenegraph.ParseError) as caught:
            graph.add_file(path)
        self.assertTrue(isinstance(caught.exception, ValueError))
        self.assertEqual((caught.exception.file, caught.exception.line), (path, 3))
        self.assertEqual(graph.file_count(), 0)
        self.assertEqual(graph.ls(), [])

    def test_long_text_over_the_cap_answers_whole(self):
        # A 1252 text: the .ma says so, the .mb falls back to it; either reads back the same.
        body = u"caf\u00e9 " * 40
        for form in (".ma", ".mb"):
            path = os.path.join(self.tmp, "long" + form)
            support.write_script_scene(path, "s", body.encode("cp1252"), codeset="1252")
            saved = os.environ.get("VANALYZER_MAX_VALUE_BYTES")
            os.environ["VANALYZER_MAX_VALUE_BYTES"] = "100"
            try:
                graph = scenegraph.Graph()
                graph.add_file(path)
            finally:
                if saved is None:
                    del os.environ["VANALYZER_MAX_VALUE_BYTES"]
                else:
                    os.environ["VANALYZER_MAX_VALUE_BYTES"] = saved
            self.assertEqual(graph.file_info(0)["long_values"], [("s.before", 200, True)], form)
            self.assertEqual(graph.get_attr("s.b"), support.text(body.encode("utf-8")), form)
            self.assertEqual(graph.value(graph.find("s"), "before"), support.text(body.encode("utf-8")), form)

    def test_code_pages_become_one_text(self):
        # A 1252 scene referenced by a UTF-8 one: names compare as the same characters.
        shot = os.path.join(self.tmp, "shot.ma")
        prop = os.path.join(self.tmp, "prop.ma")
        with open(shot, "wb") as handle:
            handle.write(b'//Maya ASCII 2020 scene\n//Codeset: UTF-8\n'
                         b'createNode transform -n "caf\xc3\xa9" -p "|r:cr\xc3\xa8me";\n// End of shot.ma\n')
        with open(prop, "wb") as handle:
            handle.write(b'//Maya ASCII 2020 scene\n//Codeset: 1252\ncreateNode transform -n "cr\xe8me";\n'
                         b'// End of prop.ma\n')
        graph = scenegraph.Graph()
        graph.add_file(shot)
        graph.add_file(prop, namespace="r")
        self.assertEqual(graph.list_relatives([support.text(b"caf\xc3\xa9")], parents=True, full_paths=True),
                         [support.text(b"|r:cr\xc3\xa8me")])

    def test_a_code_page_the_interpreter_does_not_know_is_read_as_utf8(self):
        path = os.path.join(self.tmp, "unknown.ma")
        with open(path, "wb") as handle:
            handle.write(b'//Maya ASCII 2020 scene\n//Codeset: x-no-such-page\n'
                         b'createNode transform -n "caf\xc3\xa9";\n// End of unknown.ma\n')
        graph = scenegraph.Graph()
        graph.add_file(path)
        self.assertEqual(graph.ls(types=["transform"]), [support.text(b"caf\xc3\xa9")])


if __name__ == "__main__":
    unittest.main()
