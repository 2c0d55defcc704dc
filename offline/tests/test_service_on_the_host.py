# -*- coding: utf-8 -*-
"""The gatherers over the offline host's own Maya commands: the reference shot copied to a farm
folder, the artist's root mapped onto the copy with dirmap, as a farm node's startup sets it.
Needs the built reader module (VANALYZER_BINARY_DIR); skipped without it, except under CI."""
from __future__ import print_function

import os
import shutil
import sys
import tempfile
import unittest

import support

sys.path.insert(0, os.path.join(support.REPO, "offline", "service", "modules"))

try:
    import maya
    from maya import cmds
except ImportError:  # no build
    if os.environ.get("CI") == "true":
        raise
    cmds = None

import vfile  # noqa: E402
from _vfile import disk_view  # noqa: E402

ARTIST_ROOT = "C:/Users/kim/show"


@unittest.skipIf(cmds is None, "the built reader module is needed")
class FarmShotTest(unittest.TestCase):
    def setUp(self):
        # the host's modules, whatever test double another suite installed meanwhile
        sys.modules["maya"], sys.modules["maya.cmds"] = maya, cmds
        self.root = tempfile.mkdtemp(prefix="service-host-test-")
        self.addCleanup(shutil.rmtree, self.root)
        self.show = os.path.join(self.root, "show").replace(os.sep, "/")
        shutil.copytree(support.fixture("references"), self.show)
        saved = dict(os.environ)
        self.addCleanup(lambda: (os.environ.clear(), os.environ.update(saved)))
        os.environ.update(SHOW_PROPS=self.show + "/scenes/props", VANALYZER_STDERR_LEVEL="none",
                          VANALYZER_LOG=os.path.join(self.root, "log.txt"))
        cmds.dirmap(enable=True)
        cmds.dirmap(mapDirectory=(ARTIST_ROOT, self.show))
        self.addCleanup(cmds.dirmap, enable=False)
        self.addCleanup(cmds.dirmap, unmapDirectory=ARTIST_ROOT)
        self.addCleanup(disk_view.end_run)
        self.scene = self.show + "/scenes/shot010_lighting.ma"
        cmds.file(self.scene, open=True, force=True)
        self.addCleanup(cmds.file, new=True, force=True)

    def test_loaded_references_and_textures_through_the_hosts_rules(self):
        group = vfile.getAssets(self.scene)
        scenes, images = self.show + "/scenes/", self.show + "/sourceimages/"
        # the chair's texture is the one its set's reference edit names, once the host applies it
        chair = [path for path in group.files if path in (images + "chair_oak.png", images + "chair_wood.png")]
        self.assertEqual(len(chair), 1, sorted(group.files))
        # references loaded at every depth, and failed ones (the render node loads them), not the
        # deferred ones nor anything inside them; the textures of the loaded files, found through
        # dirmap, the trailing parts under the project and letter case
        self.assertEqual(sorted(group.files), sorted(
            [scenes + name for name in ("sets/diner.ma", "props/chair.ma", "chars/Hero.ma", "props/lamp.ma",
                                        "loop/loop_a.ma", "loop/loop_b.ma", "broken/truncated.ma")] +
            [images + name for name in ("shot_matte.png", "diner_walls.png", "hero_skin.png", "lamp.png")] +
            chair))
        self.assertEqual(group.missingFiles, set([ARTIST_ROOT + "//scenes/props/gone.ma"]))

if __name__ == "__main__":
    unittest.main()
