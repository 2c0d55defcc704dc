"""The XGen description check: palette nodes without a resolved description, noted in details."""
from __future__ import print_function

import unittest

from analysis_support import AnalysisTestCase

COUNT_LINE = u"\u6587\u4ef6\u5305\u542b: %s\u4e2aXgenNodes, \u53ea\u89e3\u6790\u5230: %s\u4e2aXgen\u63cf\u8ff0  \r\n"
MISSING_LINE = u"\u4e22\u5931\u63cf\u8ff0Xgen\u8282\u70b9:%s\r\n"


class XgenCheck(AnalysisTestCase):

    def run_check(self, nodes, palettes, plugin=True, details=""):
        if plugin:
            self.world.existing_plugins.add("xgenToolkit")
        self.world.nodes["xgmPalette"] = list(nodes)
        self.world.palettes = list(palettes)
        analyzer, _ = self.analyse(details=details)
        return analyzer

    def test_details_table(self):
        cases = [
            (["A", "B"], ["A"], COUNT_LINE % (2, 1) + MISSING_LINE % "B"),
            (["A", "B"], [], COUNT_LINE % (2, 0) + MISSING_LINE % "A" + MISSING_LINE % "B"),
            (["A", "B"], ["C", "D"], u""),  # equal counts: nothing, whatever the names
            ([], ["A"], u""),
            (["A"], ["A", "B"], COUNT_LINE % (1, 2)),
            (["B", "A", "B"], ["A"], COUNT_LINE % (3, 1) + MISSING_LINE % "B"),
        ]
        for nodes, palettes, expected in cases:
            self.reset()
            analyzer = self.run_check(nodes, palettes, details="before\r\n")
            self.assertEqual(analyzer.details, u"before\r\n" + expected, (nodes, palettes))
            self.assertLogged("Debug", "Checking Xgen Description.")
            self.assertEqual(self.world.calls("py.ls"), [("py.ls", (), {"type": "xgmPalette"})])

    def test_without_the_plugin_nothing_is_asked(self):
        analyzer = self.run_check(["A"], [], plugin=False)
        self.assertEqual(analyzer.details, "")
        self.assertEqual(self.world.calls("vutils.isPluginExist"), [("vutils.isPluginExist", ("xgenToolkit",), {})])
        self.assertEqual(self.world.calls("py.ls"), [])
        self.assertEqual(self.world.calls("xgenm.palettes"), [])
        self.assertNotLogged("Checking Xgen Description.")

    def test_the_check_follows_the_missing_file_count(self):
        self.run_check(["A"], [])
        self.assertLogsInOrder([("Debug", "Missing Files Count is : 0"), ("Debug", "Checking Xgen Description.")])

    def test_failures_end_the_analysis(self):
        self.world.existing_plugins.add("xgenToolkit")
        self.world.failures["ls"] = RuntimeError("ls failed")
        analyzer = self.analyzer()
        self.assertRaises(RuntimeError, analyzer.AnlyzerSenceFile)


if __name__ == "__main__":
    unittest.main()
