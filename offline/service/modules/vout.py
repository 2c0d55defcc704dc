# -*- coding: utf-8 -*-
"""Log, asset record and result delivery of the offline service.

Where things go is read from the environment on every call, so a client may
point a running host elsewhere between calls:

  VANALYZER_LOG           log file (default: vanalyzer.log in the working folder)
  VANALYZER_STDERR_LEVEL  lowest level echoed on standard error: Debug, Info,
                          Warring, Error or none (default: Debug)
  VANALYZER_ASSETS        asset manifest, one path a line (default: vanalyzer_assets.txt)
  VANALYZER_MISSING       missing-file manifest, one path a line (default: not written)
  VANALYZER_RESULT        result file (default: vanalyzer_result.json)

The host is ended by SIGKILL right after OutResult returns.  Every log line and
missing file is flushed as it is written; the asset manifest, a line per
accounted file, is written a batch of lines at a time and made durable by
OutResult before the result itself appears, so a delivered result always comes
with a complete manifest.
"""
from __future__ import print_function

import datetime
import io
import os
import sys
import tempfile
import threading

LEVELS = ("Debug", "Info", "Warring", "Error")

_TEXT = type(u"")
_lock = threading.Lock()
_handles = {}
_run_enders = []  # called once a result is delivered: the analysis run is over


def _env_path(name, default):
    value = os.environ.get(name)
    return value if value else default


def _as_text(value):
    """Text for a message that may be bytes (2.7 str, UTF-8 or GBK) or any object."""
    if isinstance(value, bytes):
        for codec in ("utf-8", "gbk"):
            try:
                return value.decode(codec)
            except UnicodeDecodeError:
                pass
        return value.decode("utf-8", "replace")
    try:
        return u"%s" % (value,)
    except UnicodeDecodeError:
        # 2.7 object whose str() holds non-ASCII bytes
        return _as_text(str(value))


def _append_handle(path):
    """An open append handle per path, kept for the life of the process."""
    handle = _handles.get(path)
    if handle is None or handle.closed:
        folder = os.path.dirname(os.path.abspath(path))
        if not os.path.isdir(folder):
            os.makedirs(folder)
        handle = io.open(path, "a", encoding="utf-8", newline="\n")
        _handles[path] = handle
    return handle


def _append_lines(path, texts):
    """The lines on disk at once: a run that ends early keeps every line written before."""
    with _lock:
        handle = _append_handle(path)
        for text in texts:
            handle.write(text + u"\n")
        handle.flush()


def _stderr_threshold():
    wanted = os.environ.get("VANALYZER_STDERR_LEVEL", "Debug").strip()
    if wanted.lower() == "none":
        return len(LEVELS)
    for index, name in enumerate(LEVELS):
        if name.lower() == wanted.lower():
            return index
    return 0


def _write_stderr(line):
    stream = sys.stderr
    try:
        stream.write(line + u"\n")
    except (UnicodeEncodeError, TypeError):
        # a 2.7 byte stream, or a 3.x stream whose encoding cannot hold the text
        data = (line + u"\n").encode("utf-8", "replace")
        target = getattr(stream, "buffer", None)
        if target is not None:
            stream.flush()
            target.write(data)
        else:
            stream.write(data)
    stream.flush()


def _log(level, message):
    _log_all(level, [message])


def _log_all(level, messages):
    """Messages of one level logged at once, as one write to the log and one to standard error:
    the service's own modules report a finding per folder, thousands for a big scene."""
    stamp = datetime.datetime.now().strftime("%Y-%m-%d %H:%M:%S.%f")[:-3]
    lines = [u"%s [%s] %s" % (stamp, level, _as_text(message)) for message in messages]
    if not lines:
        return
    _append_lines(_env_path("VANALYZER_LOG", "vanalyzer.log"), lines)
    if LEVELS.index(level) >= _stderr_threshold():
        _write_stderr(u"\n".join(lines))


def Debug(message):
    _log("Debug", message)


def Info(message):
    _log("Info", message)


def Warring(message):
    _log("Warring", message)


def Error(message):
    _log("Error", message)


def RecordAssets(path):
    """Append one accounted asset to the manifest (complete once OutResult has delivered)."""
    # called once per file of the scene: an environment lookup and a list append; the lines reach
    # the file a batch at a time
    target = _assets_target()
    pending = _pending_assets.get(target)
    if pending is None:
        pending = _start_assets(target)
    pending.append(path if type(path) is _TEXT else _as_text(path))
    if len(pending) >= _ASSETS_A_BATCH:
        _write_assets(target)


# os.environ.get encodes the name and decodes the value at every call; the manifest's name is read
# from the store that os.environ keeps and writes through, where CPython's layout is known (POSIX)
if os.name == "posix" and isinstance(getattr(os.environ, "_data", None), dict):
    _ENVIRON_STORE, _ASSETS_KEY, _decode_value = os.environ._data, b"VANALYZER_ASSETS", os.fsdecode
