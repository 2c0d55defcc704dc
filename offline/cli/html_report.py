# -*- coding: utf-8 -*-
"""The HTML report: one self-contained page for one scene (vanalyzer-offline SCENE --html FILE)
or for many (the scan's JSON-line records), readable offline and printable."""
import os
import tempfile

from . import scene_record
from .html_page import esc, page
from .html_tables import markup, number, path, table, text

MACHINES = {"startCpu": "CPU machine", "startGpu": "GPU machine"}
EXITS = {0: "clean", 1: "warnings", 2: "error", 3: "no result delivered"}


def _result(rec):
    return rec["result"] if isinstance(rec.get("result"), dict) else None


def _model(rec):
    result = _result(rec) or {}
    return result.get("model") if isinstance(result.get("model"), dict) else {}


def _list(value):
    return list(value) if isinstance(value, list) else []


def _machine(value):
    if not value:
        return "not set"
    return "%s (%s)" % (MACHINES[value], value) if value in MACHINES else str(value)


def scene_status(rec):
    """The words a scene is filtered by: its status, and "infected" when the scan found malware."""
    findings, _problem = scene_record.script_findings(rec)
    words = [scene_record.status_word(rec)]
    if findings:
        words.append("infected")
    return words


def _banner(rec, findings):
    result = _result(rec)
    word = "error" if findings else scene_record.status_word(rec)
    parts = ['<span class="word">%s</span>' % esc(word)]
    if result is None:
        parts.append("<span>no result: %s</span>" % esc(rec.get("reason") or "the analysis delivered none"))
    else:
        parts.append("<span>status %s (%s)</span>" % (esc(result.get("status")), esc(scene_record.status_word(rec))))
    if findings:
        parts.append("<span>%d script finding%s: %s</span>" % (
            len(findings), "" if len(findings) == 1 else "s",
            esc(", ".join(sorted(set(str(f.get("family")) for f in findings))))))
    parts.append("<span>machine: %s</span>" % esc(_machine(rec.get("machine_type"))))
    parts.append('<span class="path">%s</span>' % esc(os.path.basename(str(rec.get("scene") or ""))))
    return '<div class="banner %s" data-banner="%s">%s</div>' % (esc(word), esc(word), "".join(parts))


def _facts(rec):
    result = _result(rec) or {}
    model = _model(rec)
    scene, problem = scene_record.host_section(rec, "scene")
    scene = scene if isinstance(scene, dict) else {}
    version, product = scene.get("maya_version"), scene.get("product")
    if version or product:
        maya = "%s%s" % (version or "", " (%s)" % product if product and product != "Maya %s" % version else "")
    else:
        maya = "unknown" + (" (%s)" % problem if problem else "")
    took = "took %.1f s" % rec["seconds"] if isinstance(rec.get("seconds"), (int, float)) else ""
    analysed = ", ".join(part for part in (str(rec.get("analysed_at") or "").replace("T", " "), took) if part)
    custom = model.get("custom") if isinstance(model.get("custom"), dict) else {}
    rows = [
        ("Scene", '<span class="path">%s</span>' % esc(rec.get("scene"))),
        ("Maya version", esc(maya)),
        ("Analysed", esc(analysed or "not recorded")),
        ("Machine type", esc(_machine(rec.get("machine_type")))),
        ("Exit status", esc("%s (%s)" % (rec.get("exit"), EXITS.get(rec.get("exit"), "unknown")))),
    ]
    if result:
        rows.append(("Analyzer", esc(result.get("AnalyzerVersion"))))
        rows.append(("Output", esc("%s; common prefix: %s" % (
            "every layer writes %s" % model["ext"] if model.get("ext") else "the layers do not all write EXR",
            custom.get("filePrefix") or "none"))))
        if custom.get("melString"):
            rows.append(("MEL", "<code>%s</code>" % esc(custom["melString"])))
        if _list(model.get("envVars")):
            rows.append(("Environment", esc(", ".join(str(v) for v in model["envVars"]))))
    return '<dl class="facts">%s</dl>' % "".join("<dt>%s</dt><dd>%s</dd>" % row for row in rows)


def _messages(rec):
    messages = [m for m in _list((_result(rec) or {}).get("msg")) if isinstance(m, dict)]
    if not messages:
        return "<h3>Messages (0)</h3><p class=\"note\">No messages.</p>"
    out = ["<h3>Messages (%d)</h3>" % len(messages)]
    for message in messages:
        out.append('<div class="message"><span class="badge code">%s</span>'
                   '<pre lang="en"><span class="lang">en</span>%s</pre>'
                   '<pre lang="zh"><span class="lang">cn</span>%s</pre></div>'
                   % (esc(message.get("code")), esc(_lines(message.get("en"))), esc(_lines(message.get("cn")))))
    return "".join(out)


