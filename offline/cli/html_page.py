# -*- coding: utf-8 -*-
"""The HTML page around a report: escaping, styles, the small sorting and filtering script, and a
content policy that lets only this page's own style and script run.

Everything a scene brings (names, paths, script text, messages) goes through esc(); the script
reads the page and never holds scene data, so its hash in the policy is fixed. Without the script
the page reads the same: every row is shown, in the order it was written.
"""
import base64
import hashlib
import html

STYLE = """
:root { --clean: #1b7f3b; --warnings: #a86400; --error: #b3261e; --line: #d0d4da; --soft: #f4f5f7; }
* { box-sizing: border-box; }
body { font: 14px/1.45 "DejaVu Sans", "Liberation Sans", Arial, "Noto Sans CJK SC", "WenQuanYi Micro Hei",
       sans-serif; color: #1d2125; margin: 0 auto; padding: 16px 24px 40px; max-width: 1400px; }
h1 { font-size: 20px; margin: 0 0 12px; }
h2 { font-size: 17px; margin: 28px 0 8px; border-bottom: 1px solid var(--line); padding-bottom: 4px; }
h3 { font-size: 15px; margin: 20px 0 6px; }
code, .path, pre { font-family: "DejaVu Sans Mono", "Liberation Mono", monospace; font-size: 12.5px; }
.path { overflow-wrap: anywhere; }
pre { white-space: pre-wrap; overflow-wrap: anywhere; margin: 0; }
.banner { border-radius: 6px; padding: 12px 16px; color: #fff; margin: 8px 0 16px; display: flex;
          flex-wrap: wrap; gap: 6px 24px; align-items: baseline; }
.banner .word { font-size: 22px; font-weight: bold; text-transform: uppercase; letter-spacing: .04em; }
.banner.clean { background: var(--clean); } .banner.warnings { background: var(--warnings); }
.banner.error { background: var(--error); }
.badge { display: inline-block; border-radius: 3px; padding: 0 6px; font-size: 12px; font-weight: bold; }
.badge.clean { background: #dcefe2; color: var(--clean); } .badge.warnings { background: #fbecd6; color: var(--warnings); }
.badge.error, .badge.missing, .badge.infected { background: #f8dcda; color: var(--error); }
.badge.found { background: #dcefe2; color: var(--clean); } .badge.code { background: var(--soft); color: #333; }
dl.facts { display: grid; grid-template-columns: max-content 1fr; gap: 2px 16px; margin: 0; }
dl.facts dt { font-weight: bold; } dl.facts dd { margin: 0; }
table { border-collapse: collapse; width: 100%; margin: 4px 0 8px; }
th, td { border: 1px solid var(--line); padding: 3px 8px; text-align: left; vertical-align: top; }
th { background: var(--soft); }
table.sortable th { cursor: pointer; }
th[aria-sort="ascending"]::after { content: " \\25B2"; }
th[aria-sort="descending"]::after { content: " \\25BC"; }
td.number, th.number { text-align: right; white-space: nowrap; }
tr.missing td, tr.infected td { background: #fdeceb; } tr.deferred td { background: #fdf4e3; }
tfoot td { font-weight: bold; background: var(--soft); }
.message { border-left: 4px solid var(--line); padding: 4px 10px; margin: 6px 0; }
.message.error { border-color: var(--error); } .message.warnings { border-color: var(--warnings); }
.message .lang { color: #5f6b7a; font-size: 12px; margin-right: 6px; }
.note { color: #5f6b7a; } .problem { color: var(--error); }
.filters { margin: 8px 0; } .filters label { margin-right: 16px; }
section.scene { margin-top: 24px; }
[hidden] { display: none !important; }
@media print {
  body { max-width: none; padding: 0; font-size: 11px; }
  .filters, th::after { display: none; }
  .banner, .badge, tr.missing td, tr.infected td, tr.deferred td, th, tfoot td { -webkit-print-color-adjust: exact;
    print-color-adjust: exact; }
  tr { break-inside: avoid; } section.scene { break-before: page; }
  a { color: inherit; text-decoration: none; }
}
"""

SCRIPT = """
(function () {
  "use strict";
  var each = function (list, f) { Array.prototype.forEach.call(list, f); };
  each(document.querySelectorAll("table.sortable"), function (table) {
    var heads = table.tHead.rows[0].cells;
    each(heads, function (head, column) {
      head.tabIndex = 0;
      head.title = "sort by this column";
      var sort = function () {
        var ascending = head.getAttribute("aria-sort") !== "ascending";
        var numeric = head.classList.contains("number");
        each(heads, function (other) { other.removeAttribute("aria-sort"); });
        head.setAttribute("aria-sort", ascending ? "ascending" : "descending");
        var body = table.tBodies[0];
        var rows = Array.prototype.slice.call(body.rows);
        var key = function (row) {
          var cell = row.cells[column];
          var value = cell.hasAttribute("data-sort") ? cell.getAttribute("data-sort") : cell.textContent;
          return numeric ? parseFloat(value) : value.toLowerCase();
        };
        rows.sort(function (a, b) {
          var x = key(a), y = key(b);
          if (numeric) { x = isNaN(x) ? -Infinity : x; y = isNaN(y) ? -Infinity : y; }
          return (x < y ? -1 : x > y ? 1 : 0) * (ascending ? 1 : -1);
        });
        each(rows, function (row) { body.appendChild(row); });
      };
      head.addEventListener("click", sort);
      head.addEventListener("keydown", function (event) {
        if (event.key === "Enter" || event.key === " ") { event.preventDefault(); sort(); }
      });
    });
  });
  var filters = document.querySelector(".filters");
  if (filters) {
    filters.hidden = false;
    var apply = function () {
      var shown = {};
      each(filters.querySelectorAll("input[type=checkbox]"), function (box) { shown[box.value] = box.checked; });
      each(document.querySelectorAll("[data-status]"), function (item) {
        item.hidden = !item.getAttribute("data-status").split(" ").some(function (s) { return shown[s]; });
      });
    };
    each(filters.querySelectorAll("input[type=checkbox]"), function (box) { box.addEventListener("change", apply); });
  }
})();
"""


def _hash(text):
    return "'sha256-%s'" % base64.b64encode(hashlib.sha256(text.encode("utf-8")).digest()).decode("ascii")


POLICY = ("default-src 'none'; style-src %s; script-src %s; img-src 'none'; base-uri 'none'; form-action 'none'"
          % (_hash(STYLE), _hash(SCRIPT)))


def esc(value):
    """Text for HTML content and quoted attribute values: nothing in it can open markup."""
    return html.escape("" if value is None else str(value), quote=True)


def page(title, body):
    """A whole, self-contained page: no network, no outside files."""
    return ("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta http-equiv=\"Content-Security-Policy\" content=\"%s\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<title>%s</title>\n<style>%s</style>\n</head>\n<body>\n%s\n<script>%s</script>\n</body>\n</html>\n"
            % (POLICY, esc(title), STYLE, body, SCRIPT))
