"""Runs that cannot deliver a result, through the real launcher, host, module and stand-ins:
each ends with exit status 3, one clear reason on standard error, nothing on standard output,
and no result file (nor a temporary one) in the result's folder."""
import os
import shutil
import stat

import pytest

import e2e
from cli import paths, preflight

SHOT = os.path.join(e2e.EXAMPLES, "project", "scenes", "shot010.ma")

pytestmark = pytest.mark.usefixtures("built")


def assert_no_result(outcome, reason, result):
    code, out, err = outcome
    assert (code, out) == (paths.NO_RESULT, ""), err
    assert err.startswith("vanalyzer-offline: ") and reason in err, err
    assert "Traceback" not in err
    folder = os.path.dirname(result)
    assert not os.path.isdir(folder) or os.listdir(folder) == [], os.listdir(folder)


def _write(path, data):
    with open(path, "wb") as handle:
        handle.write(data)
    return path


@pytest.mark.parametrize("name, content, reason", [
    ("truncated.ma", b'//Maya ASCII 2022 scene\ncreateNode transform -n "a\n', "truncated.ma:2:25: unterminated string"),
    ("empty.ma", b"", "not a Maya ASCII file"),
    ("binary.mb", b"FOR4\x00\x00\x00\x40Maya\x00\xff\xfe", "binary.mb: byte 15, chunk FOR4: the file is truncated"),
    ("other.mb", b"FORM\x00\x00\x00\x04AIFF", "other.mb: byte 0, chunk FORM: an IFF file, but not a Maya scene"),
    ("noise.ma", b"\x00\x01\x02garbage", "cannot read the scene"),
    ("notes.ma", "a scene that is not one\n".encode("utf-8"), "not a Maya ASCII file"),
    ("folder.ma", None, "is not a file"),
    ("absent.ma", False, "does not exist"),
])
def test_a_scene_that_cannot_be_read(tmp_path, name, content, reason):
    scene = str(tmp_path / name)
    if content is None:
        os.mkdir(scene)
    elif content is not False:
        _write(scene, content)
    result = tmp_path / "out" / "result.json"
    result.parent.mkdir()
    outcome = e2e.run([scene, "--result", str(result)])
    assert_no_result(outcome, reason, str(result))
    assert scene in outcome[2]


def _offline_copy(root):
    """The launcher and the offline tree (host, service modules, client) without the catalogue."""
    shutil.copytree(os.path.join(e2e.REPO, "bin"), os.path.join(root, "bin"))
    for part in ("cli", "host", os.path.join("service", "modules")):
        shutil.copytree(os.path.join(paths.OFFLINE_ROOT, part), os.path.join(root, "offline", part),
                        ignore=shutil.ignore_patterns("__pycache__", "*.pyc", "tests"))
    return os.path.join(root, "bin", "vanalyzer-offline"), os.path.join(root, "offline", "VANTORCODE")


CATALOGUES = [
    (None, "the error-code catalogue %s is absent"),
    (b'[{"code": 10001, "en": "x",', "the error-code catalogue %s is broken"),
    (b'{"10001": "x"}', "the error-code catalogue %s is broken: its top level is not an array"),
    (b'[{"code": "10001", "en": "x", "cn": "y"}]', "the error-code catalogue %s is broken: entry 0"),
]


@pytest.mark.parametrize("content, reason", CATALOGUES)
def test_an_absent_or_broken_catalogue_stops_before_the_host(tmp_path, content, reason):
    launcher, catalogue = _offline_copy(str(tmp_path / "tree"))
    if content is not None:
        _write(catalogue, content)
    result = tmp_path / "out" / "result.json"
    result.parent.mkdir()
    outcome = e2e.run([SHOT, "--result", str(result), "--build-dir", preflight.build_dir(None)], launcher=launcher)
    assert_no_result(outcome, reason % catalogue, str(result))


@pytest.mark.parametrize("version", ["/usr/bin/python3", "2.7"])
@pytest.mark.parametrize("content, reason", CATALOGUES[:2])
def test_a_catalogue_lost_while_the_host_runs(tmp_path, content, reason, version):
    # the host interpreter itself takes the catalogue away, after the client's check: the module
    # must then deliver nothing, and the client must say why
    launcher, catalogue = _offline_copy(str(tmp_path / "tree"))
    shutil.copy(paths.CATALOGUE, catalogue)
    damage = "rm -f '%s'" % catalogue if content is None else "printf '%%s' '%s' > '%s'" % (
        content.decode("ascii"), catalogue)
    host = _write(str(tmp_path / "host.sh"), ("#!/bin/sh\n%s\nexec '%s' \"$@\"\n" % (
        damage, e2e.interpreter(version))).encode("utf-8"))
    os.chmod(host, stat.S_IRWXU)
    result = tmp_path / "out" / "result.json"
    result.parent.mkdir()
    outcome = e2e.run([SHOT, "--result", str(result), "--python", host, "--build-dir", preflight.build_dir(None)],
                      launcher=launcher)
    assert_no_result(outcome, reason % catalogue, str(result))


def _unwritable_cases(tmp_path):
    (tmp_path / "a-file").write_text("x")
    (tmp_path / "a-folder").mkdir()
    cases = [
        (["--result", str(tmp_path / "no-such-folder" / "r.json")], "the result path", "does not exist"),
        (["--result", str(tmp_path / "a-file" / "r.json")], "the result path", "does not exist"),
        (["--result", str(tmp_path / "a-folder")], "the result path", "is a folder"),
        (["--log", str(tmp_path / "no-such-folder" / "log.txt")], "the log path", "does not exist"),
        (["--assets", str(tmp_path / "a-folder")], "the assets path", "is a folder"),
    ]
    if os.geteuid() != 0:  # permissions bind every user but root
        locked = tmp_path / "locked"
        locked.mkdir()
        locked.chmod(stat.S_IRUSR | stat.S_IXUSR)
        cases.append((["--result", str(locked / "r.json")], "the result path", "cannot be written"))
    return cases


def test_an_unwritable_output_path_stops_before_the_host(tmp_path):
    for args, what, reason in _unwritable_cases(tmp_path):
        code, out, err = e2e.run([SHOT] + args)
        assert (code, out) == (paths.NO_RESULT, ""), args
        assert what in err and reason in err and "Traceback" not in err, (args, err)
    assert sorted(os.listdir(str(tmp_path))) == sorted(
        ["a-file", "a-folder"] + (["locked"] if os.geteuid() != 0 else []))
    assert os.listdir(str(tmp_path / "a-folder")) == []


@pytest.mark.parametrize("version", ["/usr/bin/python3", "2.7"])
def test_a_result_folder_lost_while_the_host_runs(tmp_path, version):
    # the folder passes the client's check and is gone when the module delivers
    result = tmp_path / "out" / "result.json"
    result.parent.mkdir()
    host = _write(str(tmp_path / "host.sh"), ("#!/bin/sh\nrmdir '%s'\nexec '%s' \"$@\"\n" % (
        result.parent, e2e.interpreter(version))).encode("utf-8"))
    os.chmod(host, stat.S_IRWXU)
    outcome = e2e.run([SHOT, "--result", str(result), "--python", host])
    assert_no_result(outcome, "cannot write the result %s: " % result, str(result))


def test_the_summary_survives_a_terminal_without_utf8(tmp_path):
    env = dict(os.environ, LC_ALL="C", LANG="C", PYTHONIOENCODING="ascii")
    code, out, err = e2e.run([SHOT, "--machine-type", "startCpu"], env=env)
    assert code == 1, err
    assert "Messages (1)" in out and "cn: " in out
