# -*- coding: utf-8 -*-
"""The HTML report as text: what it shows, in which order, and that nothing from a scene opens
markup. (test_html_chromium.py loads the same pages in a browser.)"""
import base64
import hashlib
import html
import os
import re

from cli import html_page, html_report, scene_record
import html_records
from html_records import HOSTILE


def test_scene_borne_text_never_opens_markup(tmp_path):
    text = html_report.scene_page(html_records.hostile(tmp_path))
    # the page's own script is the only one, and nothing else opens a tag with an attribute
    assert text.count("<script") == 1 and "<img" not in text and "onerror=alert(1)>" not in text
    assert HOSTILE not in text
    escaped = html.escape(HOSTILE, quote=True)
    assert text.count(escaped) >= 20  # every field carries it: names, paths, texts, the reference, the finding
    assert "场景" in text and "é" in text
    # attribute values are quoted and escaped too (the sort keys of paths and names)
    for value in re.findall(r'data-sort="([^"]*)"', text):
        assert "<" not in value and ">" not in value


def test_the_policy_lets_only_the_page_s_own_style_and_script_run():
    def digest(part):
        return "'sha256-%s'" % base64.b64encode(hashlib.sha256(part.encode("utf-8")).digest()).decode("ascii")

    text = html_page.page("t", "<p>x</p>")
    policy = re.search(r'http-equiv="Content-Security-Policy" content="([^"]*)"', text).group(1)
    style = re.search(r"<style>(.*?)</style>", text, re.S).group(1)
    script = re.search(r"<script>(.*?)</script>", text, re.S).group(1)
    assert "default-src 'none'" in policy
    assert "style-src %s;" % digest(style) in policy and "script-src %s;" % digest(script) in policy
    assert "http" not in text.replace("http-equiv", "")  # nothing is fetched


def test_a_scene_page_shows_missing_files_first_with_sizes_and_totals(tmp_path):
    (tmp_path / "b.png").write_bytes(b"x" * 3000)
    (tmp_path / "a.1001.png").write_bytes(b"x" * 100)
    (tmp_path / "link.png").symlink_to(tmp_path / "b.png")
    files = [str(tmp_path / n) for n in ("b.png", "link.png", "a.1001.png")]
    rec = html_records.variant(missing=[str(tmp_path / "a.1002.png"), str(tmp_path / "gone.png")])
    rec["result"]["files"] = files
    rec["result"]["status"] = 1
    text = html_report.scene_page(rec)
    rows = re.findall(r"<tr( class=\"missing\")?><td[^>]*><span class=\"badge (\w+)\">", text)
    assert [state for _css, state in rows] == ["missing", "missing", "found", "found", "found"]
    assert all(css for css, state in rows if state == "missing")
    names = re.findall(r'<td>([^<]+\.png)</td>', text)
    assert names == ["a.1002.png", "gone.png", "a.1001.png", "b.png", "link.png"]  # each tile by name
    assert 'data-sort="3000">2.9 KB<' in text and 'data-sort="6100">6.0 KB<' in text  # a size, the total
    assert "3 found, 2 missing" in text
    # a link is shown where it lands on disk, with the name the result lists
    assert re.search(r'class="path">%s</span><br><span class="note">listed as </span><span class="path">%s<'
                     % (re.escape(str(tmp_path / "b.png")), re.escape(str(tmp_path / "link.png"))), text)


def test_a_scene_page_shows_banner_facts_layers_cameras_messages_references_and_findings():
    rec = html_records.scan_records()[2]
    rec.update(machine_type="startGpu", analysed_at="2025-01-06T10:00:00+01:00")
    rec["result"]["msg"] = [{"code": 10010, "en": "first\r\nsecond", "cn": "第一\r\n第二"}]
    rec["host"]["references"] = [
        {"namespace": "set", "path": "//set.ma", "resolved": "/proj/set.ma", "state": "loaded",
         "reference_node": "setRN", "depth": 1, "reason": None},
        {"namespace": "prop", "path": "C:/gone/prop.ma", "resolved": None, "state": "missing",
         "reference_node": "propRN", "depth": 1, "reason": "not found"},
        {"namespace": "fx", "path": "/proj/fx.ma", "resolved": "/proj/fx.ma", "state": "deferred",
         "reference_node": "fxRN", "depth": 2, "reason": "deferred in the file"}]
    text = html_report.scene_page(rec)
    assert '<div class="banner error" data-banner="error"><span class="word">error</span>' in text
    assert "1 script finding: vaccine" in text and "GPU machine (startGpu)" in text
    for fact in ("<dt>Maya version</dt><dd>2024</dd>", "<dt>Analysed</dt><dd>2025-01-06 10:00:00+01:00, took 1.0 s</dd>",
                 "<dt>Scene</dt><dd><span class=\"path\">/proj/scenes/infected.ma</span>"):
        assert fact in text
    assert '<span class="badge code">10010</span><pre lang="en"><span class="lang">en</span>first\nsecond</pre>' in text
    assert '<pre lang="zh"><span class="lang">cn</span>第一\n第二</pre>' in text
    assert "<h3>Script findings (1)</h3>" in text and "<td>vaccine_gene</td>" in text and "yes (Open/Close)" in text
    assert "<h3>Render layers (1)</h3>" in text and "<td>masterLayer</td><td>arnold</td><td>|cam</td>" in text
    assert "<h3>Cameras (1)</h3><ul><li><code>|cam</code></li></ul>" in text
    assert "<h3>References (3: 1 loaded, 1 deferred, 1 missing)</h3>" in text
    assert '<tr class="missing"><td>prop</td><td>missing</td>' in text and '<tr class="deferred"><td>fx</td>' in text


