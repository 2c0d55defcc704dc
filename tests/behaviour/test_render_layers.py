"""Render layers, the default layer switch, the scene's cameras and the output prefix."""
import unittest

from operation_support import OperationTestCase
import vfile

START = ("Info", "Start to Get Layer Info.")
FINISH = ("Info", "Get Layer Info Finish.")
LAYER_A = {"part": "a", "cameras": ["cam1"], "layerFilePrefix": "shots/a", "ext": "exr", "extra": 1}
LAYER_B = {"part": "b", "cameras": [], "layerFilePrefix": "shots/b", "ext": "png"}


class LayerRecords(OperationTestCase):

    def test_collects_the_records_in_collector_order(self):
        analyzer = self.analyzer()
        self.world.layers = [LAYER_A, LAYER_B]
        self.assertEqual(analyzer.getLayersInfo(), [LAYER_A, LAYER_B])
        self.assertEqual(self.logs(), [START, FINISH])
        collected = self.world.calls("vfile.GetLayersInfo.getLayersInfo")
        self.assertEqual(len(collected), 1)
        self.assertEqual(len(collected[0][1]), 1)

    def test_records_appended_before_a_failure_stay(self):
        for layers in ([], [LAYER_A, LAYER_B]):
            analyzer = self.analyzer()
            self.world.layers = layers
            self.world.layer_failure = RuntimeError("render setup is broken")
            self.assertEqual(analyzer.getLayersInfo(), layers)
            self.assertEqual(self.logs(), [START, ("Error", "Failed To Get Layers Info: render setup is broken.")])

    def test_a_collector_that_cannot_be_made_gives_an_empty_list(self):
        analyzer = self.analyzer()
        saved = vfile.GetLayersInfo

        def broken():
            raise ImportError("no renderSetup module")
        vfile.GetLayersInfo = broken
        try:
            self.assertEqual(analyzer.getLayersInfo(), [])
        finally:
            vfile.GetLayersInfo = saved
        self.assertEqual(self.logs(), [START, ("Error", "Failed To Get Layers Info: no renderSetup module.")])

    def test_construction_stores_the_records(self):
        self.clean_scene()
        self.world.layers = [LAYER_A, LAYER_B]
        analyzer = self.construct(0)
        self.assertEqual(analyzer.LayersInfo, [LAYER_A, LAYER_B])


class DefaultLayer(OperationTestCase):

    def test_switches_to_the_default_layer(self):
        analyzer = self.analyzer()
        self.world.current_layer = "layer1"
        self.assertIs(analyzer.isDefaultRenderLayer(), True)
        self.assertEqual(self.world.calls("py.editRenderLayerGlobals"),
                         [("py.editRenderLayerGlobals", (), {"currentRenderLayer": "defaultRenderLayer"})])
        self.assertEqual(self.world.current_layer, "defaultRenderLayer")

    def test_a_refused_switch_is_false_and_silent(self):
        analyzer = self.analyzer()
        self.world.failures["editRenderLayerGlobals"] = RuntimeError("layer is locked")
        self.assertIs(analyzer.isDefaultRenderLayer(), False)
        self.assertEqual(self.logs(), [])


class Cameras(OperationTestCase):

    def test_lists_each_cameras_first_parent(self):
        # (camera shapes, parent answers, expected list, error line or None)
        cases = [
            ([], {}, [], None),
            (["perspShape", "shotCamShape"], {"shotCamShape": ["|rig|shotCam", "|other"]},
             ["|perspShape_parent", "|rig|shotCam"], None),
            (["aShape", "bShape", "cShape"], {"bShape": []}, ["|aShape_parent"],
             "Failed to Get All Cams Info: list index out of range."),
            (["aShape", "bShape"], {"bShape": RuntimeError("bShape is gone")}, ["|aShape_parent"],
             "Failed to Get All Cams Info: bShape is gone."),
        ]
        for shapes, parents, expected, error in cases:
            analyzer = self.analyzer()
            self.world.nodes["camera"] = shapes
            self.world.parents = parents
            self.assertEqual(analyzer.getAllCamInScene(), expected)
            self.assertEqual(self.logs(), [("Error", error)] if error else [])
            asked = self.world.calls("py.listRelatives")
            self.assertEqual([args for _, args, _ in asked], [(shape,) for shape in shapes[:len(expected) + bool(error)]])
            self.assertTrue(all(flags == {"p": 1, "pa": 1} for _, _, flags in asked))

    def test_a_failed_listing_gives_an_empty_list(self):
        analyzer = self.analyzer()
        self.world.failures["ls"] = RuntimeError("ls failed")
        self.assertEqual(analyzer.getAllCamInScene(), [])
        self.assertEqual(self.logs(), [("Error", "Failed to Get All Cams Info: ls failed.")])
        self.assertEqual(self.world.calls("py.ls"), [("py.ls", (), {"type": "camera"})])


class OutputPrefix(OperationTestCase):

    def test_the_first_records_prefix(self):
        for layers, prefix in (([], ""), ([LAYER_A, LAYER_B], "shots/a"), ([LAYER_B, LAYER_A], "shots/b")):
            self.assertEqual(self.analyzer(LayersInfo=layers).get_PreFix(), prefix)

    def test_a_first_record_without_prefix_raises(self):
        analyzer = self.analyzer(LayersInfo=[{"part": "a", "cameras": ["c"]}, LAYER_A])
        self.assertRaises(KeyError, analyzer.get_PreFix)


if __name__ == "__main__":
    unittest.main()
