#!/usr/bin/env bash
# Configures and builds the four build folders: host (sanitizers), win64, win32, fuzz.
# Each folder's cmake arguments are those of scripts/configure.sh.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
b=$root/build
jobs=${JOBS:-$(nproc)}
source "$root/scripts/configure.sh"
vsmr_configure_win64
vsmr_configure_win32
vsmr_configure_fuzz
vsmr_configure_host
for dir in win64 win32 fuzz host; do
  echo "== building $dir"
  cmake --build "$b/$dir" -j "$jobs"
done
