# -*- coding: utf-8 -*-
"""Tile and frame patterns matched against a folder's names."""
from __future__ import print_function

import os
import shutil
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "service", "modules"))

from _vfile import disk_view, file_patterns  # noqa: E402

NAMES = ["a.1001.exr", "a.1002.exr", "a.1001.exr.bak", "a.2001.exr", "a.10011.exr", "b.1001.exr",
         "s.0001.png", "s.001.png", "s.12345.png", "s.-0001.png", "s.-001.png", "t.7.png", "t.x.png",
         "rock_u1_v2.png", "rock_u-1_v0.png", "rock_u1.png", "x.00011.png", "x.0001.png",
         "m.1001.5.exr", "m.1002.12.exr", "m.1001.exr", "r.1001_1001.exr", "r.1001_1002.exr",
         "Skin.1001.EXR", "1001.tif", "1002.tif", "map_1003.tga", "MAP_1004.tga"]


class PatternMatchTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="patterns-test-")
        self.addCleanup(shutil.rmtree, self.folder)
        for name in NAMES:
            open(os.path.join(self.folder, name), "w").close()

    def test_names_each_pattern_stands_for(self):
        # (pattern, fold case, [(name, tile, frame)] it stands for)
        cases = [
            ("a.<UDIM>.exr", False, [("a.1001.exr", "1001", None), ("a.1002.exr", "1002", None)]),
            ("a.<udim>.exr", False, [("a.1001.exr", "1001", None), ("a.1002.exr", "1002", None)]),
            ("s.####.png", False, [("s.-0001.png", None, -1), ("s.0001.png", None, 1), ("s.12345.png", None, 12345)]),
            ("t.<f>.png", False, [("t.7.png", None, 7)]),
            ("t.<frame>.png", False, [("t.7.png", None, 7)]),
            ("rock_<UVTILE>.png", False, [("rock_u-1_v0.png", "u-1_v0", None), ("rock_u1_v2.png", "u1_v2", None)]),
            ("rock_u<U>_v<V>.png", False, [("rock_u-1_v0.png", "u-1_v0", None), ("rock_u1_v2.png", "u1_v2", None)]),
            ("x.####1.png", False, [("x.00011.png", None, 1)]),
            ("m.<UDIM>.<f>.exr", False, [("m.1001.5.exr", "1001", 5), ("m.1002.12.exr", "1002", 12)]),
            ("r.<UDIM>_<udim>.exr", False, [("r.1001_1001.exr", "1001", None)]),
            ("<UDIM>.tif", False, [("1001.tif", "1001", None), ("1002.tif", "1002", None)]),
            ("map_MAPID_.tga", False, []),
            ("map__MAPID_.tga", False, [("map_1003.tga", "1003", None)]),
            ("skin.<UDIM>.exr", False, []),
            ("skin.<UDIM>.exr", True, [("Skin.1001.EXR", "1001", None)]),
            ("map__mapid_.tga", True, [("MAP_1004.tga", "1004", None), ("map_1003.tga", "1003", None)]),
            ("gone.<UDIM>.exr", False, []),
        ]
        view = disk_view.DiskView()
        for written, fold_case, expected in cases:
            pattern = file_patterns.Pattern(os.path.join(self.folder, written), fold_case=fold_case)
            self.assertTrue(pattern.is_pattern, written)
            self.assertEqual(sorted(pattern.matches(view)), expected, written)

    def test_plain_names_are_no_patterns(self):
        for written in ("a.1001.exr", "s.0001.png", "map_1003.tga"):
            self.assertFalse(file_patterns.Pattern(os.path.join(self.folder, written)).is_pattern, written)


if __name__ == "__main__":
    unittest.main()
