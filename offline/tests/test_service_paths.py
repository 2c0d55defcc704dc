# -*- coding: utf-8 -*-
"""Where the gatherers find the paths a scene names, and the files of its references, as a farm
node finds them through Maya's commands (workspace, dirmap, referenceQuery)."""
from __future__ import print_function

import io
import os
import re
import unittest

from test_service_vfile import ServiceTest
import vfile


class PathRulesTest(ServiceTest):
    def setUp(self):
        ServiceTest.setUp(self)
        self.scene.file_rules = [("images", "images"), ("sourceImages", "sourceimages"), ("scene", "scenes"),
                                 ("alembicCache", "cache/alembic")]

    def resolve(self, written, kind_node=("file", "ftn")):
        self.scene.types.clear()
        self.scene.values.clear()
        self.scene.node("n", kind_node[0], **{kind_node[1]: written})
        group = vfile.getAssets(self.scene_path)
        return sorted(group.files), sorted(group.missingFiles)

    def test_each_rule_in_its_turn(self):
        old = "C:/Users/kim/show"
        # (written, files on disk, mappings, expected file, or None and the expected missing path)
        cases = [
            (self.p("lib/a.png"), ["lib/a.png", "proj/a.png"], [], "lib/a.png"),
            (old + "/sourceimages/a.png", ["proj/sourceimages/a.png"], [(old, self.project)],
             "proj/sourceimages/a.png"),
            # a mapping is tried before the project's places
            (old + "//images/a.png", ["proj/images/a.png", "other/images/a.png"], [(old, self.p("other"))],
             "other/images/a.png"),
            (old + "//images/a.png", ["proj/images/a.png", "proj/a.png"], [], "proj/images/a.png"),
            # trailing parts, longest first, under the root before any rule folder
            ("D:/work/proj/sourceimages/tex/a.png", ["proj/sourceimages/tex/a.png", "proj/a.png"], [],
             "proj/sourceimages/tex/a.png"),
            ("D:/work/tex/a.png", ["proj/a.png", "proj/sourceimages/tex/a.png"], [], "proj/a.png"),
            # the kind's rule folder before the others, whatever the project's order
            ("b.png", ["proj/images/b.png", "proj/sourceimages/b.png"], [], "proj/sourceimages/b.png"),
            ("c.png", ["proj/images/c.png"], [], "proj/images/c.png"),
            ("../shared/d.png", ["shared/d.png"], [], "shared/d.png"),
            # a Windows path in another letter case; a POSIX one never
            ("D:\\Work\\SourceImages\\Tex\\E.PNG", ["proj/sourceimages/tex/e.png"], [],
             "proj/sourceimages/tex/e.png"),
            (self.p("lib/TEX/f.png"), ["lib/tex/f.png"], [], None, "lib/TEX/f.png"),
            # found nowhere: an absolute path as written, a relative one under the root
            ("Z:/gone/g.png", [], [], None, "Z:/gone/g.png"),
            ("tex/g.png", [], [], None, "proj/tex/g.png"),
        ]
        for case in cases:
            written, present, mappings, expected = case[:4]
            for path in present:
                self.touch(path)
            self.scene.dirmap_enabled, self.scene.mappings = bool(mappings), mappings
            files, missing = self.resolve(written)
            if expected:
                self.assertEqual((files, missing), ([self.p(expected)], []), written)
            else:
                missing_path = case[4] if case[4].startswith("Z:") else self.p(case[4])
                self.assertEqual((files, missing), ([], [missing_path]), written)
            for path in present:
                os.remove(self.p(path))

    def test_variables_of_the_workspace_before_the_environment(self):
        self.touch("lib/w/a.png")
        self.touch("lib/e/b.png")
        self.scene.workspace_variables = {"TEX": self.p("lib/w")}
        os.environ.update({"TEX": self.p("lib/e"), "OTHER": self.p("lib/e")})
        self.assertEqual(self.resolve("$TEX/a.png"), ([self.p("lib/w/a.png")], []))
        self.assertEqual(self.resolve("%OTHER%/b.png"), ([self.p("lib/e/b.png")], []))
        self.assertEqual(self.resolve("${NOT_SET}/b.png"), ([], [self.p("proj/${NOT_SET}/b.png")]))

    def test_tiles_and_caches_follow_the_rules(self):
        for tile in ("1001", "1002"):
            self.touch("proj/sourceimages/Skin.%s.exr" % tile)
        self.touch("proj/cache/alembic/cloth.abc")
        self.assertEqual(self.resolve("C:\\Show\\sourceimages\\skin.<UDIM>.EXR"),
                         ([self.p("proj/sourceimages/Skin.1001.exr"), self.p("proj/sourceimages/Skin.1002.exr")], []))
        self.assertEqual(self.resolve("/old/cloth.abc", ("AlembicNode", "abc_File")),
                         ([self.p("proj/cache/alembic/cloth.abc")], []))

    def test_the_log_says_which_rule_found_each_file(self):
        self.touch("proj/sourceimages/a.png")
        self.touch("proj/sourceimages/b.png")
        self.touch("proj/sourceimages/d.png")
        self.touch("other/c.png")
        self.scene.dirmap_enabled, self.scene.mappings = True, [("C:/show", self.p("other"))]
        for index, written in enumerate(["C:/show/c.png", "sourceimages/a.png", "b.png", self.p("proj/x.png"),
                                         "D:\\Show\\SourceImages\\D.PNG"]):
            self.scene.node("f%d" % index, "file", ftn=written)
        vfile.getAssets(self.scene_path)
        with io.open(self.p("log.txt"), encoding="utf-8") as handle:
            found = [line.split("] ", 1)[1] for line in handle.read().splitlines() if "] Found " in line]
        self.assertEqual(sorted(found), sorted([
            'Found through dirmap, in %s (written in "C:/show"): c.png' % self.p("other"),
            'Found under the project root %s, in %s (written in "sourceimages"): a.png'
            % (self.project, self.p("proj/sourceimages")),
            "Found under the file-rule folder %s, in %s (written without a folder): b.png"
            % (self.p("proj/sourceimages"), self.p("proj/sourceimages")),
            'Found under the project root %s, letter case as on disk, in %s (written in "D:/Show/SourceImages"): D.PNG'
            % (self.project, self.p("proj/sourceimages")),
        ]))

    def test_a_host_without_a_project_puts_relative_paths_in_the_scene_folder(self):
        self.scene.workspace_root, self.scene.file_rules = "", []
        self.touch("proj/scenes/t.png")
        self.assertEqual(self.resolve("t.png"), ([self.p("proj/scenes/t.png")], []))
        self.assertEqual(self.resolve("u.png"), ([], [self.p("proj/scenes/u.png")]))


