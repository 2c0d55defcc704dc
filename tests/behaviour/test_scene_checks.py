"""The scene checks, and the order in which construction runs the scene and render-setup steps."""
import json
import unittest

from operation_support import OperationTestCase
import vanalyzer

SCENE = "/projects/shot/scene.ma"
START = ("Info", "Start Check Scene File is available")
FINISH = ("Info", "Scene Check Finish.")
MASTER_LAYER_ERROR = ("Warring", "Convert to MasterLayer Error")
STOPPED_BY_MACHINE = [("Info", "check renderer machine state wrong")] * 2
LAYER = {"part": "masterLayer", "cameras": ["persp"], "layerFilePrefix": "", "ext": "exr"}


def layer(name, cameras=("persp",)):
    return {"part": name, "cameras": list(cameras), "layerFilePrefix": "", "ext": "exr"}


def machine_lines(machine, status, code):
    # The verdict as the analyzer builds it: "status" first, then "errCode".
    verdict = {}
    verdict["status"] = status
    verdict["errCode"] = code
    return [("Info", "Starting Check MachineType, Current MachineType is %s" % machine),
            ("Info", "machineType info : %s" % (verdict,))]


class Verdict(vanalyzer.Maya_Analyzer):
    """Answers getMachineInfo and isDefaultRenderLayer from class attributes, counting the calls."""
    verdict = {"status": 0, "errCode": ""}
    switched = True

    def getMachineInfo(self):
        self.asked = getattr(self, "asked", []) + ["getMachineInfo"]
        return dict(self.verdict)

    def isDefaultRenderLayer(self):
        self.asked = getattr(self, "asked", []) + ["isDefaultRenderLayer"]
        return self.switched


