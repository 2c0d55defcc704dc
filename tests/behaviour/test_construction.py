"""Construction: the banner, the log lines, the attributes, the catalogue, the step order, the prefix hook."""
import json
import os
import sys
import types
import unittest

import support
from support import vanalyzer

BANNER = "<------------------------------VANTOR-START-ANALYZER------------------------------>"


def install_customisation(fixer_class):
    module = types.ModuleType("vCus")
    module.FixOutPrefix = fixer_class
    sys.modules["vCus"] = module


class ConstructionTest(support.AnalyzerTestCase):
    def test_banner_comes_first_then_the_opening_log_lines(self):
        self.clean_scene()
        self.construct(0)
        self.assertEqual(self.world.events[0], ("stdout", BANNER + "\n"))
        self.assertEqual(self.logs()[:3], [("Info", "Pelk Loaded."), ("Info", "Pelk Version: 1.5.9"),
                                           ("Info", "errorCodePath=" + os.path.realpath(self.catalogue))])

    def test_attributes_after_a_whole_construction(self):
        self.clean_scene()
        analyzer = self.construct(0)
        expected = {"CurrentScriptsVersion": "1.5.9", "GetRSCache": 0, "Customz": 0,
                    "MachineType": "UnKnown", "env": ["MAYA_VERSION=2020"],
                    "scriptPath": os.path.realpath(self.catalogue)}
        for name, value in expected.items():
            self.assertEqual(getattr(analyzer, name), value, name)
        self.assertEqual(analyzer.errorInfo, support.CATALOGUE)
        for name in ("files", "missingFiles", "status", "details", "melString", "errorCodes", "errors",
                     "platform", "sceneName", "LayersInfo", "preFix", "allCamerasInfo", "finalResult"):
            self.assertTrue(hasattr(analyzer, name), name)
        self.assertIsInstance(analyzer.files, set)
        self.assertIsInstance(analyzer.missingFiles, set)
        self.assertEqual(self.world.calls("vfile.getEnvDict"), [("vfile.getEnvDict", (0,), {})])

    def test_arguments_reach_their_steps(self):
        seen = []

        class Recording(vanalyzer.Maya_Analyzer):
            def getSceneName(self, analyzerMode, sceneName):
                seen.append((analyzerMode, sceneName))
                return "/scene.ma"

        self.clean_scene()
        for args, kwargs, cache, scene_args in [((0,), {}, 0, (0, "")),
                                                ((1, 1), {}, 1, (1, "")),
                                                ((), {"analyzerMode": 1, "GetRSCache": 5, "sceneName": "x.ma"},
                                                 5, (1, "x.ma"))]:
            del seen[:]
            self.world.events = []
            analyzer = Recording(*args, **kwargs)
            self.assertEqual(analyzer.GetRSCache, cache)
            self.assertEqual(seen, [scene_args])
            self.assertEqual(self.world.calls("vfile.getEnvDict")[0][1], (cache,))

    def test_steps_run_in_their_fixed_order(self):
        order = []
        names = ["initSceneAssemblyPlugins", "checkPlatform", "getSceneName", "getLayersInfo", "checkScene",
                 "get_PreFix", "getAllCamInScene", "AnlyzerSenceFile"]

        def recorder(name):
            original = getattr(vanalyzer.Maya_Analyzer, name)

            def step(self, *args):
                order.append(name)
                return original(self, *args)
            return step

        Recording = type("Recording", (vanalyzer.Maya_Analyzer,), dict((n, recorder(n)) for n in names))
        self.clean_scene()
        analyzer = Recording(0)
        self.assertEqual(order, names)
        self.assertTrue(analyzer.finalResult)

    def test_an_unguarded_step_failure_ends_construction_and_keeps_earlier_attributes(self):
        class Failing(vanalyzer.Maya_Analyzer):
            def getLayersInfo(self):
                raise RuntimeError("collector broken")

        with self.assertRaises(RuntimeError):
            Failing(0)
        # The later steps did not run.
        self.assertNotIn(("Info", "Vantor Analyzer Ended."), self.logs())

    def test_missing_catalogue_ends_construction_early_without_error(self):
        os.remove(self.catalogue)
        analyzer = self.construct(0)
        self.assertEqual(self.logs()[-1], ("Error", "can not find error code."))
        self.assertEqual(self.logs()[-2][1], "errorCodePath=" + os.path.realpath(self.catalogue))
        for name in ("errorInfo", "errorCodes", "errors", "platform", "sceneName", "LayersInfo", "preFix",
                     "allCamerasInfo", "finalResult"):
            self.assertFalse(hasattr(analyzer, name), name)
        self.assertEqual(analyzer.scriptPath, os.path.realpath(self.catalogue))
        # No scene step ran: nothing asked of the host.
        self.assertEqual([c for c in self.world.calls() if c[0].startswith("py.")], [])

    def test_a_catalogue_that_is_not_json_raises_out_of_construction(self):
        support.write_catalogue(self.folder, text="[{not json")
        with self.assertRaises(ValueError):
            self.construct(0)

    def test_catalogue_location_resolves_links_and_parent_folders(self):
        if not hasattr(os, "symlink"):
            self.skipTest("no symbolic links")
        linked = os.path.join(self.folder, "linked")
        os.symlink(os.path.join(self.folder, "service"), linked)
        support.vfile.__file__ = os.path.join(linked, "modules", "vfile.py")
        analyzer = self.construct(0)
        self.assertEqual(analyzer.scriptPath, os.path.realpath(self.catalogue))
        self.assertTrue(hasattr(analyzer, "finalResult"))


