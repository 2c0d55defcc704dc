# -*- coding: utf-8 -*-
"""The host report's "scene" section: the Maya version and product the scene was saved with."""
import io
import re
import struct

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


def _binary_chunks(head, tag):
    """The payloads of the chunks named tag in a Maya Binary file's head: an id and a big-endian size
    (FOR4: 4 bytes; FOR8: 4 unused bytes, then 8), the payload after it."""
    wide = head[:4] == b"FOR8"
    start = head.find(tag)
    while start >= 0:
        size_at, size_length = (start + 8, 8) if wide else (start + 4, 4)
        size_bytes = head[size_at:size_at + size_length]
        if len(size_bytes) == size_length:
            size = struct.unpack(">Q" if wide else ">I", size_bytes)[0]
            yield head[size_at + size_length:size_at + size_length + min(size, 4096)]
        start = head.find(tag, start + 4)


def _from_header(path):
    """The same facts from the head of the file: the requires and fileInfo lines of a Maya ASCII
    file, the VERS and FINF chunks of a Maya Binary one."""
    with io.open(path, "rb") as handle:
        head = handle.read(_HEADER_BYTES)
    if head[:4] in (b"FOR4", b"FOR8"):
        pairs = [tuple(payload.split(b"\0")[:2]) for payload in _binary_chunks(head, b"FINF")]
        info = dict((key.decode("latin-1"), value) for key, value in (p for p in pairs if len(p) == 2))
        version = next(iter(_binary_chunks(head, b"VERS")), None) or info.get("version")
    else:
        info = dict((key.decode("ascii"), value) for key, value in _FILE_INFO.findall(head))
        match = _REQUIRES_MAYA.search(head) or _ASCII_FIRST_LINE.match(head)
        version = match.group(1) if match else info.get("version")
    return {"maya_version": _text(version), "product": _text(info.get("product")), "from": "header"}


def facts(cmds):
    return _asked(cmds) or _from_header(cmds.file(query=True, sceneName=True))
