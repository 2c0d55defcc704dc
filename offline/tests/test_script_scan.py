# -*- coding: utf-8 -*-
"""The script-node malware scan: the families' samples are flagged with their family, the benign
script nodes Maya and rigs write are not. Runs on 2.7 and 3.x; the fixture scenes are read through
the maya.cmds stand-in (the built reader), the tables need nothing."""
from __future__ import print_function

import base64
import os
import shutil
import sys
import tempfile
import unittest

import support

sys.path.insert(0, os.path.join(support.REPO, "offline", "cli", "host_side"))
import script_scan  # noqa: E402

UI_CONFIGURATION = ("// Maya Mel UI Configuration File.\n//\n//  This script is machine generated.  Edit at your own "
                    "risk.\n//\n//\n\nglobal string $gMainPane;\nif (`paneLayout -exists $gMainPane`) {\n"
                    "\tsceneUIReplacement -update $gMainPane;\n\tsceneUIReplacement -deleteRemaining;\n}\n")


def encoded(text):
    return base64.urlsafe_b64encode(text.encode("utf-8")).decode("ascii")


class ScanTableTest(unittest.TestCase):
    # (node, before, after, scriptType, the families expected)
    CASES = [
        # the two old signatures, in any letter case; a near miss or a full-width letter is not one
        ("a", "// PuTianTongQing", None, 1, ["PuTianTongQing"]),
        ("a", "PUTIANTONGQING();", None, 0, ["PuTianTongQing"]),
        ("a", "proc daXunHuan() {}", None, 1, ["DaXunHuan"]),
        ("a", "putian tongqing; daxunhua", None, 1, []),
        ("a", u"\uff30utiantongqing", None, 1, []),
        # vaccine: its node names (in a reference's namespace too), its module, its classes, its text
        ("vaccine_gene", "", None, 1, ["vaccine"]),
        ("chars:rig:breed_gene", None, None, None, ["vaccine"]),
        ("n", "from vaccine import phage", None, 0, ["vaccine"]),
        ("n", "leukocyte = phage()\nleukocyte.occupation()", None, 0, ["vaccine"]),
        ("n", "if not cmds.objExists('vaccine_gene'):", None, 0, ["vaccine"]),
        ("n", None, u"cmds.warning(u'\u4f60\u7684\u6587\u4ef6\u8d3c\u5065\u5eb7')", 0, ["vaccine"]),
        ("n", "# the vaccine schedule for the crowd rig", None, 1, []),
        # the 2024 family: its names, its folder, the resource it rewrites, its loader
        ("uifiguration", None, None, 1, ["uifiguration"]),
        ("n", "p = os.path.join(os.getenv('APPDATA'), 'syssst')", None, 0, ["uifiguration"]),
        ("n", "open(loc + '/resources/l10n/ja_JP/plug-ins/mayaHIK.pres.mel', 'a')", None, 0, ["uifiguration"]),
        ("n", "import base64\nexec(base64.urlsafe_b64decode(code))", None, 0, ["uifiguration"]),
        ("n", 'python("import base64; _c = base64.b64decode(\'aW1w\'); exec(_c)");', None, 1, ["uifiguration"]),
        ("x_gene", "cmds.scriptJob(event=['SceneOpened', f])", None, 1, ["uifiguration"]),
        ("x_gene", "print('a gene editor')", None, 1, []),
        ("n", "data = base64.b64decode(icon)", None, 1, []),
        # text hidden as base64 is searched too
        ("n", "# " + encoded("os.makedirs(appdata + '/syssst')\n"), None, 0, ["uifiguration"]),
        ("n", "x = '%s'" % encoded("print('" + "a harmless line of text, long enough " * 3 + "')"), None, 1, []),
        # the UI-configuration impostor
        ("MayaMelUIConfigurationFile", UI_CONFIGURATION, None, 1, ["MayaMelUIConfigurationFile"]),
        ("uiConfigurationScriptNode", UI_CONFIGURATION + "$f = `fopen $p \"a\"`;\n", None, 3,
         ["MayaMelUIConfigurationFile"]),
        ("n", "global proc UI_Mel_Configuration_think() {}", None, 1, ["MayaMelUIConfigurationFile"]),
        ("n", "string $p = \"/plug-ins/animImportExport.pres.mel\";", None, 0, ["MayaMelUIConfigurationFile"]),
        ("uiConfigurationScriptNode", UI_CONFIGURATION, None, 3, []),
        # scripts that run by themselves and write files or reach the network; the same on demand is not
        ("n", "import shutil\nshutil.copy(a, b)", None, 1, ["on-open-dropper"]),
        ("n", "with open(os.path.join(d, 'userSetup.py'), 'w') as f:", None, 2, ["on-open-dropper"]),
        ("n", None, "urllib2.urlopen(url)", 7, ["on-open-dropper"]),
        ("n", "$f = `fopen $p \"w\"`;", None, 1, ["on-open-dropper"]),
        ("n", "io.open(p, mode='r+', encoding='utf-8')", None, 1, ["on-open-dropper"]),
        ("n", "pathlib.Path(home, 'userSetup.py').write_text(code)", None, 1, ["on-open-dropper"]),
        ("n", "python(\"import os; os.system('curl x')\");", None, 1, ["on-open-dropper"]),
        ("n", "import shutil\nshutil.copy(a, b)", None, 0, []),
        # the generic family only when no named one matched
        ("vaccine_gene", "import shutil\nshutil.copy(a, b)", None, 1, ["vaccine"]),
        # benign script nodes: playback options, a rig's scriptJob, maya.cmds, reading a file
        ("sceneConfigurationScriptNode", "playbackOptions -min 1 -max 120 -ast 1 -aet 200 ", None, 6, []),
        ("rigUI", "import maya.cmds as cmds\ncmds.scriptJob(event=['SelectionChanged', f], killWithScene=True)",
         None, 2, []),
        ("rigUI", "scriptJob -e \"SelectionChanged\" \"rigFollow\" -kws;", None, 1, []),
        ("rigUI", "with open(path) as handle:\n    settings = json.load(handle)", None, 1, []),
        ("xgenGlobals", None, "import maya.cmds as cmds\nif cmds.about(batch=True):\n\txgg.Playblast=False", 0, []),
        # what the host may answer for a node it cannot read
        ("n", None, None, None, []),
        ("n", 12, ["x"], "1", []),
        ("vaccine_gene", None, None, float("nan"), ["vaccine"]),
    ]

    def test_families(self):
        for node, before, after, script_type, families in self.CASES:
            found = script_scan.scan_node(node, before, after, script_type)
            self.assertEqual([f["family"] for f in found], families, (node, before, after))

    def test_a_finding_says_where_and_whether_it_runs_on_open(self):
        text = "import maya.cmds as cmds\n\n# below\nimport vaccine\n"
        finding, = script_scan.scan_node("setup", None, text, 1.0)  # the binary format stores a double
        self.assertEqual((finding["node"], finding["attribute"], finding["line"], finding["evidence"]),
                         ("setup", "after", 4, "import vaccine"))
        self.assertEqual((finding["runs_on_open"], finding["script_type"]), (True, "Open/Close"))
        self.assertEqual(finding["signature"], "imports the vaccine module")
        for script_type, runs in ((0, False), (1, True), (2, True), (3, True), (6, True), (7, False), (None, False),
                                  (float("inf"), False), (True, False)):
            finding, = script_scan.scan_node("vaccine_gene", "", None, script_type)
            self.assertEqual(finding["runs_on_open"], runs, script_type)

    def test_a_script_line_is_better_evidence_than_the_name(self):
        finding, = script_scan.scan_node("ns:vaccine_gene", "x = 1\nimport vaccine", None, 1)
        self.assertEqual((finding["attribute"], finding["line"]), ("before", 2))
        finding, = script_scan.scan_node("ns:vaccine_gene", "x = 1", None, 1)
        self.assertEqual((finding["attribute"], finding["line"], finding["evidence"]), ("name", None, "vaccine_gene"))

    def test_hidden_text_is_named_as_such(self):
        finding, = script_scan.scan_node("n", "a = 1\n# " + encoded("x = 2\nroot = APPDATA + '/syssst'\n"), None, 0)
        self.assertEqual((finding["attribute"], finding["line"], finding["evidence"]),
                         ("before (base64)", 2, "root = APPDATA + '/syssst'"))

    def test_a_long_line_is_cut_around_the_match(self):
        line = "a" * 5000 + " import vaccine " + "b" * 5000
        finding, = script_scan.scan_node("n", line, None, 0)
        self.assertIn("import vaccine", finding["evidence"])
        self.assertLess(len(finding["evidence"]), 300)
        self.assertTrue(finding["evidence"].startswith("...") and finding["evidence"].endswith("..."))

    def test_utf8_bytes_as_the_host_gives_them_on_2_7(self):
        found = script_scan.scan_node(b"n", u"cmds.warning(u'\u8d3c\u5065\u5eb7')".encode("utf-8"), b"\xff\xfe", 0)
        self.assertEqual([f["family"] for f in found], ["vaccine"])

    def test_the_section_reads_every_script_node_and_survives_unreadable_attributes(self):
        class Cmds(object):
            nodes = {"good": {"before": "print(1)", "scriptType": 1},
                     "bad": {"before": "import vaccine", "scriptType": 1},
                     "broken": {}}

            def ls(self, type=None):
                assert type == "script"
                return ["good", "bad", "broken"]

            def getAttr(self, plug):
                node, attribute = plug.split(".")
                if attribute not in self.nodes[node]:
                    raise ValueError("No object matches name: " + plug)
                return self.nodes[node][attribute]

        found = script_scan.findings(Cmds())
        self.assertEqual([(f["node"], f["family"]) for f in found], [("bad", "vaccine")])


