# -*- coding: utf-8 -*-
"""Where a path read from a scene is on this machine, found as Maya on a farm node finds it.

The project, its file rules and variables and the directory mappings are asked of the host
through Maya's own commands (``workspace``, ``dirmap``), once per gatherer call; the disk is
read through the run's view (``disk_view``).  For each path, workspace variables and then
environment variables (``$VAR``, ``${VAR}``, ``%VAR%``) are expanded, then the first of these
that exists wins:

1. the path as written (an absolute path of this machine);
2. the path through the directory mappings (``dirmap -convertDirectory``);
3. relative to the project: the part after a ``<root>//`` project marker under the project
   root; then the path's trailing parts, longest first, under the folder of the file that names
   the path (an Arnold ``.ass`` file), under the project root, under each file-rule folder (the
   rules for that kind of file first), then in the scene's folder.

A path written on Windows (a drive letter, a share, backslashes) is matched ignoring letter case
where its exact spelling is absent.  A path found nowhere is reported as written when it is
absolute, else at its first place (beside the file that names it, else under the project root,
else in the scene's folder).  The rule that found each file not found as written is logged.
"""
from __future__ import print_function

import collections
import os

from . import file_patterns
from . import folder_plans
from . import path_text
from . import scene_queries
import servicepaths
import vout

# The file rules tried first for each kind of file.
PREFERRED_RULES = {
    "image": ("sourceImages",),
    "scene": ("scene", "mayaAscii", "mayaBinary"),
    "cache": ("fileCache", "alembicCache", "diskCache"),
    "sound": ("sound",),
}


def _join(folder, name):
    return folder.rstrip("/") + "/" + name if name else folder


class Project(object):
    """The project and the directory mappings, as the host answers for the open scene."""

    def __init__(self, scene_path, host=None):
        host = host or scene_queries.cmds()
        self.host = host
        scene_path = scene_path or ""
        self.scene_folder = (os.path.dirname(os.path.abspath(scene_path)).replace(os.sep, "/")
                             if scene_path else None)
        self.root = scene_queries.project_root(host)
        self.variables = scene_queries.workspace_variables(host) if self.root else {}
        self.rules = scene_queries.file_rule_folders(host) if self.root else []
        self.mapping = scene_queries.directory_mapping_on(host)

    def expand(self, path):
        return path_text.expand_variables(path, (self.variables.get, os.environ.get))

    def rule_folders(self, kind):
        """The file-rule folders, the kind's preferred rules first, each once and never the root."""
        preferred = PREFERRED_RULES.get(kind, ())
        ordered = ([folders for name in preferred for rule, folders in self.rules if rule == name] +
                   [folders for rule, folders in self.rules if rule not in preferred])
        seen = [self.root]
        for folders in ordered:
            for folder in folders:
                if folder not in seen:
                    seen.append(folder)
        return seen[1:]


