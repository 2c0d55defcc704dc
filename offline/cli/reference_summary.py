# -*- coding: utf-8 -*-
"""The scene's references for a person: what was loaded, deferred, missing or unreadable."""

STATES = ("loaded", "deferred", "missing", "failed")


def format_references(section):
    """Lines for the host report's "references" section ([] when the scene has none)."""
    if section is None:
        return []
    if isinstance(section, dict):
        return ["References  not reported: %s" % section.get("error")]
    entries = [e for e in section if isinstance(e, dict)]
    if not entries:
        return []
    counts = [(state, sum(1 for e in entries if e.get("state") == state)) for state in STATES]
    out = ["References (%d: %s)" % (len(entries), ", ".join("%d %s" % (n, s) for s, n in counts if n))]
    width = max(len(e.get("namespace") or ":") + 2 * (int(e.get("depth") or 1) - 1) for e in entries)
    for entry in entries:
        indent = "  " * (int(entry.get("depth") or 1) - 1)
        name = (indent + (entry.get("namespace") or ":")).ljust(width)
        where = entry.get("resolved") or entry.get("path")
        reason = entry.get("reason")
        shown_reason = "  (%s)" % reason if reason and entry.get("state") in ("loaded", "failed") else ""
        out.append("  %-8s  %s  %s%s" % (entry.get("state"), name, where, shown_reason))
    deferred = [e.get("namespace") or ":" for e in entries if e.get("state") == "deferred"]
    if deferred:
        out.append("Warning  %d deferred reference%s will not render: %s" % (
            len(deferred), "" if len(deferred) == 1 else "s", ", ".join(deferred)))
    return out