class ReferenceFilesTest(ServiceTest):
    def test_references_at_every_depth_by_their_state(self):
        for name in ("set.ma", "chair.ma", "hero.ma", "stool.ma", "broken.ma"):
            self.touch("proj/scenes/" + name)
        s = self.scene
        s.reference("setRN", self.p("proj/scenes/set.ma"), unresolved="C:/show//scenes/set.ma")
        s.reference("set:chairRN", self.p("proj/scenes/chair.ma") + "{1}", parent="setRN")
        s.reference("set:stoolRN", self.p("proj/scenes/stool.ma"), loaded=False, parent="setRN", deferred=True)
        s.reference("heroRN", self.p("proj/scenes/hero.ma"))
        s.reference("fxRN", "C:/show//scenes/fx.ma", loaded=False, deferred=True)   # deferred and absent
        s.reference("goneRN", "C:/show//scenes/gone.ma", loaded=False)
        # not loaded here, not deferred: the render node loads it
        s.reference("brokenRN", self.p("proj/scenes/broken.ma"), loaded=False)
        s.node("sharedReferenceNode", "reference")
        group = vfile.getAssets(self.scene_path)
        self.assertEqual(sorted(group.files), sorted(self.p("proj/scenes/" + name)
                                                     for name in ("set.ma", "chair.ma", "hero.ma", "broken.ma")))
        self.assertEqual(group.missingFiles, set(["C:/show//scenes/gone.ma"]))

    def test_a_host_that_cannot_tell_deferred_references_gets_their_files_listed(self):
        self.touch("proj/scenes/fx.ma")
        self.scene.reference("fxRN", self.p("proj/scenes/fx.ma"), loaded=False, deferred=None)
        self.assertGroup(vfile.getAssets(self.scene_path), ["proj/scenes/fx.ma"], [])


class DiskCostTest(ServiceTest):
    def test_every_folder_is_listed_at_most_once_per_run(self):
        import vutils
        from _vfile import disk_view
        for index in range(30):
            self.touch("proj/sourceimages/t%d.png" % index)
            self.scene.node("t%d" % index, "file", ftn="t%d.png" % index)
            self.scene.node("m%d" % index, "file", ftn="sourceimages/m%d.png" % index)
            self.scene.node("u%d" % index, "file", ftn="sourceimages/u%d.<UDIM>.exr" % index)
        listed = []
        real_list_folder = disk_view.servicepaths.list_folder

        def list_folder(folder):
            listed.append(folder)
            return real_list_folder(folder)
        disk_view.servicepaths.list_folder = list_folder
        self.addCleanup(setattr, disk_view.servicepaths, "list_folder", real_list_folder)
        group = vfile.getAssets(self.scene_path)
        for path in sorted(group.files):
            self.assertEqual(vutils.getRealDiskPath(path), path)
            self.assertEqual(vutils.getRealDiskPath(path.upper()), path)
        self.assertEqual(len(group.files), 30)
        self.assertTrue(listed)
        self.assertEqual(sorted(listed), sorted(set(listed)))

    def test_renderers_the_scene_lacks_ask_one_ls_per_type_and_nothing_else(self):
        self.scene.node("f", "file", ftn="a.png")
        for gatherer in (vfile.getArnoldAssets, lambda: vfile.getRedShiftAssets(1), vfile.getVRayAssets,
                         vfile.getRenerManAssets):
            del self.scene.calls[:]
            gatherer()
            asked = [(name, flags.get("type")) for name, _, flags in self.scene.calls]
            self.assertEqual([name for name, _ in asked], ["ls"] * len(asked))
            self.assertEqual(len(set(asked)), len(asked))


if __name__ == "__main__":
    unittest.main()