class PrefixCustomisationTest(support.AnalyzerTestCase):
    def analyse(self, prefix="shots/a"):
        self.clean_scene()

        class WithPrefix(vanalyzer.Maya_Analyzer):
            def get_PreFix(self):
                return prefix
        return WithPrefix(0)

    def test_without_customisation_module_the_prefix_falls_back_to_empty(self):
        analyzer = self.analyse()
        self.assertEqual(analyzer.preFix, "")
        self.assertEqual([t for t in self.log_texts("Warring") if t.startswith("Prefix")],
                         ["Prefix fix failed, Use defalut:."])

    def test_the_fixer_decides_the_prefix(self):
        calls = []

        class Fixer(object):
            def __init__(self, prefix, sceneName):
                calls.append((prefix, sceneName))
                self.prefix = prefix

            def modifyOutPut(self):
                self.prefix = self.prefix + "/fixed"

        install_customisation(Fixer)
        analyzer = self.analyse()
        self.assertEqual(analyzer.preFix, "shots/a/fixed")
        self.assertEqual(calls, [("shots/a", analyzer.sceneName)])
        self.assertNotIn("Prefix fix failed, Use defalut:.", self.log_texts())

    def test_a_fixer_that_keeps_the_prefix_keeps_it(self):
        class Fixer(object):
            def __init__(self, prefix, sceneName):
                self.prefix = prefix

            def modifyOutPut(self):
                return "ignored"

        install_customisation(Fixer)
        self.assertEqual(self.analyse().preFix, "shots/a")

    def test_any_failure_inside_the_hook_falls_back(self):
        class Raising(object):
            def __init__(self, prefix, sceneName):
                self.prefix = prefix

            def modifyOutPut(self):
                raise KeyError("broken")

        class WithoutPrefix(object):
            def __init__(self, prefix, sceneName):
                pass

            def modifyOutPut(self):
                pass

        for fixer in (Raising, WithoutPrefix):
            self.world.events = []
            install_customisation(fixer)
            self.assertEqual(self.analyse().preFix, "")
            self.assertIn(("Warring", "Prefix fix failed, Use defalut:."), self.logs())


if __name__ == "__main__":
    unittest.main()
