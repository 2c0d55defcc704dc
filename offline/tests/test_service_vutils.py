# -*- coding: utf-8 -*-
"""vutils: on-disk spelling of paths and plug-in presence."""
from __future__ import print_function

import os
import shutil
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "service", "modules"))
sys.path.insert(0, HERE)

import support  # noqa: E402,F401  (the disk view's C++ step is among the built modules)
import service_fake_maya as fake  # noqa: E402
import vutils  # noqa: E402


class RealDiskPathTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="vutils-test-")
        self.addCleanup(shutil.rmtree, self.root)
        for relative in ("Proj/Tex/Wood.PNG", "Proj/tex2/a.png", u"Proj/\u00c9t\u00e9/B.png"):
            path = os.path.join(self.root, relative)
            if not os.path.isdir(os.path.dirname(path)):
                os.makedirs(os.path.dirname(path))
            open(path, "w").close()

    def test_spelling_is_matched_component_by_component(self):
        r = self.root
        cases = [
            ("/Proj/Tex/Wood.PNG", "/Proj/Tex/Wood.PNG"),        # exact: unchanged
            ("/proj/tex/wood.png", "/Proj/Tex/Wood.PNG"),
            ("/PROJ/TEX2/A.PNG", "/Proj/tex2/a.png"),
            ("/proj/tex", "/Proj/Tex"),
            ("/proj//tex/./WOOD.png", "/Proj//Tex/./Wood.PNG"),
            ("/proj/tex/none.png", "/proj/tex/none.png"),        # nothing matches: unchanged
            ("/proj/nowhere/wood.png", "/proj/nowhere/wood.png"),
            (u"/proj/\u00e9t\u00e9/b.PNG", u"/Proj/\u00c9t\u00e9/B.png"),
        ]
        for asked, answer in cases:
            self.assertEqual(vutils.getRealDiskPath(r + asked), r + answer)

    def test_bytes_in_bytes_out_and_relative_paths(self):
        asked = (self.root + "/proj/tex/wood.png").encode("utf-8")
        self.assertEqual(vutils.getRealDiskPath(asked), (self.root + "/Proj/Tex/Wood.PNG").encode("utf-8"))
        here = os.getcwd()
        self.addCleanup(os.chdir, here)
        os.chdir(self.root)
        self.assertEqual(vutils.getRealDiskPath("proj/TEX/wood.png"), os.path.join("Proj", "Tex", "Wood.PNG"))
        self.assertEqual(vutils.getRealDiskPath(""), "")


    def test_a_run_reads_each_folder_once_until_its_result_is_delivered(self):
        import vout
        from _vfile import disk_view
        saved = dict(os.environ)
        self.addCleanup(lambda: (os.environ.clear(), os.environ.update(saved)))
        os.environ["VANALYZER_RESULT"] = os.path.join(self.root, "result.json")
        os.environ["VANALYZER_LOG"] = os.path.join(self.root, "log.txt")
        os.environ["VANALYZER_STDERR_LEVEL"] = "none"
        later = self.root + "/Proj/Tex/Late.png"
        disk_view.begin_run()
        self.addCleanup(disk_view.end_run)
        self.assertEqual(vutils.getRealDiskPath(self.root + "/proj/tex/wood.png"), self.root + "/Proj/Tex/Wood.PNG")
        open(later, "w").close()
        # the folder was listed before the file came: this run does not see it
        self.assertEqual(vutils.getRealDiskPath(self.root + "/proj/tex/late.png"), self.root + "/proj/tex/late.png")
        vout.OutResult("{}")
        self.assertEqual(vutils.getRealDiskPath(self.root + "/proj/tex/late.png"), later)


class DiskViewListingsTest(unittest.TestCase):
    """The view answers a path in a listed folder from the listing, in C++ (servicepaths.listed_holds),
    and every other path the slow way: both must say the same of every path."""

    def test_the_quick_answer_is_the_listings_answer(self):
        import servicepaths
        from _vfile import disk_view
        root = tempfile.mkdtemp(prefix="disk-view-test-")
        self.addCleanup(shutil.rmtree, root)
        names = ["x.png", ".hidden", "...", u"\u00e9t\u00e9.png", u"\U0001f600.png", "sub"]
        for name in names:
            open(os.path.join(root, name), "w").close() if name != "sub" else os.mkdir(os.path.join(root, name))
        quick = [root + "/" + name for name in names] + [root + "/./x.png"]
        slow = [root + "//x.png", root + "/.", root + "/..", root + "/", root + "/sub/",
                root + "/gone.png", root + "/sub/gone.png", root + "/nowhere/x.png", "/", "", "x.png",
                root + "/x.png/", root + "/X.PNG"]
        view = disk_view.DiskView()
        kinds = [(path, quickly) for paths, quickly in ((quick, True), (slow, False)) for path in paths]
        kinds += [(path.encode("utf-8"), quickly) for path, quickly in kinds]
        for value, _ in kinds:
            view._exists(value)  # lists every folder concerned
        for value, quickly in kinds:
            self.assertEqual(servicepaths.listed_holds(value, view._texts, view._bytes), quickly, value)
            self.assertEqual(view.exists(value), view._exists(value), value)
        self.assertFalse(servicepaths.listed_holds(bytearray(quick[0].encode("utf-8")), view._texts, view._bytes))
        with self.assertRaises(TypeError):
            servicepaths.listed_holds(quick[0], None, None)


class PluginTest(unittest.TestCase):
    def setUp(self):
        self.scene = fake.Scene()
        self.scene.plugins = ["mtoa", "5.2.1", "renderSetup.py", "1.0", "redshift4maya", "3.5"]
        fake.install(self.scene)
        self.addCleanup(fake.uninstall)

    def test_present_when_required_or_built_in(self):
        cases = [("mtoa", True), ("MtoA", True), ("redshift4maya.py", True), ("5.2.1", False),
                 ("xgenToolkit", True), ("gpuCache", True), ("vrayformaya", False), ("RenderMan_for_Maya", False)]
        for name, present in cases:
            self.assertEqual(vutils.isPluginExist(name), present, name)
        self.scene.plugins = []
        self.assertFalse(vutils.isPluginExist("mtoa"))


if __name__ == "__main__":
    unittest.main()