def test_what_a_scene_page_says_when_parts_are_absent():
    no_result = html_records.scan_records()[3]
    text = html_report.scene_page(no_result)
    assert 'data-banner="error"' in text and "no result: cannot read the scene: not a Maya ASCII file" in text
    assert "Not scanned: the host wrote no report." in text and "<h3>Files" not in text
    failed_scan = html_records.variant(host={"scripts": {"error": "RuntimeError: boom"}})
    text = html_report.scene_page(failed_scan)
    assert "Not scanned: it failed in the host: RuntimeError: boom." in text
    assert "<dt>Maya version</dt><dd>unknown (the host report has no scene section)</dd>" in text
    assert "<h3>References" not in text  # a host without the references section says nothing of them
    no_references = html_records.variant()
    no_references["host"]["references"] = []
    assert "The scene references no other file." in html_report.scene_page(no_references)
    in_error = html_records.variant()
    in_error["result"]["status"] = 2
    assert "Not collected: the analysis stops before the assets" in html_report.scene_page(in_error)


def test_missing_files_come_from_the_message_when_the_record_has_no_list():
    rec = html_records.scan_records()[1]
    assert scene_record.missing_files(rec) == ["/proj/gone.png"]
    assert scene_record.missing_files(dict(rec, missing=["/x.png"])) == ["/x.png"]
    assert scene_record.missing_files(html_records.scan_records()[3]) == []


def test_a_scan_page_has_one_row_per_scene_linked_to_its_section_and_filters_by_status():
    text = html_report.scan_page(html_records.scan_records(), machine_type="startCpu")
    rows = re.findall(r'<tr data-status="([^"]+)"><td data-sort="([^"]+)"><a href="#(scene-\d)"', text)
    assert rows == [("clean", "/proj/scenes/clean.ma", "scene-1"), ("warnings", "/proj/scenes/warned.ma", "scene-2"),
                    ("clean infected", "/proj/scenes/infected.ma", "scene-3"),
                    ("error", "/proj/scenes/broken.ma", "scene-4")]
    for anchor, status in (("scene-1", "clean"), ("scene-3", "clean infected"), ("scene-4", "error")):
        assert '<section class="scene" id="%s" data-status="%s">' % (anchor, status) in text
    # files, missing, messages, findings, seconds of the warned scene
    assert re.search(r'scene-2.*?<td class="number" data-sort="1">1</td>'
                     r'<td class="number" data-sort="2">2</td><td class="number" data-sort="1">1</td>'
                     r'<td class="number" data-sort="1">1</td><td class="number" data-sort="0">0</td>'
                     r'<td class="number" data-sort="2.0">2.0</td>', text)
    assert '<div class="filters" hidden>' in text  # shown by the script; without it every scene is listed
    assert [s for s in re.findall(r'<input type="checkbox" value="(\w+)" checked> \w+ \((\d)\)', text)] == [
        ("clean", "2"), ("warnings", "1"), ("infected", "1"), ("error", "1")]
    assert "<h1>vanalyzer scan: 4 scenes</h1>" in text and "machine: CPU machine (startCpu)" in text


def test_the_page_is_written_whole_with_the_usual_permissions(tmp_path):
    target = tmp_path / "report.html"
    target.write_text("old")
    html_report.write(str(target), "<p>新</p>")
    assert target.read_text(encoding="utf-8") == "<p>新</p>"
    umask = os.umask(0o022)
    os.umask(umask)
    assert target.stat().st_mode & 0o777 == 0o666 & ~umask and list(tmp_path.iterdir()) == [target]
