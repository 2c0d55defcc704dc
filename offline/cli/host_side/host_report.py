# -*- coding: utf-8 -*-
"""What the host saw when it opened the scene, for the client beside the service's result.

It runs inside the host interpreter once the scene is open and before the analysis starts, asks
only through ``maya.cmds``, and writes one JSON object whose keys are the sections below. A section
that fails is reported as {"error": text}; it never stops the analysis.
"""
from __future__ import print_function

import io
import json
import os

# host_side/ is on the host's import path; each section lives in the module of its concern
import reference_report
import scene_facts
import script_scan

# (key, function of maya.cmds giving the section's plain data), in the order they are written.
SECTIONS = [
    ("references", reference_report.references),
    ("scene", scene_facts.facts),
    ("scripts", script_scan.findings),
]


def collect(cmds):
    report = {}
    for key, section in SECTIONS:
        try:
            report[key] = section(cmds)
        except Exception as error:  # a section is a report, not a reason to stop the analysis
            report[key] = {"error": "%s: %s" % (type(error).__name__, error)}
    return report


def write(path, cmds):
    """Writes the report whole (a temporary file renamed into place)."""
    text = json.dumps(collect(cmds), sort_keys=True, ensure_ascii=True)
    temporary = path + ".part"
    with io.open(temporary, "w", encoding="ascii") as handle:
        handle.write(text if isinstance(text, type(u"")) else text.decode("ascii"))
    os.rename(temporary, path)
