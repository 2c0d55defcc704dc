# -*- coding: utf-8 -*-
"""One analysed scene as the reports see it: the scan record (scene, exit, seconds, result,
reason, host) and what the summary and the HTML report read off it."""
import os

MISSING_FILES_CODE = 10001
STATUS_WORDS = {0: "clean", 1: "warnings", 2: "error"}


def record(scene, exit_code, seconds, result, reason, host, **extra):
    """A record in the scan's JSON-line form; extra keys (machine_type, analysed_at, missing) are
    what a single run knows beside it."""
    line = {"scene": scene, "exit": exit_code, "seconds": seconds, "result": result, "reason": reason,
            "host": host}
    line.update(extra)
    return line


def status_word(rec):
    """clean / warnings / error, from the delivered result's status; error when there is none."""
    result = rec.get("result")
    status = result.get("status") if isinstance(result, dict) else None
    return STATUS_WORDS.get(status, "error") if not isinstance(status, bool) else "error"


def host_section(rec, key):
    """(value, problem): the host report's section, or None and why it is not there."""
    host = rec.get("host")
    if not isinstance(host, dict) or not host:
        return None, "the host wrote no report"
    if key not in host:
        return None, "the host report has no %s section" % key
    value = host[key]
    if isinstance(value, dict) and set(value) == {"error"}:
        return None, "it failed in the host: %s" % value["error"]
    return value, None


def script_findings(rec):
    """(findings, problem): the script scan's findings (a list), or None and why there are none."""
    findings, problem = host_section(rec, "scripts")
    if problem is None and not isinstance(findings, list):
        return None, "the script scan's section is not a list"
    if findings is None:
        return None, problem
    return [f for f in findings if isinstance(f, dict)], None


def missing_files(rec):
    """The missing files: the run's own list when it has one, else the paths that the
    missing-files message lists (one a line after its first)."""
    if isinstance(rec.get("missing"), list):
        return list(rec["missing"])
    listed, seen = [], set()
    result = rec.get("result") if isinstance(rec.get("result"), dict) else {}
    for message in result.get("msg") or []:
        if isinstance(message, dict) and message.get("code") == MISSING_FILES_CODE:
            for line in str(message.get("en") or "").replace("\r\n", "\n").split("\n")[1:]:
                if line.strip() and line not in seen:
                    seen.add(line)
                    listed.append(line)
    return listed


def file_facts(path):
    """(size in bytes or None, the path on disk with links resolved or None) of one listed file."""
    try:
        return os.path.getsize(path), os.path.realpath(path)
    except (OSError, TypeError, ValueError):
        return None, None


def human_size(size):
    for unit in ("B", "KB", "MB", "GB"):
        if size < 1024 or unit == "GB":
            return ("%d %s" % (size, unit)) if unit == "B" else ("%.1f %s" % (size, unit))
        size /= 1024.0


def malware_reason(rec):
    """Why --fail-on-malware refuses the scene (findings, or a scan that did not run), or None."""
    findings, problem = script_findings(rec)
    if findings is None:
        return "the script scan did not run: %s" % problem
    if findings:
        return "known script virus in %s" % ", ".join(
            "%s (%s)" % (f.get("node"), f.get("family")) for f in findings)
    return None


def fail_on_malware(rec):
    """--fail-on-malware: a record with a malware_reason gets exit 2 (error) unless it has no result
    (3 stays); returns the reason, or None."""
    reason = malware_reason(rec)
    if reason and rec.get("exit") in (0, 1):
        rec["exit"] = 2
    return reason
