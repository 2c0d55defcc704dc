# -*- coding: utf-8 -*-
"""The HTML report in headless Chromium (Debian's chromium, installed by
tools/install-dependencies.sh): it renders with its title and status banner and no console
error, scene-borne markup stays text, and its script sorts and filters."""
import os
import struct
import sys

import pytest

import e2e
import html_records
from cli import html_report
from html_records import HOSTILE

sys.path.insert(0, os.path.join(e2e.REPO, "tools"))
import chromium_page  # noqa: E402


@pytest.fixture(scope="module")
def browser():
    if not chromium_page.find_chromium():
        e2e.unavailable("headless Chromium is not installed (tools/install-dependencies.sh installs it)")
    started = chromium_page.Browser()
    yield started
    started.close()


def png_size(path):
    with open(path, "rb") as handle:
        head = handle.read(24)
    assert head[:8] == b"\x89PNG\r\n\x1a\n"
    return struct.unpack(">II", head[16:24])


def test_the_example_shot_s_report_renders(browser, built, tmp_path):
    report = tmp_path / "shot010.html"
    code, out, err = e2e.run([os.path.join(e2e.EXAMPLES, "project", "scenes", "shot010.ma"), "--machine-type",
                              "startCpu", "--config", os.path.join(e2e.EXAMPLES, "config", "service.ini"),
                              "--html", str(report)])
    assert code == 1 and "Status   1 (warnings)" in out, err
    page = browser.open(str(report))
    assert page.evaluate("document.title") == "vanalyzer report: shot010.ma (warnings)"
    assert page.evaluate("document.querySelector('.banner').dataset.banner") == "warnings"
    assert "CPU machine (startCpu)" in page.evaluate("document.querySelector('.banner').innerText")
    assert page.evaluate("document.querySelectorAll('tr.missing').length") == 2
    assert page.evaluate("getComputedStyle(document.querySelector('.banner')).backgroundColor") != "rgba(0, 0, 0, 0)"
    page.screenshot(str(tmp_path / "shot010.png"))
    width, height = png_size(str(tmp_path / "shot010.png"))
    assert width == 1280 and height > 900
    printed = page.pdf()
    assert printed.startswith(b"%PDF-") and printed.rstrip().endswith(b"%%EOF")  # it prints
    assert page.errors() == []


def test_injected_markup_stays_text(browser, tmp_path):
    report = tmp_path / "hostile.html"
    html_report.write(str(report), html_report.scene_page(html_records.hostile(tmp_path)))
    page = browser.open(str(report))
    assert page.evaluate("document.scripts.length") == 1
    assert page.evaluate("document.querySelectorAll('img, iframe, object, embed, [onerror]').length") == 0
    body = page.evaluate("document.body.innerText")
    assert body.count(HOSTILE) >= 15 and "场景" in body
    assert page.evaluate("document.title").startswith("vanalyzer report: shot.ma")
    assert page.errors() == []  # no alert ran, and the policy had nothing to block


def test_the_script_sorts_tables_and_filters_scenes(browser, tmp_path):
    report = tmp_path / "scan.html"
    html_report.write(str(report), html_report.scan_page(html_records.scan_records(), "startGpu"))
    page = browser.open(str(report))
    overview = "document.querySelector('table')"
    scenes = "Array.from(%s.tBodies[0].rows).map(r => r.cells[0].innerText.split('/').pop())" % overview
    assert page.evaluate(scenes) == ["clean.ma", "warned.ma", "infected.ma", "broken.ma"]
    page.evaluate("%s.tHead.rows[0].cells[7].click()" % overview)  # seconds, ascending
    assert page.evaluate(scenes) == ["broken.ma", "clean.ma", "infected.ma", "warned.ma"]
    page.evaluate("%s.tHead.rows[0].cells[7].click()" % overview)  # and descending
    assert page.evaluate(scenes) == ["warned.ma", "infected.ma", "clean.ma", "broken.ma"]
    assert page.evaluate("document.querySelector('.filters').hidden") is False
    shown = ("Array.from(document.querySelectorAll('section.scene')).filter(s => !s.hidden)"
             ".map(s => s.id)")
    page.evaluate("document.querySelector('input[value=clean]').click()")
    assert page.evaluate(shown) == ["scene-2", "scene-3", "scene-4"]  # the infected scene is still shown
    page.evaluate("document.querySelector('input[value=infected]').click()")
    assert page.evaluate(shown) == ["scene-2", "scene-4"]
    assert page.evaluate("Array.from(%s.tBodies[0].rows).filter(r => !r.hidden).length" % overview) == 2
    assert page.errors() == []
