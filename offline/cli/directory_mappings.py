# -*- coding: utf-8 -*-
"""The directory mappings and the project a run hands to its host, as a farm node's startup sets them.

Mappings come from `--dirmap FROM TO` (in the order given), then from the `[dirmap]` section of
the service configuration INI (`name = FROM | TO`, in file order; `|` cannot occur in a Windows
path, and the section stays readable by the service's own INI reader).
"""
import configparser
import json
import os

from .paths import Refusal

SECTION = "dirmap"


def from_config(path):
    """[(FROM, TO)] of the INI's [dirmap] section ([] without one)."""
    parser = configparser.RawConfigParser()
    try:
        with open(path, encoding="utf-8") as handle:
            parser.read_file(handle)
    except (OSError, UnicodeDecodeError, configparser.Error) as error:
        raise Refusal("the configuration %s cannot be read: %s" % (path, error))
    if not parser.has_section(SECTION):
        return []
    mappings = []
    for name, value in parser.items(SECTION):
        source, bar, destination = value.partition("|")
        source, destination = source.strip(), destination.strip()
        if not bar or not source or not destination or "|" in destination:
            raise Refusal("the configuration %s: [%s] %s must read FROM | TO, not %r" % (path, SECTION, name, value))
        mappings.append((source, destination))
    return mappings


def mappings(args):
    found = [tuple(pair) for pair in (getattr(args, "dirmap", None) or [])]
    if getattr(args, "config", None):
        found.extend(from_config(args.config))
    return found


def host_settings(args):
    """The environment entries that tell the host its mappings and project."""
    project = getattr(args, "project", None)
    if project and not os.path.isdir(project):
        raise Refusal("the project folder %s does not exist" % project)
    return {"VANALYZER_DIRMAP": json.dumps(mappings(args)),
            "VANALYZER_PROJECT": os.path.abspath(project) if project else ""}
