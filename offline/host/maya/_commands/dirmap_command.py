# -*- coding: utf-8 -*-
"""dirmap: the directory mappings a farm node's startup script sets up."""
from __future__ import print_function

from .arguments import native, parse_flags
from .paths import dirmap_table

_FLAGS = (("query", "q"), ("enable", "en"), ("mapDirectory", "m"), ("unmapDirectory", "um"),
          ("getMappedDirectory", "gmd"), ("getAllMappings", "gam"), ("convertDirectory", "cd"))


def dirmap(**kwargs):
    flags = parse_flags("dirmap", kwargs, _FLAGS)
    table = dirmap_table.table()
    query = flags.pop("query", False)
    if len(flags) != 1:
        raise RuntimeError("dirmap: give exactly one of -enable, -mapDirectory, -unmapDirectory, "
                           "-getMappedDirectory, -getAllMappings, -convertDirectory")
    name, value = list(flags.items())[0]
    if name == "enable":
        if query:
            return table.enabled
        table.enabled = bool(value)
        return None
    if query:
        raise RuntimeError("dirmap: only -enable can be queried")
    if name == "mapDirectory":
        if not isinstance(value, (list, tuple)) or len(value) != 2:
            raise RuntimeError("dirmap: -mapDirectory takes a source and a destination folder")
        table.add(native(value[0]), native(value[1]))
        return None
    if name == "unmapDirectory":
        table.remove(native(value))
        return None
    if name == "getMappedDirectory":
        return table.destination(native(value))
    if name == "getAllMappings":
        return table.flat()
    return table.convert(native(value))
