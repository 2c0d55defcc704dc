"""The main job end to end: the built module, the maya.cmds stand-in, the service
modules and the catalogue together, over the example project.

These need the build and the catalogue; outside CI a missing piece skips them,
under CI (CI=true) it fails them.
"""
import os
import re

import pytest

from cli.host_run import HostLines
from cli.scene_record import human_size
from cli.summary import format_summary
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
    # the files' size as the analyzer accounted it, each file sized once
    files = re.findall(r"^  (/.*)$", out.split("Files (", 1)[1].split("Missing files", 1)[0], re.M)
    assert "Files (%d, %s)" % (len(files), human_size(sum(os.path.getsize(f) for f in files))) in out


def test_the_summary_takes_the_analyzers_total_only_for_the_files_it_counted(tmp_path):
    lines = HostLines()
    lines.take("2026-12-10 10:00:00.000 [Info] pelk-fileInfo-total:::>fileCount: 2, fileSize: 3000")
    assert lines.accounted == (2, 3000)
    files = [str(tmp_path / name) for name in ("a", "b")]
    for path in files:
        with open(path, "wb") as handle:
            handle.write(b"x" * 1024)
    result = {"status": 0, "files": files}
    assert "Files (2, %s)" % human_size(3000) in format_summary(result, [], None, lines.accounted)
    # another count: the analyzer's total is not for these files, which are sized here
    assert "Files (2, %s)" % human_size(2048) in format_summary(result, [], None, (3, 3000))
    assert "Files (2, %s)" % human_size(2048) in format_summary(result, [], None, None)


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
