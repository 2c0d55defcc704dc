"""scan with the built module, the stand-ins and the catalogue: each scene's record holds what the
single-scene command gives for it (the same result, or the same reason for having none)."""
import json
import os
import shutil

import pytest

import e2e

pytestmark = pytest.mark.usefixtures("built")


def library(root):
    """Two copies of the example project, and scenes that cannot be analysed."""
    for show in ("showA", "showB/episode1"):
        shutil.copytree(os.path.join(e2e.EXAMPLES, "project"), os.path.join(root, show, "project"))
    broken = os.path.join(root, "broken")
    os.makedirs(broken)
    scenes = {"truncated.ma": b'//Maya ASCII 2022 scene\ncreateNode transform -n "a\n', "empty.ma": b"",
              "binary.mb": b"FOR4\x00\x00\x00\x40Maya\x00\xff\xfe"}
    for name, data in scenes.items():
        with open(os.path.join(broken, name), "wb") as handle:
            handle.write(data)
    return root


def test_each_record_is_what_the_single_scene_command_gives(tmp_path):
    root = library(str(tmp_path / "library"))
    config = os.path.join(e2e.EXAMPLES, "config", "service.ini")
    jsonl = str(tmp_path / "scan.jsonl")
    code, out, err = e2e.run(["scan", root, "-j", "2", "--jsonl", jsonl, "--config", config,
                              "--machine-type", "startGpu"])
    with open(jsonl) as handle:
        records = [json.loads(line) for line in handle]
    assert len(records) == 7, err
    assert code == max(record["exit"] for record in records) == 3
    assert "Scanned 7 scenes" in out and "Failures (3)" in out
    for record in records:
        single, result, single_err = e2e.analyse(record["scene"], "--config", config, "--machine-type", "startGpu")
        assert record["exit"] == single, record["scene"]
        if result is None:
            assert record["result"] is None
            assert single_err == "vanalyzer-offline: %s\n" % record["reason"]
            assert record["scene"] in record["reason"]
        else:
            assert record["reason"] is None
            assert e2e.comparable(record["result"]) == e2e.comparable(result), record["scene"]
            assert isinstance(record["host"], dict)