def _lines(value):
    return "\n".join(line for line in str(value or "").replace("\r\n", "\n").split("\n") if line)


def _scripts(rec):
    findings, problem = scene_record.script_findings(rec)
    if findings is None:
        return '<h3>Script scan</h3><p class="problem">Not scanned: %s.</p>' % esc(problem)
    if not findings:
        return '<h3>Script scan</h3><p class="note">No known script virus in the script nodes.</p>'
    rows = []
    for f in findings:
        where = str(f.get("attribute") or "") + (" line %s" % f["line"] if f.get("line") is not None else "")
        runs = "yes" if f.get("runs_on_open") else "no"
        rows.append(({"class": "infected"}, [
            text(f.get("node")), text(f.get("title") or f.get("family")), text(f.get("signature")), text(where),
            markup('<pre>%s</pre>' % esc(f.get("evidence")), f.get("evidence")),
            text("%s (%s)" % (runs, f.get("script_type")), runs),
        ]))
    columns = [("Node", False), ("Family", False), ("Signature", False), ("Where", False), ("Evidence", False),
               ("Runs on open", False)]
    return "<h3>Script findings (%d)</h3>%s" % (len(findings), table(columns, rows))


def _layers(rec):
    layers = [layer for layer in _list(_model(rec).get("parts")) if isinstance(layer, dict)]
    rows = [(None, [text(layer.get("part")), text(layer.get("renderer")),
                    text(", ".join(str(c) for c in _list(layer.get("cameras"))) or "none"),
                    path(layer.get("layerFilePrefix") if layer.get("layerFilePrefix") is not None else "(default)"),
                    text(layer.get("ext"))]) for layer in layers]
    columns = [("Layer", False), ("Renderer", False), ("Cameras", False), ("Prefix", False), ("Extension", False)]
    return "<h3>Render layers (%d)</h3>%s" % (len(layers), table(columns, rows))


def _cameras(rec):
    cameras = [str(c) for c in _list(_model(rec).get("allCameras"))]
    items = "".join("<li><code>%s</code></li>" % esc(c) for c in cameras)
    return "<h3>Cameras (%d)</h3><ul>%s</ul>" % (len(cameras), items)


def _references(rec):
    references, problem = scene_record.host_section(rec, "references")
    if references is None:
        host = rec.get("host")
        if isinstance(host, dict) and "references" in host:
            return '<h3>References</h3><p class="problem">Not read: %s.</p>' % esc(problem)
        return ""
    refs = [r for r in _list(references) if isinstance(r, dict)]
    if not refs:
        return '<h3>References (0)</h3><p class="note">The scene references no other file.</p>'
    marks = {"missing": "missing", "failed": "missing", "deferred": "deferred"}
    rows = [({"class": marks[r.get("state")]} if r.get("state") in marks else None, [
        text(r.get("namespace")), text(r.get("state")), path(r.get("path")), path(r.get("resolved")),
        number(r.get("depth")), text(r.get("reason"))]) for r in refs]
    columns = [("Namespace", False), ("State", False), ("Path as written", False), ("Resolved", False),
               ("Depth", True), ("Reason", False)]
    counts = ", ".join("%d %s" % (sum(1 for r in refs if r.get("state") == s), s)
                       for s in ("loaded", "deferred", "missing", "failed") if any(r.get("state") == s for r in refs))
    return "<h3>References (%d%s)</h3>%s" % (len(refs), ": " + counts if counts else "", table(columns, rows))


def _files(rec):
    result = _result(rec)
    if result is None:
        return ""
    if result.get("status") == 2:
        return ('<h3>Files</h3><p class="note">Not collected: the analysis stops before the assets '
                'when the scene is in error (status 2).</p>')
    missing = scene_record.missing_files(rec)
    found = sorted(str(f) for f in _list(result.get("files")))
    # missing files first: they are what a person must act on
    rows = [({"class": "missing"}, [markup('<span class="badge missing">missing</span>', "0"),
                                    text(os.path.basename(m)), number(None, "-"), path(m)]) for m in missing]
    total = 0
    for listed in found:
        size, on_disk = scene_record.file_facts(listed)
        total += size or 0
        shown = '<span class="path">%s</span>' % esc(on_disk or listed)
        if on_disk and on_disk != listed:
            shown += '<br><span class="note">listed as </span><span class="path">%s</span>' % esc(listed)
        rows.append((None, [markup('<span class="badge found">found</span>', "1"), text(os.path.basename(listed)),
                            number(size, "-" if size is None else scene_record.human_size(size)),
                            markup(shown, on_disk or listed)]))
    footer = [text("%d found, %d missing" % (len(found), len(missing))), text(""),
              number(total, scene_record.human_size(total)), text("")]
    columns = [("State", False), ("Name", False), ("Size", True), ("Path on disk", False)]
    return "<h3>Files (%d, %s; %d missing)</h3>%s" % (len(found), scene_record.human_size(total), len(missing),
                                                     table(columns, rows, footer))


