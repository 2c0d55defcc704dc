"""The scan's parts on their own: finding scenes, shards, the JSON-lines file, the summary."""
import json
import os

import pytest

from cli import paths, scan_discovery, scan_records, scan_summary


def _touch(root, *names):
    for name in names:
        path = os.path.join(root, name)
        if not os.path.isdir(os.path.dirname(path)):
            os.makedirs(os.path.dirname(path))
        open(path, "w").close()


def test_scenes_are_found_recursively_once_each_in_a_stable_order(tmp_path, monkeypatch):
    root = str(tmp_path)
    _touch(root, "b/shot.ma", "a/z/deep.mb", "a/UPPER.MA", "a/Mixed.Mb", "a/notes.txt", "a/shot.ma.bak",
           "c/ma", "given.txt")
    os.symlink(os.path.join(root, "a"), os.path.join(root, "b", "loop"))  # not followed
    found = scan_discovery.discover([os.path.join(root, "b"), root, os.path.join(root, "given.txt"),
                                     os.path.join(root, "a", "UPPER.MA")])
    assert found == [os.path.join(root, name) for name in
                     ("a/Mixed.Mb", "a/UPPER.MA", "a/z/deep.mb", "b/shot.ma", "given.txt")]
    monkeypatch.chdir(root)
    assert scan_discovery.discover(["b"]) == [os.path.join(root, "b", "shot.ma")]


def test_a_path_that_is_missing_or_unlistable_stops_discovery(tmp_path):
    with pytest.raises(paths.Refusal, match="does not exist"):
        scan_discovery.discover([str(tmp_path / "absent")])
    locked = tmp_path / "locked"
    locked.mkdir()
    (locked / "inner").mkdir()
    os.chmod(str(locked / "inner"), 0)
    try:
        if os.access(str(locked / "inner"), os.R_OK):
            pytest.skip("running as a user that reads every folder")
        with pytest.raises(paths.Refusal, match="cannot list the folder"):
            scan_discovery.discover([str(locked)])
    finally:
        os.chmod(str(locked / "inner"), 0o755)


@pytest.mark.parametrize("text, expected", [
    ("0/1", (0, 1)), ("2/3", (2, 3)), (" 9 / 10 ", (9, 10)),
    ("3/3", "below N"), ("0/0", "below N"), ("-1/3", "a shard is I/N"), ("1", "a shard is I/N"), ("a/b", "I/N"),
])
def test_shard_option(text, expected):
    if isinstance(expected, tuple):
        assert scan_discovery.parse_shard(text) == expected
    else:
        with pytest.raises(ValueError, match=expected):
            scan_discovery.parse_shard(text)


@pytest.mark.parametrize("scenes", [0, 1, 5, 12, 101])
@pytest.mark.parametrize("count", [1, 2, 3, 7])
def test_shards_are_disjoint_cover_the_list_and_differ_in_size_by_at_most_one(scenes, count):
    listed = ["/lib/%04d.ma" % index for index in range(scenes)]
    parts = [scan_discovery.shard(listed, index, count) for index in range(count)]
    assert sorted(sum(parts, [])) == listed
    assert len(set(sum(parts, []))) == scenes
    assert max(map(len, parts)) - min(map(len, parts)) <= 1


def _record(scene, status=0, seconds=1.0, codes=(), reason=None):
    result = None if status == 3 else {"status": status, "msg": [{"code": code} for code in codes]}
    return scan_records.make_record(scene, status, seconds, result, reason, None)


def _digest(*args, **kwargs):
    return scan_summary.digest(_record(*args, **kwargs))


def test_a_half_written_last_line_or_a_stranger_line_is_no_record(tmp_path):
    path = str(tmp_path / "scan.jsonl")
    whole = scan_records.record_line(_record("/a.ma")) + scan_records.record_line(_record("/b.ma", 3, reason="r"))
    strangers = '{"scene": "/c.ma"}\n[1]\nnot json\n{"scene": "/d.ma", "exit": true, "seconds": 1}\n'
    with open(path, "w") as handle:
        handle.write(whole + strangers + '{"scene": "/e.ma", "exit": 0, "sec')
    records, size = scan_records.read_records(path)
    assert [record["scene"] for record in records] == ["/a.ma", "/b.ma"]
    assert size == len(whole + strangers)
    writer, recorded = scan_records.RecordWriter.open(path, resume=True)
    writer.write(_record("/e.ma"))
    writer.close()
    with open(path) as handle:
        assert handle.read() == whole + strangers + scan_records.record_line(_record("/e.ma"))
    assert [record["scene"] for record in recorded] == ["/a.ma", "/b.ma"]


def test_record_lines_are_ascii_json_in_contract_order(tmp_path):
    scene = "/lib/\u573a\u666f-\udcff.ma"  # a name in Chinese and a byte that is not UTF-8
    line = scan_records.record_line(scan_records.make_record(scene, 1, 2.34567, {"status": 1}, None, {"k": 1}))
    assert line.endswith("\n") and line.isascii()
    assert list(json.loads(line)) == ["scene", "exit", "seconds", "result", "reason", "host"]
    assert json.loads(line)["scene"] == scene and json.loads(line)["seconds"] == 2.346


def test_summary_counts_ranks_and_lists_the_failures():
    records = [_digest("/a.ma", 1, 3.0, (10001, 10005, 10001)), _digest("/b.ma", 1, 9.5, (10001,)),
               _digest("/c.ma", 2, 0.5, (10009,)), _digest("/d.ma", 0, 1.0)]
    records += [_digest("/f%03d.ma" % index, 3, 0.1, reason="why %d" % index) for index in range(53)]
    text = scan_summary.format_scan_summary(records, 125.0, 4, 2)
    assert text.startswith("Scanned 57 scenes in 2m05s (-j 2); 4 of them recorded by an earlier run\n")
    assert "Status   0 clean: 1   1 warnings: 2   2 error: 1   3 no result: 53" in text
    assert "Codes    10001 in 2 scenes, 10005 in 1 scene, 10009 in 1 scene" in text
    assert "Slowest\n      9.5s  /b.ma\n      3.0s  /a.ma\n      1.0s  /d.ma\n" in text
    assert "Failures (53)\n  /f000.ma: why 0\n" in text and "/f049.ma: why 49" in text
    assert "/f050.ma" not in text and "... and 3 more" in text
    assert scan_summary.worst_exit(records) == 3 and scan_summary.worst_exit(records[:4]) == 2
    assert scan_summary.worst_exit([]) == 0
