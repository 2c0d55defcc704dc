"""The README's Slurm recipe for real: a job array of examples/batch/slurm-scan.sh over a small library,
on a one-node cluster started for the test; the gathered JSON lines equal one machine's scan."""
import json
import os
import shutil
import stat

import pytest

import e2e
import slurm_cluster

SCRIPT = os.path.join(e2e.REPO, "examples", "batch", "slurm-scan.sh")
SHARDS = 3

pytestmark = pytest.mark.usefixtures("built")


@pytest.fixture
def cluster():
    missing = slurm_cluster.missing_programs()
    if missing:
        e2e.unavailable("Slurm and munge are not installed (tools/install-dependencies.sh): %s" % ", ".join(missing))
    if os.geteuid() != 0:
        e2e.unavailable("the one-node Slurm cluster needs root (slurmd starts the jobs)")
    with slurm_cluster.Cluster() as started:
        yield started


def _library(root):
    for show in ("a", "b/one", "b/two"):
        shutil.copytree(os.path.join(e2e.EXAMPLES, "project"), os.path.join(root, show, "project"))
    with open(os.path.join(root, "b", "broken.ma"), "wb") as handle:
        handle.write(b'//Maya ASCII 2022 scene\ncreateNode transform -n "a\n')
    return root


def _launcher(folder):
    """vanalyzer-offline on the jobs' PATH, run by Debian's Python as the client must be."""
    os.makedirs(folder)
    path = os.path.join(folder, "vanalyzer-offline")
    with open(path, "w") as handle:
        handle.write('#!/bin/sh\nexec /usr/bin/python3 %s "$@"\n' % e2e.LAUNCHER)
    os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR)
    return folder


def _records(paths):
    records = []
    for path in paths:
        with open(path) as handle:
            records.extend(json.loads(line) for line in handle)
    return sorted(records, key=lambda record: record["scene"])


def _comparable(record):
    record = dict(record)
    del record["seconds"]
    if record["result"] is not None:
        record["result"] = e2e.comparable(record["result"])
    return record


def test_a_job_array_over_the_library_agrees_with_one_machine(cluster, tmp_path):
    library = _library(str(tmp_path / "library"))
    results = str(tmp_path / "results")
    env = dict(cluster.env, PATH=_launcher(str(tmp_path / "bin")) + os.pathsep + cluster.env["PATH"])
    job = cluster.submit("--array=0-%d" % (SHARDS - 1), "--output=" + str(tmp_path / "task-%a.log"),
                         SCRIPT, str(SHARDS), library, results, "-j", "1", "--machine-type", "startGpu",
                         env=env, cwd=str(tmp_path))
    tasks = cluster.wait_job(job)
    logs = "\n".join(open(str(tmp_path / name)).read() for name in sorted(os.listdir(str(tmp_path)))
                     if name.startswith("task-"))
    assert sorted(tasks) == [str(index) for index in range(SHARDS)], (tasks, logs)
    assert all(state == ("COMPLETED", "0:0") for state in tasks.values()), (tasks, logs, cluster.logs())

    shards = [os.path.join(results, "shard-%d.jsonl" % index) for index in range(SHARDS)]
    gathered = _records(shards)
    scenes = [record["scene"] for record in gathered]
    assert len(scenes) == len(set(scenes)) == 7  # every scene once: the shards partition the library

    single = str(tmp_path / "single.jsonl")
    code, out, err = e2e.run(["scan", library, "--jsonl", single, "-j", "2", "--machine-type", "startGpu"])
    assert code == 3, err  # the broken scene
    assert [_comparable(record) for record in gathered] == [_comparable(record) for record in _records([single])]
