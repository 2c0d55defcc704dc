"""Malformed answers from the host and the service: every analysis ends with a result or a Python
exception, never with a crash of the interpreter (run under the sanitizers too)."""
import os
import random
import unittest

import support
import scenario  # noqa: E402  (support puts the doubles on the path)

ODD_VALUES = [None, 0, 1, 2, -1, 2 ** 70, 1.5, True, "", "x", u"\u6e32\u67d3", b"\xff\xfe", [], ["a", None],
              {}, {"part": None}, ("t",), object(), ValueError("boom"), "../" * 50, "a" * 5000]

PATH_LIKE = [value for value in ODD_VALUES if isinstance(value, (type(u""), bytes, str))]


class RobustnessTest(support.AnalyzerTestCase):
    def odd(self, generator):
        return generator.choice(ODD_VALUES)

    def random_world(self, generator):
        world = self.world
        layer = {"part": self.odd(generator), "cameras": self.odd(generator),
                 "layerFilePrefix": self.odd(generator), "ext": self.odd(generator)}
        world.layers = generator.choice([[], [layer], [layer, dict(layer, ext="exr")]])
        world.scene_name = self.odd(generator)
        world.existing_scenes = set([world.scene_name]) if isinstance(world.scene_name, str) else set()
        world.nodes = {"camera": [self.odd(generator)], "script": [self.odd(generator)],
                       "aiAOV": [self.odd(generator)], "xgmPalette": [self.odd(generator)]}
        for path in ("defaultRenderGlobals.currentRenderer", "defaultArnoldRenderOptions.denoiseBeauty",
                     "vraySettings.productionEngine"):
            world.attributes[path] = generator.choice(ODD_VALUES + ["arnold", "vray", "redshift"])
        world.env_list = generator.choice([[], ["A=1"], ["A=1", None]])
        files = [generator.choice(PATH_LIKE) for _ in range(3)] + [self.folder, os.path.join(self.folder, "x")]
        world.asset_groups = {"getAssets": scenario.AssetGroup(files, [generator.choice(PATH_LIKE)]),
                              "getArnoldAssets": generator.choice([scenario.AssetGroup(), IOError("gone")])}
        world.ini = generator.choice([None, [{"SKIPPATH": self.odd(generator)}], [{}], ["x"], ValueError("no")])
        world.evaluation = self.odd(generator)
        world.palettes = [self.odd(generator)]
        world.existing_plugins = set(["xgenToolkit"]) if generator.random() < .5 else set()
        os.environ["MachineType"] = generator.choice(["startCpu", "startGpu", "UnKnown", ""])
        os.environ["PELKCUS"] = generator.choice(["0", "1", "3", "x"])
        os.environ["pelk_Plugins"] = generator.choice(["vray|3.60.04", "||", "vray", "vray|x||vray|3.1", ""])
        os.environ["pelk_Machine"] = generator.choice(["cpu_32c", "cpu", "_c", "a_99999999999999999999c"])

    def test_random_malformed_worlds_end_with_a_result_or_an_exception(self):
        generator = random.Random(20261209)
        results = failures = 0
        for _ in range(300):
            self.world = scenario.reset()
            self.random_world(generator)
            try:
                analyzer = self.construct(generator.choice([0, 1]))
                if hasattr(analyzer, "finalResult"):
                    self.assertIsInstance(analyzer.finalResult, str)
                    results += 1
            except Exception:
                failures += 1
        # Both ways out are taken: the worlds are odd enough to fail some steps, not all.
        self.assertGreater(results, 0)
        self.assertGreater(failures, 0)


if __name__ == "__main__":
    unittest.main()
