# -*- coding: utf-8 -*-
"""referenceQuery, and `file -q -reference`: the open scene's references and their files."""
from __future__ import print_function

from .arguments import native, none_if_empty, parse_flags
from .references import loaded

_FLAGS = (("filename", "f"), ("unresolvedName", "un"), ("withoutCopyNumber", "wcn"), ("isLoaded", "il"),
          ("namespace", "ns"), ("shortName", "shn"), ("referenceNode", "rfn"), ("parent", "p"), ("child", "ch"))


def _target(name):
    table = loaded.current()
    name = native(name)
    found = table.by_node(name) or table.by_file(name)
    if found is None:
        if "/" in name or "\\" in name:
            raise RuntimeError("The specified reference file cannot be found: %s" % name)
        raise RuntimeError("Reference node '%s' is not associated with a reference file." % name)
    return found


def _filename(reference, flags):
    return reference.filename(resolved=not flags.get("unresolvedName"),
                              copy_number=not flags.get("withoutCopyNumber"))


def referenceQuery(target, **kwargs):
    flags = parse_flags("referenceQuery", kwargs, _FLAGS)
    reference = _target(target)
    table = loaded.current()
    if flags.get("parent") or flags.get("child"):
        if flags.get("parent"):
            related = [table.by_node(reference.parent)] if reference.parent else []
        else:
            related = table.children(reference.reference_node)
        if flags.get("referenceNode"):
            answers = [r.reference_node for r in related]
        elif flags.get("filename"):
            answers = [_filename(r, flags) for r in related]
        else:
            raise RuntimeError("referenceQuery: -parent and -child need -referenceNode or -filename")
        if flags.get("parent"):
            return answers[0] if answers else None
        return none_if_empty(answers)
    if flags.get("filename"):
        return _filename(reference, flags)
    if flags.get("isLoaded"):
        return reference.state == "loaded"
    if flags.get("namespace"):
        if flags.get("shortName"):
            return reference.namespace.rsplit(":", 1)[-1]
        return ":" + reference.namespace
    if flags.get("referenceNode"):
        return reference.reference_node
    raise RuntimeError("maya.cmds stand-in: this query of 'referenceQuery' is not supported")


def file_references(args, flags):
    """`file -q -reference [file]`: the files of the scene's own references, or of those that the
    referenced file makes; loaded or not, resolved where found, with copy numbers."""
    table = loaded.current()
    if args:
        related = table.children(_target(args[0]).reference_node)
    else:
        related = table.top()
    return [_filename(r, flags) for r in related]


def file_deferred(args, flags):
    """`file -q -deferReference` of a reference (by -referenceNode or by its file): whether it was
    saved unloaded, so that Maya leaves it so on open. A reference Maya would load but the host
    could not (missing, unreadable) is not deferred."""
    if flags.get("referenceNode"):
        return _target(flags["referenceNode"]).state == "deferred"
    if not args:
        raise RuntimeError("file: -deferReference needs a reference file or -referenceNode")
    return _target(args[0]).state == "deferred"
