#!/usr/bin/env bash
# Installs what the tests need (Debian), builds every binary, and runs every test and check:
# C++ unit tests, the stable-ABI symbol check, the behaviour tests on 2.7 and every 3.x from 3.7,
# the offline environment's tests (the scan's Slurm array job among them), the installed Maya
# module, the sanitizer run, the reference-leak check and a short fuzz run.
# Needs nothing outside the repository: the suites over the real-scene corpus (<repo>/../shared/corpus
# or $VANALYZER_CORPUS; the files named corpus_test_*.py) run when it is there and are counted as not
# run when it is not, except under CI=true, where its absence is a failure.
set -uo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
corpus=${VANALYZER_CORPUS:-$repo/../shared/corpus}
jobs=${VANALYZER_JOBS:-2}
fuzz_seconds=${VANALYZER_FUZZ_SECONDS:-60}
cd "$repo"

passed=0
failed=0
not_run=0
failures=()
not_run_names=()
step() {  # step NAME COMMAND...: runs one check and counts it
  local name=$1 started=$SECONDS
  shift
  echo
  echo "=== $name"
  if "$@"; then
    passed=$((passed + 1))
    echo "--- $name: passed ($((SECONDS - started)) s)"
  else
    failed=$((failed + 1))
    failures+=("$name")
    echo "--- $name: FAILED ($((SECONDS - started)) s)"
  fi
}
corpus_step() {  # corpus_step NAME COMMAND...: a check over the real-scene corpus, run when it is there
  local name=$1
  if [ -d "$corpus" ]; then
    step "$@"
  elif [ "${CI:-}" = true ]; then
    failed=$((failed + 1))
    failures+=("$name (no real-scene corpus at $corpus)")
    echo
    echo "--- $name: FAILED (no real-scene corpus at $corpus; CI always has it)"
  else
    not_run=$((not_run + 1))
    not_run_names+=("$name")
    echo
    echo "--- $name: not run (no real-scene corpus at $corpus)"
  fi
}
die() {
  echo "test.sh: $*" >&2
  exit 2
}

# --- What the machine needs -------------------------------------------------------------------
"$repo/tools/install-dependencies.sh" || die "could not install the Debian packages the tests need"

# The interpreter matrix: 2.7 and every 3.x from 3.7 under pyenv; a missing one is an error.
source "$repo/tools/python-matrix.sh"
python311=${matrix[5]}

# --- Builds -------------------------------------------------------------------------------------
configure_and_build() {  # DIR TARGETS CMAKE-ARGS...: TARGETS "all" or a space-separated list
  local dir=$1 targets=$2
  shift 2
  cmake -S "$repo" -B "$dir" -DVANALYZER_PYTHON27="$python27" -DVANALYZER_PYTHON3="$python3_oldest" "$@" \
    >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  # shellcheck disable=SC2086  # the targets are words
  cmake --build "$dir" -j "$jobs" --target $targets >"$dir.build.log" 2>&1 ||
    { grep -E 'error|Error' -A5 "$dir.build.log" | head -80; return 1; }
}
mkdir -p build
step "build (release: both binaries, unit tests)" configure_and_build build/release all -DCMAKE_BUILD_TYPE=Release
# the checked builds make only what their checks load: the analyzer for the sanitizer run, every
# Stable-ABI extension for the leak check
step "build (AddressSanitizer + UndefinedBehaviorSanitizer)" configure_and_build build/asan \
  "vanalyzer_py27 vanalyzer_abi3" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANALYZER_SANITIZE=ON -DVANALYZER_TESTS=OFF
step "build (reference counting, python3.11-dbg)" configure_and_build build/refdebug python_extensions_abi3 \
  -DCMAKE_BUILD_TYPE=Debug -DVANALYZER_TESTS=OFF -DVANALYZER_PYTHON3_INCLUDE=/usr/include/python3.11d \
  -DVANALYZER_PYTHON3_REF_DEBUG=ON