def scene_section(rec):
    """The whole of one scene: banner, facts, messages, scripts, layers, cameras, references, files."""
    findings, _problem = scene_record.script_findings(rec)
    return "\n".join(part for part in (
        _banner(rec, findings), _facts(rec), _messages(rec), _scripts(rec), _layers(rec), _cameras(rec),
        _references(rec), _files(rec)) if part)


def scene_page(rec):
    name = os.path.basename(str(rec.get("scene") or "scene"))
    body = "<h1>vanalyzer report: %s</h1>\n%s" % (esc(name), scene_section(rec))
    return page("vanalyzer report: %s (%s)" % (name, scene_status(rec)[-1]), body)


def scan_page(records, machine_type=None):
    """One row per scene (status, counts, a link to its section), filterable by status, then the
    scenes one by one."""
    records = [dict(rec, machine_type=rec.get("machine_type") or machine_type) for rec in records]
    rows, sections, statuses = [], [], []
    for index, rec in enumerate(records, 1):
        words = scene_status(rec)
        statuses.extend(w for w in words if w not in statuses)
        result = _result(rec) or {}
        findings, _problem = scene_record.script_findings(rec)
        anchor = "scene-%d" % index
        name = str(rec.get("scene") or "")
        link = markup('<a href="#%s" class="path">%s</a>' % (anchor, esc(name)), name)
        status = markup(" ".join('<span class="badge %s">%s</span>' % (w, w) for w in words), " ".join(words))
        seconds = rec.get("seconds") if isinstance(rec.get("seconds"), (int, float)) else None
        rows.append(({"data-status": " ".join(words)}, [link, status, number(rec.get("exit")),
                                                        number(len(_list(result.get("files")))),
                            number(len(scene_record.missing_files(rec))), number(len(_list(result.get("msg")))),
                            number(len(findings) if findings is not None else None, "-" if findings is None else None),
                            number(seconds, "-" if seconds is None else "%.1f" % seconds)]))
        sections.append('<section class="scene" id="%s" data-status="%s"><h2>%d. <span class="path">%s</span></h2>\n%s'
                        '</section>' % (anchor, " ".join(words), index, esc(name), scene_section(rec)))
    overview = table([("Scene", False), ("Status", False), ("Exit", True), ("Files", True), ("Missing", True),
                      ("Messages", True),
                      ("Script findings", True), ("Seconds", True)], rows)
    filters = '<div class="filters" hidden>Show: %s</div>' % "".join(
        '<label><input type="checkbox" value="%s" checked> %s (%d)</label>'
        % (s, s, sum(1 for rec in records if s in scene_status(rec))) for s in statuses)
    counts = ", ".join("%d %s" % (sum(1 for rec in records if s in scene_status(rec)), s) for s in statuses)
    body = "<h1>vanalyzer scan: %d scene%s</h1>\n<p>%s; machine: %s</p>\n%s\n%s\n%s" % (
        len(records), "" if len(records) == 1 else "s", esc(counts or "no scenes"), esc(_machine(machine_type)),
        filters, overview, "\n".join(sections))
    return page("vanalyzer scan report: %d scenes" % len(records), body)


def write(path_, text_):
    """Writes the page whole: a temporary file in the same folder, renamed into place."""
    folder = os.path.dirname(os.path.abspath(path_))
    handle, temporary = tempfile.mkstemp(dir=folder, prefix=".vanalyzer-report-")
    try:
        with os.fdopen(handle, "w", encoding="utf-8") as out:
            out.write(text_)
        umask = os.umask(0)
        os.umask(umask)
        os.chmod(temporary, 0o666 & ~umask)  # as an ordinary new file, not mkstemp's private one
        os.replace(temporary, path_)
    except BaseException:
        os.unlink(temporary)
        raise
