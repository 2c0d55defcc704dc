# -*- coding: utf-8 -*-
"""A project's workspace.mel read as text (never run): its file rules and workspace variables.

Only `workspace` statements are looked at: `-fr`/`-fileRule` (and the older `-rt`/`-renderType`
and `-ot`/`-objectType`, which name folders the same way) give rules, `-v`/`-variable` gives
variables. A later statement for the same name replaces the earlier value, as running the file
would. Anything else in the file, including MEL that is not a plain statement, is passed over.
"""
from __future__ import print_function

import io

from ..arguments import native

# A workspace.mel is a few kilobytes; past this size the rest is not read.
MAX_BYTES = 4 * 1024 * 1024

_RULE_FLAGS = ("-fr", "-fileRule", "-rt", "-renderType", "-ot", "-objectType")
_VARIABLE_FLAGS = ("-v", "-variable")


class Workspace(object):
    def __init__(self):
        self.rules = []  # [(name, location)] in first-seen order
        self.variables = {}

    def rule(self, name):
        for known, location in self.rules:
            if known == name:
                return location
        return None

    def set_rule(self, name, location):
        for index, (known, _old) in enumerate(self.rules):
            if known == name:
                self.rules[index] = (name, location)
                return
        self.rules.append((name, location))


def _tokens(text):
    """(kind, value) of the MEL text: 'string', 'word', 'end' (;). Comments are dropped."""
    at, size = 0, len(text)
    while at < size:
        char = text[at]
        if char in " \t\r\n":
            at += 1
        elif text.startswith("//", at):
            end = text.find("\n", at)
            at = size if end < 0 else end + 1
        elif text.startswith("/*", at):
            end = text.find("*/", at + 2)
            at = size if end < 0 else end + 2
        elif char == ";":
            yield "end", ";"
            at += 1
        elif char == '"':
            value, at = _string(text, at + 1)
            yield "string", value
        else:
            start = at
            while at < size and text[at] not in ' \t\r\n;"':
                at += 1
            yield "word", text[start:at]


_ESCAPES = {"n": "\n", "t": "\t", "r": "\r", '"': '"', "\\": "\\"}


def _string(text, at):
    out = []
    size = len(text)
    while at < size:
        char = text[at]
        if char == '"':
            return "".join(out), at + 1
        if char == "\\" and at + 1 < size:
            out.append(_ESCAPES.get(text[at + 1], text[at + 1]))
            at += 2
            continue
        out.append(char)
        at += 1
    return "".join(out), at  # unterminated: the rest of the file


def _statements(text):
    statement = []
    for kind, value in _tokens(text):
        if kind == "end":
            if statement:
                yield statement
            statement = []
        else:
            statement.append((kind, value))
    if statement:
        yield statement


def parse(text):
    """The rules and variables that the text's workspace statements define."""
    workspace = Workspace()
    for statement in _statements(text):
        if statement[0] != ("word", "workspace"):
            continue
        args = statement[1:]
        for index, (kind, value) in enumerate(args):
            if kind != "word" or value not in _RULE_FLAGS + _VARIABLE_FLAGS:
                continue
            pair = args[index + 1:index + 3]
            if len(pair) < 2 or pair[0][0] != "string" or pair[1][0] != "string":
                continue
            name, location = native(pair[0][1]), native(pair[1][1])
            if value in _RULE_FLAGS:
                workspace.set_rule(name, location)
            else:
                workspace.variables[name] = location
    return workspace


def read(path):
    """The workspace defined by the file at path; an unreadable file defines nothing."""
    try:
        with io.open(path, "rb") as handle:
            data = handle.read(MAX_BYTES)
    except (IOError, OSError):
        return Workspace()
    return parse(data.decode("utf-8", "replace"))
