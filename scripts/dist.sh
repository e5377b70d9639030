#!/usr/bin/env bash
# Builds the win32 folder only (the shipped 32-bit build) and packs the users' download,
# vesmira-<version>.zip, into the folder given (default: dist/ in the repository).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/configure.sh"
vsmr_configure_win32
cmake --build "$root/build/win32" -j "${JOBS:-$(nproc)}"
python3 "$root/tools/make_dist.py" "$root/build/win32" "${1:-$root/dist}"
