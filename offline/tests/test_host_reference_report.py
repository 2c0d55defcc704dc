"""The host report's "references" section, asked through maya.cmds as in a real Maya, over the
fixture shot with nested, deferred, missing, cyclic and corrupt references."""
from __future__ import print_function

import os
import sys
import unittest

import support
from maya import cmds

sys.path.insert(0, os.path.join(support.REPO, "offline", "cli", "host_side"))
import host_report  # noqa: E402

SHOT = support.fixture("references/scenes/shot010_lighting.ma")


class MayaCommandsOnly(object):
    """maya.cmds as a real Maya has it: without the offline host's own reference details."""

    def __getattr__(self, name):
        if name.startswith("_"):
            raise AttributeError(name)
        return getattr(cmds, name)


class ReferenceReportTest(unittest.TestCase):
    def setUp(self):
        os.environ["SHOW_PROPS"] = support.fixture("references/scenes/props")
        self.addCleanup(os.environ.pop, "SHOW_PROPS")
        cmds.file(SHOT, open=True, force=True)
        cmds._take_host_messages()

    def test_every_reference_depth_first_with_its_state(self):
        section = host_report.collect(cmds)["references"]
        got = [(e["reference_node"], e["namespace"], e["depth"], e["state"]) for e in section]
        self.assertEqual(got, [
            ("setRN", "set", 1, "loaded"), ("set:chairRN", "set:chair", 2, "loaded"),
            ("set:stoolRN", "set:stool", 2, "deferred"), ("heroRN", "hero", 1, "loaded"),
            ("lampRN", "lamp", 1, "loaded"), ("fxRN", "fx", 1, "deferred"), ("goneRN", "gone", 1, "missing"),
            ("loopRN", "loop", 1, "loaded"), ("loop:bRN", "loop:b", 2, "loaded"),
            ("loop:b:aRN", "loop:b:a", 3, "failed"), ("brokenRN", "broken", 1, "failed"),
        ])
        by_node = dict((e["reference_node"], e) for e in section)
        self.assertEqual(by_node["heroRN"]["path"], "D:/Projects/Show/Scenes/Chars/HERO.MA")
        self.assertEqual(by_node["heroRN"]["resolved"], support.fixture("references/scenes/chars/Hero.ma"))
        self.assertEqual(by_node["lampRN"]["path"], "$SHOW_PROPS/lamp.ma")
        self.assertIsNone(by_node["goneRN"]["resolved"])
        self.assertIn("reference cycle", by_node["loop:b:aRN"]["reason"])

    def test_a_real_maya_answers_the_states_it_can_tell(self):
        section = host_report.collect(MayaCommandsOnly())["references"]
        states = dict((e["reference_node"], e["state"]) for e in section)
        self.assertEqual((states["setRN"], states["fxRN"], states["goneRN"], states["brokenRN"]),
                         ("loaded", "deferred", "missing", "failed"))


if __name__ == "__main__":
    unittest.main()
