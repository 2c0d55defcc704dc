# -*- coding: utf-8 -*-
"""The scan's progress on standard error: scenes done of all, the rate, and an estimate of the rest."""
import shutil
import time

from .scan_summary import duration


class ScanProgress(object):
    """On a terminal one line redrawn in place; elsewhere (a scheduler's log) a line every ten seconds."""

    def __init__(self, stream, total, earlier, clock=time.time):
        self.stream = stream
        self.total = total
        self.done = earlier
        self.earlier = earlier
        self.clock = clock
        self.started = clock()
        self.shown = None
        self.tty = stream.isatty()
        self.by_exit = {}

    def record(self, record):
        self.done += 1
        self.by_exit[record["exit"]] = self.by_exit.get(record["exit"], 0) + 1
        self.show()

    def line(self):
        elapsed = self.clock() - self.started
        this_run = self.done - self.earlier
        text = "scan: %d/%d scenes" % (self.done, self.total)
        if self.total:
            text += " (%d%%)" % (100 * self.done // self.total)
        if this_run and elapsed > 0:
            rate = this_run / elapsed
            text += ", %.2f scenes/s" % rate
            if self.done < self.total:
                text += ", about %s left" % duration((self.total - self.done) / rate)
        if self.by_exit:
            text += "  [%s]" % " ".join("exit %d: %d" % item for item in sorted(self.by_exit.items()))
        return text

    def show(self, final=False):
        now = self.clock()
        if not final and self.shown is not None and now - self.shown < (0.5 if self.tty else 10.0):
            return
        self.shown = now
        text = self.line()
        if self.tty:
            width = shutil.get_terminal_size((100, 20)).columns - 1
            self.stream.write("\r" + text[:width].ljust(width) + ("\n" if final else ""))
        else:
            self.stream.write(text + "\n")
        self.stream.flush()

    def finish(self):
        self.show(final=True)
