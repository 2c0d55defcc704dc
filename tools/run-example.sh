#!/usr/bin/env bash
# Sets everything up on a fresh Debian machine, builds the module, and analyses the bundled example
# shot as the render service would. Extra arguments go to vanalyzer-offline (e.g. --json).
# Exits 0 when a result was delivered, whatever its status.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
tools/install-dependencies.sh
source tools/python-matrix.sh
mkdir -p build
echo "Building (build/release)..." >&2
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVANALYZER_PYTHON27="$python27" \
  -DVANALYZER_PYTHON3="$python3_oldest" >build/release.configure.log 2>&1 ||
  { cat build/release.configure.log; exit 2; }
cmake --build build/release -j2 >build/release.build.log 2>&1 || { tail -40 build/release.build.log; exit 2; }
status=0
bin/vanalyzer-offline examples/project/scenes/shot010.ma --machine-type startCpu \
  --config examples/config/service.ini "$@" || status=$?
# vanalyzer-offline exits with the result's status (0, 1, 2), or 3 when no result was delivered;
# for this script a delivered result is success.
case $status in
  0 | 1 | 2) echo "(vanalyzer-offline exit status $status: the result's status)" >&2 ;;
  *) exit "$status" ;;
esac
