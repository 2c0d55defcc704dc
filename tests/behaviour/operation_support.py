"""Helpers for tests that call one analyzer operation directly.

`analyzer()` starts a fresh scenario, constructs an analyzer on a clean scene and then forgets the
construction's events, so a test sees only what the operation it calls does; set up the world for
the operation after it. `process_arguments` and `operating_system`
set sys.argv and the module's `platform` for one test and restore them afterwards.
"""
import sys

import support  # first: it puts the doubles and the built module on sys.path
import scenario  # noqa: E402
import vanalyzer  # noqa: E402


class FakePlatform(object):
    """Stands in for the platform module: system() answers `name`, or raises it if it is an error."""

    def __init__(self, name):
        self.name = name
        self.asked = 0

    def system(self):
        self.asked += 1
        if isinstance(self.name, BaseException):
            raise self.name
        return self.name


class OperationTestCase(support.AnalyzerTestCase):

    def setUp(self):
        support.AnalyzerTestCase.setUp(self)
        self.saved_argv = sys.argv
        self.saved_platform = vanalyzer.platform

    def tearDown(self):
        sys.argv = self.saved_argv
        vanalyzer.platform = self.saved_platform
        support.AnalyzerTestCase.tearDown(self)

    def analyzer(self, cls=None, **attributes):
        self.world = scenario.reset()
        self.clean_scene()
        analyzer = (cls or vanalyzer.Maya_Analyzer)(0)
        for name, value in attributes.items():
            setattr(analyzer, name, value)
        del self.world.events[:]
        return analyzer

    def process_arguments(self, arguments):
        sys.argv = list(arguments)

    def operating_system(self, name):
        vanalyzer.platform = FakePlatform(name)
        return vanalyzer.platform
