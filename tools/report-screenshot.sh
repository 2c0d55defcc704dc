#!/usr/bin/env bash
# Makes docs/report.png, the README's picture of the HTML report: the example shot analysed by the
# real command (tools/run-example.sh --html), the page loaded in headless Chromium and shot whole.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$repo/tools/run-example.sh" --html "$scratch/report.html" >/dev/null
mkdir -p "$repo/docs"
python3 "$repo/tools/chromium_page.py" "$scratch/report.html" --screenshot "$repo/docs/report.png"
