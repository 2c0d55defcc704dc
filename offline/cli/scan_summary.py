# -*- coding: utf-8 -*-
"""The scan's summary for a person: scenes per status, the most frequent codes, the slowest scenes,
and every failure with its reason; and the scan's exit status, the worst status seen."""
import collections

from .paths import NO_RESULT

EXIT_WORDS = {0: "clean", 1: "warnings", 2: "error", NO_RESULT: "no result"}
TOP_CODES = 10
SLOWEST = 5
FAILURES_SHOWN = 50


def duration(seconds):
    seconds = int(round(seconds))
    if seconds < 60:
        return "%ds" % seconds
    if seconds < 3600:
        return "%dm%02ds" % divmod(seconds, 60)
    return "%dh%02dm" % (seconds // 3600, seconds % 3600 // 60)


def worst_exit(records):
    return max([record["exit"] for record in records] or [0])


def digest(record):
    """A record without its result, which can be large (every file of the scene), and with the codes
    the result raised: what a scan of a large library keeps of each scene for its summary."""
    result = record.get("result")
    messages = result.get("msg") if isinstance(result, dict) else None
    codes = sorted(set(message.get("code") for message in messages if isinstance(message, dict))
                   if isinstance(messages, list) else [], key=str)
    return {"scene": record["scene"], "exit": record["exit"], "seconds": record["seconds"],
            "reason": record.get("reason"), "host": record.get("host"), "codes": codes}


def format_scan_summary(records, elapsed, earlier, jobs):
    """records: the digests of every record of the scanned list, earlier of them from a previous run."""
    out = []
    head = "Scanned %d scene%s in %s (-j %d)" % (len(records), "" if len(records) == 1 else "s",
                                                 duration(elapsed), jobs)
    if earlier:
        head += "; %d of them recorded by an earlier run" % earlier
    out.append(head)
    by_exit = collections.Counter(record["exit"] for record in records)
    out.append("Status   " + "   ".join("%d %s: %d" % (status, EXIT_WORDS.get(status, "?"), by_exit[status])
                                        for status in sorted(set(EXIT_WORDS) | set(by_exit))))
    codes = collections.Counter(code for record in records for code in record["codes"])
    if codes:
        ranked = sorted(codes.items(), key=lambda item: (-item[1], str(item[0])))[:TOP_CODES]
        out.append("Codes    " + ", ".join("%s in %d scene%s" % (code, count, "" if count == 1 else "s")
                                          for code, count in ranked))
    slowest = sorted(records, key=lambda record: -record["seconds"])[:SLOWEST]
    if slowest:
        out.append("Slowest")
        out.extend("  %7.1fs  %s" % (record["seconds"], record["scene"]) for record in slowest)
    failures = [record for record in records if record["exit"] == NO_RESULT]
    out.append("Failures (%d)" % len(failures))
    for record in failures[:FAILURES_SHOWN]:
        out.append("  %s: %s" % (record["scene"], record["reason"]))
    if len(failures) > FAILURES_SHOWN:
        out.append("  ... and %d more (their reasons are in the JSON lines)" % (len(failures) - FAILURES_SHOWN))
    return "\n".join(out)
