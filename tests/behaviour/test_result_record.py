"""The result record: its keys, its JSON text, the end line and the plug-in unloading."""
# -*- coding: utf-8 -*-
import collections
import json
import unittest

import support
from support import vanalyzer

RECORD_KEYS = ["status", "msg", "files", "AnalyzerVersion", "model"]
MODEL_KEYS = ["ext", "parts", "scenePath", "needSplit", "envVars", "custom", "allCameras"]
CUSTOM_KEYS = ["prepare", "filePrefix", "melString"]


class ResultRecordTest(support.AnalyzerTestCase):
    def analyse(self):
        self.clean_scene()
        self.world.layers[0]["part"] = u"\u6e32\u67d3\u5c42"  # a layer with a Chinese name
        return self.construct(0)

    def test_record_has_exactly_its_keys_and_values(self):
        analyzer = self.analyse()
        record = json.loads(analyzer.finalResult, object_pairs_hook=collections.OrderedDict)
        self.assertEqual(sorted(record), sorted(RECORD_KEYS))
        self.assertEqual(sorted(record["model"]), sorted(MODEL_KEYS))
        self.assertEqual(sorted(record["model"]["custom"]), sorted(CUSTOM_KEYS))
        self.assertEqual(record["status"], analyzer.status)
        self.assertEqual(record["msg"], analyzer.errors)
        self.assertEqual(record["AnalyzerVersion"], "1.5.9")
        model = record["model"]
        self.assertEqual(model["parts"], analyzer.LayersInfo)
        self.assertEqual(model["scenePath"], analyzer.sceneName)
        self.assertEqual(model["envVars"], analyzer.env)
        self.assertEqual(model["allCameras"], analyzer.allCamerasInfo)
        self.assertEqual(model["custom"]["prepare"], "")
        self.assertEqual(model["custom"]["melString"], analyzer.melString)
        # needSplit is the number 0, not false.
        self.assertIs(type(model["needSplit"]), int)
        self.assertEqual(model["needSplit"], 0)

    def test_json_text_is_pure_ascii_with_the_standard_separators(self):
        text = self.analyse().finalResult
        self.assertTrue(all(ord(c) < 128 for c in text))
        self.assertNotIn("\n", text)
        self.assertIn("\\u6e32\\u67d3\\u5c42", text)
        # Re-serialising in the same key order with json's defaults gives the same text.
        reparsed = json.loads(text, object_pairs_hook=collections.OrderedDict)
        self.assertEqual(json.dumps(reparsed), text)
        self.assertIn('"needSplit": 0', text)

    def test_record_is_a_snapshot(self):
        analyzer = self.analyse()
        text = analyzer.finalResult
        analyzer.env.append("LATE=1")
        self.assertEqual(analyzer.finalResult, text)
        self.assertNotIn("LATE=1", text)

    def test_end_line_then_plug_ins_unloaded_in_order(self):
        self.analyse()
        self.assertEqual(self.logs()[-1], ("Info", "Vantor Analyzer Ended."))
        self.assertEqual(self.world.calls("py.unloadPlugin"),
                         [("py.unloadPlugin", ("magicAssetNode.py",), {"force": True}),
                          ("py.unloadPlugin", ("AbcImportAB",), {"force": True})])
        self.assertNotIn("Unload Plugin Fait\n", self.world.stdout())

    def test_unload_failures_print_one_line_and_keep_the_result(self):
        self.analyse()
        reference = json.loads(self.world.events and self.construct(0).finalResult)
        for failing, attempted in [("magicAssetNode.py", ["magicAssetNode.py"]),
                                   ("AbcImportAB", ["magicAssetNode.py", "AbcImportAB"])]:
            self.world.events = []
            self.world.failures = {("unloadPlugin", failing): RuntimeError("plug-in in use")}
            result = json.loads(self.construct(0).finalResult)
            self.assertEqual(result, reference)
            self.assertEqual([c[1][0] for c in self.world.calls("py.unloadPlugin")], attempted)
            self.assertEqual(self.world.stdout().count("Unload Plugin Fait\n"), 1)

    def test_a_value_json_cannot_hold_raises_out_of_construction(self):
        self.clean_scene()
        self.world.layers[0]["frames"] = object()
        with self.assertRaises(TypeError):
            self.construct(0)
        self.assertNotIn(("Info", "Vantor Analyzer Ended."), self.logs())


if __name__ == "__main__":
    unittest.main()
