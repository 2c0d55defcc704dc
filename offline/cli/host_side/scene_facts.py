# -*- coding: utf-8 -*-
"""The host report's "scene" section: the Maya version and product the scene was saved with."""
import io
import re

_HEADER_BYTES = 64 * 1024
_REQUIRES_MAYA = re.compile(br'^requires\s+maya\s+"([^"]*)"\s*;', re.MULTILINE)
_FILE_INFO = re.compile(br'^fileInfo\s+"(product|version)"\s+"([^"]*)"\s*;', re.MULTILINE)
_ASCII_FIRST_LINE = re.compile(br"^//Maya ASCII (\S+) scene")


def _text(value):
    return value.decode("utf-8", "replace") if isinstance(value, bytes) else value


def _asked(cmds):
    """fileInfo as Maya answers it (key, value, key, value ...); None where the host lacks it."""
    try:
        flat = cmds.fileInfo(query=True)
    except (AttributeError, RuntimeError):
        return None
    flat = list(flat or [])
    pairs = dict((_text(key), _text(value)) for key, value in zip(flat[0::2], flat[1::2]))
    return {"maya_version": pairs.get("version"), "product": pairs.get("product"), "from": "fileInfo"}


def _from_header(path):
    """The same facts from the lines a Maya ASCII file opens with (nothing for a binary file)."""
    with io.open(path, "rb") as handle:
        head = handle.read(_HEADER_BYTES)
    info = dict((key.decode("ascii"), value) for key, value in _FILE_INFO.findall(head))
    version = _REQUIRES_MAYA.search(head) or _ASCII_FIRST_LINE.match(head)
    return {"maya_version": _text(version.group(1)) if version else _text(info.get("version")),
            "product": _text(info.get("product")), "from": "header"}


def facts(cmds):
    return _asked(cmds) or _from_header(cmds.file(query=True, sceneName=True))
