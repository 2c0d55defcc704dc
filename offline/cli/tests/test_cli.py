"""vanalyzer-offline as the service's client, against a fake host module."""
import io
import json
import os
import subprocess
import sys

import pytest

from cli import host_run, main, preflight
import e2e
import fake_host

HERE = os.path.dirname(os.path.abspath(__file__))
PY27 = "/root/.pyenv/versions/2.7.18/bin/python"

RESULT = {
    "status": 1, "AnalyzerVersion": "1.5.9",
    "msg": [{"code": 10001, "en": "Missing files:\r\n/proj/missing_a.png\r\n", "cn": "\u7f3a\u5c11\u6587\u4ef6"}],
    "files": ["/proj/a.png"],
    "model": {"ext": "exr", "scenePath": "SCENE", "needSplit": 0, "envVars": [], "allCameras": ["|shotCam"],
              "parts": [{"part": "masterLayer", "cameras": ["shotCam"], "layerFilePrefix": None, "ext": "exr",
                         "renderer": "arnold"}],
              "custom": {"prepare": "", "filePrefix": "", "melString": ""}},
}


@pytest.fixture
def run(tmp_path, monkeypatch, capsys):
    build = tmp_path / "build"
    fake_host.install(str(build))
    catalogue = tmp_path / "VANTORCODE"
    catalogue.write_text(json.dumps([{"code": 10001, "en": "x", "cn": "y"}]))
    monkeypatch.setattr(main, "CATALOGUE", str(catalogue))
    scene = tmp_path / "shot.ma"
    scene.write_text("//Maya ASCII 2022 scene\n")

    def invoke(*args, **env):
        for name, value in env.items():
            monkeypatch.setenv(name, value)
        code = main.main([str(scene), "--build-dir", str(build)] + list(args))
        out, err = capsys.readouterr()
        return code, out, err

    invoke.tmp = tmp_path
    invoke.scene = scene
    invoke.catalogue = catalogue
    return invoke


@pytest.mark.parametrize("status", [0, 1, 2])
def test_exit_code_follows_the_status_and_the_summary_tells_it_all(run, status):
    result = dict(RESULT, status=status)
    code, out, err = run(FAKE_RESULT=json.dumps(result))
    assert code == status
    assert ("Status   %d" % status) in out
    for expected in ("masterLayer", "cameras: shotCam", "Cameras (1)  |shotCam",
                     "Output   every layer writes exr; common prefix: none",
                     "[10001] en: Missing files:\n                /proj/missing_a.png\n", "cn: \u7f3a\u5c11\u6587\u4ef6",
                     "Scene    %s" % run.scene):
        assert expected in out
    # a scene in error has its assets skipped, so no file list is shown for it
    assets = ["Files (1, 0 B)\n  /proj/a.png", "Missing files (2)\n  /proj/missing_a.png\n  /proj/missing_b.png"]
    if status == 2:
        assert "Files    not collected (status 2)" in out and not any(part in out for part in assets)
    else:
        assert all(part in out for part in assets)


def test_json_prints_the_delivered_text_and_keeps_the_requested_files(run):
    text = json.dumps(RESULT)
    paths = {name: run.tmp / ("%s.out" % name) for name in ("result", "log", "assets")}
    (run.tmp / "result.out").write_text("stale")
    code, out, err = run("--json", "--result", str(paths["result"]), "--log", str(paths["log"]),
                         "--assets", str(paths["assets"]), FAKE_RESULT=text)
    assert code == 1
    assert out == text.replace("SCENE", str(run.scene)) + "\n"
    assert paths["result"].read_text() == out.rstrip("\n")
    assert paths["assets"].read_text() == "/proj/a.png\n"
    assert "[Info] Pelk Loaded." in paths["log"].read_text()


@pytest.mark.parametrize("python", [None, PY27])
def test_host_runs_on_both_interpreter_lines(run, python):
    if python and not os.path.exists(python):
        e2e.unavailable("no 2.7 interpreter here")
    args = ["--python", python] if python else []
    code, out, err = run("--json", *args, FAKE_RESULT=json.dumps(RESULT))
    assert code == 1 and json.loads(out)["model"]["scenePath"] == str(run.scene)


