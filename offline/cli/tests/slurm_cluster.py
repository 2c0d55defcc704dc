"""A one-node Slurm cluster on this machine, for a test: its own munge daemon, key and socket, its own
configuration, state and spool folders under one temporary folder, its own free ports, and every
daemon started by it stopped by it (also when the test fails). Debian's slurm-wlm and munge."""
import os
import re
import shutil
import signal
import socket
import stat
import subprocess
import tempfile
import time

DAEMONS = ("munged", "slurmctld", "slurmd", "sbatch", "squeue", "scontrol", "scancel", "sinfo")
NODE = "vanalyzer-node"


def missing_programs():
    return [name for name in DAEMONS if not shutil.which(name, path=os.environ.get("PATH", "") + ":/usr/sbin")]


def _free_ports(count):
    sockets = [socket.socket() for _ in range(count)]
    try:
        for sock in sockets:
            sock.bind(("127.0.0.1", 0))
        return [sock.getsockname()[1] for sock in sockets]
    finally:
        for sock in sockets:
            sock.close()


CONFIG = """\
ClusterName=vanalyzer-test
SlurmctldHost={host}(127.0.0.1)
SlurmctldPort={ctld_port}
SlurmdPort={slurmd_port}
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket={root}/run/munge.socket
StateSaveLocation={root}/state
SlurmdSpoolDir={root}/spool
SlurmctldPidFile={root}/run/slurmctld.pid
SlurmdPidFile={root}/run/slurmd.pid
SlurmctldLogFile={root}/log/slurmctld.log
SlurmdLogFile={root}/log/slurmd.log
ProctrackType=proctrack/pgid
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
JobCompType=jobcomp/none
MpiDefault=none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
MinJobAge=600
KillWait=2
NodeName={node} NodeHostname={host} NodeAddr=127.0.0.1 CPUs={cpus} State=UNKNOWN
PartitionName=scan Nodes={node} Default=YES MaxTime=INFINITE State=UP
"""


