# -*- coding: utf-8 -*-
"""Running a scan's scenes, each in its own host process, a number of them at a time.

Whatever happens to one scene (a crash, a hang past the timeout, an unreadable file) becomes that
scene's record; only an interruption of the whole scan (the stop event, or a fault of the machine
such as a full disk) ends the others, and a scene whose host was ended that way gets no record, so
that a resumed scan analyses it again.
"""
import os
import queue
import shutil
import tempfile
import threading
import time

from .host_run import HostLines, Interrupted, delivered_result, host_environment, run_host, run_paths
from .paths import NO_RESULT, Refusal
from .preflight import check_scene
from .scan_records import make_record
from .summary import exit_code, read_host_report


class SceneAnalysis(object):
    """Analyses one scene as the single-scene command does, and gives its record."""

    def __init__(self, interpreter, build, args, check_catalogue, scratch):
        self.interpreter = interpreter
        self.build = build
        self.args = args
        self.check_catalogue = check_catalogue
        self.scratch = scratch
        self.environment = dict(os.environ)

    def __call__(self, scene, stop):
        started = time.time()
        folder = tempfile.mkdtemp(prefix="scene-", dir=self.scratch)
        paths = run_paths(folder)
        result = reason = None
        try:
            check_scene(scene)
            lines = HostLines()
            env = host_environment(self.environment, self.args, paths, self.build)
            returncode = run_host(self.interpreter, scene, env, lines, self.args.timeout, stop)
            _, result = delivered_result(paths, lines.lines, returncode, self.check_catalogue)
            status = exit_code(result)
            if status == NO_RESULT:
                reason = "the result carries no status 0, 1 or 2"
        except Refusal as refusal:
            status, reason = NO_RESULT, str(refusal)
        # an OSError (no process can be started, the scratch folder is full) is the machine's, not
        # the scene's: it stops the scan, which --resume continues
        finally:
            host = read_host_report(paths["host_report"]) if os.path.isfile(paths["host_report"]) else None
            shutil.rmtree(folder, ignore_errors=True)
        return make_record(scene, status, time.time() - started, result, reason, host)


def run_scenes(scenes, jobs, analyse, on_record, on_wait, stop):
    """Runs analyse(scene, stop) over the scenes on `jobs` threads; on_record(record) is called in this
    thread as each scene finishes (in the list's order when jobs is 1), on_wait() every half second
    while none does. An exception in this thread (an interruption) or in a worker sets stop, waits for
    the workers to end their hosts, and is raised here."""
    todo = queue.Queue()
    for scene in scenes:
        todo.put(scene)
    finished = queue.Queue()

    def work():
        while not stop.is_set():
            try:
                scene = todo.get_nowait()
            except queue.Empty:
                return
            try:
                finished.put((True, analyse(scene, stop)))
            except Interrupted:
                return
            except BaseException as error:  # a fault of the client itself: stop the scan and tell it
                finished.put((False, error))
                return

    workers = [threading.Thread(target=work, name="scan-%d" % index) for index in range(min(jobs, len(scenes)))]
    for worker in workers:
        worker.daemon = True
        worker.start()
    remaining = len(scenes)
    try:
        while remaining:
            try:
                ok, value = finished.get(timeout=0.5)
            except queue.Empty:
                on_wait()
                continue
            if not ok:
                raise value
            remaining -= 1
            on_record(value)
    finally:
        stop.set()
        for worker in workers:
            worker.join()
