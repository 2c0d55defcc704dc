#!/usr/bin/env python3
"""Reads a Maya module file (.mod) as Maya does, and tells what a given Maya would put on its Python path.

Usage: maya_module.py MODFILE --maya VERSION [--platform linux|win64|mac]

A module file holds entries. An entry starts with a line
    + [MAYAVERSION:<version>] [PLATFORM:<platform>] [LOCALE:<locale>] <name> <version> <path>
(the path relative to the .mod file's folder unless absolute) and goes on with lines that set
variables: NAME=value and NAME+=value set or append an absolute value, NAME:=value and NAME+:=value
one relative to the module's path; or that move one of the module's folders: `scripts: <path>`
(`[r] scripts: <path>` with its subfolders). An entry applies when each of its conditions matches.
Maya puts on its Python path the PYTHONPATH values of the entries that apply, and their scripts folder.
"""
import argparse
import os
import re
import sys

_CONDITION = re.compile(r"^(MAYAVERSION|PLATFORM|LOCALE):(\S+)$")
_VARIABLE = re.compile(r"^([A-Za-z_][A-Za-z0-9_]*)\s*(\+?)(:?)=\s*(.*)$")
_FOLDER = re.compile(r"^(?:\[r\]\s*)?(scripts|plug-ins|icons|presets):\s+(.*)$")


class Entry(object):
    def __init__(self, conditions, name, version, root):
        self.conditions = conditions
        self.name = name
        self.version = version
        self.root = root
        self.variables = {}
        self.folders = {}

    def applies(self, maya, platform, locale=None):
        wanted = {"MAYAVERSION": maya, "PLATFORM": platform, "LOCALE": locale}
        return all(wanted[key] is None or wanted[key] == value for key, value in self.conditions.items())

    def python_path(self):
        scripts = self.folders.get("scripts", os.path.join(self.root, "scripts"))
        return self.variables.get("PYTHONPATH", []) + ([scripts] if os.path.isdir(scripts) else [])


def _absolute(base, path):
    return os.path.normpath(path if os.path.isabs(path) else os.path.join(base, path))


def read(path):
    """The entries of the module file at path, in file order; ValueError for a line Maya would not take."""
    folder = os.path.dirname(os.path.abspath(path))
    entries = []
    with open(path) as handle:
        for number, line in enumerate(handle, 1):
            line = line.strip()
            if not line:
                continue
            if line.startswith("+ "):
                words = line[2:].split()
                conditions = {}
                while words and _CONDITION.match(words[0]):
                    key, value = _CONDITION.match(words.pop(0)).groups()
                    conditions[key] = value
                if len(words) != 3:
                    raise ValueError("%s:%d: an entry names a module, its version and its path" % (path, number))
                entries.append(Entry(conditions, words[0], words[1], _absolute(folder, words[2])))
                continue
            if not entries:
                raise ValueError("%s:%d: a line before the first entry" % (path, number))
            entry = entries[-1]
            moved = _FOLDER.match(line)
            variable = _VARIABLE.match(line)
            if moved:
                entry.folders[moved.group(1)] = _absolute(entry.root, moved.group(2).strip())
            elif variable:
                name, append, relative, value = variable.groups()
                value = _absolute(entry.root, value.strip()) if relative else value.strip()
                entry.variables[name] = (entry.variables.get(name, []) if append else []) + [value]
            else:
                raise ValueError("%s:%d: not an entry, a variable or a folder: %s" % (path, number, line))
    return entries


def python_path(entries, maya, platform, locale=None):
    """The folders a Maya of that version, platform and locale puts on its Python path, in order."""
    folders = []
    for entry in entries:
        if entry.applies(maya, platform, locale):
            folders.extend(folder for folder in entry.python_path() if folder not in folders)
    return folders


def main(arguments):
    parser = argparse.ArgumentParser(description="What a Maya puts on its Python path from a module file.")
    parser.add_argument("modfile")
    parser.add_argument("--maya", required=True, help="the Maya version, e.g. 2024")
    parser.add_argument("--platform", default="win64" if os.name == "nt" else
                        ("mac" if sys.platform == "darwin" else "linux"))
    args = parser.parse_args(arguments)
    for folder in python_path(read(args.modfile), args.maya, args.platform):
        print(folder)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
