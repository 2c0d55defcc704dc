# -*- coding: utf-8 -*-
"""vanalyzer-offline: the service's client for one scene on this machine.

It checks what it can before starting (scene, catalogue, interpreter, result
path), starts the host interpreter on bootstrap.py with the run's settings in
its environment, relays progress while the analysis runs, and prints the
delivered result.  Exit status: the result's status (0, 1, 2), raised to 2 by
a script-virus finding under --fail-on-malware; 3 when no result was delivered;
64 for a command-line mistake.
"""
from __future__ import print_function

import argparse
import datetime
import os
import shutil
import sys
import tempfile
import time

from .host_run import Progress, delivered_result, host_environment, run_host, run_paths
from .paths import CATALOGUE, DEFAULT_PYTHON, NO_RESULT, USAGE, Refusal
from .preflight import (build_dir, check_catalogue, check_output_target, check_scene,
                        resolve_interpreter)
from .summary import exit_code, format_findings, format_summary, read_host_report, read_lines
from . import html_report, scene_record


class _Parser(argparse.ArgumentParser):
    def error(self, message):
        self.print_usage(sys.stderr)
        self.exit(USAGE, "%s: error: %s\n" % (self.prog, message))


def add_analysis_options(parser):
    """The options that shape how a scene is analysed; every command that analyses scenes takes them."""
    parser.add_argument("--machine-type", choices=("startCpu", "startGpu"),
                        help="machine kind the job asks for (MachineType); inherited when not given")
    parser.add_argument("--config", help="service configuration INI (VANALYZER_CONFIG)")
    parser.add_argument("--python", default=DEFAULT_PYTHON,
                        help="host interpreter: a path or a version such as 2.7 or 3.9 (default %(default)s)")
    parser.add_argument("--build-dir", help="CMake build folder holding abi3/ and py27/ "
                                            "(default $VANALYZER_BINARY_DIR or <repo>/build/release)")
    parser.add_argument("--timeout", type=float, default=0, help="seconds before the host is ended (0: none)")
    parser.add_argument("--dirmap", nargs=2, action="append", metavar=("FROM", "TO"),
                        help="read the folder FROM, as the scene's artists wrote it, as TO here (Maya's dirmap); "
                             "repeatable, tried in the order given, before the configuration's [dirmap]")
    parser.add_argument("--project", help="the project folder (Maya's workspace), instead of the one found "
                                          "from workspace.mel at or above the scene")


def check_analysis_options(args):
    """Checks what add_analysis_options gave before any host starts; returns (interpreter, build folder)."""
    check_catalogue(CATALOGUE)
    interpreter = resolve_interpreter(args.python)
    build = build_dir(args.build_dir)
    if not os.path.isdir(build):
        raise Refusal("the build folder %s does not exist (build first, or give --build-dir)" % build)
    if args.config and not os.path.isfile(args.config):
        raise Refusal("the configuration %s does not exist" % args.config)
    return interpreter, build


def parse_args(argv):
    parser = _Parser(prog="vanalyzer-offline",
                     description="Analyse a Maya scene as the render service would, and print the result.",
                     epilog="Many scenes at once: vanalyzer-offline scan PATH... (see vanalyzer-offline scan --help).")
    parser.add_argument("scene", help="the scene file")
    add_analysis_options(parser)
    parser.add_argument("--result", help="where the result JSON is written (default: not kept)")
    parser.add_argument("--log", help="where the log is written (default: not kept)")
    parser.add_argument("--assets", help="where the asset manifest is written (default: not kept)")
    parser.add_argument("--json", action="store_true", help="print the result JSON as delivered")
    parser.add_argument("-v", "--verbose", action="store_true", help="relay every line of the host")
    add_report_options(parser)
    return parser.parse_args(argv)


def add_report_options(parser):
    """What a person gets beside the results, for every command that analyses scenes."""
    parser.add_argument("--html", metavar="FILE", help="also write the report as one self-contained HTML page")
    parser.add_argument("--fail-on-malware", action="store_true",
                        help="exit 2 (error) when the script scan finds a known script virus or could not run")