elif os.name == "posix" and sys.version_info[0] == 2:
    _ENVIRON_STORE, _ASSETS_KEY, _decode_value = os.environ.data, "VANALYZER_ASSETS", str
else:
    _ENVIRON_STORE = None
_assets_name = [None, None]  # the store's value last read, and the name it decodes to


def _assets_target():
    """$VANALYZER_ASSETS as it stands now, else the default manifest."""
    if _ENVIRON_STORE is None:
        return os.environ.get("VANALYZER_ASSETS") or "vanalyzer_assets.txt"
    value = _ENVIRON_STORE.get(_ASSETS_KEY)
    if value is not _assets_name[0]:
        _assets_name[:] = [value, _decode_value(value) if value else None]
    return _assets_name[1] or "vanalyzer_assets.txt"


_pending_assets = {}  # manifest path -> the lines recorded and not yet written
_ASSETS_A_BATCH = 4096


def _start_assets(target):
    """The pending lines of a manifest, opened now so that an unwritable one fails at its first line."""
    with _lock:
        _append_handle(target)
        return _pending_assets.setdefault(target, [])


def _write_assets(target):
    with _lock:
        _write_pending(target)


def _write_pending(target):
    """The manifest's pending lines into its handle; the caller holds _lock."""
    pending = _pending_assets[target]
    count = len(pending)
    if count:
        # RecordAssets on another thread may append meanwhile: only the lines taken here leave
        lines = pending[:count]
        del pending[:count]
        _append_handle(target).write(u"\n".join(lines) + u"\n")


def RecordMissing(path):
    """Append one missing file to the missing-file manifest, when one is asked for."""
    RecordMissingFiles([path])


def RecordMissingFiles(paths):
    """RecordMissing for each of many files, written at once."""
    target = os.environ.get("VANALYZER_MISSING")
    if target:
        _append_lines(target, [_as_text(path) for path in paths])


def _fsync_folder(folder):
    if os.name != "posix":
        return
    fd = os.open(folder, os.O_RDONLY)
    try:
        os.fsync(fd)
    finally:
        os.close(fd)


def _replace(source, target):
    if hasattr(os, "replace"):
        os.replace(source, target)
    else:
        # 2.7: rename does not overwrite on Windows
        if os.name == "nt" and os.path.exists(target):
            os.remove(target)
        os.rename(source, target)


def _sync_manifests():
    with _lock:
        # a manifest with pending lines was opened at its first line: it has a handle
        for path in list(_handles):
            try:
                if path in _pending_assets:
                    _write_pending(path)
                handle = _handles[path]
                if not handle.closed:
                    handle.flush()
                    os.fsync(handle.fileno())
            except (IOError, OSError) as error:
                raise OSError("cannot write %s: %s" % (path, error.strerror or error))


_PIECE = 1 << 20


def _encoded_pieces(text):
    """The result's UTF-8 bytes a piece at a time: a big result is never held twice over."""
    if isinstance(text, bytes):
        yield text
        return
    start = 0
    while start < len(text):
        end = start + _PIECE
        if u"\ud800" <= text[end - 1:end] <= u"\udbff":
            end += 1  # a 2.7 narrow build's surrogate pair is encoded whole
        yield text[start:end].encode("utf-8")
        start = end


def OutResult(text):
    """Deliver the result text whole, or raise and leave nothing behind."""
    target = os.path.abspath(_env_path("VANALYZER_RESULT", "vanalyzer_result.json"))
    folder = os.path.dirname(target)
    text = text if isinstance(text, bytes) else _as_text(text)
    _sync_manifests()
    try:
        fd, temp = tempfile.mkstemp(prefix="." + os.path.basename(target) + ".", suffix=".tmp", dir=folder)
    except (IOError, OSError) as error:
        # the caller sees which file could not be delivered, not a temporary name
        raise OSError("cannot write the result %s: %s" % (target, error.strerror or error))
    try:
        try:
            size = 0
            for data in _encoded_pieces(text):
                size += len(data)
                view = memoryview(data)
                while len(view):
                    view = view[os.write(fd, view):]
            os.fsync(fd)
        finally:
            os.close(fd)
        _replace(temp, target)
    except BaseException as error:
        if os.path.exists(temp):
            os.remove(temp)
        if isinstance(error, (IOError, OSError)):
            raise OSError("cannot write the result %s: %s" % (target, error.strerror or error))
        raise
    _fsync_folder(folder)
    for end_run in _run_enders:
        end_run()
    Info("Result written to %s (%d bytes)." % (target, size))


def _when_run_ends(callback):
    """callback() after each delivered result (the service's other modules drop their run state)."""
    if callback not in _run_enders:
        _run_enders.append(callback)
