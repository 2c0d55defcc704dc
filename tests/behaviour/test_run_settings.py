"""The five run settings read from the environment during construction."""
import sys
import types
import unittest

import support
from support import vanalyzer, vfile

SETTING_FAILURES = [("Debug", "Get Ini Ass Mode Error, Default is 0."),
                    ("Debug", "Get Ini Seek Ass Mode Error, Default is 0."),
                    ("Debug", "Get Ini maxPoolSize Error, Default is 1."),
                    ("Warring", "Get Ini Customzation Error."),
                    ("Error", "Cannot Get MachineType.")]


class RunSettingsTest(support.AnalyzerTestCase):
    def settings_logs(self):
        """The log lines between the catalogue line and the end of the settings."""
        lines = self.logs()
        start = [i for i, line in enumerate(lines) if line[1].startswith("errorCodePath=")][0] + 1
        return lines[start:start + 5]

    def test_none_set_logs_five_failure_lines_in_order(self):
        self.clean_scene()
        analyzer = self.construct(0)
        self.assertEqual(self.settings_logs(), SETTING_FAILURES)
        self.assertEqual(analyzer.Customz, 0)
        self.assertEqual(analyzer.MachineType, "UnKnown")
        self.assertEqual((vfile.assMode, vfile.SeekAllAss, vfile.maxPoolSize, vfile.mulitThreads), (0, 0, 1, 0))

    def test_thread_count(self):
        # value -> (maxPoolSize, mulitThreads, log line or None for the failure line)
        cases = [("8", 8, 1, "maxPoolSize is set to: 8."),
                 ("64", 32, 1, "maxPoolSize is set to: 32."),
                 ("32", 32, 1, "maxPoolSize is set to: 32."),
                 ("1", 1, 0, "maxPoolSize is set to: 1."),
                 ("0", 0, 0, "maxPoolSize is set to: 0."),
                 ("-3", -3, 0, "maxPoolSize is set to: -3."),
                 (" 016 ", 16, 1, "maxPoolSize is set to: 16."),
                 ("123456789012345678901234567890", 32, 1, "maxPoolSize is set to: 32."),
                 ("4.0", 1, 0, None), (" ", 1, 0, None), ("", 1, 0, None), ("eight", 1, 0, None)]
        self.clean_scene()
        for value, pool, multi, line in cases:
            vfile.reset_settings()
            self.world.events = []
            self.set_environment(PELKTHREADS=value)
            self.construct(0)
            self.assertEqual((vfile.maxPoolSize, vfile.mulitThreads), (pool, multi), value)
            expected = line or "Get Ini maxPoolSize Error, Default is 1."
            self.assertEqual(self.settings_logs()[2], ("Debug", expected), value)

    def test_asset_and_seek_modes(self):
        self.clean_scene()
        self.set_environment(PELKASSMODE=" 2 ", PLEKSEEKALLASS="1")
        self.construct(0)
        self.assertEqual((vfile.assMode, vfile.SeekAllAss), (2, 1))
        lines = self.settings_logs()
        self.assertEqual(lines[0], ("Debug", "AssMode is set to: 2."))
        # The seek-all mode logs nothing on success.
        self.assertEqual(lines[1], ("Debug", "Get Ini maxPoolSize Error, Default is 1."))

    def test_malformed_modes_keep_the_module_values(self):
        self.clean_scene()
        vfile.assMode, vfile.SeekAllAss = 7, 9
        self.set_environment(PELKASSMODE="2x", PLEKSEEKALLASS="1.5")
        self.construct(0)
        self.assertEqual((vfile.assMode, vfile.SeekAllAss), (7, 9))
        self.assertEqual(self.settings_logs()[:2], SETTING_FAILURES[:2])

    def test_customisation_number(self):
        self.clean_scene()
        # Customisation 4 loads the customer's module at the end of the analysis.
        sys.modules["vCus"] = types.ModuleType("vCus")
        for value, expected, line in [(" 4 ", 4, ("Info", "Vantor Customzition is set to: 4")),
                                      ("-02", -2, ("Info", "Vantor Customzition is set to: -2")),
                                      ("letters", 0, ("Warring", "Get Ini Customzation Error."))]:
            self.world.events = []
            self.set_environment(PELKCUS=value)
            analyzer = self.construct(0)
            self.assertEqual(analyzer.Customz, expected)
            self.assertIsInstance(analyzer.Customz, int)
            self.assertEqual(self.settings_logs()[3], line)

    def test_machine_type_is_taken_as_written(self):
        self.clean_scene()
        for value in ("startGpu", "", "start Cpu"):
            self.world.events = []
            self.set_environment(MachineType=value)
            analyzer = self.construct(0)
            self.assertEqual(analyzer.MachineType, value)
            self.assertEqual(self.settings_logs()[4], ("Info", "Get Machine Type %s." % value))

    def test_a_failing_setting_does_not_stop_the_next(self):
        class Frozen(object):
            """A vfile whose settings cannot be written."""
            def __setattr__(self, name, value):
                raise AttributeError(name)

        self.clean_scene()
        self.set_environment(PELKASSMODE="1", PELKCUS="3")
        saved = vanalyzer.vfile
        frozen = Frozen()
        try:
            vanalyzer.vfile = frozen
            frozen.__dict__.update(vars(saved))
            analyzer = self.construct(0)
        finally:
            vanalyzer.vfile = saved
        self.assertEqual(self.settings_logs()[0], SETTING_FAILURES[0])
        self.assertEqual(analyzer.Customz, 3)


if __name__ == "__main__":
    unittest.main()
