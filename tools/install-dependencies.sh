#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when they are missing.
set -euo pipefail

# One package a line, with what needs it; add new ones the same way.
packages=(
  cmake g++ make binutils   # the build; objdump/nm for the binary checks
  libgtest-dev              # the C++ unit tests
  python3-pytest            # the command-line tests
  python3.11-dbg            # the reference-leak check
  clang libclang-rt-14-dev  # libFuzzer for the reader's fuzz run
  slurm-wlm munge           # the scan's Slurm array-job test (a one-node cluster it starts itself)
  chromium                  # the HTML report's test: the page in headless Chromium
  fonts-wqy-microhei        # Chinese glyphs in that test's and the README's screenshots
)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "install-dependencies: installing needs root: ${missing[*]}" >&2
  exit 1
fi
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
