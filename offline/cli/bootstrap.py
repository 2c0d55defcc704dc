# -*- coding: utf-8 -*-
"""Host side of vanalyzer-offline: runs inside the chosen interpreter (2.7 or 3.7+).

It puts the built binaries, the host stand-ins, the service modules and the
client's host-side modules (``host_side/``) on the import path, sets the
directory mappings and the project the client passed (as a farm node's startup
script does), opens the scene through ``maya.cmds``, hands the host's messages to
the service's log (``vout``), writes the host report (``host_side/host_report.py``) when
the client asks for one, and hands over to ``vanalyzer.runMain(0, 0)``, which ends this
process itself once the result is delivered.  Failures before that are told
on standard error in one line starting with ``vanalyzer-offline-host:``.
"""
from __future__ import print_function

import json
import os
import sys

MARK = "vanalyzer-offline-host: "


def fail(message):
    sys.stderr.write(MARK + message + "\n")
    sys.stderr.flush()
    sys.exit(3)


def end_with_client(environ):
    """Has the kernel end this host when the client that started it dies: a client killed outright
    (SIGKILL, the out-of-memory killer, a scheduler ending a job) can end no host itself, and each host
    runs in its own session, out of reach of the terminal's signals."""
    client = environ.get("VANALYZER_CLIENT_PID")
    if not client or not sys.platform.startswith("linux"):
        return
    import ctypes
    import signal
    try:
        prctl = ctypes.CDLL(None).prctl
    except (OSError, AttributeError):
        return
    prctl(1, int(signal.SIGKILL), 0, 0, 0)  # PR_SET_PDEATHSIG
    if os.getppid() != int(client):  # the client died before the request was in place
        os._exit(3)


def apply_farm_settings(cmds, environ):
    """The directory mappings and the project, set as a farm node's startup script sets them."""
    mappings = json.loads(environ.get("VANALYZER_DIRMAP") or "[]")
    if mappings:
        cmds.dirmap(enable=True)
        for source, destination in mappings:
            cmds.dirmap(mapDirectory=(source, destination))
    if environ.get("VANALYZER_PROJECT"):
        cmds.workspace(environ["VANALYZER_PROJECT"], openWorkspace=True)


# the host's levels as the service's log names them
_LOG_CALLS = {"Debug": "Debug", "Info": "Info", "Warning": "Warring", "Error": "Error"}


def hand_over_messages(cmds):
    """What the host said while opening the scene, into the service's log."""
    take = getattr(cmds, "_take_host_messages", None)  # a host that keeps no messages says nothing
    if take is None:
        return
    messages = take()
    if not messages:
        return
    try:
        import vout
    except ImportError as error:
        fail("the service's log module vout cannot be loaded (%s)" % error)
    for level, text in messages:
        getattr(vout, _LOG_CALLS.get(level, "Info"))(text)


def main():
    version = sys.version_info[:2]
    if not (version == (2, 7) or version >= (3, 7)):
        fail("Python %d.%d cannot host the analysis (2.7 or 3.7 and later)" % version)
    end_with_client(os.environ)
    build = os.environ["VANALYZER_BUILD_DIR"]
    offline = os.environ["VANALYZER_OFFLINE_ROOT"]
    binaries = os.path.join(build, "py27" if version[0] == 2 else "abi3")
    sys.path[0:1] = [binaries, os.path.join(offline, "host"), os.path.join(offline, "service", "modules"),
                     os.path.join(offline, "cli", "host_side")]
    scene = sys.argv[1]
    try:
        from maya import cmds
    except Exception as error:
        fail("the maya.cmds stand-in cannot be loaded (%s: %s)" % (type(error).__name__, error))
    try:
        apply_farm_settings(cmds, os.environ)
    except (ValueError, RuntimeError) as error:
        fail("cannot apply the directory mappings or the project: %s" % error)
    try:
        cmds.file(scene, open=True, force=True)
    except Exception as error:
        hand_over_messages(cmds)
        fail("cannot read the scene %s: %s" % (scene, error))
    hand_over_messages(cmds)
    report = os.environ.get("VANALYZER_HOST_REPORT")
    if report:
        import host_report
        try:
            host_report.write(report, cmds)
        except (IOError, OSError) as error:
            fail("cannot write the host report %s: %s" % (report, error))
    try:
        import vanalyzer
    except ImportError as error:
        fail("the vanalyzer module for Python %d.%d is not in %s (%s)" % (version + (binaries, error)))
    vanalyzer.runMain(0, 0)
    fail("runMain returned without ending the host")


if __name__ == "__main__":
    main()
