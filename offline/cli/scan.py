# -*- coding: utf-8 -*-
"""vanalyzer-offline scan: the offline analysis over many scenes.

Scenes are found under the given paths (scan_discovery), optionally cut to one shard of the stable
list, and analysed each in its own host, -j at a time (scan_runner). One JSON line per scene is
written as it finishes (scan_records), to --jsonl FILE or else to standard output; --resume skips
the scenes the file already records. Progress goes to standard error (scan_progress), the summary
(scan_summary) to standard output, or to standard error when the JSON lines go there.

Exit status: once every scene has its record, the worst status among them (0, 1, 2; 3 for a scene
without a result); 4 when the scan cannot run or go on (a path that does not exist, an unusable
option or JSON-lines file, a full disk); 64 for a command-line mistake; 130 or 143 when interrupted
by SIGINT or SIGTERM (the scenes finished so far are recorded, the scenes being analysed then are
not). A scheduler can so tell a finished scan (0 to 3) from one to run again.
"""
from __future__ import print_function

import argparse
import os
import shutil
import signal
import sys
import tempfile
import threading
import time

from . import html_report, scene_record
from .host_run import host_environment, run_paths
from .main import _Parser, add_analysis_options, add_report_options, check_analysis_options
from .paths import CATALOGUE, Refusal
from .preflight import check_catalogue, check_output_target
from .scan_discovery import discover, parse_shard, shard
from .scan_progress import ScanProgress
from .scan_records import RecordWriter
from .scan_runner import SceneAnalysis, run_scenes
from .scan_summary import digest, format_scan_summary, worst_exit
from .summary import format_scan_findings

DEFAULT_TIMEOUT = 600.0
SCAN_FAILED = 4


class Stopped(Exception):
    def __init__(self, signum):
        Exception.__init__(self, signum)
        self.signum = signum


def default_jobs():
    try:
        return len(os.sched_getaffinity(0))  # the CPUs a scheduler gave this process, not the machine's
    except AttributeError:
        return os.cpu_count() or 1


def _jobs(text):
    if not text.isdigit() or int(text) < 1:
        raise argparse.ArgumentTypeError("-j takes a whole number of at least 1 (got %r)" % text)
    return int(text)


def _shard(text):
    try:
        return parse_shard(text)
    except ValueError as error:
        raise argparse.ArgumentTypeError(str(error))


def parse_args(argv):
    parser = _Parser(prog="vanalyzer-offline scan",
                     description="Analyse every Maya scene under the given paths, one JSON line per scene.",
                     epilog="--timeout is %g s for each scene unless given (0: none). Exit status: the worst "
                            "status among the scenes (0, 1, 2, 3); 4 when the scan cannot run or go on; 64 for "
                            "a usage mistake; 130/143 when interrupted." % DEFAULT_TIMEOUT)
    parser.add_argument("paths", nargs="+", metavar="PATH",
                        help="a scene file, or a folder searched recursively for .ma and .mb scenes")
    parser.add_argument("-j", "--jobs", type=_jobs, default=default_jobs(),
                        help="scenes analysed at a time (default: the CPUs available, %(default)s here)")
    parser.add_argument("--jsonl", metavar="FILE", help="where the JSON lines go (default: standard output)")
    parser.add_argument("--resume", action="store_true",
                        help="continue the scan recorded in --jsonl FILE: skip the scenes it records")
    parser.add_argument("--shard", type=_shard, metavar="I/N",
                        help="only the I-th (from 0) of N disjoint parts of the list of scenes")
    add_analysis_options(parser)
    add_report_options(parser)
    parser.set_defaults(timeout=DEFAULT_TIMEOUT)
    args = parser.parse_args(argv)
    if args.resume and not args.jsonl:
        parser.error("--resume needs --jsonl FILE")
    return args


def main(argv):
    args = parse_args(argv)
    if hasattr(sys.stdout, "reconfigure"):
        sys.stdout.reconfigure(errors="backslashreplace")
    previous = {signum: signal.signal(signum, _stop) for signum in (signal.SIGTERM, signal.SIGHUP)}
    scratch = None
    try:
        scratch = tempfile.mkdtemp(prefix="vanalyzer-scan-")
        return _scan(args, scratch)
    except Refusal as refusal:
        sys.stderr.write("vanalyzer-offline scan: %s\n" % refusal)
        return SCAN_FAILED
    except KeyboardInterrupt:
        sys.stderr.write("\nvanalyzer-offline scan: interrupted; --resume continues it\n")
        return 128 + signal.SIGINT
    except Stopped as stopped:
        sys.stderr.write("\nvanalyzer-offline scan: ended by signal %d; --resume continues it\n" % stopped.signum)
        return 128 + stopped.signum
    except BrokenPipeError:  # the reader of the JSON lines went away (`scan ... | head`)
        os.dup2(os.open(os.devnull, os.O_WRONLY), sys.stdout.fileno())
        return 128 + signal.SIGPIPE
    except OSError as error:  # the machine's fault (a full disk, no process can be started)
        sys.stderr.write("\nvanalyzer-offline scan: %s; --resume continues it\n" % error)
        return SCAN_FAILED
    finally:
        for signum, handler in previous.items():
            signal.signal(signum, handler)
        if scratch:
            shutil.rmtree(scratch, ignore_errors=True)


def _stop(signum, frame):
    raise Stopped(signum)


def _scan(args, scratch):
    interpreter, build = check_analysis_options(args)
    host_environment(os.environ, args, run_paths(scratch), build)  # a bad --project or [dirmap] stops it here
    if args.html:
        check_output_target(os.path.abspath(args.html), "HTML report")
    scenes = discover(args.paths)
    if args.shard:
        scenes = shard(scenes, *args.shard)
    # the summary keeps a digest of each record (no result); the HTML page needs them whole
    whole = bool(args.html)
    if args.jsonl:
        writer, recorded = RecordWriter.open(args.jsonl, args.resume, None if whole else digest)
        summary_stream = sys.stdout
    else:
        writer, recorded = RecordWriter(sys.stdout), []
        summary_stream = sys.stderr
    try:
        wanted = set(scenes)
        earlier = {}
        for record in recorded:
            if record["scene"] in wanted:
                earlier[record["scene"]] = record
                if args.fail_on_malware:
                    scene_record.fail_on_malware(record)
        todo = [scene for scene in scenes if scene not in earlier]
        kept = list(earlier.values())
        progress = ScanProgress(sys.stderr, len(scenes), len(earlier))
        analyse = SceneAnalysis(interpreter, build, args, lambda: check_catalogue(CATALOGUE), scratch)

        def on_record(record):
            if args.fail_on_malware:
                scene_record.fail_on_malware(record)
            writer.write(record)
            kept.append(record if whole else digest(record))
            progress.record(record)

        started = time.time()
        run_scenes(todo, args.jobs, analyse, on_record, progress.show, threading.Event())
        progress.finish()
    finally:
        writer.close()
    kept.sort(key=lambda record: record["scene"])
    records = [digest(record) for record in kept] if whole else kept
    summary_stream.write(format_scan_summary(records, time.time() - started, len(earlier), args.jobs) + "\n")
    summary_stream.write(format_scan_findings(records) + "\n")
    summary_stream.flush()
    if args.html:
        html_report.write(args.html, html_report.scan_page(kept, args.machine_type or os.environ.get("MachineType")))
    return worst_exit(records)