@pytest.mark.parametrize("behaviour, reason", [
    ("raise", "the analysis failed: KeyError: 'finalResult'"),
    ("return", "runMain returned without ending the host"),
])
def test_no_result_exits_3_with_the_reason_and_leaves_no_result(run, behaviour, reason):
    result = run.tmp / "r.json"
    result.write_text("stale")
    code, out, err = run("--result", str(result), FAKE_HOST=behaviour)
    assert code == 3 and out == ""
    assert reason in err
    assert not result.exists()


def test_refusals_before_the_host_starts(run):
    broken = [("[{\"code\": 10001, \"en\": \"x\"}]", "entry 0 lacks"), ("{\"code\": 1}", "not an array"),
              ("not json", "is broken")]
    for text, reason in broken:
        run.catalogue.write_text(text)
        code, out, err = run()
        assert code == 3 and reason in err and "catalogue" in err
    run.catalogue.unlink()
    assert "catalogue %s is absent" % run.catalogue in run()[2]
    run.catalogue.write_text("[]")
    cases = [
        (["--result", str(run.tmp / "nowhere" / "r.json")], "folder %s does not exist" % (run.tmp / "nowhere")),
        (["--result", str(run.tmp)], "is a folder"),
        (["--log", str(run.tmp / "nowhere" / "l.txt")], "the log path"),
        (["--python", str(run.tmp / "python9")], "cannot be run"),
        (["--python", "1.5"], "no Python 1.5"),
        (["--build-dir", str(run.tmp / "nobuild")], "build folder"),
        (["--config", str(run.tmp / "none.ini")], "configuration"),
    ]
    for args, reason in cases:
        code, out, err = run(*args)
        assert (code, out) == (3, "") and reason in err, (args, err)
    assert not (run.tmp / "nowhere").exists()


def test_unreadable_and_missing_scenes(run, capsys):
    run.scene.write_text("plain text\n")
    code, out, err = run()
    assert code == 3 and "cannot read the scene %s: not a Maya ASCII file" % run.scene in err
    code = main.main([str(run.tmp / "absent.ma")])
    assert code == 3 and "does not exist" in capsys.readouterr().err


def test_usage_errors_exit_64(capsys):
    with pytest.raises(SystemExit) as ended:
        main.main(["a.ma", "--machine-type", "startTpu"])
    assert ended.value.code == 64


def test_failure_reason_table():
    cases = [
        (["vanalyzer-offline-host: cannot read the scene x: bad"], 3, "cannot read the scene x: bad"),
        (["Traceback (most recent call last):", '  File "x", line 1', "    boom()",
          "ValueError: No object matches name: a.b"], 1, "the analysis failed: ValueError: No object matches name: a.b"),
        (["Traceback (most recent call last):", "  x", "OSError: one", "", "During handling...",
          "Traceback (most recent call last):", "  y", "RuntimeError: two"], 1, "the analysis failed: RuntimeError: two"),
        (["some output"], -9, "ended by SIGKILL without delivering a result"),
        ([], 0, "ended with code 0 without delivering a result"),
    ]
    for lines, code, reason in cases:
        assert reason in host_run.failure_reason(lines, code)


def test_interpreter_versions_resolve_to_the_newest_patch(tmp_path):
    for version in ("3.9.2", "3.9.18", "3.10.1"):
        path = tmp_path / "versions" / version / "bin" / "python"
        path.parent.mkdir(parents=True)
        path.write_text("")
    assert preflight.resolve_interpreter("3.9", str(tmp_path)) == str(tmp_path / "versions/3.9.18/bin/python")


def test_launcher_runs_from_anywhere(tmp_path):
    launcher = os.path.join(HERE, "..", "..", "..", "bin", "vanalyzer-offline")
    done = subprocess.run([sys.executable, launcher, str(tmp_path / "x.ma")], cwd=str(tmp_path),
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    assert done.returncode == 3 and b"does not exist" in done.stderr


@pytest.mark.parametrize("delivered", [b'{"status": 0}', b'{"status": 0}\n', u'{"a": "\u00e9"}'.encode("utf-8")])
def test_delivered_bytes_are_written_as_they_are_with_one_line_end(delivered, monkeypatch, capsysbinary):
    main._write_delivered(delivered)
    assert capsysbinary.readouterr().out == delivered.rstrip(b"\n") + b"\n"
    # a text stream with no bytes beneath it (an embedding's) gets the same text
    text = io.StringIO()
    monkeypatch.setattr(sys, "stdout", text)
    main._write_delivered(delivered)
    assert text.getvalue() == delivered.decode("utf-8").rstrip("\n") + "\n"
