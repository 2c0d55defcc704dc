"""The programmable world behind the test doubles.

Every double (maya.cmds, xgenm, vout, vfile, vutils) answers from `current`, the scenario of the
running test, and writes what it was asked and told into one ordered event list, so that a test can
state exactly which calls and log lines happened, in which order.
"""


class AssetGroup(object):
    """What a vfile gatherer returns."""

    def __init__(self, files=(), missingFiles=()):
        self.files = set(files)
        self.missingFiles = set(missingFiles)


class Scenario(object):
    def __init__(self):
        # Ordered record: ("log", level, text), ("call", name, args, kwargs), ("stdout", text).
        self.events = []

        # The host (maya.cmds).
        self.scene_name = "/projects/shot/scene.ma"
        self.existing_scenes = set(["/projects/shot/scene.ma"])
        self.nodes = {}           # node type -> list of node names
        self.attributes = {}      # "node.attr" -> value, or an exception instance to raise
        self.parents = {}         # node -> answer of listRelatives(p=1, pa=1), or an exception
        self.failures = {}        # command name, or (command, first argument) -> exception to raise
        self.plugins_in_use = ["mtoa", "4.0.0"]
        self.current_layer = "defaultRenderLayer"
        self.open_scenes = []     # paths opened with file(open=True)

        # xgenm
        self.palettes = []

        # The service (vout, vfile, vutils).
        self.env_list = ["MAYA_VERSION=2020"]
        self.layers = []          # LayerInfo records the collector appends
        self.layer_failure = None  # exception raised after appending the records
        self.asset_groups = {}    # gatherer name -> AssetGroup, or an exception instance
        self.evaluation = 'evaluationManager -mode "off";'
        self.ini = None           # getIniConfiger answer, or an exception instance (None: raises)
        self.real_disk_path = None  # callable(path) -> path; identity when None
        self.existing_plugins = set()
        self.results = []         # texts given to vout.OutResult
        self.recorded_assets = []

        # When set, every event is also appended to this file as one JSON line, so that a parent
        # process can read what a child analysis did before the child ended itself.
        self.journal = None

    # What the doubles use.

    def add_event(self, event):
        self.events.append(event)
        if self.journal:
            import json
            with open(self.journal, "a") as journal:
                journal.write(json.dumps(event, default=repr) + "\n")

    def record_call(self, name, args, kwargs):
        self.add_event(("call", name, tuple(args), dict(kwargs)))

    def fail_if_asked(self, command, args):
        for key in ((command, args[0]) if args else None, command):
            if key is not None and key in self.failures:
                raise self.failures[key]

    # What the tests read.

    def calls(self, name=None):
        return [(e[1], e[2], e[3]) for e in self.events
                if e[0] == "call" and (name is None or e[1] == name)]

    def logs(self, level=None):
        return [(e[1], e[2]) for e in self.events
                if e[0] == "log" and (level is None or e[1] == level)]

    def log_texts(self, level=None):
        return [text for _, text in self.logs(level)]

    def stdout(self):
        return [e[1] for e in self.events if e[0] == "stdout"]


current = Scenario()


def reset():
    global current
    current = Scenario()
    return current
