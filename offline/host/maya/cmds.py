"""maya.cmds stand-in: answers the commands the analysis uses from the scene graph (the
`scenegraph` extension module) of the opened scene and its references. Runs on Python 2.7 and 3.x;
texts are native str on both.

The commands live in the private package ``maya._commands``, one module per concern; this module
only names them. The open scene is process-wide state, as in Maya. A command or flag this stand-in
does not know raises RuntimeError naming it, so a caller never silently gets a made-up answer.
"""
from __future__ import print_function

import sys

from maya._commands import open_scene
from maya._commands.arguments import PY2 as _PY2, unsupported_command as _unsupported_command
from maya._commands.attributes import attributeQuery, attribute_values as _attribute_values, getAttr
from maya._commands.connections import listConnections
from maya._commands.dirmap_command import dirmap
from maya._commands.file_command import file
from maya._commands.nodes import listRelatives, ls, nodeType, objExists
from maya._commands.plugins import loadPlugin, pluginInfo, unloadPlugin
from maya._commands.reference_query import referenceQuery
from maya._commands.render_layers import editRenderLayerGlobals
from maya._commands.workspace_command import workspace
from maya._commands import host_log as _host_log
from maya._commands.references import loaded as _loaded_references

_COMMANDS = frozenset(["file", "ls", "nodeType", "objExists", "listRelatives", "getAttr", "attributeQuery",
                       "listConnections", "editRenderLayerGlobals", "loadPlugin", "unloadPlugin",
                       "pluginInfo", "dirmap", "workspace", "referenceQuery"])


def _current_scene():
    """The open scene for the xgenm stand-in (None when none is open)."""
    return open_scene.current()


def _take_host_messages():
    """The host's messages since the last call, [(level, text)] (no Maya has this: offline only)."""
    return _host_log.take()


def _reference_details():
    """What became of each reference of the open scene and why (offline only; see host_report)."""
    return [reference.details() for reference in _loaded_references.current().references]


def __getattr__(name):  # any other command named on the module (Python 3.7+)
    if name.startswith("__"):
        raise AttributeError(name)
    raise _unsupported_command(name)


if _PY2:
    import types

    class _CommandModule(types.ModuleType):
        """2.7 has no module __getattr__: a module subclass answers unknown commands instead."""

        def __getattr__(self, name):
            return __getattr__(name)

    _module = _CommandModule(__name__, __doc__)
    _module.__dict__.update(globals())
    _module._original = sys.modules[__name__]  # 2.7 clears a dropped module's globals
    sys.modules[__name__] = _module
