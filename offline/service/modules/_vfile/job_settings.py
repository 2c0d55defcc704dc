# -*- coding: utf-8 -*-
"""What the render job is given besides the files: its environment, the
scene's evaluation mode and the service configuration."""
from __future__ import print_function

import io
import os
import re

from . import scene_queries

_JOB_VARIABLE_PREFIXES = ("MAYA_", "MTOA", "ARNOLD", "SOLIDANGLE", "REDSHIFT_", "VRAY_", "RMAN",
                          "RFM", "RENDERMAN", "PXR_", "OCIO", "XGEN_", "PELK")
_SECRET_WORDS = ("TOKEN", "SECRET", "PASSWORD", "PASSWD", "KEY", "CREDENTIAL")


def getEnvDict(GetRSCache=0):
    """NAME=value texts of the renderer-relevant variables present here, sorted by name.

    Secrets are never passed on: a name holding TOKEN, SECRET, PASSWORD, KEY
    or CREDENTIAL is left out.  GetRSCache asks for nothing extra here: the
    render job's Redshift cache folder is REDSHIFT_CACHEPATH when it is set.
    """
    entries = []
    for name in sorted(os.environ):
        upper = name.upper()
        if upper.startswith(_JOB_VARIABLE_PREFIXES) and not any(word in upper for word in _SECRET_WORDS):
            entries.append("%s=%s" % (name, os.environ[name]))
    return entries


_EVALUATION_MODES = {"off": "off", "dg": "off", "serial": "serial", "serialuncached": "serialUncached",
                     "parallel": "parallel"}
_FILE_INFO = re.compile(r'^\s*fileInfo\s+"([^"]*)"\s+"((?:[^"\\]|\\.)*)"\s*;', re.MULTILINE)


def _scene_file_info(scene):
    """The fileInfo pairs of a Maya ASCII scene's header."""
    info = {}
    if not scene or not scene.lower().endswith(".ma"):
        return info
    try:
        with io.open(scene, "rb") as handle:
            head = handle.read(256 * 1024).decode("utf-8", "replace")
    except (IOError, OSError):
        return info
    end = head.find("\ncreateNode ")
    for key, value in _FILE_INFO.findall(head if end < 0 else head[:end]):
        info[key] = value
    return info


def getEvaluation():
    """MEL that sets the scene's evaluation mode.

    The scene's fileInfo "evaluationMode" (off, serial, serialUncached,
    parallel) wins, then VANALYZER_EVALUATION_MODE, then "off": a batch
    render evaluates in DG mode unless told otherwise.
    """
    for source in (_scene_file_info(scene_queries.scene_name()).get("evaluationMode"),
                   os.environ.get("VANALYZER_EVALUATION_MODE")):
        mode = _EVALUATION_MODES.get((source or "").strip().lower())
        if mode:
            return 'evaluationManager -mode "%s";' % mode
    return 'evaluationManager -mode "off";'


def getIniConfiger(section, key):
    """[{key: value}] from the INI file named by VANALYZER_CONFIG."""
    try:
        from configparser import RawConfigParser
    except ImportError:
        from ConfigParser import RawConfigParser
    path = os.environ.get("VANALYZER_CONFIG")
    if not path:
        raise RuntimeError("no service configuration: VANALYZER_CONFIG is not set")
    if not os.path.isfile(path):
        raise RuntimeError("service configuration %s does not exist" % path)
    parser = RawConfigParser()
    with io.open(path, encoding="utf-8") as handle:
        if hasattr(parser, "read_file"):
            parser.read_file(handle)
        else:
            parser.readfp(handle)
    return [{key: parser.get(section, key)}]
