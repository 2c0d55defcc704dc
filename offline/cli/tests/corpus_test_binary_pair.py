"""The rig of the corpus saved both as Maya ASCII and as Maya Binary (p01_…), laid out in a
project folder and analysed through the command line: the .mb gives the result the .ma gives,
on either kind of machine, and that result agrees with what the scene holds."""
import os
import shutil

import pytest

import e2e

PAIR = os.path.join(e2e.CORPUS, "mb", "p01_GenEugene_rig_BoxMan_Buzz_2019")

pytestmark = pytest.mark.usefixtures("built")


@pytest.fixture
def layout(tmp_path):
    if not os.path.isfile(PAIR + ".mb"):
        e2e.unavailable("corpus not found at %s (set VANALYZER_CORPUS)" % e2e.CORPUS)
    scenes = tmp_path / "project" / "scenes"
    scenes.mkdir(parents=True)
    (tmp_path / "project" / "workspace.mel").write_text('workspace -fr "sourceImages" "sourceimages";\n')
    copies = {}
    for extension in ("ma", "mb"):
        copies[extension] = str(scenes / ("rig." + extension))
        shutil.copyfile(PAIR + "." + extension, copies[extension])
    return copies


@pytest.mark.parametrize("machine", ["startCpu", "startGpu"])
def test_the_binary_scene_gives_the_ascii_scenes_result(layout, machine):
    results = {}
    for extension, scene in layout.items():
        code, result, err = e2e.analyse(scene, "--machine-type", machine)
        assert result is not None, err
        assert code == result["status"] and result["model"]["scenePath"] == scene, err
        result["model"]["scenePath"] = "rig"
        results[extension] = result
    assert results["mb"] == results["ma"]
    model = results["mb"]["model"]
    assert model["allCameras"] == ["|persp", "|top", "|front", "|side"]
    assert [(p["part"], p["renderer"], p["cameras"]) for p in model["parts"]] == [("masterLayer", "arnold", ["|persp"])]
    assert results["mb"]["files"] == []


def test_the_printed_summary_is_the_same(layout):
    outputs = {}
    for extension, scene in layout.items():
        code, out, err = e2e.run([scene])
        assert code in (0, 1), err
        outputs[extension] = out.replace(scene, "rig")
    assert outputs["mb"] == outputs["ma"]
    assert "renderer arnold" in outputs["mb"]
