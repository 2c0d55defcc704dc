"""Older VRay versions on machines with many cores."""
import os
import unittest

from operation_support import OperationTestCase
import vanalyzer


def received(plugins, machine):
    return [("Info", "recive pelk_Plugins env:%s" % plugins), ("Info", "recive pelk_Machine env:%s" % machine)]


def old_version(version):
    return ("Info", "vray version %s is lower than 3.80.00" % version)


class VRayComparison(OperationTestCase):

    def compare(self, plugins, machine):
        analyzer = self.analyzer()
        for name, value in (("pelk_Plugins", plugins), ("pelk_Machine", machine)):
            os.environ.pop(name, None)
            if value is not None:
                os.environ[name] = value
        return analyzer.compareVRayMachine()

    def test_cases(self):
        # (pelk_Plugins, pelk_Machine, answer, old versions reported)
        cases = [
            ("vray|3.60.04", "cpu_32c", True, ["3.60.04"]),
            ("vray|3.60.04", "cpu_30c128g", True, ["3.60.04"]),
            ("vray|3.60.04", "cpu_29c", False, ["3.60.04"]),
            ("vray|3.60.04", "cpu_16c", False, ["3.60.04"]),
            ("vray|3.60.04", "CPU_40C", True, ["3.60.04"]),
            ("vray|10.00.00", "cpu_64c", True, ["10.00.00"]),
            ("vray|3.80.00", "cpu_64c", False, []),
            ("vray|4.00.00", "cpu_64c", False, []),
            # A machine description without a readable core count.
            ("vray|3.60.04", "cpu", False, ["3.60.04"]),
            ("vray|3.60.04", "cpu_manyc", False, ["3.60.04"]),
            ("vray|3.60.04", None, False, ["3.60.04"]),
            ("mtoa|4.0.0", "cpu_64c", False, []),
            ("VRay|3.60.04", "cpu_64c", False, []),
            (None, None, False, []),
            ("mtoa|4.0.0||vray|3.50.00", "cpu_32c", True, ["3.50.00"]),
            ("mtoa|4.0.0||vrayForMaya|3.50.00|2018", "cpu_32c", True, ["3.50.00"]),
            # After an old entry on a small machine, the next old entry is reported and ends it.
            ("vray|3.50.00||vray|3.60.00||vray|3.70.00", "cpu_16c", False, ["3.50.00", "3.60.00"]),
            ("vray|3.50.00||vray|4.00.00||mtoa|1", "cpu_16c", False, ["3.50.00"]),
            # Entries without a "|" name no version and are passed over.
            ("vray||vray|3.60.04", "cpu_32c", True, ["3.60.04"]),
            ("||vray|3.60.04||", "cpu_32c", True, ["3.60.04"]),
            ("vray|3.60.04||||mtoa|4", "cpu_16c", False, ["3.60.04"]),
            ("vray", "cpu_32c", False, []),
            ("vray||", "cpu_32c", False, []),
        ]
        for plugins, machine, answer, versions in cases:
            case = (plugins, machine)
            self.assertIs(self.compare(plugins, machine), answer, case)
            self.assertEqual(self.logs(), received(plugins, machine) + [old_version(v) for v in versions], case)

    def test_reads_the_environment_through_the_modules_os(self):
        class FakeEnvironment(object):
            environ = {"pelk_Plugins": "vray|3.00.00", "pelk_Machine": "cpu_48c"}

        analyzer = self.analyzer()
        saved = vanalyzer.os
        vanalyzer.os = FakeEnvironment()
        try:
            self.assertIs(analyzer.compareVRayMachine(), True)
        finally:
            vanalyzer.os = saved
        self.assertEqual(self.logs()[:2], received("vray|3.00.00", "cpu_48c"))


if __name__ == "__main__":
    unittest.main()
