"""Output extension, the layers' common file prefix and the two customer customisations."""
from __future__ import print_function

import sys
import types
import unittest

from analysis_support import AnalysisTestCase, error_repr


def layer(ext="exr", prefix="shots/a", **extra):
    record = {"part": "layer", "ext": ext, "layerFilePrefix": prefix}
    record.update(extra)
    return record


class OutputExtension(AnalysisTestCase):

    def test_extension_table(self):
        cases = [
            ([layer("EXR"), layer("exr")], "exr"),
            ([layer("exr"), layer("png"), layer("exr")], ""),
            ([layer("Exr")], "exr"),
            ([], "exr"),
            ([layer("tif")], ""),
        ]
        for layers, expected in cases:
            self.reset()
            _, result = self.analyse(LayersInfo=layers)
            self.assertEqual(result["model"]["ext"], expected, layers)

    def test_a_layer_without_a_text_extension_ends_the_analysis(self):
        for bad in ({"part": "a", "layerFilePrefix": None}, layer(ext=None)):
            self.reset()
            analyzer = self.analyzer(LayersInfo=[layer(), bad])
            self.assertRaises((KeyError, AttributeError), analyzer.AnlyzerSenceFile)


class CommonPrefix(AnalysisTestCase):

    def test_prefix_table(self):
        cases = [
            ([layer(prefix="shots/A"), layer(prefix="SHOTS/a")], "shots/A"),
            ([layer(prefix="shots/a"), layer(prefix="other")], ""),
            ([layer(prefix=None), layer(prefix="x"), layer(prefix="x")], ""),
            ([layer(prefix="x"), layer(prefix=None), layer(prefix="X")], "x"),
            ([layer(prefix="only")], "only"),
            ([layer(prefix="a")] * 50 + [layer(prefix="A"), layer(prefix="b")], ""),
            ([layer(prefix=None)], ""),
        ]
        for layers, expected in cases:
            self.reset()
            _, result = self.analyse(LayersInfo=layers)
            self.assertEqual(result["model"]["custom"]["filePrefix"], expected, layers)
            self.assertEqual([t for t in self.log_texts("Debug") if t.startswith("compare prefix err")], [])

    def test_comparison_failures_give_the_empty_prefix(self):
        no_prefix = {"part": "a", "ext": "exr"}
        cases = [
            ([], error_repr(lambda: [][0])[1]),
            ([layer(), no_prefix], error_repr(lambda: no_prefix["layerFilePrefix"])[1]),
            ([layer(prefix="a"), layer(prefix=5)], error_repr(lambda: (5).lower())[1]),
            # a layer after the prefixes differ is still read, and its failure told
            ([layer(prefix="a"), layer(prefix="b"), no_prefix], error_repr(lambda: no_prefix["layerFilePrefix"])[1]),
        ]
        for layers, message in cases:
            self.reset()
            _, result = self.analyse(LayersInfo=layers)
            self.assertEqual(result["model"]["custom"]["filePrefix"], "")
            self.assertLogged("Debug", "compare prefix err:%s" % message)


class Customisations(AnalysisTestCase):

    def install_customisation(self, prefix="tamsel/prefix"):
        module = types.ModuleType("vCus")
        calls = []

        class Tamsel(object):
            def __init__(self):
                calls.append("Tamsel")

            def modifyFileLayerPrefix(self):
                calls.append("modifyFileLayerPrefix")
                return prefix
        module.Tamsel = Tamsel
        sys.modules["vCus"] = module
        return calls

    def test_tamsel_decides_the_prefix(self):
        calls = self.install_customisation()
        _, result = self.analyse(Customz=2, LayersInfo=[layer(prefix="a"), layer(prefix="b")])
        self.assertEqual(calls, ["Tamsel", "modifyFileLayerPrefix"])
        self.assertEqual(result["model"]["custom"]["filePrefix"], "tamsel/prefix")
        self.assertLogsInOrder([("Debug", "tamsel custom"), ("Debug", "tamsel custom tamsel/prefix")])
        self.assertEqual(result["model"]["envVars"], ["MAYA_VERSION=2020"])

    def test_quorin_adds_one_environment_entry(self):
        self.install_customisation()
        analyzer, result = self.analyse(Customz=4, env=["A=1", "B=2"])
        self.assertEqual(result["model"]["envVars"], ["A=1", "B=2", "PELKCUS=4"])
        self.assertEqual(analyzer.env, ["A=1", "B=2", "PELKCUS=4"])
        self.assertEqual(result["model"]["custom"]["filePrefix"], "shots/a")
        self.assertLogsInOrder([("Debug", "PELKCUS 4 custom"), ("Debug", "Quorin add env:PELKCUS=4"),
                                ("Debug", "Quorin custom shots/a")])

    def test_other_numbers_change_nothing(self):
        for number in (0, 1, 3, 5):
            self.reset()
            calls = self.install_customisation()
            _, result = self.analyse(Customz=number)
            self.assertEqual(calls, [])
            self.assertEqual(result["model"]["envVars"], ["MAYA_VERSION=2020"])
            self.assertEqual(result["model"]["custom"]["filePrefix"], "shots/a")

    def test_a_missing_customisation_module_ends_the_analysis(self):
        for number in (2, 4):
            self.reset()
            analyzer = self.analyzer(Customz=number)
            self.assertRaises(ImportError, analyzer.AnlyzerSenceFile)


if __name__ == "__main__":
    unittest.main()
