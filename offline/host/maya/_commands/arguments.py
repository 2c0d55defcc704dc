# -*- coding: utf-8 -*-
"""What every command shares: flag names, native texts, Maya's errors."""
from __future__ import print_function

import sys

PY2 = sys.version_info[0] == 2


def unsupported_command(name):
    return RuntimeError("maya.cmds stand-in: command '%s' is not supported" % name)


def native(text):
    if PY2 and isinstance(text, unicode):  # noqa: F821 (2.7 only)
        return text.encode("utf-8")
    return text


def parse_flags(command, kwargs, names):
    """Maps long and short flag names to the long one; any other flag raises."""
    out = {}
    for key, value in kwargs.items():
        for long_name, short_name in names:
            if key == long_name or key == short_name:
                out[long_name] = value
                break
        else:
            raise RuntimeError("maya.cmds stand-in: flag '%s' of '%s' is not supported" % (key, command))
    return out


def no_object(name):
    return ValueError("No object matches name: %s" % name)


def none_if_empty(items):
    return items if items else None