class Cluster(object):
    def __init__(self, cpus=2):
        self.root = tempfile.mkdtemp(prefix="vanalyzer-slurm-")
        os.chmod(self.root, 0o755)  # munged wants its socket's folders open to every user
        for name in ("etc", "run", "state", "spool", "log", "munge"):
            os.mkdir(os.path.join(self.root, name))
        os.chmod(os.path.join(self.root, "munge"), 0o700)
        self.cpus = cpus
        self.daemons = []
        self.env = dict(os.environ, SLURM_CONF=os.path.join(self.root, "etc", "slurm.conf"))
        self.env["PATH"] = self.env.get("PATH", "") + ":/usr/sbin"

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def _daemon(self, name, argv):
        log = open(self.path("log", name + ".out"), "wb")
        self.daemons.append((name, subprocess.Popen(argv, env=self.env, stdin=subprocess.DEVNULL, stdout=log,
                                                    stderr=subprocess.STDOUT)))
        log.close()

    def _wait(self, condition, what, limit):
        ended = time.time() + limit
        while not condition():
            for name, daemon in self.daemons:
                if daemon.poll() is not None:
                    raise RuntimeError("%s ended (code %s) while waiting for %s\n%s"
                                       % (name, daemon.returncode, what, self.logs()))
            if time.time() > ended:
                raise RuntimeError("gave up waiting for %s\n%s" % (what, self.logs()))
            time.sleep(0.1)

    def start(self):
        key = self.path("munge", "munge.key")
        with open(key, "wb") as handle:
            handle.write(os.urandom(1024))
        os.chmod(key, 0o400)
        self._daemon("munged", ["munged", "--foreground", "--socket=" + self.path("run", "munge.socket"),
                                "--key-file=" + key, "--pid-file=" + self.path("run", "munged.pid"),
                                "--log-file=" + self.path("log", "munged.log"),
                                "--seed-file=" + self.path("munge", "munged.seed")])
        self._wait(lambda: os.path.exists(self.path("run", "munge.socket")), "munged's socket", 30)
        for attempt in range(3):
            # ports found free may be taken before the daemons bind them: then again with others
            ctld_port, slurmd_port = _free_ports(2)
            with open(self.env["SLURM_CONF"], "w") as handle:
                handle.write(CONFIG.format(host=socket.gethostname(), ctld_port=ctld_port, slurmd_port=slurmd_port,
                                           root=self.root, node=NODE, cpus=self.cpus))
            self._daemon("slurmctld", ["slurmctld", "-D", "-i"])
            self._daemon("slurmd", ["slurmd", "-D", "-N", NODE])
            try:
                self._wait(lambda: self.node_state() == "idle", "the node to be idle", 60)
                return self
            except RuntimeError:
                if attempt == 2:
                    raise
                self._end(("slurmd", "slurmctld"))

    def _end(self, names):
        """Ends the named daemons (SIGTERM, then SIGKILL), the last started first."""
        for name, daemon in reversed(self.daemons):
            if name in names and daemon.poll() is None:
                daemon.send_signal(signal.SIGTERM)
                try:
                    daemon.wait(15)
                except subprocess.TimeoutExpired:
                    daemon.kill()
                    daemon.wait()
        self.daemons = [(name, daemon) for name, daemon in self.daemons if name not in names]

    def command(self, *argv):
        done = subprocess.run(argv, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
        if done.returncode:
            raise RuntimeError("%s: %s%s" % (" ".join(argv), done.stderr.decode(), done.stdout.decode()))
        return done.stdout.decode()

    def node_state(self):
        done = subprocess.run(["sinfo", "-h", "-n", NODE, "-o", "%T"], env=self.env, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=60)
        return done.stdout.decode().strip()

    def submit(self, *argv, **options):
        """Submits with sbatch and returns the job id."""
        cwd = options.get("cwd")
        done = subprocess.run(["sbatch", "--parsable"] + list(argv), env=options.get("env", self.env), cwd=cwd,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
        if done.returncode:
            raise RuntimeError("sbatch failed: %s\n%s" % (done.stderr.decode(), self.logs()))
        return done.stdout.decode().strip().split(";")[0]

    def wait_job(self, job, limit=300):
        """Waits until no task of the job is queued or running; returns {task id: (state, exit code)}."""
        self._wait(lambda: not self.command("squeue", "-h", "-j", job).strip(), "job %s to end" % job, limit)
        tasks = {}
        for line in self.command("scontrol", "show", "job", "-o", job).splitlines():
            fields = dict(re.findall(r"(\w+)=(\S*)", line))
            tasks[fields.get("ArrayTaskId", fields.get("JobId"))] = (fields.get("JobState"), fields.get("ExitCode"))
        return tasks

    def logs(self):
        text = []
        for name in sorted(os.listdir(self.path("log"))):
            with open(self.path("log", name), "rb") as handle:
                lines = handle.read().decode("utf-8", "replace").splitlines()[-15:]
            text.append("--- %s\n%s" % (name, "\n".join(lines)))
        return "\n".join(text)

    def stop(self):
        """Cancels what is left of the jobs, then ends the daemons (SIGTERM, then SIGKILL) and removes the folder."""
        if any(name == "slurmctld" and daemon.poll() is None for name, daemon in self.daemons):
            subprocess.run(["scancel", "--full", "--user", "root"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=60)
            try:
                self._wait(lambda: not self.command("squeue", "-h").strip(), "the jobs to be cancelled", 30)
                # each job step's slurmstepd keeps a socket in the spool folder until it has ended
                self._wait(lambda: not [name for name in os.listdir(self.path("spool"))
                                        if stat.S_ISSOCK(os.lstat(self.path("spool", name)).st_mode)],
                           "the job steps to end", 30)
            except RuntimeError:
                pass
        self._end([name for name, _ in self.daemons])
        shutil.rmtree(self.root, ignore_errors=True)

    def __enter__(self):
        try:
            return self.start()
        except BaseException:
            self.stop()
            raise

    def __exit__(self, *error):
        self.stop()