class SceneChecks(OperationTestCase):

    def check(self, cls=None, scripts=None, **attributes):
        attributes.setdefault("LayersInfo", [LAYER])
        attributes.setdefault("errorCodes", [])
        attributes.setdefault("asked", [])
        analyzer = self.analyzer(cls, **attributes)
        for name, text in (scripts or []):
            self.world.nodes.setdefault("script", []).append(name)
            self.world.attributes[name + ".b"] = text
        return analyzer, analyzer.checkScene()

    def assertOutcome(self, analyzer, result, expected_result, status, codes, lines):
        self.assertIs(result, expected_result)
        self.assertEqual(analyzer.status, status)
        self.assertEqual(analyzer.errorCodes, codes)
        self.assertEqual(self.logs(), lines)

    def test_scene_file(self):
        # (sceneName, whether the host is asked)
        for name, asked in (("/projects/missing.ma", True), (None, False), ("", False)):
            analyzer, result = self.check(sceneName=name)
            self.assertOutcome(analyzer, result, False, 2, [10002],
                               [START, ("Error", "Failed to find sence file: %s Scene file not found" % (name,))])
            self.assertEqual(self.world.calls("py.file"),
                             [("py.file", (name,), {"q": 1, "ex": 1})] if asked else [])
            self.assertEqual(self.world.calls("py.ls"), [])

    def test_no_layers_stop_before_any_other_check(self):
        analyzer, result = self.check(sceneName=SCENE, LayersInfo=[], MachineType="startCpu")
        self.assertOutcome(analyzer, result, False, 2, [10003], [START, ("Error", "Cannot Find Any LayerInfo")])
        self.assertEqual(self.world.calls("py.ls"), [])
        self.assertEqual(self.world.calls("py.editRenderLayerGlobals"), [])

    def test_layers_without_a_camera(self):
        # (layers, Customz, expected result, status, codes, Error line or None)
        cases = [
            ([layer("masterLayer", ())], 0, False, 2, [10011], "Layers: ['masterLayer'] has not set camera"),
            ([layer("a", ()), layer("b"), layer("c", ())], 0, False, 2, [10011],
             "Layers: ['a', 'c'] has not set camera"),
            ([layer("masterLayer", ())], 1, True, 0, [], None),
            ([layer("masterLayer", ())], 2, False, 2, [10011], "Layers: ['masterLayer'] has not set camera"),
            ([layer("a"), layer("b")], 0, True, 0, [], None),
        ]
        for layers, customisation, expected, status, codes, error in cases:
            analyzer, result = self.check(sceneName=SCENE, LayersInfo=layers, Customz=customisation)
            lines = [START] + ([("Error", error)] if error else [FINISH])
            self.assertOutcome(analyzer, result, expected, status, codes, lines)

    def test_layer_records_without_their_keys_raise(self):
        for record in ({"part": "a"}, {"cameras": []}):
            analyzer = self.analyzer(sceneName=SCENE, LayersInfo=[record], errorCodes=[])
            self.assertRaises(KeyError, analyzer.checkScene)

    def test_malicious_scripts(self):
        virus = "python(\"import base64\"); // PuTianTongQing"
        cases = [
            ([("clean", "print 1")], None),
            ([("virus", virus)], virus),
            ([("virus", "proc DaXunHuan(){}")], "proc DaXunHuan(){}"),
            ([("clean", "print 1"), ("virus", virus), ("second", "daxunhuan")], virus),
            # Unreadable or non-text scripts are passed over, never hiding a later one.
            ([("broken", RuntimeError("no .b")), ("virus", virus)], virus),
            ([("number", 5), ("nothing", None), ("virus", virus)], virus),
            ([("broken", ValueError("gone"))], None),
        ]
        for scripts, found in cases:
            analyzer, result = self.check(sceneName=SCENE, scripts=scripts)
            if found is None:
                self.assertOutcome(analyzer, result, True, 0, [], [START, FINISH])
                read = [name for name, _ in scripts]
            else:
                self.assertOutcome(analyzer, result, False, 2, [10019],
                                   [START, ("Error", "%s: has PuTianTongQing" % found)])
                read = [name for name, _ in scripts][:[text for _, text in scripts].index(found) + 1]
                self.assertEqual(self.world.calls("py.editRenderLayerGlobals"), [])
            self.assertEqual([args for _, args, _ in self.world.calls("py.getAttr")], [(n + ".b",) for n in read])

    def test_a_failing_script_listing_reaches_the_caller(self):
        analyzer = self.analyzer(sceneName=SCENE, LayersInfo=[LAYER], errorCodes=[])
        self.world.failures["ls"] = RuntimeError("ls failed")
        self.assertRaises(RuntimeError, analyzer.checkScene)

    def test_machine_kind(self):
        # (MachineType, verdict, expected result, status, codes, lines after START)
        cases = [
            ("startGpu", {"status": 0, "errCode": ""}, True, 0, [], [("Info", "Starting Check MachineType, "
                                                                       "Current MachineType is startGpu"), FINISH]),
            ("startGpu", {"status": 1, "errCode": 10005}, True, 1, [10005],
             machine_lines("startGpu", 1, 10005) + [FINISH]),
            ("startCpu", {"status": 2, "errCode": 10009}, False, 2, [10009],
             machine_lines("startCpu", 2, 10009) + STOPPED_BY_MACHINE),
            ("startCpu", {"status": 2, "errCode": ""}, True, 2, [""], machine_lines("startCpu", 2, "") + [FINISH]),
            ("other", {"status": 1, "errCode": 10007}, True, 1, [10007], machine_lines("other", 1, 10007) + [FINISH]),
        ]
        for machine, verdict, expected, status, codes, lines in cases:
            Verdict.verdict = verdict
            analyzer, result = self.check(Verdict, sceneName=SCENE, MachineType=machine)
            self.assertOutcome(analyzer, result, expected, status, codes, [START] + lines)
            self.assertEqual(analyzer.asked, ["getMachineInfo"] + (["isDefaultRenderLayer"] if expected else []))

    def test_a_warning_verdict_keeps_an_earlier_error(self):
        Verdict.verdict = {"status": 1, "errCode": 10005}
        analyzer, result = self.check(Verdict, sceneName=SCENE, MachineType="startGpu", status=2)
        self.assertOutcome(analyzer, result, True, 2, [10005], [START] + machine_lines("startGpu", 1, 10005) + [FINISH])

    def test_an_unknown_machine_skips_the_machine_check(self):
        Verdict.verdict = {"status": 2, "errCode": 10009}
        analyzer, result = self.check(Verdict, sceneName=SCENE, MachineType="UnKnown")
        self.assertOutcome(analyzer, result, True, 0, [], [START, FINISH])
        self.assertEqual(analyzer.asked, ["isDefaultRenderLayer"])

    def test_the_verdict_of_the_real_machine_check(self):
        analyzer = self.analyzer(sceneName=SCENE, LayersInfo=[LAYER], errorCodes=[], MachineType="startCpu")
        self.world.attributes["defaultRenderGlobals.currentRenderer"] = "redshift"
        self.assertIs(analyzer.checkScene(), False)
        self.assertEqual((analyzer.status, analyzer.errorCodes), (2, [10009]))
        self.assertEqual(self.logs(), [START, ("Info", "Starting Check MachineType, Current MachineType is startCpu"),
                                       ("Debug", "current Renderer Name is redshift")]
                         + machine_lines("startCpu", 2, 10009)[1:] + STOPPED_BY_MACHINE)

    def test_default_layer_switch(self):
        # (status before, verdict, layers, expected result, status, codes, lines after START)
        verdict_two = {"status": 2, "errCode": ""}
        cases = [
            (0, None, [LAYER], True, 1, [10010], [MASTER_LAYER_ERROR, FINISH]),
            # A status 2 is never lowered by the warning; 10010 is still recorded.
            (2, None, [LAYER], True, 2, [10010], [MASTER_LAYER_ERROR, FINISH]),
            (0, verdict_two, [LAYER], True, 2, ["", 10010],
             machine_lines("startCpu", 2, "") + [MASTER_LAYER_ERROR, FINISH]),
            (0, None, [layer("a", ())], False, 2, [10010, 10011],
             [MASTER_LAYER_ERROR, ("Error", "Layers: ['a'] has not set camera")]),
        ]
        for before, verdict, layers, expected, status, codes, lines in cases:
            Verdict.verdict = verdict or {"status": 0, "errCode": ""}
            Verdict.switched = False
            try:
                analyzer, result = self.check(Verdict, sceneName=SCENE, LayersInfo=layers, status=before,
                                              MachineType="startCpu" if verdict else "UnKnown")
            finally:
                Verdict.switched = True
            self.assertOutcome(analyzer, result, expected, status, codes, [START] + lines)

    def test_a_refused_switch_on_the_host(self):
        analyzer = self.analyzer(sceneName=SCENE, LayersInfo=[LAYER], errorCodes=[])
        self.world.failures["editRenderLayerGlobals"] = RuntimeError("locked")
        self.assertIs(analyzer.checkScene(), True)
        self.assertOutcome(analyzer, True, True, 1, [10010], [START, MASTER_LAYER_ERROR, FINISH])


