"""The result record that AnlyzerSenceFile returns, on scripted scenes of each status."""
from __future__ import print_function

import json
import sys
import types
import unittest

from analysis_support import AnalysisTestCase
import support

SCENE = "/projects/shot/scene.ma"


def message_for(code, **values):
    entry = [e for e in support.CATALOGUE if e["code"] == code][0]
    texts = {}
    for language in ("en", "cn"):
        text = entry[language]
        for name, value in values.items():
            text = text.replace("${%s}" % name, value)
        texts[language] = text
    return {"code": code, "en": texts["en"], "cn": texts["cn"]}


class ScriptedScenes(AnalysisTestCase):

    def test_clean_scene_status_0(self):
        paths = [self.make_file("tex/a.png", 3), self.make_file("cache/b.abc", 5)]
        self.gather(files=paths[:1])
        self.gather(files=paths[1:], gatherer="getRenerManAssets")
        self.world.evaluation = 'evaluationManager -mode "parallel";'
        layers = [{"part": "a", "ext": "exr", "layerFilePrefix": "shots/<Scene>"},
                  {"part": "b", "ext": "EXR", "layerFilePrefix": "SHOTS/<scene>"}]
        analyzer, result = self.analyse(LayersInfo=layers, env=["MAYA_VERSION=2022", "X=1"])
        self.assertEqual(result["status"], 0)
        self.assertEqual(result["msg"], [])
        self.assertEqual(sorted(result["files"]), sorted(paths))
        self.assertEqual(result["AnalyzerVersion"], "1.5.9")
        model = result["model"]
        self.assertEqual(model["ext"], "exr")
        self.assertEqual(model["custom"], {"prepare": "", "filePrefix": "shots/<Scene>",
                                           "melString": 'evaluationManager -mode "parallel";'})
        self.assertEqual(model["envVars"], ["MAYA_VERSION=2022", "X=1"])
        self.assertEqual(model["parts"], layers)
        self.assertEqual(model["scenePath"], SCENE)
        self.assertEqual(model["needSplit"], 0)
        self.assertEqual(model["allCameras"], ["|persp"])
        self.assertEqual(analyzer.status, 0)

    def test_missing_files_and_quorin_status_1(self):
        kept = self.make_file("tex/a.png", 3)
        self.gather(files=[kept], missing=["/lost/a.png"])
        sys.modules["vCus"] = types.ModuleType("vCus")
        layers = [{"part": "a", "ext": "exr", "layerFilePrefix": "x"}, {"part": "b", "ext": "png", "layerFilePrefix": "y"}]
        _, result = self.analyse(Customz=4, LayersInfo=layers, sceneName=SCENE)
        self.assertEqual(result["status"], 1)
        self.assertEqual(result["msg"], [message_for(10001, missingFiles="/lost/a.png\r\n")])
        self.assertEqual(result["files"], [kept])
        self.assertEqual(result["model"]["ext"], "")
        self.assertEqual(result["model"]["custom"]["filePrefix"], "")
        self.assertEqual(result["model"]["envVars"], ["MAYA_VERSION=2020", "PELKCUS=4"])
        self.assertEqual(result["model"]["custom"]["melString"], 'evaluationManager -mode "off";')

    def test_scene_error_status_2(self):
        self.gather(files=[self.make_file("tex/a.png", 3)], missing=["/lost/a.png"])
        _, result = self.analyse(status=2, errorCodes=[10002, 10011], sceneName="/missing/scene.ma")
        self.assertEqual(result["status"], 2)
        self.assertEqual(result["files"], [])
        self.assertEqual(result["msg"], [message_for(10002, scenePath="/missing/scene.ma"), message_for(10011)])
        self.assertEqual(result["model"]["custom"], {"prepare": "", "filePrefix": "shots/a", "melString": ""})
        self.assertEqual(result["model"]["ext"], "exr")
        self.assertEqual(result["model"]["scenePath"], "/missing/scene.ma")

    def test_result_text_is_ascii_with_escapes(self):
        self.gather(missing=[u"/lost/\u4e2d.png"])
        analyzer = self.analyzer()
        text = analyzer.AnlyzerSenceFile()
        self.assertTrue(all(ord(c) < 128 for c in text))
        self.assertIn("\\r\\n", text)
        self.assertIn("\\u4e2d", text)
        self.assertEqual(json.loads(text)["msg"][0]["en"], u"Missing files:\r\n/lost/\u4e2d.png\r\n")


class Construction(AnalysisTestCase):

    def test_construction_delivers_the_accounted_files(self):
        path = self.make_file("tex/a.png", 3)
        self.gather(files=[path])
        analyzer = self.construct(0)
        result = json.loads(analyzer.finalResult)
        self.assertEqual(result["files"], [path])
        self.assertEqual(self.world.recorded_assets, [path])


if __name__ == "__main__":
    unittest.main()
