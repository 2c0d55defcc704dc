"""A lighting shot whose set, props and character are references, analysed end to end as a farm
node would: the project copied elsewhere, the artists' roots mapped with --dirmap. The shot holds
nested, deferred, missing, cyclic and corrupt references, `//` project markers, a Windows path in
another letter case and a $VAR path (offline/fixtures/references)."""
import json
import os
import shutil

import pytest

from e2e import run

from cli import paths

FIXTURE = os.path.join(paths.OFFLINE_ROOT, "fixtures", "references")

pytestmark = pytest.mark.usefixtures("built")


@pytest.fixture
def shot(tmp_path):
    project = tmp_path / "show"
    shutil.copytree(FIXTURE, str(project))
    env = dict(os.environ, SHOW_PROPS=str(project / "scenes" / "props"))
    result, log = tmp_path / "result.json", tmp_path / "run.log"
    code, out, err = run([str(project / "scenes" / "shot010_lighting.ma"), "--dirmap", "C:/Users/kim/show",
                          str(project), "--result", str(result), "--log", str(log)], env=env)
    return code, out, err, json.loads(result.read_text()), log.read_text(), str(project)


def test_every_reference_is_placed_and_the_result_is_complete(shot):
    code, out, err, result, log, project = shot
    assert code == 1 and result["status"] == 1, err
    scenes = project + "/scenes/"
    expected = [
        "References (11: 6 loaded, 2 deferred, 1 missing, 2 failed)",
        "  loaded    set           %ssets/diner.ma" % scenes,
        "  loaded      set:chair   %sprops/chair.ma" % scenes,
        "  deferred    set:stool   %sprops/stool.ma" % scenes,
        "  loaded    hero          %schars/Hero.ma" % scenes,
        "  loaded    lamp          %sprops/lamp.ma" % scenes,
        "  deferred  fx            %sfx/smoke.ma" % scenes,
        "  missing   gone          C:/Users/kim/show//scenes/props/gone.ma",
        "  loaded    loop          %sloop/loop_a.ma" % scenes,
        "  loaded      loop:b      %sloop/loop_b.ma" % scenes,
        "  failed        loop:b:a  %sloop/loop_a.ma  (reference cycle: %sshot010_lighting.ma -> %sloop/loop_a.ma"
        " -> %sloop/loop_b.ma -> %sloop/loop_a.ma)" % (scenes, scenes, scenes, scenes, scenes),
        "Warning  2 deferred references will not render: set:stool, fx",
    ]
    for line in expected:
        assert line + "\n" in out, line
    assert "  failed    broken        %sbroken/truncated.ma  (cannot be read: " % scenes in out
    # the loaded references and every texture they use are files of the result, under their
    # on-disk names (the chair's texture as the shot's edit repaths it); nothing of a deferred
    # reference is; the missing reference is a missing file
    images = project + "/sourceimages/"
    assert sorted(result["files"]) == sorted(
        [scenes + n for n in ("broken/truncated.ma", "chars/Hero.ma", "loop/loop_a.ma", "loop/loop_b.ma",
                              "props/chair.ma", "props/lamp.ma", "sets/diner.ma")] +
        [images + n for n in ("chair_oak.png", "diner_walls.png", "hero_skin.png", "lamp.png", "shot_matte.png")])
    assert [m["code"] for m in result["msg"]] == [10001] and "gone.ma" in result["msg"][0]["en"]


def test_the_log_says_how_each_reference_was_found_or_why_not(shot):
    code, out, err, result, log, project = shot
    scenes = project + "/scenes/"
    for words in [
        ('[Info] Reference setRN (namespace set): "C:/Users/kim/show//scenes/sets/diner.ma" found through dirmap '
         '"C:/Users/kim/show" -> "%s": %ssets/diner.ma' % (project, scenes)),
        ('[Info] Reference set:chairRN (namespace set:chair): "D:/Projects/Show/scenes/props/chair.ma" found under '
         "the project root %s: %sprops/chair.ma" % (project, scenes)),
        "found under the project root %s, letter case as on disk: %schars/Hero.ma" % (project, scenes),
        '[Warring] Reference goneRN (namespace gone): "C:/Users/kim/show//scenes/props/gone.ma" not found',
        "[Error] Reference loop:b:aRN (namespace loop:b:a): reference cycle ",
        '[Error] Reference brokenRN (namespace broken): "%sbroken/truncated.ma" cannot be read (' % scenes,
        "[Info] Reference fxRN (namespace fx): saved unloaded (deferred); its contents will not render",
        "[Info] Reference edits stored in %sshot010_lighting.ma: 1 applied (1 setAttr" % scenes,
    ]:
        assert words in log, words
