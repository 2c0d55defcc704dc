"""The reference loader's policy: which references load, under which names, and what a broken
reference leaves behind; checked against a test double of the scene graph."""
from __future__ import print_function

import os
import re
import shutil
import sys
import tempfile
import unittest

import support  # noqa: F401 (import path)
from graph_double import GraphDouble, pair, rdi, records, ref
from maya import cmds
from maya._commands.paths import dirmap_table
from maya._commands.references import loaded, loader, reference_tree

WRITTEN = "C:/Users/artist/show//scenes/"  # where the artist's machine had the project


class Project(object):
    """A project folder holding empty scene files (the double supplies what they reference)."""

    def __init__(self, names):
        self.root = tempfile.mkdtemp(prefix="vanalyzer-refs-")
        with open(os.path.join(self.root, "workspace.mel"), "w") as handle:
            handle.write('workspace -fr "scene" "scenes";\n')
        for name in names:
            path = self.path(name)
            if not os.path.isdir(os.path.dirname(path)):
                os.makedirs(os.path.dirname(path))
            open(path, "w").close()

    def path(self, name):
        return os.path.join(self.root, "scenes", name).replace(os.sep, "/")

    def remove(self):
        shutil.rmtree(self.root)


class LoaderTest(unittest.TestCase):
    def setUp(self):
        self.project = Project(["shot.ma", "set.ma", "chair.ma", "table.ma", "lamp.ma", "broken.ma", "a.ma",
                                "b.ma", "old.mb", "cloth.fbx"])
        self.addCleanup(self.project.remove)
        self.messages = []
        dirmap_table.table().enabled = False

    def load(self, files, **kwargs):
        scene = self.project.path("shot.ma")
        graph = GraphDouble(scene, dict((self.project.path(k), v) for k, v in files.items()),
                            dict((self.project.path(k), v) for k, v in kwargs.pop("unreadable", {}).items()),
                            kwargs.pop("edit_messages", ()))
        table = loader.load(graph, 0, scene, log=lambda level, text: self.messages.append((level, text)), **kwargs)
        return graph, dict((r.reference_node, r) for r in table.references), table

    def said(self, level, *parts):
        return [text for lvl, text in self.messages if lvl == level and all(p in text for p in parts)]

    def test_nested_references_load_under_joined_namespaces_in_the_states_the_shot_saved(self):
        shot = records(pair("set", "setRN", WRITTEN + "set.ma"),
                       rdi(2, "chair", "set:chairRN", "D:/old/place//scenes/chair.ma"),
                       rdi(2, "table", "set:tableRN", WRITTEN + "table.ma", deferred=True),
                       pair("lamp", "lampRN", WRITTEN + "lamp.ma", deferred=True))
        # set.ma saved its table loaded and its chair at another place: the shot's states win,
        # the set's own `file -r` lines give the paths
        set_file = records(pair("chair", "chairRN", "E:/elsewhere//scenes/chair.ma"),
                           pair("table", "tableRN", "E:/elsewhere//scenes/table.ma"))
        graph, refs, table = self.load({"shot.ma": shot, "set.ma": set_file})
        self.assertEqual(graph.added, [(self.project.path("set.ma"), "set", "", "setRN"),
                                       (self.project.path("chair.ma"), "set:chair", "", "set:chairRN")])
        self.assertEqual([(r.reference_node, r.namespace, r.state, r.depth, r.parent) for r in table.references], [
            ("setRN", "set", "loaded", 1, None),
            ("set:chairRN", "set:chair", "loaded", 2, "setRN"),
            ("set:tableRN", "set:table", "deferred", 2, "setRN"),
            ("lampRN", "lamp", "deferred", 1, None),
        ])
        self.assertEqual(refs["set:chairRN"].path, "E:/elsewhere//scenes/chair.ma")
        self.assertEqual(refs["lampRN"].resolved, self.project.path("lamp.ma"))  # deferred: found, not opened
        self.assertIs(cmds.file(referenceNode="lampRN", query=True, deferReference=True), True)
        self.assertIs(cmds.file(self.project.path("lamp.ma"), q=True, dr=True), True)
        self.assertTrue(self.said("Info", "set:tableRN", "deferred"))
        self.assertEqual(graph.edits_applied, 1)

    def test_a_nested_reference_the_shot_never_saw_keeps_its_own_files_state(self):
        shot = records(pair("set", "setRN", WRITTEN + "set.ma"))
        set_file = records(pair("chair", "chairRN", WRITTEN + "chair.ma", deferred=True),
                           pair("table", "tableRN", WRITTEN + "table.ma"))
        graph, refs, _table = self.load({"shot.ma": shot, "set.ma": set_file})
        self.assertEqual((refs["set:chairRN"].state, refs["set:tableRN"].state), ("deferred", "loaded"))

    def test_missing_unreadable_and_foreign_references_keep_their_place_and_the_rest_loads(self):
        shot = records(pair("gone", "goneRN", WRITTEN + "gone.ma"),
                       pair("broken", "brokenRN", WRITTEN + "broken.ma"),
                       pair("old", "oldRN", WRITTEN + "old.mb", file_type="mayaBinary"),
                       pair("cloth", "clothRN", WRITTEN + "cloth.fbx", file_type="FBX"),
                       pair("lamp", "lampRN", WRITTEN + "lamp.ma"))
        unreadable = {"broken.ma": ValueError("broken.ma:12:1: the file ends before its last statement"),
                      "old.mb": IOError("cannot read old.mb")}
        graph, refs, _table = self.load({"shot.ma": shot}, unreadable=unreadable)
        self.assertEqual([a[3] for a in graph.added], ["lampRN"])
        self.assertEqual((refs["goneRN"].state, refs["goneRN"].resolved), ("missing", None))
        self.assertEqual(refs["brokenRN"].state, "failed")
        self.assertIn("ends before its last statement", refs["brokenRN"].reason)
        self.assertEqual(refs["oldRN"].state, "failed")
        self.assertEqual((refs["clothRN"].state, refs["clothRN"].reason),
                         ("loaded", "a FBX reference: its contents are not read here"))
        self.assertEqual(refs["lampRN"].state, "loaded")
        self.assertTrue(self.said("Warning", "goneRN", WRITTEN + "gone.ma", "not found"))
        self.assertTrue(self.said("Error", "brokenRN", "cannot be read", "ends before its last statement"))

    def test_cycles_end_with_a_message_and_the_file_is_not_loaded_again(self):
        shot = records(pair("a", "aRN", WRITTEN + "a.ma"), pair("me", "meRN", WRITTEN + "shot.ma"))
        files = {"shot.ma": shot, "a.ma": records(pair("b", "bRN", WRITTEN + "b.ma")),
                 "b.ma": records(pair("a", "aRN", WRITTEN + "a.ma"))}
        graph, refs, _table = self.load(files)
        self.assertEqual([a[1] for a in graph.added], ["a", "a:b"])
        cycle = refs["a:b:aRN"]
        self.assertEqual(cycle.state, "failed")
        self.assertEqual(cycle.reason, "reference cycle: %s -> %s -> %s -> %s" % tuple(
            self.project.path(n) for n in ("shot.ma", "a.ma", "b.ma", "a.ma")))
        self.assertEqual(refs["meRN"].state, "failed")  # the scene referencing itself
        self.assertEqual(len(self.said("Error", "reference cycle")), 2)

    def test_depth_and_file_limits(self):
        chain = {"shot.ma": records(pair("a", "aRN", WRITTEN + "a.ma")),
                 "a.ma": records(pair("b", "bRN", WRITTEN + "b.ma")),
                 "b.ma": records(pair("c", "cRN", WRITTEN + "chair.ma"))}
        graph, refs, _table = self.load(chain, max_depth=2)
        self.assertEqual(len(graph.added), 2)
        self.assertEqual((refs["a:b:cRN"].state, refs["a:b:cRN"].reason), ("failed", "nested more than 2 levels deep"))
        graph, refs, _table = self.load(chain, max_files=1)
        self.assertEqual(len(graph.added), 1)
        self.assertEqual(refs["a:bRN"].reason, "more than 1 referenced files")

    def test_a_chain_deeper_than_the_interpreter_recursion_limit_loads_down_to_the_depth_limit(self):
        depth = loader.MAX_DEPTH + 1
        self.assertGreater(depth, sys.getrecursionlimit())
        names = ["c%d.ma" % level for level in range(1, depth + 1)]
        deep = Project(names)
        self.addCleanup(deep.remove)
        self.project, written = deep, deep.path("")
        chain = {"shot.ma": records(pair("c1", "c1RN", written + names[0]))}
        for level in range(1, depth):
            chain[names[level - 1]] = records(pair("c%d" % (level + 1), "c%dRN" % (level + 1), written + names[level]))
        graph, refs, _table = self.load(chain)
        self.assertEqual(len(graph.added), loader.MAX_DEPTH)
        self.assertEqual(graph.added[-1][1], ":".join("c%d" % level for level in range(1, depth)))
        last = refs[graph.added[-1][1] + ":c%dRN" % depth]
        self.assertEqual((last.state, last.reason), ("failed", "nested more than %d levels deep" % loader.MAX_DEPTH))

    @unittest.skipUnless(hasattr(os, "symlink"), "no symbolic links here")
    def test_files_are_told_apart_by_their_real_paths(self):
        # the loader resolves each folder once; its answers are realpath's, links and ".." included
        root = os.path.realpath(self.project.root)
        scenes = os.path.join(root, "scenes")
        os.symlink(scenes, os.path.join(root, "linked"))
        os.symlink(os.path.join(scenes, "a.ma"), os.path.join(scenes, "alias.ma"))
        real = loader._RealPaths()
        paths = [os.path.join(scenes, "a.ma"), os.path.join(root, "linked", "a.ma"), os.path.join(scenes, "alias.ma"),
                 os.path.join(root, "linked", "..", "scenes", "b.ma"), os.path.join(scenes, "gone.ma"),
                 os.path.join(scenes, ".."), "a.ma"]
        for _ in range(2):  # the second time from the folders already resolved
            for path in paths:
                self.assertEqual(real(path), os.path.normcase(os.path.realpath(path)), path)
        self.assertEqual(real(os.path.join(root, "linked", "a.ma")), real(os.path.join(scenes, "alias.ma")))

    def test_prefixes_and_the_root_namespace(self):
        shot = records(ref("", "IMPRN", WRITTEN + "set.ma", deferred=False, prefix="IMP"),
                       ref("", "", WRITTEN + "lamp.ma", deferred=False),
                       pair(":", "tableRN", WRITTEN + "table.ma"))
        set_file = records(ref("", "CHRN", WRITTEN + "chair.ma", deferred=False, prefix="CH"))
        graph, _refs, _table = self.load({"shot.ma": shot, "set.ma": set_file})
        self.assertEqual(graph.added, [(self.project.path("set.ma"), "", "IMP", "IMPRN"),
                                       (self.project.path("chair.ma"), "", "IMP_CH", "IMP_CHRN"),
                                       (self.project.path("lamp.ma"), "", "lamp", ""),
                                       (self.project.path("table.ma"), "", "", "tableRN")])

    def test_edit_messages_go_to_the_log(self):
        self.load({"shot.ma": []}, edit_messages=[("Warning", "setAttr edit on a missing node skipped")])
        self.assertEqual(self.messages, [("Warning", "setAttr edit on a missing node skipped")])

    def test_queries_answer_as_maya_does(self):
        shot = records(pair("set", "setRN", WRITTEN + "set.ma"), rdi(2, "chair", "set:chairRN", WRITTEN + "chair.ma"),
                       pair("set1", "setRN1", WRITTEN + "set.ma"), rdi(2, "chair", "set1:chairRN", WRITTEN + "chair.ma"),
                       pair("gone", "goneRN", WRITTEN + "gone.ma"))
        set_file = records(pair("chair", "chairRN", WRITTEN + "chair.ma"))
        self.load({"shot.ma": shot, "set.ma": set_file})
        set_path = self.project.path("set.ma")
        self.assertEqual(cmds.file(q=True, reference=True), [set_path, set_path + "{1}", WRITTEN + "gone.ma"])
        self.assertEqual(cmds.file(q=True, reference=True, withoutCopyNumber=True)[1], set_path)
        self.assertEqual(cmds.file(set_path + "{1}", q=True, reference=True), [self.project.path("chair.ma") + "{1}"])
        cases = [
            (("setRN1",), {"filename": True}, set_path + "{1}"),
            (("setRN1",), {"f": True, "wcn": True}, set_path),
            (("setRN1",), {"f": True, "un": True}, WRITTEN + "set.ma{1}"),
            ((set_path + "{1}",), {"referenceNode": True}, "setRN1"),
            (("set1:chairRN",), {"namespace": True}, ":set1:chair"),
            (("set1:chairRN",), {"ns": True, "shortName": True}, "chair"),
            (("set1:chairRN",), {"parent": True, "referenceNode": True}, "setRN1"),
            (("setRN",), {"child": True, "rfn": True}, ["set:chairRN"]),
            (("setRN",), {"parent": True, "rfn": True}, None),
            (("setRN",), {"isLoaded": True}, True),
            (("goneRN",), {"il": True}, False),
            (("goneRN",), {"filename": True}, WRITTEN + "gone.ma"),
        ]
        for args, flags, expected in cases:
            self.assertEqual(cmds.referenceQuery(*args, **flags), expected, (args, flags))
        self.assertIs(cmds.file(rfn="setRN1", q=True, deferReference=True), False)
        self.assertIs(cmds.file(WRITTEN + "gone.ma", q=True, dr=True), False)  # missing: Maya would load it
        with self.assertRaises(RuntimeError) as caught:
            cmds.referenceQuery("sharedReferenceNode", filename=True)
        self.assertEqual(str(caught.exception),
                         "Reference node 'sharedReferenceNode' is not associated with a reference file.")
        details = dict((d["reference_node"], d) for d in cmds._reference_details())
        self.assertEqual(details["goneRN"]["state"], "missing")