# The fixture scenes: every script node's expected family (None: must not be flagged).
FIXTURES = {
    "vaccine.ma": {"vaccine_gene": "vaccine", "breed_gene": "vaccine", "rig:setupHelper": "vaccine",
                   "renamedCarrier": "vaccine"},
    "uifiguration.ma": {"uifiguration": "uifiguration", "k7q2_gene": "uifiguration", "loaderNode": "uifiguration",
                        "resourceWriter": "uifiguration", "quietHolder": "uifiguration"},
    "ui_configuration.ma": {"MayaMelUIConfigurationFile": "MayaMelUIConfigurationFile",
                            "uiConfigurationScriptNode": "MayaMelUIConfigurationFile",
                            "melConfigCopy": "MayaMelUIConfigurationFile", "panelHelper": "MayaMelUIConfigurationFile"},
    "old_signatures.ma": {"putianNode": "PuTianTongQing", "daxunhuanNode": "DaXunHuan"},
    "on_open_writers.ma": {"autoSave": "on-open-dropper", "beacon": "on-open-dropper", "melWriter": "on-open-dropper",
                           "onDemandTool": None},
    "benign.ma": {"uiConfigurationScriptNode": None, "sceneConfigurationScriptNode": None, "xgenGlobals": None,
                  "rig_pickerUI": None, "rig_settingsReader": None, "rig_melSetup": None, "archiveTool": None},
}


