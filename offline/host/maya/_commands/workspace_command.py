# -*- coding: utf-8 -*-
"""workspace: the current project, its root and file rules; and whether a file exists as Maya sees it."""
from __future__ import print_function

import os

from .arguments import native, parse_flags
from .paths import path_text, project

_FLAGS = (("query", "q"), ("rootDirectory", "rd"), ("fullName", "fn"), ("fileRuleEntry", "fre"),
          ("fileRuleList", "frl"), ("expandName", "en"), ("openWorkspace", "o"), ("variableEntry", "ve"),
          ("variableList", "vl"))


def workspace(*args, **kwargs):
    flags = parse_flags("workspace", kwargs, _FLAGS)
    flags.pop("query", None)  # these answers are the same with or without -query
    if flags.get("openWorkspace"):
        if len(args) != 1:
            raise RuntimeError("workspace: -openWorkspace needs the project folder")
        project.open_workspace(args[0])
        return None
    if len(flags) != 1:
        raise RuntimeError("maya.cmds stand-in: this use of 'workspace' is not supported")
    name, value = list(flags.items())[0]
    root = project.root()
    if name == "rootDirectory":
        return root.rstrip("/") + "/" if root else ""
    if name == "fullName":
        return root or ""
    definition = project.definition(root)
    if name == "fileRuleEntry":
        return definition.rule(native(value)) or ""
    if name == "fileRuleList":
        return [rule for rule, _location in definition.rules]
    if name == "variableEntry":
        return definition.variables.get(native(value), "")
    if name == "variableList":
        return sorted(definition.variables)
    return project.expand_name(value, root)


def file_exists(path):
    """`file -q -exists`: the path, its variables expanded and a relative one taken in the project,
    exists on disk as spelled (directory mappings and letter case are the caller's next steps,
    through `dirmap -cd` and the service's on-disk spelling)."""
    expanded = project.expand_name(native(path), project.root())
    if os.name != "nt" and (path_text.has_drive(expanded) or expanded.startswith("//")):
        return False  # a Windows drive or share names nothing here (never a folder "C:" of the working one)
    return os.path.exists(expanded)
