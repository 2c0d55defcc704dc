# -*- coding: utf-8 -*-
"""The host report's "references" section: every reference of the open scene and its state.

Asked through Maya's own commands (`file -q -reference`, `file -q -deferReference`, referenceQuery),
so that it reads a real Maya's scene too: a reference that is not loaded is "missing" when its file
is found nowhere, "deferred" when it was saved unloaded, and "failed" otherwise (Maya could not read
it). The offline host also tells why each reference is in its state.
"""
from __future__ import print_function


def _reference_node(cmds, filename):
    try:
        return cmds.referenceQuery(filename, referenceNode=True)
    except RuntimeError:
        return None


def _children(cmds, node):
    try:
        return cmds.referenceQuery(node, child=True, referenceNode=True) or []
    except RuntimeError:
        return []


def _entry(cmds, node, depth, details):
    path = cmds.referenceQuery(node, filename=True, unresolvedName=True, withoutCopyNumber=True)
    filename = cmds.referenceQuery(node, filename=True, withoutCopyNumber=True)
    found = bool(filename) and cmds.file(filename, q=True, exists=True)
    detail = details.get(node, {})
    state = detail.get("state")
    if state is None:
        if cmds.referenceQuery(node, isLoaded=True):
            state = "loaded"
        elif not found:
            state = "missing"
        else:
            state = "deferred" if cmds.file(referenceNode=node, q=True, deferReference=True) else "failed"
    return {"namespace": cmds.referenceQuery(node, namespace=True).lstrip(":"), "path": path,
            "resolved": filename if found else None, "state": state, "reference_node": node, "depth": depth,
            "reason": detail.get("reason")}


def references(cmds):
    """[{namespace, path (as written), resolved, state, reference_node, depth, reason}], depth first."""
    offline_details = getattr(cmds, "_reference_details", None)  # the offline host only
    details = dict((d["reference_node"], d) for d in offline_details()) if offline_details else {}
    out = []
    seen = set()
    tops = [_reference_node(cmds, filename) for filename in cmds.file(q=True, reference=True) or []]
    pending = [(node, 1) for node in reversed(tops) if node]
    while pending:
        node, depth = pending.pop()
        if node in seen:
            continue
        seen.add(node)
        out.append(_entry(cmds, node, depth, details))
        pending.extend((child, depth + 1) for child in reversed(_children(cmds, node)))
    return out