class ConstructionOrder(OperationTestCase):

    def test_a_scripted_scene_runs_the_steps_in_order(self):
        self.clean_scene("redshift")
        self.set_environment(MachineType="startGpu")
        self.world.layers = [layer("masterLayer"), layer("beauty", ("shotCamShape",))]
        self.world.nodes = {"camera": ["perspShape", "shotCamShape"], "script": ["uiConfigurationScriptNode"]}
        self.world.attributes["uiConfigurationScriptNode.b"] = "// layout"
        self.world.parents = {"shotCamShape": ["|cams|shotCam"]}
        self.operating_system("Linux")
        analyzer = self.construct(0)

        steps = []
        for event in self.world.events:
            if event[0] == "call" and event[1].startswith("py."):
                steps.append((event[1],) + tuple(event[2][:1]))
            elif event[0] == "call" and event[1].startswith("vfile.GetLayersInfo"):
                steps.append((event[1],))
            elif event[0] == "log" and event[2] in ("Current system OS is: Linux", "Start Check Scene File is available",
                                                    "Scene Check Finish."):
                steps.append(event[2])
        self.assertEqual(steps[:13], [
            ("py.loadPlugin", "sceneAssembly"), ("py.loadPlugin", "gpuCache"),
            "Current system OS is: Linux",
            ("py.file",),
            ("vfile.GetLayersInfo",), ("vfile.GetLayersInfo.getLayersInfo",),
            "Start Check Scene File is available",
            ("py.file", SCENE),
            ("py.ls",),
            ("py.getAttr", "uiConfigurationScriptNode.b"),
            ("py.getAttr", "defaultRenderGlobals.currentRenderer"),
            ("py.editRenderLayerGlobals",),
            "Scene Check Finish.",
        ])
        self.assertEqual(steps[13:16], [("py.ls",), ("py.listRelatives", "perspShape"),
                                        ("py.listRelatives", "shotCamShape")])
        self.assertEqual(analyzer.platform, "Linux")
        self.assertEqual(analyzer.status, 0)
        model = json.loads(analyzer.finalResult)["model"]
        self.assertEqual(model["scenePath"], SCENE)
        self.assertEqual(model["parts"], self.world.layers)
        self.assertEqual(model["allCameras"], ["|perspShape_parent", "|cams|shotCam"])


if __name__ == "__main__":
    unittest.main()
