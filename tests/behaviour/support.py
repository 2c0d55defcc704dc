"""Shared set-up of the behaviour tests: the built module, the test doubles, a clean environment.

The tests import the binary built for the running interpreter: `<build>/py27/vanalyzer.so` under 2.7,
`<build>/abi3/vanalyzer.abi3.so` under 3.x, where <build> is $VANALYZER_BINARY_DIR (default
build/release).
"""
from __future__ import print_function

import io
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.dirname(os.path.dirname(HERE))
DOUBLES = os.path.join(REPOSITORY, "tests", "doubles")
BINARY_DIR = os.environ.get("VANALYZER_BINARY_DIR", os.path.join(REPOSITORY, "build", "release"))
MODULE_DIR = os.path.join(BINARY_DIR, "py27" if sys.version_info[0] == 2 else "abi3")

for path in (DOUBLES, MODULE_DIR):
    if path not in sys.path:
        sys.path.insert(0, path)

import scenario  # noqa: E402
import vfile  # noqa: E402
import vanalyzer  # noqa: E402

PY2 = sys.version_info[0] == 2

# Every variable the analyzer reads from the environment; each test starts without them.
SETTING_VARIABLES = ("PELKASSMODE", "PLEKSEEKALLASS", "PELKTHREADS", "PELKCUS", "MachineType",
                     "PELKRS", "PELKTX", "pelk_Plugins", "pelk_Machine", "VantorMaya")

# A catalogue with one entry per code the analyzer raises.
CATALOGUE = [
    {"code": 10001, "en": "Missing files:\r\n${missingFiles}", "cn": u"\u7f3a\u5931\u6587\u4ef6:\r\n${missingFiles}"},
    {"code": 10002, "en": "Scene not found: ${scenePath}", "cn": u"\u573a\u666f\u4e0d\u5b58\u5728: ${scenePath}"},
    {"code": 10003, "en": "No render layers", "cn": u"\u6ca1\u6709\u6e32\u67d3\u5c42"},
    {"code": 10004, "en": "Beauty denoiser on CPU", "cn": u"CPU \u964d\u566a"},
    {"code": 10005, "en": "Renderer does not suit the machine", "cn": u"\u673a\u578b\u4e0d\u7b26"},
    {"code": 10006, "en": "AOV denoiser on CPU", "cn": u"AOV \u964d\u566a"},
    {"code": 10007, "en": "AOV denoiser", "cn": u"AOV \u964d\u566a GPU"},
    {"code": 10008, "en": "VRay GPU engine on CPU", "cn": u"VRay GPU"},
    {"code": 10009, "en": "Redshift on CPU", "cn": u"Redshift CPU"},
    {"code": 10010, "en": "Cannot switch to master layer", "cn": u"\u4e3b\u5c42"},
    {"code": 10011, "en": "Layer without camera", "cn": u"\u76f8\u673a"},
    {"code": 10019, "en": "Malicious script", "cn": u"\u75c5\u6bd2"},
    {"code": 10020, "en": "Old VRay on many cores", "cn": u"VRay \u7248\u672c"},
]


def write_catalogue(folder, entries=None, text=None):
    """Writes VANTORCODE into `folder` and points vfile's file two levels below it."""
    module_folder = os.path.join(folder, "service", "modules")
    if not os.path.isdir(module_folder):
        os.makedirs(module_folder)
    vfile.__file__ = os.path.join(module_folder, "vfile.py")
    path = os.path.join(folder, "VANTORCODE")
    if text is None:
        text = json.dumps(CATALOGUE if entries is None else entries, ensure_ascii=False)
    with io.open(path, "w", encoding="utf-8") as catalogue:
        catalogue.write(text if not isinstance(text, bytes) else text.decode("utf-8"))
    return path


class StandardOutput(object):
    """Takes the place of sys.stdout: each write becomes an ordered event of the scenario."""

    def write(self, text):
        scenario.current.add_event(("stdout", text))

    def flush(self):
        pass


