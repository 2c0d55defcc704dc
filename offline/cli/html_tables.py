# -*- coding: utf-8 -*-
"""Tables of the HTML report. Cells hold markup that is already escaped; a cell's sort key goes
in data-sort (escaped here), so the page's script sorts by value rather than by what it shows."""
from .html_page import esc


class Cell(object):
    """One table cell: escaped markup, an optional sort key, an optional class."""

    def __init__(self, markup, sort=None, css=None):
        self.markup = markup
        self.sort = sort
        self.css = css

    def render(self):
        attributes = ""
        if self.css:
            attributes += ' class="%s"' % esc(self.css)
        if self.sort is not None:
            attributes += ' data-sort="%s"' % esc(self.sort)
        return "<td%s>%s</td>" % (attributes, self.markup)


def text(value, sort=None, css=None):
    return Cell(esc(value), sort, css)


def markup(escaped, sort=None, css=None):
    """A cell of markup already escaped by the caller."""
    return Cell(escaped, sort, css)


def path(value):
    return Cell('<span class="path">%s</span>' % esc(value), value)


def number(value, shown=None):
    """A right-aligned number, sorted by value; shown is the text a person reads (a size, say)."""
    return Cell(esc(value if shown is None else shown), "" if value is None else value, "number")


def _attributes(attributes):
    return "".join(' %s="%s"' % (name, esc(value)) for name, value in sorted((attributes or {}).items()))


def table(columns, rows, footer=None, sortable=True):
    """columns: (label, numeric) pairs; rows: (row attributes dict or None, cells); footer: cells or None."""
    head = "".join('<th%s scope="col">%s</th>' % (' class="number"' if numeric else "", esc(label))
                   for label, numeric in columns)
    body = "\n".join("<tr%s>%s</tr>" % (_attributes(attributes), "".join(cell.render() for cell in cells))
                     for attributes, cells in rows)
    foot = "<tfoot><tr>%s</tr></tfoot>" % "".join(cell.render() for cell in footer) if footer else ""
    return ('<table%s><thead><tr>%s</tr></thead>\n<tbody>\n%s\n</tbody>%s</table>'
            % (' class="sortable"' if sortable else "", head, body, foot))
