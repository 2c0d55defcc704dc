# -*- coding: utf-8 -*-
"""What the service modules ask the host about the open scene, through ``maya.cmds``.

Every query tolerates a host that does not answer: an attribute it does not
know gives the caller's default, a node type it does not know gives no nodes,
a workspace or dirmap question it cannot answer gives no project or mapping.
"""
from __future__ import print_function

import vout

_FRAME_LIMIT = 100000


def cmds():
    # imported on use: the module loads before a host provides maya
    from maya import cmds
    return cmds


def first_attribute(node, names, default=None, host=None):
    """The first of the attribute names that the host answers for node."""
    host = host or cmds()
    for name in names:
        try:
            return host.getAttr("%s.%s" % (node, name))
        except Exception:
            continue
    return default


def nodes_of_type(node_type):
    try:
        return list(cmds().ls(type=node_type) or [])
    except Exception as error:
        vout.Debug("ls type %s failed: %s" % (node_type, error))
        return []


def scene_name():
    try:
        return cmds().file(q=True, sn=True) or ""
    except Exception:
        return ""


def render_frames():
    """The frames the render covers, or None when only the current frame renders."""
    host = cmds()
    try:
        if not host.getAttr("defaultRenderGlobals.animation"):
            return None
    except Exception:
        return None
    start = first_attribute("defaultRenderGlobals", ("startFrame", "fs"), 1)
    end = first_attribute("defaultRenderGlobals", ("endFrame", "ef"), 10)
    step = first_attribute("defaultRenderGlobals", ("byFrameStep", "bfs"), 1) or 1
    try:
        start, end, step = int(round(start)), int(round(end)), max(1, int(round(step)))
    except (TypeError, ValueError):
        return None
    return list(range(start, end + 1, step))[:_FRAME_LIMIT]


def _ask(host, command, *args, **flags):
    """A host command's answer, or None when the host does not answer it."""
    try:
        return getattr(host, command)(*args, **flags)
    except Exception as error:
        vout.Debug("%s %r %r failed: %s" % (command, args, flags, error))
        return None


def project_root(host):
    """The current project's root folder (forward slashes, no trailing one), or None."""
    root = _ask(host, "workspace", q=True, rootDirectory=True)
    if not root:
        return None
    root = root.replace("\\", "/")
    return root.rstrip("/") or "/"


def workspace_variables(host):
    variables = {}
    for name in _ask(host, "workspace", variableList=True) or []:
        value = _ask(host, "workspace", variableEntry=name)
        if value is not None:
            variables[name] = value
    return variables


def file_rule_folders(host):
    """[(rule, [absolute folders])] of the current project, in the order the project lists them;
    a rule may name several folders (separated by ';')."""
    rules = []
    for name in _ask(host, "workspace", fileRuleList=True) or []:
        folders = []
        for entry in (_ask(host, "workspace", fileRuleEntry=name) or "").split(";"):
            entry = entry.strip()
            if not entry:
                continue
            folder = _ask(host, "workspace", expandName=entry)
            if folder:
                folder = folder.replace("\\", "/").rstrip("/") or "/"
                if folder not in folders:
                    folders.append(folder)
        rules.append((name, folders))
    return rules


def directory_mapping_on(host):
    """True when the directory mappings are enabled and there are some."""
    return bool(_ask(host, "dirmap", q=True, enable=True)) and bool(_ask(host, "dirmap", getAllMappings=True))


def convert_directory(host, path):
    return _ask(host, "dirmap", convertDirectory=path)
