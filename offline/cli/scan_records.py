# -*- coding: utf-8 -*-
"""The scan's JSON lines: one record per scene, written as each scene finishes, read back to resume.

A record is {"scene", "exit", "seconds", "result", "reason", "host"}: the scene's absolute path, the
exit status the single-scene command gives for it (0, 1, 2 the result's status; 3 no result), the
seconds its analysis took, the delivered result (null when there is none), why there is none (null
when there is one) and the host report (null when the host wrote none).
"""
import json
import os

from .paths import Refusal

FIELDS = ("scene", "exit", "seconds", "result", "reason", "host")


def make_record(scene, exit_status, seconds, result, reason, host):
    values = (scene, exit_status, round(seconds, 3), result, reason, host)
    return dict(zip(FIELDS, values))


def record_line(record):
    # keys in contract order; ASCII, so that a path in any encoding survives every reader
    return json.dumps(dict((key, record[key]) for key in FIELDS)) + "\n"


def _parse(line):
    try:
        record = json.loads(line.decode("utf-8"))
    except ValueError:
        return None
    if not (isinstance(record, dict) and isinstance(record.get("scene"), str)
            and record.get("exit") in (0, 1, 2, 3) and not isinstance(record.get("exit"), bool)
            and isinstance(record.get("seconds"), (int, float))):
        return None
    return record


def read_records(path, keep=None):
    """(records, size of the part that ends with a whole line), each record passed through keep (the
    summary keeps a few fields of each, not whole results). A last line without its newline, the trace
    of a run killed while writing it, is not a record; nor is a line that is not a record."""
    records = []
    whole = 0
    try:
        with open(path, "rb") as handle:
            for line in handle:
                if not line.endswith(b"\n"):
                    break
                whole += len(line)
                record = _parse(line)
                if record is not None:
                    records.append(keep(record) if keep else record)
    except FileNotFoundError:
        return [], 0
    except OSError as error:
        raise Refusal("cannot read %s: %s" % (path, error.strerror or error))
    return records, whole


class RecordWriter(object):
    """Appends records to a JSON-lines file (or writes them to a stream), each flushed when written."""

    def __init__(self, stream, path=None):
        self.stream = stream
        self.path = path

    @classmethod
    def open(cls, path, resume, keep=None):
        """The writer for path and the records it already holds (through keep). Without resume an existing
        non-empty file is refused rather than overwritten; with it, a half-written last line is cut off."""
        path = os.path.abspath(path)
        if os.path.isdir(path):
            raise Refusal("the JSON-lines path %s is a folder" % path)
        records, whole = read_records(path, keep) if resume else ([], 0)
        if not resume and os.path.isfile(path) and os.path.getsize(path) > 0:
            raise Refusal("%s already holds records: give --resume to continue that scan, or another file" % path)
        try:
            stream = open(path, "ab")
            if stream.tell() > whole:
                stream.truncate(whole)
        except OSError as error:
            raise Refusal("cannot write %s: %s" % (path, error.strerror or error))
        return cls(stream, path), records

    def write(self, record):
        data = record_line(record)
        if self.path is None:
            self.stream.write(data)
        else:
            self.stream.write(data.encode("ascii"))
        self.stream.flush()

    def close(self):
        if self.path is not None:
            self.stream.close()
