# -*- coding: utf-8 -*-
"""Where the client finds its own pieces, and its exit statuses."""
import os

OFFLINE_ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REPO_ROOT = os.path.dirname(OFFLINE_ROOT)
BOOTSTRAP = os.path.join(OFFLINE_ROOT, "cli", "bootstrap.py")
CATALOGUE = os.path.join(OFFLINE_ROOT, "VANTORCODE")
DEFAULT_PYTHON = "/usr/bin/python3"
NO_RESULT = 3
USAGE = 64


class Refusal(Exception):
    """A reason not to start, or a run that delivered no result."""