class Resolver(object):
    """Resolves the references of one gatherer call and keeps what each rule found, for the log."""

    def __init__(self, project, view):
        self.project = project
        self.view = view
        self._places = {}  # (written folder, Windows, kind, holder) -> [(folder on disk, rule, case differs)]
        self._plans = {}   # (written folder, kind, holder, type of text) -> folder_plans.FolderPlan or None
        self._base_folders = {}  # (kind, holder) -> [(folder, rule, place)]: see _bases
        self.place_listings = {}  # folder on disk -> (its listing, its path prefix): folder_plans' places
        self.found = collections.OrderedDict()  # (rule, folder on disk, written folder) -> [names]

    def resolve(self, reference, frames):
        """The pattern for one reference: where it was found, else where it is reported missing."""
        located = self.plain(reference)
        if located is not None:
            path, present = located
            if present:
                return file_patterns.Pattern(path, present=True, plain=True)
            return _make_pattern(path, reference, frames, False)
        return self.patterned(reference, frames)

    def patterned(self, reference, frames):
        """resolve for a reference that may name several files (plain gives None for it)."""
        expanded, windows, path = self._written(reference)
        if path_text.names_a_place_here(path):
            pattern = self._pattern_in(path_text.normalise(path), reference, frames, False)
            if pattern is not None:
                return pattern
        for disk_folder, name, rule, folded in self._places_on_disk(path, windows, reference):
            pattern = self._found_in(disk_folder, name, reference, frames, windows)
            if pattern is not None:
                self._note(_with_case(rule, folded, pattern, name), disk_folder, path)
                return pattern
        return _make_pattern(self._missing_place(expanded, path_text.is_absolute(path), reference), reference, frames,
                             False)

    def plain(self, reference):
        """(path, found) of a reference that names one file (no tiles, frames or tokens): where it
        was found, else where it is reported missing; None for a reference that may name several.
        Most references name one file: no pattern is built for them."""
        if reference.tiling or reference.frame_mode:
            return None
        planned = servicepaths.folder_and_name(reference.raw)
        if planned:
            plan = self.plan(planned[0], reference.kind, reference.base_dir)
            located = servicepaths.locate(plan, planned[1]) if plan is not None else None
            if located is not None:
                return located
        expanded, windows, path = self._written(reference)
        if file_patterns.may_hold_tokens(path):
            return None
        view = self.view
        if path_text.names_a_place_here(path):
            written = path_text.normalise(path)
            if view.exists(written):
                return written, True
        for disk_folder, name, rule, folded in self._places_on_disk(path, windows, reference):
            spelled = view.spelled(disk_folder, name, windows)
            if spelled is not None:
                found = path_text.normalise(_join(disk_folder, spelled))
                self._note(_plain_with_case(rule, folded, found, name), disk_folder, path)
                return found, True
        return self._missing_place(expanded, path_text.is_absolute(path), reference), False

    def place_tiled(self, reference, files, missing):
        """folder_plans.place_tiled for a reference that names UDIM tiles and no frames in a planned
        folder; False, placing nothing, for any other (the rules take it)."""
        if reference.frame_mode:
            return False
        written = folder_plans.folder_and_tiled_name(reference.raw)
        parts = file_patterns.udim_parts(written[1], reference.tiling) if written else None
        plan = self.plan(written[0], reference.kind, reference.base_dir) if parts else None
        return plan is not None and folder_plans.place_tiled(plan, self.view, written[1], parts, files, missing)

    def plan(self, folder, kind, holder):
        """The folder plan (folder_plans) for the names written in a folder, as
        servicepaths.folder_and_name cuts it, of a kind of file and the file that names them; None
        when each of them goes through the rules alone. Built once per folder, kind, holder and
        type of text."""
        key = (folder, kind, holder, type(folder))
        plan = self._plans.get(key, False)
        if plan is False:
            plan = self._plans[key] = (folder_plans.build(self, folder, kind, holder)
                                       if folder_plans.PLANNED_HERE else None)
        return plan

    def _places_on_disk(self, path, windows, reference):
        """Where the rules look for a path not found as written, in their order, each as (folder on
        disk, name, rule, whether letter case found the folder): through the directory mappings,
        then the project's places. Lazy: a later rule is asked only when the earlier ones failed."""
        if path_text.is_absolute(path) and self.project.mapping:
            mapped = self._mapped(path)
            if mapped is not None:
                folder, name = _split(mapped)
                walked = self._walk(folder, windows)
                if walked is not None:
                    yield walked[0], name, "through dirmap", walked[1]
        folder, name = _split_named(path)
        for disk_folder, rule, folded in self._project_places(folder, windows, reference.kind, reference.base_dir):
            yield disk_folder, name, rule, folded

    def _written(self, reference):
        """(the path with its variables expanded, whether it was written on Windows, the path with
        forward slashes)."""
        expanded = reference.raw.strip()
        if "$" in expanded or "%" in expanded:
            expanded = self.project.expand(expanded)
        windows = path_text.is_windows(expanded)
        return expanded, windows, expanded.replace("\\", "/") if windows else expanded

    def _mapped(self, path):
        """The path through the directory mappings when they change it into a path of this machine."""
        mapped = scene_queries.convert_directory(self.project.host, path)
        return mapped if mapped and mapped != path and path_text.names_a_place_here(mapped) else None

    def _missing_place(self, expanded, absolute, reference):
        if absolute:
            return path_text.normalise(expanded)
        first = reference.base_dir or self.project.root or self.project.scene_folder or os.getcwd()
        return path_text.normalise(os.path.join(first, expanded))

    def _found_in(self, disk_folder, name, reference, frames, fold_case):
        """The pattern for name in a folder on disk when it, or a tile or frame of it, is there."""
        if fold_case and not file_patterns.may_hold_tokens(name):
            spelled = self.view.spelled(disk_folder, name, fold_case)
            if spelled is None:
                return None
            name = spelled
        return self._pattern_in(path_text.normalise(_join(disk_folder, name)), reference, frames, fold_case)

    def _pattern_in(self, path, reference, frames, fold_case):
        pattern = _make_pattern(path, reference, frames, fold_case)
        return pattern if file_patterns.has_any(pattern, self.view) else None

    def _walk(self, folder, fold_case):
        """(the folder as spelled on disk, whether its letter case differs), each component matched
        ignoring case when fold_case; None when it is not a folder here."""
        if self.view.is_folder(folder):
            return folder, False
        if not fold_case or not folder.startswith("/"):
            return None
        return self._descend("/", path_text.components(folder), True)

    def project_places(self, written_folder, kind, holder):
        """The project's places for a path written in written_folder on this kind of machine."""
        return self._project_places(written_folder, False, kind, holder)

    def _project_places(self, written_folder, windows, kind, holder):
        """The folders on disk where the trailing parts of a path written in written_folder are
        found, in the order they are tried, each with the rule that tries it."""
        key = (written_folder, windows, kind, holder)
        places = self._places.get(key)
        if places is not None:
            return places
        places = []
        root = self.project.root
        # the folder's components, the file name's slot kept for the cap on trailing parts
        parts = path_text.components(written_folder)[-(path_text.MAX_TRAILING_PARTS - 1):]
        if root:
            rest = path_text.marker_rest(written_folder + "/x")
            if rest is not None:
                found = self._descend(root, path_text.components(rest)[:-1], windows)
                if found is not None:
                    places.append(found[:1] + ("after the // project marker, under the project root %s" % root,)
                                  + found[1:])
        known = set(place[0] for place in places)
        for base, rule, itself in self._bases(kind, holder):
            for start in range(len(parts)):
                found = self._descend(base, parts[start:], windows)
                if found is not None and found[0] not in known:
                    known.add(found[0])
                    places.append((found[0], rule, found[1]))
            if base not in known:  # the name alone, in the base itself
                known.add(base)
                places.append(itself)
        self._places[key] = places
        return places

    def _bases(self, kind, holder):
        """The folders that the trailing parts of a path of this kind, named by holder, are tried
        under, in order, each as (folder, rule, the place it is itself): those of them that are
        folders here. The same for every written folder: worked out once per gatherer call."""
        key = (kind, holder)
        bases = self._base_folders.get(key)
        if bases is not None:
            return bases
        project = self.project
        candidates = []
        if holder:
            candidates.append((holder.replace(os.sep, "/"), "beside the file that names it, in %s" % holder))
        if project.root:
            candidates.append((project.root, "under the project root %s" % project.root))
            candidates.extend((folder, "under the file-rule folder %s" % folder)
                              for folder in project.rule_folders(kind))
        if project.scene_folder and all(project.scene_folder != base for base, _ in candidates):
            candidates.append((project.scene_folder, "in the scene's folder %s" % project.scene_folder))
        bases = self._base_folders[key] = [(base, rule, (base, rule, False)) for base, rule in candidates
                                           if self.view.is_folder(base)]
        return bases

    def _descend(self, base, parts, fold_case):
        """(base/parts as spelled on disk, whether its letter case differs from parts') when it is
        a folder there, else None."""
        folder = base
        folded = False
        for part in parts:
            if part == "..":
                folder = os.path.dirname(folder) or folder
                continue
            spelled = self.view.spelled(folder, part, fold_case)
            if spelled is None:
                return None
            folded = folded or spelled != part
            folder = _join(folder, spelled)
        return (folder, folded) if self.view.is_folder(folder) else None

    def _note(self, rule, disk_folder, written):
        folder, name = _split(written)
        names = self.found.get((rule, disk_folder, folder))
        if names is None:
            names = self.found[(rule, disk_folder, folder)] = []
        names.append(name)

    def log_findings(self):
        """One log line per rule and folder: the files it found that were not where written."""
        lines = []
        for (rule, disk_folder, written_folder), names in self.found.items():
            where = ('written in "%s"' % written_folder) if written_folder else "written without a folder"
            lines.append("Found %s, in %s (%s): %s" % (rule, disk_folder, where, ", ".join(names)))
        vout._log_all("Info", lines)
        self.found.clear()