class AnalyzerTestCase(unittest.TestCase):
    """Fresh scenario, default vfile settings, a catalogue, no setting variables, stdout captured."""

    def setUp(self):
        self.world = scenario.reset()
        vfile.reset_settings()
        self.folder = tempfile.mkdtemp(prefix="vanalyzer-test-")
        self.catalogue = write_catalogue(self.folder)
        self.saved_environment = dict((name, os.environ.pop(name)) for name in SETTING_VARIABLES
                                      if name in os.environ)
        self.saved_stdout = sys.stdout
        sys.stdout = StandardOutput()
        sys.modules.pop("vCus", None)

    def tearDown(self):
        sys.stdout = self.saved_stdout
        for name in SETTING_VARIABLES:
            os.environ.pop(name, None)
        os.environ.update(self.saved_environment)
        sys.modules.pop("vCus", None)
        shutil.rmtree(self.folder, ignore_errors=True)

    # Building blocks of scenes.

    def set_environment(self, **variables):
        for name, value in variables.items():
            os.environ[name] = value

    def clean_scene(self, renderer="mayaSoftware"):
        """A scene that passes every check: one layer with a camera, a named scene file that exists."""
        self.world.layers = [{"part": "masterLayer", "cameras": ["persp"], "layerFilePrefix": "shots/a",
                              "ext": "exr", "renderer": renderer}]
        self.world.attributes["defaultRenderGlobals.currentRenderer"] = renderer

    def construct(self, *args, **kwargs):
        return vanalyzer.Maya_Analyzer(*args, **kwargs)

    # Reading what happened.

    def logs(self, level=None):
        return self.world.logs(level)

    def log_texts(self, level=None):
        return self.world.log_texts(level)

    def assertLogged(self, level, text):
        self.assertIn((level, text), self.logs(), "missing %s line %r in %r" % (level, text, self.logs()))

    def assertNotLogged(self, text):
        self.assertNotIn(text, self.log_texts())

    def assertLogsInOrder(self, expected):
        """The lines appear in this order (other lines may stand between them)."""
        lines = self.logs()
        position = 0
        for line in expected:
            try:
                position = lines.index(tuple(line), position) + 1
            except ValueError:
                self.fail("line %r not found after position %d in %r" % (line, position, lines))


CHILD_RUNNER = os.path.join(HERE, "child_runner.py")


class ChildRun(object):
    def __init__(self, returncode, events, stdout, stderr, extra):
        self.returncode, self.events, self.stdout, self.stderr, self.extra = (
            returncode, events, stdout, stderr, extra)

    def logs(self):
        return [(event[1], event[2]) for event in self.events if event[0] == "log"]

    def calls(self, name):
        return [event[2] for event in self.events if event[0] == "call" and event[1] == name]


def run_child(plan):
    """Runs child_runner.py with a JSON plan in a new interpreter and reports what happened."""
    folder = tempfile.mkdtemp(prefix="vanalyzer-child-")
    try:
        plan_path = os.path.join(folder, "plan.json")
        journal = os.path.join(folder, "journal")
        plan = dict(plan, journal=journal, folder=folder)
        with open(plan_path, "w") as handle:
            json.dump(plan, handle)
        environment = dict(os.environ, VANALYZER_BINARY_DIR=BINARY_DIR)
        for name in SETTING_VARIABLES:
            environment.pop(name, None)
        environment.update(plan.get("environment", {}))
        child = subprocess.Popen([sys.executable, CHILD_RUNNER, plan_path], stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, env=environment)
        out, err = child.communicate()
        events = []
        if os.path.exists(journal):
            with open(journal) as handle:
                events = [json.loads(line) for line in handle]
        extra = {}
        extra_path = os.path.join(folder, "extra.json")
        if os.path.exists(extra_path):
            with open(extra_path) as handle:
                extra = json.load(handle)
        return ChildRun(child.returncode, events, out.decode("utf-8", "replace"),
                        err.decode("utf-8", "replace"), extra)
    finally:
        shutil.rmtree(folder, ignore_errors=True)
