"""Runs one vanalyzer.runMain in this process, as the service's client would inside the host.

Reads a JSON plan (argv[1]): the scenario attributes to set, whether to install a catalogue, whether
the host's command module is importable, whether to start descendants first, and the runMain
arguments. Every event is journaled to a file, since runMain ends this process by force.
"""
from __future__ import print_function

import json
import os
import subprocess
import sys


class BlockMaya(object):
    """An import hook under which the host's command module cannot be imported."""

    def find_module(self, name, path=None):
        return self if name == "maya" or name.startswith("maya.") else None

    def find_spec(self, name, path=None, target=None):
        if name == "maya" or name.startswith("maya."):
            raise ImportError("No module named " + name)
        return None

    def load_module(self, name):
        raise ImportError("No module named " + name)


def main():
    with open(sys.argv[1]) as handle:
        plan = json.load(handle)
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    doubles = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "doubles")
    sys.path.insert(0, doubles)
    import scenario
    world = scenario.reset()
    world.journal = plan["journal"]
    for name, value in plan.get("scenario", {}).items():
        setattr(world, name, set(value) if isinstance(getattr(world, name), set) else value)
    if not plan.get("host_commands", True):
        sys.meta_path.insert(0, BlockMaya())
    import support
    if plan.get("catalogue", True):
        support.write_catalogue(plan["folder"])
    else:
        support.vfile.__file__ = os.path.join(plan["folder"], "a", "b", "vfile.py")
    extra = {"module_names": sorted(name for name in vars(support.vanalyzer) if not name.startswith("__"))}
    if plan.get("spawn_descendants"):
        # A child that itself starts a grandchild: both must end with this process.
        child = subprocess.Popen([sys.executable, "-c",
                                  "import subprocess, sys, time\n"
                                  "g = subprocess.Popen(['sleep', '300'])\n"
                                  "print(g.pid); sys.stdout.flush(); time.sleep(300)"],
                                 stdout=subprocess.PIPE)
        extra.update(child=child.pid, grandchild=int(child.stdout.readline()), runner=os.getpid())
    with open(os.path.join(plan["folder"], "extra.json"), "w") as handle:
        json.dump(extra, handle)
    if plan.get("import_only"):
        return
    support.vanalyzer.runMain(*plan.get("arguments", [0, 0]))
    print("runMain returned")


if __name__ == "__main__":
    main()
