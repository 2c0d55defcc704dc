"""The client's directory mappings and project (--dirmap, --project, the configuration's [dirmap])
reach the host in order and are applied before the scene opens; the host's messages reach the log;
the summary shows the references."""
import json

import pytest

from cli import main
from cli.reference_summary import format_references
import fake_host

RESULT = {"status": 0, "msg": [], "files": [], "model": {"parts": [], "allCameras": []}}


@pytest.fixture
def run(tmp_path, monkeypatch, capsys):
    build = tmp_path / "build"
    fake_host.install(str(build))
    catalogue = tmp_path / "VANTORCODE"
    catalogue.write_text("[]")
    monkeypatch.setattr(main, "CATALOGUE", str(catalogue))
    scene = tmp_path / "shot.ma"
    scene.write_text("//Maya ASCII 2024 scene\n")
    calls = tmp_path / "calls.jsonl"
    monkeypatch.setenv("FAKE_CALLS", str(calls))
    monkeypatch.setenv("FAKE_RESULT", json.dumps(RESULT))

    def invoke(*args, **env):
        for name, value in env.items():
            monkeypatch.setenv(name, value)
        code = main.main([str(scene), "--build-dir", str(build)] + list(args))
        out, err = capsys.readouterr()
        recorded = [json.loads(line) for line in calls.read_text().splitlines()] if calls.exists() else []
        return code, out, err, recorded

    invoke.tmp = tmp_path
    invoke.scene = scene
    return invoke


def test_mappings_and_project_are_set_before_the_scene_opens(run):
    config = run.tmp / "service.ini"
    config.write_text("[Customzation]\nSKIPPATH = /lib/\n[dirmap]\n"
                      "kim = C:/Users/kim/show | /srv/show\nlib = //nas/lib|/srv/lib\n")
    project = run.tmp / "show"
    project.mkdir()
    code, out, err, calls = run("--dirmap", "D:/Projects/Show", "/srv/show", "--dirmap", "E:/x y", "/srv/x y",
                                "--config", str(config), "--project", str(project))
    assert code == 0, err
    assert calls == [
        ["dirmap", {"enable": True}],
        ["dirmap", {"mapDirectory": ["D:/Projects/Show", "/srv/show"]}],
        ["dirmap", {"mapDirectory": ["E:/x y", "/srv/x y"]}],
        ["dirmap", {"mapDirectory": ["C:/Users/kim/show", "/srv/show"]}],
        ["dirmap", {"mapDirectory": ["//nas/lib", "/srv/lib"]}],
        ["workspace", [str(project)], {"openWorkspace": True}],
        ["open", str(run.scene)],
    ]


def test_without_mappings_the_host_is_left_as_maya_starts(run):
    code, out, err, calls = run()
    assert code == 0, err
    assert calls == [["open", str(run.scene)]]


def test_the_hosts_messages_reach_the_log(run):
    log = run.tmp / "run.log"
    messages = [["Warning", "Reference goneRN: not found"], ["Info", "References: 1 loaded"]]
    code, out, err, calls = run("--log", str(log), FAKE_HOST_MESSAGES=json.dumps(messages))
    assert code == 0, err
    text = log.read_text()
    assert "[Warring] Reference goneRN: not found" in text and "[Info] References: 1 loaded" in text
    assert text.index("goneRN") < text.index("Pelk Loaded.")


@pytest.mark.parametrize("args, ini, reason", [
    (["--project", "NOWHERE"], None, "the project folder"),
    ([], "[dirmap]\nkim = C:/Users/kim/show\n", "must read FROM | TO"),
    ([], "[dirmap]\nkim = C:/a | /b | /c\n", "must read FROM | TO"),
    ([], "[dirmap]\nkim = C:/a | /b\nkim = C:/c | /d\n", "cannot be read"),
    ([], "no section header\n", "cannot be read"),
])
def test_broken_mappings_are_refused_before_the_host_starts(run, args, ini, reason):
    args = [str(run.tmp / a) if a == "NOWHERE" else a for a in args]
    if ini is not None:
        (run.tmp / "service.ini").write_text(ini)
        args += ["--config", str(run.tmp / "service.ini")]
    code, out, err, calls = run(*args)
    assert (code, out, calls) == (3, "", []) and reason in err, err


def test_the_summary_lists_references_and_warns_of_deferred_ones():
    section = [
        {"namespace": "set", "path": "C:/show//scenes/set.ma", "resolved": "/srv/show/scenes/set.ma", "state": "loaded",
         "reference_node": "setRN", "depth": 1, "reason": None},
        {"namespace": "set:stool", "path": "D:/p/stool.ma", "resolved": "/srv/show/scenes/stool.ma",
         "state": "deferred", "reference_node": "set:stoolRN", "depth": 2, "reason": "saved unloaded (deferred)"},
        {"namespace": "gone", "path": "C:/show//scenes/gone.ma", "resolved": None, "state": "missing",
         "reference_node": "goneRN", "depth": 1, "reason": "file not found"},
        {"namespace": "", "path": "C:/show//scenes/bad.ma", "resolved": "/srv/show/scenes/bad.ma", "state": "failed",
         "reference_node": "badRN", "depth": 1, "reason": "cannot be read: bad.ma:3:1: unexpected end of file"},
    ]
    assert format_references(section) == [
        "References (4: 1 loaded, 1 deferred, 1 missing, 1 failed)",
        "  loaded    set          /srv/show/scenes/set.ma",
        "  deferred    set:stool  /srv/show/scenes/stool.ma",
        "  missing   gone         C:/show//scenes/gone.ma",
        "  failed    :            /srv/show/scenes/bad.ma  (cannot be read: bad.ma:3:1: unexpected end of file)",
        "Warning  1 deferred reference will not render: set:stool",
    ]
    assert format_references([]) == [] and format_references(None) == []
    assert format_references({"error": "RuntimeError: boom"}) == ["References  not reported: RuntimeError: boom"]
