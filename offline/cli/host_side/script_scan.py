# -*- coding: utf-8 -*-
"""The script-node malware scan: every script node's name and text against the families of
script_signatures. Runs on Python 2.7 and 3.x, inside the host or anywhere else.

Script text is only read, never run: the scan sees what Maya would run on open and says so.
Text hidden as base64 is decoded (as text, a bounded amount) and searched as well.
"""
import base64
import binascii
import math
import numbers
import re

from literal_leads import LiteralSearch
from script_signatures import FAMILIES, RUNS_ON_OPEN, SCRIPT_TYPES

_FLAGS = re.IGNORECASE | re.MULTILINE | re.UNICODE
_EVIDENCE_WIDTH = 240
# A base64 run long enough to hide a line of code, and how much of it is decoded per node.
_BASE64_RUN = re.compile(r"[A-Za-z0-9+/_-]{40,}={0,2}")
_DECODED_CHARS_PER_NODE = 4 * 1024 * 1024
_DECODE_DEPTH = 2
_CONTROL = re.compile("[\x00-\x08\x0b\x0c\x0e-\x1f\x7f]")

try:
    _TEXT = unicode  # noqa: F821 (Python 2.7)
except NameError:
    _TEXT = str


def _compile(families):
    compiled = []
    for family in families:
        signatures = []
        for signature in family["signatures"]:
            signatures.append({
                "what": signature["what"],
                "node": re.compile(signature["node"], _FLAGS) if signature.get("node") else None,
                "body": [LiteralSearch(pattern, _FLAGS) for pattern in signature.get("body", ())],
                "automatic": bool(signature.get("automatic")),
            })
        compiled.append(dict(family, signatures=signatures))
    return compiled


_COMPILED = _compile(FAMILIES)


def as_text(value):
    """Text of a name or a script as the host answers it (UTF-8 bytes on 2.7); None for no text."""
    if value is None:
        return None
    if isinstance(value, bytes):
        return value.decode("utf-8", "replace")
    if isinstance(value, _TEXT):
        return value
    return None


def script_type_number(value):
    """Maya's scriptType as an int (the binary format stores it as a double); None when unknown."""
    if isinstance(value, bool) or not isinstance(value, numbers.Real) or math.isinf(value) or math.isnan(value):
        return None
    return int(value)


def _decoded(text, budget):
    """Texts hidden in text as base64 runs that decode to UTF-8 text without control characters."""
    found = []
    for run in _BASE64_RUN.finditer(text):
        if budget[0] <= 0:
            break
        chunk = run.group(0)
        chunk += "=" * (-len(chunk) % 4)
        try:
            raw = base64.urlsafe_b64decode(chunk.encode("ascii"))
            hidden = raw.decode("utf-8")
        except (binascii.Error, TypeError, ValueError):
            continue
        if _CONTROL.search(hidden):
            continue
        hidden = hidden[:budget[0]]
        budget[0] -= len(hidden)
        found.append(hidden)
    return found


def _texts(before, after):
    """(attribute, text) pairs to search: the node's scripts, then what they hide as base64."""
    texts = [(name, text) for name, text in (("before", before), ("after", after)) if text]
    budget = [_DECODED_CHARS_PER_NODE]
    layer = texts
    for _depth in range(_DECODE_DEPTH):
        hidden = [("%s (base64)" % name.split(" ")[0], decoded)
                  for name, text in layer for decoded in _decoded(text, budget)]
        texts.extend(hidden)
        layer = hidden
    return texts


def _evidence(text, start, end):
    """The line holding text[start:end], its number (from 1), cut to a readable width."""
    line_start = text.rfind("\n", 0, start) + 1
    line_end = text.find("\n", end)
    line_end = len(text) if line_end < 0 else line_end
    line = text[line_start:line_end]
    offset = start - line_start
    if len(line) > _EVIDENCE_WIDTH:
        left = max(0, min(offset - _EVIDENCE_WIDTH // 3, len(line) - _EVIDENCE_WIDTH))
        line = ("..." if left else "") + line[left:left + _EVIDENCE_WIDTH] + (
            "..." if left + _EVIDENCE_WIDTH < len(line) else "")
    return text.count("\n", 0, start) + 1, line.strip()


def _match(signature, short_name, texts, automatic):
    """(attribute, line, evidence) when every condition of the signature holds, else None."""
    if signature["automatic"] and not automatic:
        return None
    if signature["node"] is not None and not signature["node"].search(short_name):
        return None
    first = None
    for pattern in signature["body"]:
        hit = None
        for attribute, text in texts:
            match = pattern.search(text)
            if match:
                hit = (attribute,) + _evidence(text, match.start(), match.end())
                break
        if hit is None:
            return None
        first = first or hit
    return first or ("name", None, short_name)


def scan_node(node, before, after, script_type):
    """The findings for one script node: one per family that matches, the generic family only
    when no other does."""
    node = as_text(node) or ""
    short_name = node.rsplit("|", 1)[-1].rsplit(":", 1)[-1]
    number = script_type_number(script_type)
    texts = _texts(as_text(before), as_text(after))
    automatic = number is not None and number != 0
    findings = []
    for family in _COMPILED:
        if family.get("generic") and findings:
            break
        # a line of script tells a person more than the node's name: name-only hits come last
        hits = [(signature, hit) for signature, hit in
                ((signature, _match(signature, short_name, texts, automatic)) for signature in family["signatures"])
                if hit]
        if not hits:
            continue
        signature, (attribute, line, evidence) = sorted(hits, key=lambda pair: pair[1][0] == "name")[0]
        findings.append({
            "node": node, "family": family["family"], "title": family["title"],
            "signature": signature["what"], "attribute": attribute, "line": line,
            "evidence": evidence, "runs_on_open": number in RUNS_ON_OPEN,
            "script_type": SCRIPT_TYPES.get(number, "unknown" if number is None else str(number)),
        })
    return findings


def _attribute(cmds, node, name):
    try:
        return cmds.getAttr("%s.%s" % (node, name))
    except Exception:  # left out; the node's other parts are still scanned
        return None


def findings(cmds):
    """The host report's "scripts" section: the findings over every script node the host has
    (those of loaded references included), in the host's order."""
    found = []
    for node in cmds.ls(type="script") or []:
        found.extend(scan_node(node, _attribute(cmds, node, "before"), _attribute(cmds, node, "after"),
                               _attribute(cmds, node, "scriptType")))
    return found
