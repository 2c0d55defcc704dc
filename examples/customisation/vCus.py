# -*- coding: utf-8 -*-
"""Example customisation module for the service (vCus).

The analyzer uses two things of it:
- FixOutPrefix(preFix, sceneName).modifyOutPut(), then its attribute prefix, on every run;
- Tamsel().modifyFileLayerPrefix() when PELKCUS is 2.
Put this folder on the host's sys.path (for instance beside the service modules) to use it.
"""
from __future__ import print_function

import os
import re

DEFAULT_PREFIX = "<Scene>/<RenderLayer>/<RenderLayer>"


class FixOutPrefix(object):
    """Gives every job a prefix that keeps layers apart and stays inside the output folder."""

    def __init__(self, preFix, sceneName):
        self.prefix = preFix
        self.sceneName = sceneName

    def modifyOutPut(self):
        prefix = (self.prefix or "").strip().replace("\\", "/")
        if not prefix:
            prefix = DEFAULT_PREFIX
        # drop a drive or leading slashes and any ".." so output cannot leave the job's folder
        prefix = re.sub(r"^([A-Za-z]:)?/+", "", prefix)
        prefix = "/".join(part for part in prefix.split("/") if part not in ("", ".", ".."))
        if "<RenderLayer>" not in prefix and "%l" not in prefix:
            prefix = "<RenderLayer>/" + prefix
        self.prefix = prefix
        return prefix


class Tamsel(object):
    """Customer Tamsel: shot folder from the scene name, one folder per layer and camera."""

    def __init__(self):
        from maya import cmds
        self.sceneName = cmds.file(q=True, sn=True) or ""

    def modifyFileLayerPrefix(self):
        stem = os.path.splitext(os.path.basename(self.sceneName))[0]
        shot = re.match(r"^([A-Za-z]+\d+)", stem)
        folder = shot.group(1) if shot else "<Scene>"
        return "%s/<RenderLayer>/<Camera>/<RenderLayer>_<Camera>" % folder
