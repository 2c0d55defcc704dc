"""The machine-kind verdict from the scene's renderer, Arnold's denoisers and VRay's engine."""
import unittest

from operation_support import OperationTestCase

RENDERER = "defaultRenderGlobals.currentRenderer"
BEAUTY = "defaultArnoldRenderOptions.denoiseBeauty"
ENGINE = "vraySettings.productionEngine"
CPU, GPU = "startCpu", "startGpu"


def aov(name, denoise):
    """Attributes of one Arnold AOV node named aiAOV_<name>."""
    return {"aiAOV_%s.denoise" % name: denoise, "aiAOV_%s.name" % name: name}


def aovs(*switches, **attributes):
    """Attributes of AOV nodes given as (name, switch) pairs, plus any others."""
    for name, denoise in switches:
        attributes.update(aov(name, denoise))
    return attributes


def verdict(status=0, code=""):
    return {"status": status, "errCode": code}


class MachineVerdicts(OperationTestCase):

    def decide(self, renderer, machine, attributes=None, aov_names=()):
        analyzer = self.analyzer(MachineType=machine)
        self.world.attributes = {RENDERER: renderer} if renderer is not None else {}
        self.world.attributes.update(attributes or {})
        self.world.nodes["aiAOV"] = ["aiAOV_" + name for name in aov_names]
        record = analyzer.getMachineInfo()
        self.assertEqual(type(record), dict)
        self.assertEqual(self.logs()[0], ("Debug", "current Renderer Name is %s" % (renderer,)))
        return record, self.logs()[1:]

    def check(self, cases):
        for case in cases:
            renderer, machine, attributes, aov_names, expected, lines = case
            record, logged = self.decide(renderer, machine, attributes, aov_names)
            self.assertEqual(record, expected, case)
            self.assertEqual(type(record["status"]), int, case)
            self.assertEqual(logged, lines, case)

    def test_cpu_only_and_gpu_only_renderers(self):
        cases = []
        for name in ("mayaSoftware", "mayaHardware", "mayaHardware2", "mayaVector", "turtle", "renderMan",
                     "mentalRay"):
            cases += [(name, CPU, {}, (), verdict(), []),
                      (name, GPU, {}, (), verdict(1, 10005), []),
                      (name, "UnKnown", {}, (), verdict(1, 10005), []),
                      (name, "gpu", {}, (), verdict(1, 10005), [])]
        cases += [("redshift", CPU, {}, (), verdict(2, 10009), []),
                  ("redshift", GPU, {}, (), verdict(), []),
                  ("redshift", "startcpu", {}, (), verdict(), [])]
        self.check(cases)

    def test_renderers_outside_every_class_get_no_verdict(self):
        self.check([(name, machine, {}, (), verdict(), [])
                    for name in ("Arnold", "VRay", "Redshift", "mayasoftware", "cycles", "", 5)
                    for machine in (CPU, GPU)])

    def test_an_unreadable_renderer_counts_as_none(self):
        for machine in (CPU, GPU):
            analyzer = self.analyzer(MachineType=machine)
            self.world.attributes = {}
            self.assertEqual(analyzer.getMachineInfo(), verdict())
            self.assertEqual(self.logs(), [("Error", "Get Renderer Has Except."),
                                           ("Debug", "current Renderer Name is ")])

    def test_arnold(self):
        aov_line = "arnold AOVs :%s has optix."
        cases = [
            # Beauty denoiser only.
            ("arnold", CPU, {BEAUTY: True}, (), verdict(2, 10004), []),
            ("arnold", CPU, {BEAUTY: 1}, (), verdict(2, 10004), []),
            ("arnold", GPU, {BEAUTY: True}, (), verdict(), []),
            ("arnold", GPU, {BEAUTY: False}, (), verdict(1, 10005), []),
            ("arnold", CPU, {BEAUTY: False}, (), verdict(), []),
            ("arnold", "other", {BEAUTY: False}, (), verdict(), []),
            # An unreadable switch counts as off.
            ("arnold", GPU, {}, (), verdict(1, 10005), [("Warring", "Cannot get optix denosier.")]),
            ("arnold", CPU, {}, (), verdict(), [("Warring", "Cannot get optix denosier.")]),
            # A denoised AOV overrides the beauty verdict.
            ("arnold", CPU, aovs(("diffuse", True), **{BEAUTY: True}), ["diffuse"], verdict(2, 10006),
             [("Info", aov_line % "diffuse,")]),
            ("arnold", GPU, aovs(("diffuse", True), **{BEAUTY: False}), ["diffuse"], verdict(1, 10007), []),
            ("arnold", GPU, aovs(("diffuse", True), **{BEAUTY: True}), ["diffuse"], verdict(1, 10007), []),
            ("arnold", "other", aovs(("diffuse", True), **{BEAUTY: True}), ["diffuse"], verdict(1, 10007), []),
            ("arnold", CPU, aovs(("diffuse", True), ("specular", 1), **{BEAUTY: False}), ["diffuse", "specular"],
             verdict(2, 10006), [("Info", aov_line % "diffuse,specular,")]),
            # Only a switch equal to true counts.
            ("arnold", CPU, aovs(("diffuse", 2), ("specular", 1.0), **{BEAUTY: False}), ["diffuse", "specular"],
             verdict(2, 10006), [("Info", aov_line % "specular,")]),
            ("arnold", CPU, aovs(("diffuse", 2), ("specular", False), **{BEAUTY: False}), ["diffuse", "specular"],
             verdict(), []),
            ("arnold", GPU, aovs(("diffuse", "on"), **{BEAUTY: False}), ["diffuse"], verdict(1, 10005), []),
        ]
        self.check(cases)

    def test_an_unreadable_aov_is_passed_over(self):
        attributes = aovs(("diffuse", True), ("specular", True), ("gone", RuntimeError("node deleted")))
        attributes["aiAOV_specular.name"] = RuntimeError("no name")
        record, logged = self.decide("arnold", CPU, attributes, ["gone", "specular", "diffuse"])
        self.assertEqual(record, verdict(2, 10006))
        self.assertEqual(logged, [("Warring", "Cannot get optix denosier."),
                                  ("Info", "arnold AOVs :diffuse, has optix.")])

    def test_a_failing_aov_listing_reaches_the_caller(self):
        analyzer = self.analyzer(MachineType=CPU)
        self.world.attributes = {RENDERER: "arnold", BEAUTY: False}
        self.world.failures["ls"] = RuntimeError("ls failed")
        self.assertRaises(RuntimeError, analyzer.getMachineInfo)

    def test_vray(self):
        engine_line = "vray render engine %s"
        cases = [
            ("vray", CPU, {ENGINE: 1}, (), verdict(2, 10008), [("Info", engine_line % "OpenCL")]),
            ("vray", CPU, {ENGINE: 2}, (), verdict(2, 10008), [("Info", engine_line % "CUDA")]),
            ("vray", CPU, {ENGINE: True}, (), verdict(2, 10008), [("Info", engine_line % "OpenCL")]),
            ("vray", CPU, {ENGINE: 2.0}, (), verdict(2, 10008), [("Info", engine_line % "CUDA")]),
            # An engine without a name is shown by its number and still gets its code.
            ("vray", CPU, {ENGINE: 3}, (), verdict(2, 10008), [("Info", engine_line % "3")]),
            ("vray", CPU, {ENGINE: -1}, (), verdict(2, 10008), [("Info", engine_line % "-1")]),
            ("vray", GPU, {ENGINE: 1}, (), verdict(), []),
            ("vray", GPU, {ENGINE: 2}, (), verdict(), []),
            ("vray", GPU, {ENGINE: 7}, (), verdict(), []),
            ("vray", GPU, {ENGINE: 0}, (), verdict(1, 10005), []),
            ("vray", CPU, {ENGINE: 0}, (), verdict(), []),
            ("vray", "other", {ENGINE: 0}, (), verdict(), []),
            ("vray", "other", {ENGINE: 2}, (), verdict(), []),
            # Unreadable VRay settings end the step silently.
            ("vray", CPU, {}, (), verdict(), []),
            ("vray", GPU, {ENGINE: RuntimeError("no vraySettings")}, (), verdict(), []),
        ]
        self.check(cases)


if __name__ == "__main__":
    unittest.main()