def main(argv=None):
    argv = sys.argv[1:] if argv is None else argv
    if argv[:1] == ["scan"]:
        from .scan import main as scan_main
        return scan_main(argv[1:])
    args = parse_args(argv)
    if hasattr(sys.stdout, "reconfigure"):
        sys.stdout.reconfigure(errors="backslashreplace")
    scratch = tempfile.mkdtemp(prefix="vanalyzer-offline-")
    try:
        return _main(args, scratch)
    except Refusal as refusal:
        sys.stderr.write("vanalyzer-offline: %s\n" % refusal)
        if args.html:
            _write_html(args.html, scene_record.record(os.path.abspath(args.scene), NO_RESULT, None, None,
                                                       str(refusal), None, machine_type=_machine_type(args)))
        return NO_RESULT
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def _main(args, scratch):
    scene = os.path.abspath(args.scene)
    check_scene(scene)
    interpreter, build = check_analysis_options(args)
    paths = run_paths(scratch, {name: getattr(args, name) for name in ("result", "log", "assets")})
    for name in ("result", "log", "assets"):
        check_output_target(paths[name], name)
    if args.html:
        check_output_target(os.path.abspath(args.html), "HTML report")
    # the result file exists after the run only if this run delivered it
    if os.path.isfile(paths["result"]):
        os.remove(paths["result"])
    for name in ("log", "assets"):
        if getattr(args, name) and os.path.isfile(paths[name]):
            os.remove(paths[name])

    progress = Progress(sys.stderr, args.verbose)
    env = host_environment(os.environ, args, paths, build)
    started = time.time()
    analysed_at = datetime.datetime.now().astimezone().isoformat(timespec="seconds")
    returncode = run_host(interpreter, scene, env, progress, args.timeout)
    seconds = round(time.time() - started, 3)
    delivered, result = delivered_result(paths, progress.lines, returncode, lambda: check_catalogue(CATALOGUE))
    missing = sorted(set(read_lines(paths["missing"])))
    code = exit_code(result)
    host = read_host_report(paths["host_report"])
    rec = scene_record.record(scene, code, seconds, result, None, host, machine_type=_machine_type(args),
                              analysed_at=analysed_at, missing=missing)
    if args.json:
        _write_delivered(delivered)
        if scene_record.script_findings(rec)[0]:
            sys.stderr.write(format_findings(rec) + "\n")
    else:
        sys.stdout.write(format_summary(result, missing, host.get("references"), progress.accounted) + "\n" + format_findings(rec) + "\n")
    sys.stdout.flush()
    if code == NO_RESULT:
        sys.stderr.write("vanalyzer-offline: the result carries no status 0, 1 or 2\n")
    refusal = scene_record.fail_on_malware(rec) if args.fail_on_malware else None
    if refusal:
        sys.stderr.write("vanalyzer-offline: refused (--fail-on-malware): %s\n" % refusal)
    if args.html:
        _write_html(args.html, rec)
    return rec["exit"]


def _write_delivered(delivered):
    """The result's bytes as the host delivered them, and a line end: a big scene's result is
    megabytes, written as it is rather than decoded and encoded again."""
    end = b"" if delivered.endswith(b"\n") else b"\n"
    target = getattr(sys.stdout, "buffer", None)
    if target is None:
        sys.stdout.write(delivered.decode("utf-8") + end.decode("ascii"))
        return
    sys.stdout.flush()
    target.write(delivered)
    target.write(end)


def _machine_type(args):
    return args.machine_type or os.environ.get("MachineType")


def _write_html(path, rec):
    try:
        html_report.write(path, html_report.scene_page(rec))
    except OSError as error:
        sys.stderr.write("vanalyzer-offline: cannot write the HTML report %s: %s\n" % (path, error.strerror or error))


if __name__ == "__main__":
    sys.exit(main())