def _scan_by_file(references, name):
    """by_file as a walk over every reference: the answer the indexed table must give."""
    bare = re.sub(r"\{\d+\}$", "", name)
    for r in references:
        if name in (r.filename(), r.filename(False)) or (bare == name and bare in (r.resolved, r.path)):
            return r
    return None


class LoadedReferencesTest(unittest.TestCase):
    LAYOUTS = {  # name: [(reference node, path as written, resolved or None, parent)] in load order
        # the copies written "W/a.ma" but not found count apart: a4RN's file is a1RN's as written
        "the same file found three times and not found twice": [
            ("aRN", "W/a.ma", "/p/a.ma", None), ("a1RN", "W/a.ma", "/p/a.ma", None),
            ("a2RN", "W/a.ma", None, None), ("a3RN", "W/a.ma", "/p/a.ma", None), ("a4RN", "W/a.ma", None, None)],
        "nested, the same file under two parents and under a reference without a node": [
            ("setRN", "W/set.ma", "/p/set.ma", None), ("set:chairRN", "W/chair.ma", "/p/chair.ma", "setRN"),
            ("set1RN", "W/set.ma", "/p/set.ma", None), ("set1:chairRN", "W/chair.ma", "/p/chair.ma", "set1RN"),
            ("", "W/old.mb", "/p/old.mb", None), ("IMP_chairRN", "W/chair.ma", "/p/chair.ma", ""),
            ("", "W/old.mb", "/p/old.mb", "IMP_chairRN")],
        "one reference written as where another is found": [
            ("aRN", "W/a.ma", "/p/a.ma", None), ("bRN", "/p/a.ma", "/p/a.ma", None),
            ("cRN", "/p/a.ma", "/q/a.ma", None), ("dRN", "W/a.ma", "/q/a.ma", None)],
        # "/w/a.ma" is aRN's written path before it is bRN's file; "W/z.ma{1}" names no file
        "written paths that are a later file or end as a copy number does": [
            ("zRN", "W/z.ma", "/p/z.ma", None), ("aRN", "/w/a.ma", "/p/z.ma", None),
            ("bRN", "W/b.ma", "/w/a.ma", None), ("oddRN", "W/z.ma{1}", "/p/z.ma", None),
            ("odd2RN", "W/y.ma{3}", None, None)],
    }

    def test_file_and_child_queries_answer_as_a_walk_over_every_reference(self):
        for layout, rows in sorted(self.LAYOUTS.items()):
            table = loaded.LoadedReferences("/p/shot.ma")
            for node, path, resolved, parent in rows:
                reference = loaded.Reference(node, "", path, 1, parent)
                reference.resolved = resolved
                table.add(reference)
            names = set(["nowhere.ma", "W/a.ma{9}"])
            for r in table.references:
                for resolved in (True, False):
                    for copy_number in (True, False):
                        names.add(r.filename(resolved, copy_number))
                names.update(n + suffix for n in (r.path, r.resolved) if n for suffix in ("", "{1}", "{2}"))
            for name in sorted(names):
                self.assertIs(table.by_file(name), _scan_by_file(table.references, name), (layout, name))
            for parent in set([None, "", "nobody"] + [r.reference_node for r in table.references]):
                self.assertEqual(table.children(parent), [r for r in table.references if r.parent == parent],
                                 (layout, parent))
            self.assertEqual(table.top(), [r for r in table.references if r.parent is None], layout)