def host_commands():
    """maya.cmds of the offline host; needs the built reader (skipped without it, failing under CI)."""
    try:
        from maya import cmds
        cmds.file(new=True)
        return cmds
    except ImportError as error:
        if os.environ.get("CI") == "true":
            raise
        raise unittest.SkipTest("the offline host needs the built reader: %s" % error)


class FixtureScanTest(unittest.TestCase):
    def test_every_script_node_of_the_samples(self):
        cmds = host_commands()
        for name, expected in sorted(FIXTURES.items()):
            cmds.file(os.path.join(support.FIXTURES, "scripts", name), open=True, force=True)
            self.assertEqual(sorted(cmds.ls(type="script")), sorted(expected), name)
            found = dict((f["node"], f["family"]) for f in script_scan.findings(cmds))
            self.assertEqual(found, dict((k, v) for k, v in expected.items() if v), name)

    def test_the_script_nodes_of_a_loaded_reference(self):
        cmds = host_commands()
        folder = tempfile.mkdtemp()
        try:
            shot = os.path.join(folder, "shot.ma")
            rig = os.path.join(support.FIXTURES, "scripts", "vaccine.ma").replace(os.sep, "/")
            with open(shot, "w") as handle:
                handle.write(REFERENCING_SHOT % {"rig": rig})
            cmds.file(shot, open=True, force=True)
            if not cmds.ls("chars:*"):
                self.skipTest("the offline host does not hold the nodes of referenced files yet")
            found = sorted((f["node"], f["family"]) for f in script_scan.findings(cmds))
            self.assertEqual(found, [("chars:breed_gene", "vaccine"), ("chars:renamedCarrier", "vaccine"),
                                     ("chars:rig:setupHelper", "vaccine"), ("chars:vaccine_gene", "vaccine")])
        finally:
            shutil.rmtree(folder)


class LongScriptTest(unittest.TestCase):
    """A script over the cap on stored values stays in the scene file, in either form: getAttr reads
    it from there whole, and the scan sees what lies past the cap."""

    def test_a_long_script_is_read_whole_and_scanned(self):
        cmds = host_commands()
        before = "# a setup script\n" + "x = 1\n" * 20 + "from vaccine import phage\n"
        folder = tempfile.mkdtemp()
        saved = os.environ.get("VANALYZER_MAX_VALUE_BYTES")
        os.environ["VANALYZER_MAX_VALUE_BYTES"] = "64"
        try:
            for form in (".ma", ".mb"):
                path = os.path.join(folder, "long" + form)
                support.write_script_scene(path, "setup", before.encode("utf-8"))
                cmds.file(path, open=True, force=True)
                self.assertEqual(cmds.getAttr("setup.before"), before, form)
                found = [(f["node"], f["family"], f["line"]) for f in script_scan.findings(cmds)]
                self.assertEqual(found, [("setup", "vaccine", 22)], form)
                told = [text for _level, text in cmds._take_host_messages() if "VANALYZER_MAX_VALUE_BYTES" in text]
                self.assertEqual(len(told), 1, form)
                self.assertIn("setup.before holds a text of %d bytes" % len(before), told[0])
                self.assertIn("stays in the file", told[0])
        finally:
            if saved is None:
                del os.environ["VANALYZER_MAX_VALUE_BYTES"]
            else:
                os.environ["VANALYZER_MAX_VALUE_BYTES"] = saved
            shutil.rmtree(folder)


REFERENCING_SHOT = """//Maya ASCII 2022 scene
//Name: shot.ma
//Codeset: UTF-8
file -rdi 1 -ns "chars" -rfn "charsRN" -op "v=0;" -typ "mayaAscii" "%(rig)s";
file -r -ns "chars" -dr 1 -rfn "charsRN" -op "v=0;" -typ "mayaAscii" "%(rig)s";
requires maya "2022";
createNode reference -n "charsRN";
// End of shot.ma
"""


if __name__ == "__main__":
    unittest.main()
