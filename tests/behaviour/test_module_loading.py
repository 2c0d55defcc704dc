"""Loading the module: what it binds, what it defines, and the argument errors of its entry points."""
import sys
import unittest

import support
from support import vanalyzer

OPERATIONS = ["__init__", "loadSidePath", "initSceneAssemblyPlugins", "checkPlatform", "getSceneName",
              "getSceneNameFromMaya", "getSceneNameFromParms", "getAllCamInScene", "getLayersInfo",
              "isDefaultRenderLayer", "getMachineInfo", "checkScene", "get_PreFix", "compareVRayMachine",
              "AnlyzerSenceFile"]


class ModuleLoadingTest(unittest.TestCase):
    def test_binds_the_standard_and_service_modules_and_the_host_commands(self):
        import maya.cmds
        for name in ("sys", "json", "os", "platform", "re", "vout", "vfile", "vutils"):
            self.assertIs(getattr(vanalyzer, name), sys.modules[name], name)
        self.assertIs(vanalyzer.py, maya.cmds)
        self.assertIsNone(vanalyzer.__doc__)

    def test_defines_the_class_with_its_operations_in_order(self):
        cls = vanalyzer.Maya_Analyzer
        self.assertEqual(cls.__name__, "Maya_Analyzer")
        self.assertEqual(cls.__module__, "vanalyzer")
        defined = [name for name in cls.__mro__[1].__dict__ if name in OPERATIONS or not name.startswith("_")]
        if sys.version_info >= (3, 7):
            self.assertEqual(defined, OPERATIONS)
        else:
            self.assertEqual(sorted(defined), sorted(OPERATIONS))
        self.assertTrue(callable(vanalyzer.runMain))

    def test_importing_calls_nothing(self):
        run = support.run_child({"import_only": True})
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.events, [])

    def test_without_host_commands_the_module_loads_with_a_warning(self):
        run = support.run_child({"import_only": True, "host_commands": False})
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.logs(), [("Warring", "Cannot Imoport maya.cmds, Maybe Run In Python Mode")])
        self.assertIn("Maya_Analyzer", run.extra["module_names"])
        self.assertIn("runMain", run.extra["module_names"])
        self.assertNotIn("py", run.extra["module_names"])


class ArgumentErrorTest(support.AnalyzerTestCase):
    CASES = [
        (lambda: vanalyzer.runMain(), "runMain() takes exactly 2 positional arguments (0 given)"),
        (lambda: vanalyzer.runMain(1), "runMain() takes exactly 2 positional arguments (1 given)"),
        (lambda: vanalyzer.runMain(1, 2, 3), "runMain() takes exactly 2 positional arguments (3 given)"),
        (lambda: vanalyzer.runMain(analyzerMode=1), "runMain() takes exactly 2 positional arguments (1 given)"),
        (lambda: vanalyzer.runMain(1, other=2), "runMain() got an unexpected keyword argument 'other'"),
        (lambda: vanalyzer.runMain(1, analyzerMode=2),
         "runMain() got multiple values for keyword argument 'analyzerMode'"),
        (lambda: vanalyzer.Maya_Analyzer(), "__init__() takes at least 2 positional arguments (1 given)"),
        (lambda: vanalyzer.Maya_Analyzer(1, 2, 3, 4), "__init__() takes at most 4 positional arguments (5 given)"),
        (lambda: vanalyzer.Maya_Analyzer(GetRSCache=1),
         "__init__() takes at least 2 positional arguments (2 given)"),
    ]

    def test_argument_count_errors_have_the_interpreter_texts(self):
        for call, message in self.CASES:
            with self.assertRaises(TypeError) as raised:
                call()
            self.assertEqual(str(raised.exception), message)
        # Nothing ran: no banner, no log line, no call.
        self.assertEqual(self.world.events, [])

    def test_operations_with_parameters_check_their_arguments(self):
        self.clean_scene()
        analyzer = self.construct(0)
        with self.assertRaises(TypeError) as raised:
            analyzer.getSceneName(0)
        self.assertEqual(str(raised.exception), "getSceneName() takes exactly 3 positional arguments (2 given)")
        with self.assertRaises(TypeError) as raised:
            analyzer.loadSidePath()
        self.assertEqual(str(raised.exception), "loadSidePath() takes exactly 2 positional arguments (1 given)")


if __name__ == "__main__":
    unittest.main()