class ReferenceTreeTest(unittest.TestCase):
    def test_own_references_pair_state_and_command_lines(self):
        cases = [
            # modern: state from the rdi line, path from the -r line
            (records(pair("a", "aRN", "a.ma", deferred=True)), [("a", "aRN", "a.ma", True)]),
            (records(rdi(1, "a", "aRN", "rdi.ma"), ref("a", "aRN", "line.ma")), [("a", "aRN", "line.ma", False)]),
            # nested rdi lines are no references of this file
            (records(pair("a", "aRN", "a.ma"), rdi(2, "b", "a:bRN", "b.ma")), [("a", "aRN", "a.ma", False)]),
            # older files: no rdi lines, the -r line's -dr tells
            ([ref("", "IMPRN", "imp.mb", deferred=False, prefix="IMP")], [("", "IMPRN", "imp.mb", False)]),
            ([ref("x", "xRN", "x.mb", deferred=True)], [("x", "xRN", "x.mb", True)]),
            # an rdi line without its -r line still is a reference of the file
            ([rdi(1, "a", "aRN", "a.ma")], [("a", "aRN", "a.ma", False)]),
        ]
        for written, expected in cases:
            got = [(e.namespace, e.reference_node, e.path, e.deferred) for e in reference_tree.own_references(written)]
            self.assertEqual(got, expected, written)

    def test_saved_states_follow_the_depth_stack(self):
        saved = reference_tree.SavedStates(records(
            pair("House", "HouseRN", "h.ma"), rdi(2, "Fridge", "House:FridgeRN", "f.ma"),
            rdi(3, "avocado", "House:Fridge:avocadoRN", "v.ma", deferred=True),
            rdi(2, "Lamp", "House:LampV2RN", "l.ma", deferred=True), pair("cam", "camRN", "c.ma")))
        self.assertTrue(saved.deferred("House:Fridge:avocadoRN", "", False))
        self.assertFalse(saved.deferred("House:FridgeRN", "", True))
        # a child file that renamed its reference node is matched by its full namespace
        self.assertTrue(saved.deferred("House:LampRN", "House:Lamp", False))
        self.assertTrue(saved.deferred("unknownRN", "nowhere", True))

    def test_names(self):
        cases = [(("", "", "file3"), "file3"), (("set:chair", "", "file3"), "set:chair:file3"),
                 (("", "IMP", "mesh"), "IMP_mesh"), (("set", "", ":time1"), "set:time1")]
        for args, expected in cases:
            self.assertEqual(reference_tree.node_name(*args), expected)
        self.assertEqual(reference_tree.join_namespace("set", ":"), "set")
        self.assertEqual(reference_tree.join_namespace("", "chair"), "chair")


if __name__ == "__main__":
    unittest.main()
