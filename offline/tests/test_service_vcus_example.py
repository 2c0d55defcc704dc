# -*- coding: utf-8 -*-
"""The example customisation module."""
from __future__ import print_function

import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "examples", "customisation"))
sys.path.insert(0, HERE)

import service_fake_maya as fake  # noqa: E402
import vCus  # noqa: E402


class ExampleCustomisationTest(unittest.TestCase):
    def test_output_prefix_fix(self):
        cases = [
            ("", vCus.DEFAULT_PREFIX),
            (None, vCus.DEFAULT_PREFIX),
            ("<Scene>/<RenderLayer>", "<Scene>/<RenderLayer>"),
            ("C:\\renders\\<RenderLayer>\\x", "renders/<RenderLayer>/x"),
            ("/abs/../../<Scene>", "<RenderLayer>/abs/<Scene>"),
            ("shots/<Scene>", "<RenderLayer>/shots/<Scene>"),
        ]
        for given, fixed in cases:
            fixer = vCus.FixOutPrefix(given, "/p/shot010.ma")
            fixer.modifyOutPut()
            self.assertEqual(fixer.prefix, fixed, given)

    def test_tamsel_prefix_from_the_scene_name(self):
        self.addCleanup(fake.uninstall)
        for scene, prefix in (("/p/sh010_anim_v3.ma", "sh010/"), ("/p/lookdev.ma", "<Scene>/"), ("", "<Scene>/")):
            fake.install(fake.Scene(scene))
            self.assertTrue(vCus.Tamsel().modifyFileLayerPrefix().startswith(prefix + "<RenderLayer>/<Camera>/"))


if __name__ == "__main__":
    unittest.main()
