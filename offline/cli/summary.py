# -*- coding: utf-8 -*-
"""The delivered result for a person, and the exit status it stands for."""
import json
import os
import re

from .paths import NO_RESULT
from .reference_summary import format_references
from .scene_record import STATUS_WORDS, human_size, script_findings


def read_lines(path):
    if not os.path.isfile(path):
        return []
    with open(path, encoding="utf-8", errors="replace") as handle:
        return [line.rstrip("\n") for line in handle if line.strip()]


def read_host_report(path):
    """The host's report ({} when the host wrote none or it is not a JSON object)."""
    try:
        with open(path, "rb") as handle:
            report = json.loads(handle.read().decode("utf-8"))
    except (OSError, ValueError):
        return {}
    return report if isinstance(report, dict) else {}


def exit_code(result):
    status = result.get("status") if isinstance(result, dict) else None
    return status if status in (0, 1, 2) and not isinstance(status, bool) else NO_RESULT


def _size(path):
    try:
        return os.path.getsize(path)
    except OSError:
        return 0


def format_summary(result, missing, references=None, accounted=None):
    """The result for a person: status, layers, cameras, references, files, missing files, messages.

    references is the host report's "references" section (None when there is no report);
    accounted the analyzer's (count, total size) of the files it accounted: the size shown when it
    counted the files the result lists, which are otherwise sized here."""
    model = result.get("model") or {}
    status = result.get("status")
    out = []
    out.append("Status   %s (%s)" % (status, STATUS_WORDS.get(status, "unknown")))
    out.append("Scene    %s" % model.get("scenePath"))
    custom = model.get("custom") or {}
    # the job-wide values: "exr" only when every layer writes EXR, a prefix only when all layers share it
    out.append("Output   %s; common prefix: %s" % (
        "every layer writes %s" % model["ext"] if model.get("ext") else "the layers do not all write EXR",
        custom.get("filePrefix") or "none"))
    if custom.get("melString"):
        out.append("MEL      %s" % custom["melString"])
    env = model.get("envVars") or []
    if env:
        out.append("Env      %s" % ", ".join(env))
    layers = model.get("parts") or []
    out.append("Layers (%d)" % len(layers))
    for layer in layers:
        if not isinstance(layer, dict):
            continue
        details = ", ".join("%s %s" % (key, layer.get(key)) for key in ("renderer", "ext", "layerFilePrefix")
                            if layer.get(key) is not None)
        out.append("  %s%s" % (layer.get("part"), "  (%s)" % details if details else ""))
        cameras = layer.get("cameras") or []
        out.append("      cameras: %s" % (", ".join(cameras) if cameras else "none"))
    cameras = model.get("allCameras") or []
    out.append("Cameras (%d)  %s" % (len(cameras), ", ".join(cameras)))
    out.extend(format_references(references))
    if status == 2:
        # the analysis stops before the assets when the scene itself is in error
        out.append("Files    not collected (status 2)")
    else:
        files = sorted(result.get("files") or [])
        size = accounted[1] if accounted and accounted[0] == len(files) else sum(_size(f) for f in files)
        out.append("Files (%d, %s)" % (len(files), human_size(size)))
        out.extend(_indented(files))
        out.append("Missing files (%d)" % len(missing))
        out.extend(_indented(missing))
    messages = result.get("msg") or []
    out.append("Messages (%d)" % len(messages))
    for message in messages:
        code = "[%s] " % message.get("code")
        for index, language in enumerate(("en", "cn")):
            lead = "  " + (code if index == 0 else " " * len(code)) + language + ": "
            lines = [line for line in re.split(r"[\r\n]+", message.get(language) or "") if line] or [""]
            out.append(lead + lines[0])
            out.extend(" " * (len(lead) + 2) + line for line in lines[1:])
    return "\n".join(out)


def _indented(paths):
    """The paths as lines under their heading: one text for a long list, not a line object each."""
    return ["  " + "\n  ".join(paths)] if paths else []


def format_findings(rec):
    """The script scan for a person: each finding with its family, what matched and where."""
    findings, problem = script_findings(rec)
    if findings is None:
        return "Scripts  not scanned: %s" % problem
    if not findings:
        return "Scripts  no known script virus in the script nodes"
    out = ["Script findings (%d)" % len(findings)]
    for finding in findings:
        runs = "runs on open" if finding.get("runs_on_open") else "does not run on open"
        out.append("  %s  %s: %s; %s (%s)" % (finding.get("node"), finding.get("family"), finding.get("signature"),
                                             runs, finding.get("script_type")))
        where = finding.get("attribute") or "script"
        if finding.get("line") is not None:
            where += " line %s" % finding["line"]
        out.append("      %s: %s" % (where, finding.get("evidence")))
    return "\n".join(out)


def format_scan_findings(records):
    """The script scan over a scan's scenes: the scenes with findings, each with its nodes."""
    infected = [(rec, script_findings(rec)[0]) for rec in records if script_findings(rec)[0]]
    if not infected:
        return "Scripts  no known script virus in the script nodes of %d scene%s" % (
            len(records), "" if len(records) == 1 else "s")
    out = ["Script findings in %d scene%s" % (len(infected), "" if len(infected) == 1 else "s")]
    for rec, findings in infected:
        out.append("  %s: %s" % (rec.get("scene"), ", ".join("%s (%s)" % (f.get("node"), f.get("family"))
                                                            for f in findings)))
    return "\n".join(out)
