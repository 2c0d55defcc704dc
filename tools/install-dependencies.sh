#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when they are missing.
set -euo pipefail

packages=(cmake g++ make binutils libgtest-dev python3.11-dbg python3-pytest clang libclang-rt-14-dev)
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