# --- Checks -------------------------------------------------------------------------------------
step "C++ unit tests" ctest --test-dir build/release --output-on-failure
step "stable ABI symbols" python3 tools/check_stable_abi.py build/release/abi3/*.abi3.so
step "source rules" python3 tools/check_source_rules.py

unittest_suites=(tests/behaviour)
[ -d offline/tests ] && unittest_suites+=(offline/tests)
covered=()
for python in "${matrix[@]}"; do
  version=$("$python" -c 'import sys; print("%d.%d.%d" % sys.version_info[:3])')
  covered+=("$version")
  for suite in "${unittest_suites[@]}"; do
    step "$suite on Python $version" env VANALYZER_BINARY_DIR="$repo/build/release" \
      "$python" -m unittest discover -s "$suite" -t "$suite"
    if compgen -G "$suite/corpus_test_*.py" >/dev/null; then
      corpus_step "$suite over the real scenes on Python $version" env VANALYZER_BINARY_DIR="$repo/build/release" \
        VANALYZER_CORPUS="$corpus" "$python" -m unittest discover -s "$suite" -t "$suite" -p 'corpus_test_*.py'
    fi
  done
done
if [ -d offline/cli/tests ]; then
  step "command-line tests (Debian Python 3)" env VANALYZER_BINARY_DIR="$repo/build/release" \
    /usr/bin/python3 -m pytest -q offline/cli/tests
  if compgen -G "offline/cli/tests/corpus_test_*.py" >/dev/null; then
    corpus_step "command-line tests over the real scenes (Debian Python 3)" env VANALYZER_BINARY_DIR="$repo/build/release" \
      VANALYZER_CORPUS="$corpus" /usr/bin/python3 -m pytest -q offline/cli/tests/corpus_test_*.py
  fi
fi

step "Maya module (cmake --install, read as Maya does, imported on 2.7 and every 3.x)" \
  env VANALYZER_BINARY_DIR="$repo/build/release" /usr/bin/python3 -m pytest -q tests/install

# libstdc++ is preloaded too: the sanitizer intercepts C++ throws and must find the real ones at start.
asan_library="$(g++ -print-file-name=libasan.so) $(g++ -print-file-name=libstdc++.so)"
for python in "$python27" "$python311"; do
  step "behaviour tests under the sanitizers ($("$python" -c 'import sys; print("%d.%d" % sys.version_info[:2])'))" \
    env VANALYZER_BINARY_DIR="$repo/build/asan" PYTHONMALLOC=malloc LD_PRELOAD="$asan_library" \
    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$python" -m unittest discover -s tests/behaviour -t tests/behaviour
done

step "reference-leak check (python3.11-dbg: 3000 analyses, scene loads, scene graphs and service path runs)" env VANALYZER_BINARY_DIR="$repo/build/refdebug" \
  python3.11-dbg tests/leak/leak_check.py 3000

if [ -x offline/reader/fuzz/run.sh ]; then
  step "fuzzing the scene reader (${fuzz_seconds}s)" offline/reader/fuzz/run.sh "$fuzz_seconds"
fi

echo
echo "Took $((SECONDS / 60)) min $((SECONDS % 60)) s"
echo "Interpreters covered: ${covered[*]} (and Debian's $(/usr/bin/python3 -c 'import sys; print(sys.version.split()[0])') for the command line)"
[ ${#failures[@]} -eq 0 ] || printf 'Failed: %s\n' "${failures[@]}"
[ ${#not_run_names[@]} -eq 0 ] || printf 'Not run: %s\n' "${not_run_names[@]}"
if [ "$not_run" -gt 0 ]; then
  echo "checks: $passed passed, $failed failed, $not_run not run (real-scene corpus absent)"
else
  echo "checks: $passed passed, $failed failed, 0 not run"
fi
[ "$failed" -eq 0 ]
