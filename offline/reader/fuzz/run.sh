#!/bin/sh
# Builds the reader's libFuzzer harness with ASan and UBSan (apart from the CMake build) and runs
# it for a bounded time over a seed corpus made from the fixtures. Exits non-zero on any crash,
# hang, leak or sanitizer report.   Usage: run.sh [SECONDS]
set -eu
seconds="${1:-60}"
here="$(cd "$(dirname "$0")" && pwd)"
reader="$(dirname "$here")"
fixtures="$(dirname "$reader")/fixtures"
work="${FUZZ_WORK_DIR:-${TMPDIR:-/tmp}/mayascene-fuzz}"
mkdir -p "$work/corpus" "$work/artifacts"

clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I "$reader/include" "$here/fuzz_reader.cpp" "$reader"/src/*.cpp "$reader"/src/ascii/*.cpp "$reader"/src/binary/*.cpp -o "$work/fuzz_reader"

# Seeds: each fixture behind a chunk-size byte.
for f in "$fixtures"/*.ma "$fixtures"/*/*.ma; do
  [ -f "$f" ] || continue
  { printf '\007'; cat "$f"; } > "$work/corpus/$(basename "$f").seed"
done

# -fork would hide the exit status; one process, stopped by libFuzzer on the first finding.
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
"$work/fuzz_reader" "$work/corpus" -dict="$here/maya.dict" -max_total_time="$seconds" -timeout=5 \
  -rss_limit_mb=2048 -max_len=65536 -artifact_prefix="$work/artifacts/" -print_final_stats=1
