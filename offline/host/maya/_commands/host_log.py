# -*- coding: utf-8 -*-
"""What the host has to say (reference loading, path rules), kept until the client's code takes it.

The host has no log of its own: in the offline environment the bootstrap hands these messages to
the service's log once the scene is open.
"""
from __future__ import print_function

LEVELS = ("Debug", "Info", "Warning", "Error")

_messages = []


def record(level, text):
    if level not in LEVELS:
        raise ValueError("unknown host message level %r" % (level,))
    _messages.append((level, text))


def take():
    """The messages since the last take, oldest first."""
    taken = list(_messages)
    del _messages[:]
    return taken
