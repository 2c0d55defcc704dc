# -*- coding: utf-8 -*-
"""The gatherers answer the same with their per-folder plans as with the path rules taken one path
at a time: the same files, the same missing paths, the same log of where each file was found."""
from __future__ import print_function

import collections
import errno
import io
import os
import unittest

from test_service_vfile import ServiceTest
from _vfile import disk_view, folder_plans
import servicepaths
import vfile

PLANNED_HERE = folder_plans.PLANNED_HERE


class FolderPlanTest(ServiceTest):
    def setUp(self):
        ServiceTest.setUp(self)
        self.addCleanup(setattr, folder_plans, "PLANNED_HERE", PLANNED_HERE)
        for path in ("lib/a.png", "lib/sub/b.png", "proj/sourceimages/c.png", "proj/sourceimages/tex/d.png",
                     "proj/e.png", "proj/scenes/f.png", "proj/cache/g.abc", "proj/sourceimages/.hidden.png",
                     "proj/sourceimages/tex/Case.png", "shared/h.png", "locked/i.png"):
            self.touch(path)

    def gathered(self, written, planned):
        """(files, missing, Found lines) of the scene's and Arnold's gatherers on nodes naming the
        written paths."""
        folder_plans.PLANNED_HERE = planned and PLANNED_HERE
        self.scene.types.clear()
        self.scene.values.clear()
        for index, entry in enumerate(written):
            node_type, path = entry[:2]
            attributes = dict(entry[2]) if len(entry) > 2 else {}
            attributes[{"file": "ftn", "AlembicNode": "abc_File", "aiStandIn": "dso"}[node_type]] = path
            self.scene.node("n%d" % index, node_type, **attributes)
        log = self.p("log.txt")
        start = os.path.getsize(log) if os.path.exists(log) else 0
        group = vfile.getAssets(self.scene_path)
        vfile.assMode = 1
        group.add(vfile.getArnoldAssets())
        with io.open(log, "rb") as handle:
            handle.seek(start)
            lines = handle.read().decode("utf-8").splitlines()
        found = [line.split("] ", 1)[1] for line in lines if "] Found " in line]
        return sorted(group.files), sorted(group.missingFiles), found

    def planned_as_the_rules(self, written):
        """What the rules gather for the written paths, checked to be what the plans gather, serially
        and on a thread pool."""
        rules = self.gathered(written, planned=False)
        self.assertEqual(self.gathered(written, planned=True), rules)
        vfile.maxPoolSize, vfile.mulitThreads = 4, 1
        self.assertEqual(self.gathered(written, planned=True), rules)
        vfile.maxPoolSize, vfile.mulitThreads = 1, 0
        return rules

    @unittest.skipUnless(PLANNED_HERE, "no plans on a file system that ignores letter case")
    def test_plans_answer_as_the_rules_do(self):
        lib = self.p("lib")
        cases = [self.p(relative) for relative in ("lib/a.png", "lib/sub/b.png", "lib/gone.png", "nowhere/x.png")]
        cases += [
            lib + "/./sub/b.png", lib + "//sub/b.png", lib + "/sub/../a.png", lib + "/", lib + "/.", lib + "/..",
            "c.png", "sourceimages/c.png", "tex/d.png", "sourceimages/tex/d.png", "e.png", "f.png", ".hidden.png",
            "sourceimages/.hidden.png", "case.png", "tex/case.png", "tex/Case.png", "gone.png", "tex/gone.png",
            "../shared/h.png", "../lib/sub/b.png", "./c.png", "sourceimages/./tex//d.png", "a/../c.png",
            "/elsewhere/sourceimages/c.png", "/elsewhere/tex/d.png", "/elsewhere/gone.png", "/c.png",
            " c.png", "c.png ", "$HOME_TEX/c.png", "skin.<UDIM>.png", "frame.#.png", "sourceimages_MAPID_/c.png", "C:/show/c.png",
            "\\\\server\\c.png", "//server/c.png", self.p("locked/i.png"), self.p("locked/j.png"),
            u"sourceimages/caf\u00e9.png",
        ]
        os.environ["HOME_TEX"] = self.p("proj/sourceimages")
        # the files an Arnold stand-in names are looked for beside it first
        self.touch("proj/ass/tex/d.png")
        self.touch("proj/ass/stand.ass", b'filename "tex/d.png"\nfilename "c.png"\nfilename "tex/gone.png"\n')
        written = [("file", path) for path in cases] + [("AlembicNode", "g.abc"), ("AlembicNode", "cache/g.abc"),
                                                        ("AlembicNode", "c.png"), ("aiStandIn", "ass/stand.ass")]
        self.unlistable(self.p("locked"))  # its names are asked of the system one by one
        rules = self.planned_as_the_rules(written)
        self.assertTrue({self.p(path) for path in ("proj/sourceimages/tex/d.png", "proj/ass/tex/d.png",
                                                   "locked/i.png")} <= set(rules[0]))
        self.assertTrue({self.p("proj/gone.png"), self.p("proj/ass/tex/gone.png")} <= set(rules[1]))
        # one at a time too: a plan made for one path answers the next path of its folder
        for kind, path in written:
            self.assertEqual(self.gathered([(kind, path)], planned=True), self.gathered([(kind, path)], False), path)

    @unittest.skipUnless(PLANNED_HERE, "no plans on a file system that ignores letter case")
    def test_tiled_names_in_plans_answer_as_the_rules_do(self):
        for path in ("proj/sourceimages/skin.1001.exr", "proj/sourceimages/skin.1002.exr",
                     "proj/sourceimages/skin.10021.exr", "proj/sourceimages/tex/rock.1001.png",
                     "proj/sourceimages/rock_u0_v0.1001.png", "proj/sourceimages/rock_u0_v0.png",
                     "lib/wall.1001.png", "lib/wall.1011.png", "lib/wall.x.png", "proj/sourceimages/skin.1001.1.exr",
                     "proj/sourceimages/skin.7.1001.exr", "proj/sourceimages/7skin.1001.exr"):
            self.touch(path)
        # deeper than the rules' trailing parts reach: only the place a missing name is reported at holds it
        deep = "/".join("d%d" % level for level in range(20))
        self.touch("proj/%s/deep.1001.png" % deep)
        lib = self.p("lib")
        # (written name, the node's uvTilingMode, whether it reads frames)
        cases = [
            ("sourceimages/skin.<UDIM>.exr", 0), ("sourceimages/skin.<udim>.exr", 3), ("skin.<UDIM>.exr", 0),
            ("tex/rock.<UDIM>.png", 0), ("sourceimages/skin._MAPID_.exr", 0), ("sourceimages/SKIN.<UDIM>.exr", 0),
            (lib + "/wall.<UDIM>.png", 0), (lib + "/wall.1001.png", 3), (lib + "/wall.1002.png", 3),
            (lib + "/wall.1002.png", 0), ("sourceimages/skin.1003.exr", 3), ("sourceimages/skin.1001.exr", 4),
            ("sourceimages/gone.<UDIM>.exr", 0), ("sourceimages/gone.1001.exr", 3), (self.p("nowhere") + "/x.<UDIM>.png", 0),
            ("sourceimages/skin.<UDIM>.<f>.exr", 0), ("sourceimages/skin.<UDIM>.#.exr", 0),
            ("sourceimages/skin.<f>.<UDIM>.exr", 0), ("sourceimages/#skin.<UDIM>.exr", 0),
            ("sourceimages/skin_MAPID_<udim>.exr", 0), ("sourceimages/skin.<UDIM><UDIM>.exr", 0),
            ("sourceimages/rock_u0_v0.<UDIM>.png", 1), ("sourceimages/rock_u0_v0.png", 2),
            ("sourceimages/skin.1001_MAPID_.exr", 3), ("sourceimages/skin.1001.1.exr", 3),
            ("sourceimages/skin.<UDIM>.exr ", 0), (u"sourceimages/skin.<UDIM>.é", 0),
            ("sourceimages/$NONE/skin.<UDIM>.exr", 0), ("sourceimages/sk%in.<UDIM>.exr", 0),
            ("sourceimages/skin.<UDIM>.exr", 0, True), (deep + "/deep.<UDIM>.png", 0),
        ]
        written = [("file", case[0], {"uvt": case[1], "ufe": case[2] if len(case) > 2 else False}) for case in cases]
        rules = self.planned_as_the_rules(written)
        self.assertTrue({self.p(path) for path in ("proj/sourceimages/skin.1002.exr", "lib/wall.1011.png",
                                                   "proj/sourceimages/tex/rock.1001.png",
                                                   "proj/%s/deep.1001.png" % deep)} <= set(rules[0]))
        self.assertTrue({self.p(path) for path in ("lib/wall.1002.png", "proj/sourceimages/skin.1003.exr",
                                                   "proj/sourceimages/gone.<UDIM>.exr")} <= set(rules[1]))
        for entry in written:
            self.assertEqual(self.gathered([entry], planned=True), self.gathered([entry], False), entry)

    def unlistable(self, folder):
        list_folder = disk_view.servicepaths.list_folder

        def refusing(path):
            if path == folder:
                raise OSError(errno.EACCES, "Permission denied", path)
            return list_folder(path)
        disk_view.servicepaths.list_folder = refusing
        self.addCleanup(setattr, disk_view.servicepaths, "list_folder", list_folder)

    def test_a_directory_mapping_is_applied_to_each_absolute_path(self):
        self.touch("mapped/sub/k.png")
        self.scene.dirmap_enabled, self.scene.mappings = True, [("/old", self.p("lib")), ("/new", self.p("mapped"))]
        written = [("file", path) for path in ("/old/sub/b.png", "/new/sub/k.png", "/old/gone.png", "c.png",
                                               self.p("lib/a.png"), "/new/sourceimages/c.png")]
        rules = self.gathered(written, planned=False)
        self.assertEqual(self.gathered(written, planned=True), rules)
        self.assertEqual(rules[:2][0][:2], [self.p("lib/a.png"), self.p("lib/sub/b.png")])


