"""The main job end to end: the built module, the maya.cmds stand-in, the service
modules and the catalogue together, over the example project.

These need the build and the catalogue; outside CI a missing piece skips them,
under CI (CI=true) it fails them.
"""
import os

import pytest

from e2e import EXAMPLES, analyse, run

SCENES = os.path.join(EXAMPLES, "project", "scenes")
IMAGES = os.path.join(EXAMPLES, "project", "sourceimages")

pytestmark = pytest.mark.usefixtures("built")


def image(name):
    return os.path.join(IMAGES, name)


def test_example_shot():
    code, result, err = analyse(os.path.join(SCENES, "shot010.ma"), "--machine-type", "startCpu",
                                "--config", os.path.join(EXAMPLES, "config", "service.ini"))
    assert code == 1, err
    assert result["status"] == 1
    assert [m["code"] for m in result["msg"]] == [10001]
    # the library texture is under a configured skip path
    assert sorted(result["files"]) == [image(n) for n in ("cloth.1002.png", "skin.1001.png", "skin.1002.png", "wood.png")]
    model = result["model"]
    assert [(p["part"], p["cameras"], p["layerFilePrefix"], p["ext"]) for p in model["parts"]] == [
        ("masterLayer", ["|shotCam"], "<Scene>/<RenderLayer>/<RenderLayer>", "exr"),
        ("closeup", ["|closeupCam"], "<Scene>/closeup/<RenderLayer>", "exr"),
    ]
    assert model["scenePath"] == os.path.join(SCENES, "shot010.ma")
    assert model["ext"] == "exr" and model["custom"]["filePrefix"] == ""
    assert model["custom"]["melString"] == 'evaluationManager -mode "parallel";'
    for missing in ("metal.png", "cloth.1001.png"):
        assert image(missing) in result["msg"][0]["en"]


def test_example_shot_summary_without_skip_paths():
    code, out, err = run([os.path.join(SCENES, "shot010.ma")])
    assert code == 1, err
    assert image("library/grid.png") in out
    assert "Missing files (2)\n  %s\n  %s" % (image("cloth.1001.png"), image("metal.png")) in out


@pytest.mark.parametrize("machine, status, codes, files", [
    ("startCpu", 2, [10009], []),
    ("startGpu", 0, [], [image("studio.hdr")]),
])
def test_example_redshift_lookdev(machine, status, codes, files):
    code, result, err = analyse(os.path.join(SCENES, "lookdev_redshift.ma"), "--machine-type", machine)
    assert (code, result["status"]) == (status, status), err
    assert [m["code"] for m in result["msg"]] == codes
    assert result["files"] == files
    assert result["model"]["ext"] == "" and result["model"]["parts"][0]["ext"] == "png"
