"""One scene, one result: every example scene analysed by the 2.7 binary and by the
stable-ABI binary under the oldest and newest 3.x and Debian's Python 3 gives the
same result and the same asset manifest."""
import glob
import os

import pytest

from e2e import EXAMPLES, analyse, comparable, interpreter

# the reference interpreter first
INTERPRETERS = ["/usr/bin/python3", "2.7", "3.7", "3.13"]
SCENES = sorted(glob.glob(os.path.join(EXAMPLES, "**", "*.ma"), recursive=True))
CONFIG = os.path.join(EXAMPLES, "config", "service.ini")

pytestmark = pytest.mark.usefixtures("built")


def test_the_example_scenes_are_found():
    assert os.path.join(EXAMPLES, "project", "scenes", "shot010.ma") in SCENES


@pytest.mark.parametrize("machine", ["startCpu", "startGpu"])
@pytest.mark.parametrize("scene", SCENES, ids=os.path.basename)
def test_every_interpreter_gives_the_same_result(scene, machine, tmp_path):
    seen = []
    for index, version in enumerate(INTERPRETERS):
        python = interpreter(version)
        assets = tmp_path / ("assets-%d.txt" % index)
        code, result, err = analyse(scene, "--machine-type", machine, "--config", CONFIG, "--python", python,
                                    "--assets", str(assets))
        assert result is not None, "%s: %s" % (version, err)
        manifest = sorted(assets.read_text(encoding="utf-8").splitlines()) if assets.exists() else []
        seen.append((version, code, comparable(result), manifest))
    reference = seen[0]
    assert reference[2]["files"] == reference[3]  # the manifest records exactly the result's files
    for other in seen[1:]:
        assert other[1:] == reference[1:], "%s differs from %s" % (other[0], reference[0])