def _with_case(rule, folded, pattern, written_name):
    if folded or (pattern.present and os.path.basename(pattern.path) != written_name):
        return rule + ", letter case as on disk"
    return rule


def _plain_with_case(rule, folded, found, written_name):
    if folded or os.path.basename(found) != written_name:
        return rule + ", letter case as on disk"
    return rule


def _split_named(path):
    """(folder, name) of a path whose last part names a file; a path ending in a separator, '.' or
    '..' is split after it is normalised."""
    folder, name = _split(path)
    if name in ("", ".", ".."):
        folder, name = _split(path_text.normalise(path).replace("\\", "/"))
    return folder, name


def _split(path):
    cut = path.rfind("/")
    if cut < 0:
        return "", path
    return path[:cut], path[cut + 1:]


def _make_pattern(path, reference, frames, fold_case):
    named_tiles = []
    named_frame = reference.named_frame
    if reference.tiling in (1, 2, 3):
        path, tile = file_patterns.tiled_name(path, reference.tiling)
        if tile:
            named_tiles.append(tile)
    elif reference.tiling == 4:
        folder = os.path.dirname(path)
        named_tiles.append(path)
        named_tiles.extend(path_text.normalise(os.path.join(folder, name))
                           if not path_text.is_absolute(name) else name
                           for name in reference.explicit_tiles)
    if reference.frame_mode:
        path, written = file_patterns.framed_name(path)
        if named_frame is None:
            named_frame = written
    pattern = file_patterns.Pattern(path, named_tiles, named_frame, fold_case=fold_case)
    if "frame" in pattern.roles:
        pattern.needed_frames = frames
    return pattern
