"""Set-up shared by the tests of the analysis method (AnlyzerSenceFile).

An analyzer is constructed on a clean scene, then its attributes are set to a scripted state and
the recorded events cleared, so that a test sees exactly what one call of AnlyzerSenceFile does.
"""
from __future__ import print_function

import io
import json
import os
import sys

import support
import scenario

PY2 = sys.version_info[0] == 2

# The parts of the world that a test scripts for the analysis under test.
SCRIPTED = ("asset_groups", "real_disk_path", "failures", "evaluation", "existing_plugins", "palettes", "ini",
            "nodes", "plugins_in_use")


def error_repr(action, *args):
    """The representation of the error that a plain-Python call raises, for the log lines."""
    try:
        action(*args)
    except Exception as error:  # noqa: BLE001 - any error is what is wanted
        return repr(error), str(error)
    raise AssertionError("no error raised by %r%r" % (action, args))


class AnalysisTestCase(support.AnalyzerTestCase):

    def setUp(self):
        support.AnalyzerTestCase.setUp(self)
        self.clean_scene()
        self.root = os.path.realpath(os.path.join(self.folder, "assets"))
        os.makedirs(self.root)
        self.saved_directory = os.getcwd()

    def tearDown(self):
        os.chdir(self.saved_directory)
        support.AnalyzerTestCase.tearDown(self)

    def reset(self):
        """A fresh world for the next case of a table."""
        self.tearDown()
        self.setUp()

    # Scripted state.

    def make_file(self, relative, size=0):
        """A real file of `size` bytes below the test's asset folder; returns its absolute path."""
        path = os.path.join(self.root, relative)
        folder = os.path.dirname(path)
        if not os.path.isdir(folder):
            os.makedirs(folder)
        with open(path, "wb") as handle:
            handle.write(b"x" * size)
        return path

    def gather(self, files=(), missing=(), gatherer="getAssets"):
        self.world.asset_groups[gatherer] = scenario.AssetGroup(files, missing)

    def analyzer(self, **attributes):
        """A constructed analyzer in a scripted state, with the events so far cleared.

        Construction itself runs the analysis once; it does so in a plain world, so that what the
        test has scripted (assets, lookups, failures) meets only the call under test.
        """
        scripted = dict((name, getattr(self.world, name)) for name in SCRIPTED)
        plain = scenario.Scenario()
        for name in SCRIPTED:
            setattr(self.world, name, getattr(plain, name))
        analyzer = self.construct(0)
        for name, value in scripted.items():
            setattr(self.world, name, value)
        state = dict(status=0, errorCodes=[], errors=[], sceneName="/projects/shot/scene.ma",
                     LayersInfo=[{"part": "masterLayer", "ext": "exr", "layerFilePrefix": "shots/a"}],
                     Customz=0, files=set(), missingFiles=set(), melString="", details="",
                     env=["MAYA_VERSION=2020"], allCamerasInfo=["|persp"])
        state.update(attributes)
        for name, value in state.items():
            setattr(analyzer, name, value)
        del self.world.events[:]
        del self.world.recorded_assets[:]
        return analyzer

    def analyse(self, **attributes):
        """Runs AnlyzerSenceFile once; returns the analyzer and the parsed result."""
        analyzer = self.analyzer(**attributes)
        text = analyzer.AnlyzerSenceFile()
        return analyzer, json.loads(text)

    # Reading what happened.

    def disk_lookups(self):
        return [args[0] for _, args, _ in self.world.calls("vutils.getRealDiskPath")]

    def file_lookups(self):
        """The on-disk lookups after the scene path's (which resolves at its first attempt here)."""
        return self.disk_lookups()[1:]

    def recorded(self):
        return list(self.world.recorded_assets)

    def total_line(self, count, size):
        return ("Info", "pelk-fileInfo-total:::>fileCount: %d, fileSize: %d" % (count, size))


def shipped_catalogue_folder():
    """The repository's offline folder, where the project ships VANTORCODE."""
    return os.path.join(support.REPOSITORY, "offline")


def read_catalogue(path):
    with io.open(path, encoding="utf-8") as handle:
        return json.load(handle)
