# -*- coding: utf-8 -*-
"""Records for the HTML report's tests, in the scan's JSON-line form: a hostile one, whose every
scene-borne text tries to open markup or script, and a few ordinary ones."""
import copy

HOSTILE = '<script>alert("x")</script>\'"><img src=x onerror=alert(1)>&amp; 场景 é'


def hostile(tmp_path):
    """Everything a scene brings carries HOSTILE; one listed file exists (its name hostile too)."""
    folder = tmp_path / ("tex " + HOSTILE.replace("/", "_"))
    folder.mkdir()
    present = folder / ("a" + HOSTILE.replace("/", "_") + ".1001.png")
    present.write_bytes(b"x" * 2048)
    scene = "/proj/" + HOSTILE + "/shot.ma"
    result = {
        "status": 1, "AnalyzerVersion": HOSTILE,
        "msg": [{"code": 10001, "en": "Missing:\r\n/proj/" + HOSTILE + ".png\r\n", "cn": HOSTILE + "\r\n缺少"}],
        "files": [str(present)],
        "model": {"ext": "exr", "scenePath": scene, "needSplit": 0, "envVars": [HOSTILE],
                  "allCameras": ["|" + HOSTILE],
                  "parts": [{"part": HOSTILE, "cameras": ["|" + HOSTILE], "layerFilePrefix": HOSTILE,
                             "ext": HOSTILE, "renderer": HOSTILE}],
                  "custom": {"prepare": "", "filePrefix": HOSTILE, "melString": HOSTILE}},
    }
    host = {
        "scene": {"maya_version": HOSTILE, "product": HOSTILE, "from": "fileInfo"},
        "scripts": [{"node": HOSTILE, "family": HOSTILE, "title": HOSTILE, "signature": HOSTILE,
                     "attribute": HOSTILE, "line": 3, "evidence": HOSTILE, "runs_on_open": True,
                     "script_type": HOSTILE}],
        "references": [{"namespace": HOSTILE, "path": HOSTILE, "resolved": HOSTILE, "state": "missing",
                        "reference_node": HOSTILE, "depth": 1, "reason": HOSTILE}],
    }
    return {"scene": scene, "exit": 1, "seconds": 1.5, "result": result, "reason": None, "host": host,
            "machine_type": HOSTILE, "analysed_at": HOSTILE}


CLEAN = {
    "scene": "/proj/scenes/clean.ma", "exit": 0, "seconds": 0.4, "reason": None,
    "result": {"status": 0, "AnalyzerVersion": "1.5.9", "msg": [], "files": [],
               "model": {"ext": "exr", "scenePath": "/proj/scenes/clean.ma", "allCameras": ["|cam"],
                         "parts": [{"part": "masterLayer", "cameras": ["|cam"], "layerFilePrefix": None,
                                    "ext": "exr", "renderer": "arnold"}], "custom": {}}},
    "host": {"scene": {"maya_version": "2024", "product": "Maya 2024", "from": "fileInfo"}, "scripts": []},
}


def variant(**changes):
    rec = copy.deepcopy(CLEAN)
    for key, value in changes.items():
        rec[key] = value
    return rec


def scan_records():
    """Four scenes: clean, with warnings (two listed files), infected, and one with no result."""
    warned = variant(scene="/proj/scenes/warned.ma", exit=1, seconds=2.0)
    warned["result"]["status"] = 1
    warned["result"]["files"] = ["/proj/b.png", "/proj/a.png"]
    warned["result"]["msg"] = [{"code": 10001, "en": "Missing:\r\n/proj/gone.png\r\n", "cn": "缺少\r\n/proj/gone.png"}]
    infected = variant(scene="/proj/scenes/infected.ma", seconds=1.0)
    infected["host"]["scripts"] = [{"node": "vaccine_gene", "family": "vaccine", "title": "vaccine",
                                    "signature": "a script node named vaccine_gene or breed_gene",
                                    "attribute": "name", "line": None, "evidence": "vaccine_gene",
                                    "runs_on_open": True, "script_type": "Open/Close"}]
    failed = variant(scene="/proj/scenes/broken.ma", exit=3, seconds=0.1, result=None, host=None,
                     reason="cannot read the scene: not a Maya ASCII file")
    return [CLEAN, warned, infected, failed]
