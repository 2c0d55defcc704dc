"""Host preparation: plug-ins, the operating-system name and the side module path."""
import os
import sys
import unittest

from operation_support import OperationTestCase

START = ("Info", "Start Loading SceneAssembly Plugin.")
END = ("Info", "Load SceneAssembly Plugin End.")
PLUGIN_ERROR = ("Warring", 'Load "sceneAssembly" and "gpuCache" Plugin has Error.')


class PluginLoading(OperationTestCase):

    def test_loads_scene_assembly_then_gpu_cache(self):
        analyzer = self.analyzer()
        self.assertIsNone(analyzer.initSceneAssemblyPlugins())
        self.assertEqual([args for _, args, _ in self.world.calls("py.loadPlugin")],
                         [("sceneAssembly",), ("gpuCache",)])
        self.assertEqual(self.logs(), [START, END])

    def test_a_failing_plugin_costs_one_warning(self):
        # (failing plug-in, plug-ins asked for)
        cases = [("sceneAssembly", [("sceneAssembly",)]),
                 ("gpuCache", [("sceneAssembly",), ("gpuCache",)])]
        for failing, asked in cases:
            analyzer = self.analyzer()
            self.world.failures[("loadPlugin", failing)] = RuntimeError("cannot load " + failing)
            self.assertIsNone(analyzer.initSceneAssemblyPlugins())
            self.assertEqual([args for _, args, _ in self.world.calls("py.loadPlugin")], asked, failing)
            self.assertEqual(self.logs(), [START, PLUGIN_ERROR], failing)

    def test_construction_goes_on_after_a_plugin_failure(self):
        self.clean_scene()
        self.world.failures["loadPlugin"] = RuntimeError("no plug-ins here")
        analyzer = self.construct(0)
        self.assertLogged(*PLUGIN_ERROR)
        self.assertTrue(hasattr(analyzer, "finalResult"))


class PlatformCheck(OperationTestCase):

    def test_reports_and_returns_the_system_name(self):
        for name in ("Windows", "Linux", "Darwin"):
            analyzer = self.analyzer()
            fake = self.operating_system(name)
            self.assertEqual(analyzer.checkPlatform(), name)
            self.assertEqual(self.logs(), [("Info", "Current system OS is: " + name)])
            self.assertEqual(fake.asked, 2)

    def test_a_failed_query_logs_its_error_and_gives_none(self):
        analyzer = self.analyzer()
        self.operating_system(OSError("uname failed"))
        self.assertIsNone(analyzer.checkPlatform())
        self.assertEqual(self.logs(), [("Error", "CheckPlatform Error:uname failed")])

    def test_construction_stores_the_name(self):
        self.clean_scene()
        for name, stored in (("Windows", "Windows"), (RuntimeError("x"), None)):
            self.operating_system(name)
            self.assertEqual(self.construct(0).platform, stored)


class SidePath(OperationTestCase):

    def setUp(self):
        OperationTestCase.setUp(self)
        self.saved_path = list(sys.path)

    def tearDown(self):
        sys.path[:] = self.saved_path
        OperationTestCase.tearDown(self)

    def test_logs_the_mode_in_text_form(self):
        for mode, shown in ((1, "1"), (0, "0"), (None, "None"), ("batch", "batch"), ((1, 2), "(1, 2)")):
            analyzer = self.analyzer()
            self.assertIsNone(analyzer.loadSidePath(mode))
            self.assertEqual(self.logs(), [("Info", "Script Loaded Mode: " + shown)])

    def test_appends_the_directory_of_VantorMaya(self):
        analyzer = self.analyzer()
        self.set_environment(VantorMaya="/opt/vantor/maya")
        analyzer.loadSidePath(1)
        self.assertEqual(sys.path, self.saved_path + ["/opt/vantor/maya"])

    def test_without_VantorMaya_the_path_stays(self):
        analyzer = self.analyzer()
        analyzer.loadSidePath(analyzerMode=1)
        self.assertEqual(sys.path, self.saved_path)
        self.assertEqual(self.logs(), [("Info", "Script Loaded Mode: 1")])


if __name__ == "__main__":
    unittest.main()
