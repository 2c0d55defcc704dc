"""vanalyzer-offline scan through the real launcher, against the fake host: one record per scene,
failures that stay the scene's own, the summary and the exit status, resuming, shards, usage."""
import json
import os
import signal
import subprocess
import sys
import time

import pytest

import fake_host
from cli import scan_records

HERE = os.path.dirname(os.path.abspath(__file__))
LAUNCHER = os.path.join(HERE, "..", "..", "..", "bin", "vanalyzer-offline")
RESULT = {"status": 0, "msg": [{"code": 10001, "en": "Missing files:\r\n/proj/m.png", "cn": "x"}],
          "files": ["/proj/a.png"], "model": {"scenePath": "SCENE"}}


class Library(object):
    def __init__(self, root):
        self.root = root
        self.build = os.path.join(root, "build")
        fake_host.install(self.build)
        self.scenes = os.path.join(root, "library")
        self.gate = os.path.join(root, "gate")

    def scene(self, relative, directive=None, content=None):
        path = os.path.join(self.scenes, relative)
        if not os.path.isdir(os.path.dirname(path)):
            os.makedirs(os.path.dirname(path))
        with open(path, "wb") as handle:
            if content is None:
                content = "//Maya ASCII 2022 scene\n" + ("//fake-host: %s\n" % directive if directive else "")
                content = content.encode("utf-8")
            handle.write(content)
        return path

    def command(self, *args):
        return [sys.executable, LAUNCHER, "scan"] + list(args) + ["--build-dir", self.build,
                                                                  "--python", sys.executable]

    def env(self, **extra):
        env = dict(os.environ, FAKE_RESULT=json.dumps(RESULT), TMPDIR=self.root)
        env.update(extra)
        return env

    def run(self, *args, **extra):
        done = subprocess.run(self.command(*args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              env=self.env(**extra), timeout=120)
        return done.returncode, done.stdout.decode("utf-8"), done.stderr.decode("utf-8")

    def start(self, *args):
        return subprocess.Popen(self.command(*args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                env=self.env())


@pytest.fixture
def library(tmp_path):
    return Library(str(tmp_path))


def lines(path):
    with open(path) as handle:
        return [json.loads(line) for line in handle]


def without_seconds(records):
    return [dict((key, value) for key, value in record.items() if key != "seconds") for record in records]


def wait_for(condition, what, limit=60.0):
    ended = time.time() + limit
    while not condition():
        assert time.time() < ended, "gave up waiting for " + what
        time.sleep(0.05)


def ended(pid):
    """Gone, or a zombie that its new parent has not reaped yet."""
    try:
        with open("/proc/%d/stat" % pid) as handle:
            return handle.read().rsplit(")", 1)[1].split()[0] in ("Z", "X")
    except (IOError, OSError):
        return True


def test_one_record_per_scene_failures_stay_their_own_and_the_exit_is_the_worst(library):
    expected = {
        library.scene("a/clean.ma"): (0, None),
        library.scene("a/warnings.ma", "status 1"): (1, None),
        library.scene("b/nested/error.MA", "status 2"): (2, None),
        library.scene("b/crash.ma", "crash"): (3, "ended by SIGSEGV without delivering a result"),
        library.scene("c/raises.ma", "raise"): (3, "the analysis failed: KeyError: 'finalResult'"),
        library.scene("c/notes.ma", content=b"plain text\n"): (3, "not a Maya ASCII file"),
    }
    library.scene("c/readme.txt", content=b"not a scene")
    jsonl = os.path.join(library.root, "scan.jsonl")
    code, out, err = library.run(library.scenes, "--jsonl", jsonl, "-j", "2")
    assert code == 3, err
    records = lines(jsonl)
    assert sorted(record["scene"] for record in records) == sorted(expected)
    for record in records:
        assert list(record) == list(scan_records.FIELDS)
        status, reason = expected[record["scene"]]
        assert record["exit"] == status, record
        assert isinstance(record["seconds"], float) and record["seconds"] >= 0
        if reason is None:
            assert record["reason"] is None and record["result"]["status"] == status
            assert record["result"]["model"]["scenePath"] == record["scene"]
            assert isinstance(record["host"], dict)  # the host report, written before the analysis
        else:
            assert record["result"] is None and reason in record["reason"], record
    assert "Status   0 clean: 1   1 warnings: 1   2 error: 1   3 no result: 3" in out
    assert "Codes    10001 in 3 scenes" in out
    assert "Failures (3)" in out and "crash.ma: the host was ended by SIGSEGV" in out
    assert "scan: 6/6 scenes (100%)" in err


def test_without_jsonl_the_lines_go_to_standard_output_and_the_summary_to_standard_error(library):
    scene = library.scene("one.ma", "status 1")
    code, out, err = library.run(scene, "-j", "1")
    assert code == 1
    [record] = [json.loads(line) for line in out.splitlines()]
    assert (record["scene"], record["exit"]) == (scene, 1)
    assert "Scanned 1 scene in" in err and "Failures (0)" in err


def test_a_hang_past_the_timeout_is_the_scenes_failure(library):
    library.scene("hangs.ma", "wait " + library.gate)  # the gate never opens
    fine = library.scene("fine.ma")
    code, out, err = library.run(library.scenes, "--timeout", "1", "-j", "2")
    records = dict((record["scene"], record) for record in map(json.loads, out.splitlines()))
    assert code == 3
    assert records[fine]["exit"] == 0
    assert "took longer than 1 s and was ended" in records[os.path.join(library.scenes, "hangs.ma")]["reason"]


def _interrupted_library(library):
    for name in ("a.ma", "c.ma", "d.ma"):
        library.scene(name, "status 1")
    return library.scene("b.ma", "wait " + library.gate)


def _start_until_waiting(library, jsonl):
    scan = library.start(library.scenes, "-j", "1", "--jsonl", jsonl)
    wait_for(lambda: os.path.exists(library.gate + ".pid") and os.path.getsize(library.gate + ".pid"),
             "the waiting scene's host")
    with open(library.gate + ".pid") as handle:
        return scan, int(handle.read())


def test_a_killed_scan_resumed_gives_the_lines_of_an_uninterrupted_one(library):
    _interrupted_library(library)
    whole = os.path.join(library.root, "whole.jsonl")
    open(library.gate, "w").close()
    assert library.run(library.scenes, "-j", "1", "--jsonl", whole)[0] == 1
    os.remove(library.gate)
    os.remove(library.gate + ".pid")

    resumed = os.path.join(library.root, "resumed.jsonl")
    scan, host = _start_until_waiting(library, resumed)
    scan.kill()
    scan.wait()
    wait_for(lambda: ended(host), "the host to end with the killed scan", 10)
    with open(resumed, "a") as handle:
        handle.write('{"scene": "%s", "exit": 1, "sec' % os.path.join(library.scenes, "b.ma"))  # cut mid-write
    # the half line is no record
    assert [record["scene"] for record in scan_records.read_records(resumed)[0]] == [
        os.path.join(library.scenes, "a.ma")]
    open(library.gate, "w").close()
    code, out, err = library.run(library.scenes, "-j", "1", "--jsonl", resumed, "--resume")
    assert code == 1, err
    assert without_seconds(lines(resumed)) == without_seconds(lines(whole))
    assert "1 of them recorded by an earlier run" in out


def test_sigterm_ends_the_running_hosts_and_records_only_finished_scenes(library):
    waiting = _interrupted_library(library)
    jsonl = os.path.join(library.root, "scan.jsonl")
    scan, host = _start_until_waiting(library, jsonl)
    scan.send_signal(signal.SIGTERM)
    assert scan.wait(60) == 128 + signal.SIGTERM
    assert b"--resume continues it" in scan.stderr.read()
    with pytest.raises(OSError):
        os.kill(host, 0)  # ended and reaped by the scan
    assert [record["scene"] for record in lines(jsonl)] == [os.path.join(library.scenes, "a.ma")]
    open(library.gate, "w").close()
    assert library.run(library.scenes, "--jsonl", jsonl, "--resume")[0] == 1
    assert waiting in [record["scene"] for record in lines(jsonl)] and len(lines(jsonl)) == 4


def test_a_fault_of_the_machine_stops_the_scan_and_resume_continues_it(library):
    """No host can be started any more (here: the interpreter is gone): the scan stops with 4 rather
    than record the fault as the scenes' own, and --resume finishes once the machine is sound."""
    _interrupted_library(library)
    python = os.path.join(library.root, "python3")
    os.symlink(sys.executable, python)
    jsonl = os.path.join(library.root, "scan.jsonl")
    command = library.command(library.scenes, "-j", "1", "--jsonl", jsonl)
    command[-1] = python
    scan = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=library.env())
    wait_for(lambda: os.path.exists(library.gate + ".pid") and os.path.getsize(library.gate + ".pid"),
             "the waiting scene's host")
    os.remove(python)
    open(library.gate, "w").close()
    out, err = scan.communicate(timeout=60)
    assert scan.returncode == 4, err
    assert b"No such file or directory" in err and b"--resume continues it" in err
    assert [record["scene"] for record in lines(jsonl)] == [os.path.join(library.scenes, name) for name in
                                                            ("a.ma", "b.ma")]
    assert library.run(library.scenes, "--jsonl", jsonl, "--resume")[0] == 1
    assert len(lines(jsonl)) == 4


def test_shards_partition_the_library(library):
    for index in range(7):
        library.scene("f%d/s%d.ma" % (index % 3, index), "status %d" % (index % 3))
    code, out, _ = library.run(library.scenes, "-j", "2")
    every = sorted(json.loads(line)["scene"] for line in out.splitlines())
    parts = []
    for index in range(3):
        code, out, err = library.run(library.scenes, "--shard", "%d/3" % index, "-j", "2")
        assert code in (0, 1, 2), err
        parts.append([json.loads(line)["scene"] for line in out.splitlines()])
    assert sorted(sum(parts, [])) == every and len(every) == 7
    assert all(len(part) in (2, 3) for part in parts)


def test_an_existing_file_is_continued_only_when_asked(library):
    scene = library.scene("one.ma")
    jsonl = os.path.join(library.root, "scan.jsonl")
    with open(jsonl, "w") as handle:
        handle.write("{}\n")
    code, out, err = library.run(scene, "--jsonl", jsonl)
    assert code == 4 and "give --resume" in err
    with open(jsonl) as handle:
        assert handle.read() == "{}\n"


@pytest.mark.parametrize("args, code, message", [
    (["--resume"], 64, "--resume needs --jsonl"),
    (["--shard", "3/3"], 64, "I must be at least 0 and below N"),
    (["--shard", "one"], 64, "a shard is I/N"),
    (["-j", "0"], 64, "-j takes a whole number of at least 1"),
    (["--machine-type", "startTpu"], 64, "invalid choice"),
    (["--config", "/nonexistent.ini"], 4, "the configuration /nonexistent.ini does not exist"),
    (["--project", "/nonexistent"], 4, "the project folder /nonexistent does not exist"),
])
def test_mistakes_are_told_before_any_scene_is_analysed(library, args, code, message):
    library.scene("one.ma")
    outcome = library.run(library.scenes, *args)
    assert (outcome[0], outcome[1]) == (code, ""), outcome
    assert message in outcome[2]


def test_a_path_that_does_not_exist_stops_the_scan(library):
    code, out, err = library.run(os.path.join(library.root, "absent"))
    assert (code, out) == (4, "") and "absent does not exist" in err