class PlaceNamesTest(unittest.TestCase):
    """servicepaths.place_names over plans made by hand: what each item becomes, and in what order
    the other items and the log's findings come."""

    def setUp(self):
        self.events = []
        self.found = collections.OrderedDict([(("earlier", "/lib", "a"), ["kept.png"])])
        self.plans = {u"/a/": folder_plans.FolderPlan(set([u"w.png"]), u"/A/", [
            (set([u"x.png"]), u"/lib/", ("earlier", "/lib", "a")),
            (set([u"y.png", u"x.png"]), u"/other/", ("later", "/other", "a"))], u"/A/", self.found),
            u"a/": folder_plans.FolderPlan(None, None, [(set([u"v.png"]), u"/p/a/", ("root", "/p/a", "a"))],
                                           u"/p/a/", self.found)}

    def plan_of(self, folder):
        self.events.append(("plan", folder))
        return self.plans.get(folder)

    def other(self, item):
        self.events.append(("other", item))

    def test_items_are_placed_in_order(self):
        odd = object()
        files, missing = set(), set()
        items = [u"/a/x.png", odd, u"/a/y.png", u"/b/z.png", u"/a/w.png", u"a/v.png", u"/a/<UDIM>.png", 5,
                 u"/a/gone.png", u"a/gone.png", u"/a/x.png", u"/b/q.png", u"/a/\\x.png", u"/a/../x.png"]
        servicepaths.place_names(items, self.plan_of, self.other, lambda path: path == u"/p/a/gone.png",
                                 files, missing)
        self.assertEqual(self.events, [("plan", u"/a/"), ("other", odd), ("plan", u"/b/"), ("other", u"/b/z.png"),
                                       ("plan", u"a/"), ("other", u"/a/<UDIM>.png"), ("other", 5),
                                       ("other", u"/b/q.png"), ("other", u"/a/\\x.png"), ("plan", u"/a/../"),
                                       ("other", u"/a/../x.png")])
        # 2.7's byte strings are texts too, planned apart from Unicode ones; on 3.x bytes are no text
        before = len(self.events)
        servicepaths.place_names([u"/a/x.png", b"/a/x.png", u"/a/x.png"], self.plan_of, self.other, bool, files,
                                 missing)
        self.assertEqual(self.events[before:], [("plan", u"/a/"), ("plan", "/a/")] if str is bytes else
                         [("plan", u"/a/"), ("other", b"/a/x.png")])
        self.assertEqual(files, set([u"/lib/x.png", u"/other/y.png", u"/A/w.png", u"/p/a/v.png", u"/p/a/gone.png"]))
        self.assertEqual(missing, set([u"/A/gone.png"]))
        found_x = 5 if str is bytes else 4  # each time x.png was placed, after what the list held
        self.assertEqual(list(self.found.items()), [(("earlier", "/lib", "a"), ["kept.png"] + [u"x.png"] * found_x),
                                                    (("later", "/other", "a"), [u"y.png"]),
                                                    (("root", "/p/a", "a"), [u"v.png"])])
        # one name alone, as the rules' own plain step asks it
        self.assertEqual(servicepaths.locate(self.plans[u"/a/"], u"y.png"), (u"/other/y.png", True))
        self.assertEqual(servicepaths.folder_and_name(u"/a/y.png"), (u"/a/", u"y.png"))
        self.assertIsNone(servicepaths.folder_and_name(u"/a/"))

    def test_the_places_are_asked_for_once_a_name_is_not_where_written(self):
        asked = []

        def places(answer):
            def work_out():
                asked.append(answer)
                return answer
            return work_out
        self.plans[u"/c/"] = folder_plans.FolderPlan(set([u"w.png"]), u"/c/", places(None), u"/c/", self.found)
        self.plans[u"/d/"] = folder_plans.FolderPlan(set([u"w.png"]), u"/d/",
                                                     places([(set([u"y.png"]), u"/lib/", ("d", "/lib", "d"))]),
                                                     u"/d/", self.found)
        files, missing = set(), set()
        servicepaths.place_names([u"/c/w.png", u"/d/w.png"], self.plan_of, self.other, bool, files, missing)
        self.assertEqual((files, asked), (set([u"/c/w.png", u"/d/w.png"]), []))
        # a place that cannot be listed: a name not found as written is the rules' to place
        servicepaths.place_names([u"/c/x.png", u"/d/y.png", u"/d/z.png", u"/c/w.png"], self.plan_of, self.other,
                                 lambda path: False, files, missing)
        self.assertEqual([event for event in self.events if event[0] == "other"], [("other", u"/c/x.png")])
        self.assertEqual((files, missing), (set([u"/c/w.png", u"/d/w.png", u"/lib/y.png"]), set([u"/d/z.png"])))
        self.assertIsNone(servicepaths.locate(self.plans[u"/c/"], u"x.png"))
        self.assertEqual(asked, [None, [(set([u"y.png"]), u"/lib/", ("d", "/lib", "d"))]])  # each once

    def test_failures_reach_the_caller(self):
        def refusing(item):
            raise KeyError(item)
        files = set()
        with self.assertRaises(KeyError):
            servicepaths.place_names([u"/a/x.png", u"/b/z.png", u"/a/y.png"], self.plan_of, refusing,
                                     lambda path: False, files, set())
        self.assertEqual(files, set([u"/lib/x.png"]))  # nothing after the failure
        with self.assertRaises(TypeError):
            servicepaths.place_names([u"/a/x.png"], self.plan_of, self.other, lambda path: False, [], set())
        with self.assertRaises(TypeError):
            servicepaths.place_names(None, self.plan_of, self.other, lambda path: False, set(), set())


if __name__ == "__main__":
    unittest.main()
