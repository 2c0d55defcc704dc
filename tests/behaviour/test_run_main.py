"""runMain in a child interpreter: one analysis, the result delivered, then the process tree ends."""
import collections
import json
import os
import time
import unittest

import support

SCENE = {"layers": [{"part": u"\u4e3b\u5c42", "cameras": ["persp"], "layerFilePrefix": "a", "ext": "exr"}],
         "nodes": {"camera": ["perspShape"]},
         "parents": {"perspShape": ["|persp"]},
         "attributes": {"defaultRenderGlobals.currentRenderer": "mayaSoftware"}}


def process_gone(pid):
    """True when the process no longer runs (ended, or a zombie waiting for its new parent)."""
    try:
        with open("/proc/%d/stat" % pid) as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] == "Z"
    except (IOError, OSError):
        return True


class RunMainTest(unittest.TestCase):
    def test_delivers_the_result_then_ends_the_process_and_its_descendants(self):
        run = support.run_child({"scenario": SCENE, "spawn_descendants": True, "arguments": [0, 0]})
        self.assertEqual(run.returncode, -9, run.stderr)
        self.assertNotIn("runMain returned", run.stdout)
        results = run.calls("vout.OutResult")
        self.assertEqual(len(results), 1)
        text = results[0][0]
        record = json.loads(text, object_pairs_hook=collections.OrderedDict)
        # Key for key, with pure ASCII escapes and json's own separators.
        # (The order of keys is not significant.)
        self.assertEqual(sorted(record), sorted(["status", "msg", "files", "AnalyzerVersion", "model"]))
        self.assertEqual(sorted(record["model"]),
                         sorted(["ext", "parts", "scenePath", "needSplit", "envVars", "custom", "allCameras"]))
        self.assertTrue(all(ord(c) < 128 for c in text))
        self.assertIn("\\u4e3b\\u5c42", text)
        self.assertEqual(json.dumps(record), text)
        self.assertEqual(record["status"], 0)
        self.assertEqual(record["msg"], [])
        self.assertEqual(record["files"], [])
        self.assertEqual(record["AnalyzerVersion"], "1.5.9")
        model = record["model"]
        self.assertEqual(model["parts"], SCENE["layers"])
        self.assertEqual(model["scenePath"], "/projects/shot/scene.ma")
        self.assertEqual(model["allCameras"], ["|persp"])
        self.assertEqual(model["envVars"], ["MAYA_VERSION=2020"])
        self.assertEqual((model["ext"], model["needSplit"]), ("exr", 0))
        self.assertEqual(model["custom"], {"prepare": "", "filePrefix": "a", "melString": 'evaluationManager -mode "off";'})
        deadline = time.time() + 10
        while time.time() < deadline and not all(process_gone(run.extra[k]) for k in ("child", "grandchild")):
            time.sleep(0.05)
        self.assertTrue(process_gone(run.extra["child"]))
        self.assertTrue(process_gone(run.extra["grandchild"]))
        # This test's own process, the runner's parent, is still here to assert it.
        self.assertFalse(process_gone(os.getpid()))

    def test_arguments_become_the_analyzer_arguments(self):
        run = support.run_child({"scenario": SCENE, "arguments": [1, 1]})
        self.assertEqual(run.returncode, -9, run.stderr)
        self.assertEqual(run.calls("vfile.getEnvDict"), [[1]])

    def test_without_catalogue_nothing_is_delivered_and_nothing_ends(self):
        run = support.run_child({"scenario": SCENE, "catalogue": False})
        self.assertEqual(run.returncode, 1)
        self.assertIn("AttributeError", run.stderr)
        self.assertIn("finalResult", run.stderr)
        self.assertEqual(run.calls("vout.OutResult"), [])
        self.assertIn(["Error", "can not find error code."], [list(line) for line in run.logs()])


if __name__ == "__main__":
    unittest.main()
