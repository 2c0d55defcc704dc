"""Runs one vanalyzer.runMain in this process, as the service's client would inside the host.

Reads a JSON spec (argv[1]): the scenario attributes to set, whether to install a catalogue, whether
to start a grandchild process first, and the runMain arguments. Every event is journaled to a file,
since runMain ends this process by force.
"""
from __future__ import print_function

import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import support  # noqa: E402
import scenario  # noqa: E402


def main():
    with open(sys.argv[1]) as handle:
        spec = json.load(handle)
    world = scenario.reset()
    world.journal = spec["journal"]
    for name, value in spec.get("scenario", {}).items():
        setattr(world, name, set(value) if isinstance(getattr(world, name), set) else value)
    if spec.get("catalogue", True):
        support.write_catalogue(spec["folder"])
    else:
        support.vfile.__file__ = os.path.join(spec["folder"], "a", "b", "vfile.py")
    extra = {}
    if spec.get("spawn_descendants"):
        # A child that itself starts a grandchild: both must end with this process.
        child = subprocess.Popen([sys.executable, "-c",
                                  "import subprocess, sys, time\n"
                                  "g = subprocess.Popen(['sleep', '300'])\n"
                                  "print(g.pid); sys.stdout.flush(); time.sleep(300)"],
                                 stdout=subprocess.PIPE)
        grandchild = int(child.stdout.readline())
        extra = {"child": child.pid, "grandchild": grandchild, "self": os.getpid()}
    with open(os.path.join(spec["folder"], "extra.json"), "w") as handle:
        json.dump(extra, handle)
    args = spec.get("arguments", [0, 0])
    support.vanalyzer.runMain(*args)
    print("runMain returned")


if __name__ == "__main__":
    main()
