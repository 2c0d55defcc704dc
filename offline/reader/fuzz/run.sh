#!/bin/sh
# Builds the reader's libFuzzer harnesses (Maya ASCII and Maya Binary) with ASan and UBSan (apart
# from the CMake build) and runs each for half of a bounded time over seeds made from the fixtures
# and, when it is there, the real-scene corpus's .mb files. Exits non-zero on any crash, hang, leak
# or sanitizer report.   Usage: run.sh [SECONDS]   (total for both; default 60)
set -eu
seconds="${1:-60}"
here="$(cd "$(dirname "$0")" && pwd)"
reader="$(dirname "$here")"
fixtures="$(dirname "$reader")/fixtures"
corpus="${VANALYZER_CORPUS:-$(dirname "$(dirname "$reader")")/../shared/corpus}"
work="${FUZZ_WORK_DIR:-${TMPDIR:-/tmp}/mayascene-fuzz}"
half=$(( (seconds + 1) / 2 ))
mkdir -p "$work/ascii" "$work/binary" "$work/artifacts"

sources="$reader/src/*.cpp $reader/src/ascii/*.cpp $reader/src/binary/*.cpp"
for harness in reader binary; do
  # shellcheck disable=SC2086
  clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$reader/include" "$here/fuzz_$harness.cpp" $sources -o "$work/fuzz_$harness"
done

# Seeds: each file behind the harness's mode byte (ASCII: the chunk size; binary: fit the top chunk).
for f in "$fixtures"/*.ma "$fixtures"/*/*.ma; do
  [ -f "$f" ] || continue
  { printf '\007'; cat "$f"; } > "$work/ascii/$(basename "$f").seed"
done
# Binary seeds go in twice: as they are, and with a cap of 8 bytes on stored values (mode bit 2).
for f in "$fixtures"/mb/*.mb "$corpus"/mb/*.mb "$corpus"/productions/*/*.mb "$corpus"/productions/*/*/*.mb; do
  [ -f "$f" ] || continue
  { printf '\001'; cat "$f"; } > "$work/binary/$(basename "$f").seed"
  { printf '\003'; cat "$f"; } > "$work/binary/$(basename "$f").capped.seed"
done

# -fork would hide the exit status; one process each, stopped by libFuzzer on the first finding.
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
"$work/fuzz_reader" "$work/ascii" -dict="$here/maya.dict" -max_total_time="$half" -timeout=5 \
  -rss_limit_mb=2048 -max_len=65536 -artifact_prefix="$work/artifacts/ascii-" -print_final_stats=1
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
"$work/fuzz_binary" "$work/binary" -dict="$here/maya_binary.dict" -max_total_time="$half" -timeout=5 \
  -rss_limit_mb=2048 -max_len=65536 -artifact_prefix="$work/artifacts/binary-" -print_final_stats=1
