# -*- coding: utf-8 -*-
"""The script scan through the command line: findings in the summary and the HTML report, beside
the delivered result (never inside it), and --fail-on-malware."""
import json
import os
import re

import pytest

import e2e
from cli import paths
from test_cli import RESULT, run  # noqa: F401 (the fake-host fixture)

SAMPLES = os.path.join(paths.OFFLINE_ROOT, "fixtures", "scripts")


@pytest.mark.parametrize("scene, status, families", [
    ("vaccine.ma", 0, ["vaccine"] * 4),
    ("uifiguration.ma", 0, ["uifiguration"] * 5),
    ("on_open_writers.ma", 0, ["on-open-dropper"] * 3),
    # the module's own check knows these two and refuses the scene itself
    ("old_signatures.ma", 2, ["PuTianTongQing", "DaXunHuan"]),
    ("benign.ma", 0, []),
])
def test_findings_are_told_and_fail_on_malware_makes_them_an_error(built, tmp_path, scene, status, families):
    path = os.path.join(SAMPLES, scene)
    code, out, err = e2e.run([path])
    assert code == status, err
    if families:
        assert "Script findings (%d)" % len(families) in out
        assert re.findall(r"^  \S+  ([\w-]+): .*; (?:does not run|runs) on open \(", out, re.M) == families
    else:
        assert "Scripts  no known script virus in the script nodes" in out
    code, out, err = e2e.run([path, "--fail-on-malware", "--json", "--html", str(tmp_path / "r.html")])
    assert code == (2 if families else status)
    result = json.loads(out)  # standard output stays the delivered result, untouched
    assert "scripts" not in result and set(result) >= {"status", "msg", "files", "model"}
    assert ("refused (--fail-on-malware): known script virus in" in err) == bool(families)
    page = (tmp_path / "r.html").read_text(encoding="utf-8")
    assert ("<h3>Script findings (%d)</h3>" % len(families) if families else "No known script virus") in page
    assert ('data-banner="error"' in page) == bool(families or status == 2)


def test_a_scan_that_could_not_run_is_told_and_refused_under_fail_on_malware(run):
    code, out, err = run(FAKE_RESULT=json.dumps(RESULT))
    assert code == 1 and "Scripts  not scanned: it failed in the host: AttributeError" in out
    code, out, err = run("--fail-on-malware", FAKE_RESULT=json.dumps(RESULT))
    assert code == 2 and "refused (--fail-on-malware): the script scan did not run" in err


def test_the_html_report_is_written_when_no_result_came(run):
    report = run.tmp / "r.html"
    code, out, err = run("--html", str(report), FAKE_HOST="raise")
    assert code == 3
    page = report.read_text(encoding="utf-8")
    assert 'data-banner="error"' in page and "no result: the analysis failed: KeyError" in page
    code, out, err = run("--html", str(run.tmp / "nowhere" / "r.html"))
    assert code == 3 and "the HTML report path" in err and not (run.tmp / "nowhere").exists()


def test_scan_tells_findings_refuses_them_and_writes_one_page_for_all_scenes(built, tmp_path):
    lines, page = tmp_path / "scan.jsonl", tmp_path / "scan.html"
    code, out, err = e2e.run(["scan", SAMPLES, "-j", "2", "--jsonl", str(lines), "--html", str(page),
                              "--fail-on-malware"])
    records = dict((os.path.basename(r["scene"]), r) for r in map(json.loads, lines.read_text().splitlines()))
    assert sorted(records) == sorted(os.listdir(SAMPLES))
    # every infected scene is an error; the benign one keeps its result's status
    assert dict((name, r["exit"]) for name, r in records.items()) == dict(
        (name, 0 if name == "benign.ma" else 2) for name in records)
    assert code == 2
    assert records["vaccine.ma"]["result"]["status"] == 0 and len(records["vaccine.ma"]["host"]["scripts"]) == 4
    assert "Script findings in 5 scenes" in out and "vaccine.ma: vaccine_gene (vaccine), breed_gene (vaccine)" in out
    text = page.read_text(encoding="utf-8")
    assert text.count('<section class="scene"') == 6 and "<h1>vanalyzer scan: 6 scenes</h1>" in text
    assert re.search(r'<tr data-status="clean infected"><td data-sort="[^"]*vaccine.ma"><a href="#scene-\d"', text)
