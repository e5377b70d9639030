#!/usr/bin/env bash
# `make bench` for the settings save: builds settings_bench.exe (win64, optimised,
# no sanitizers) and runs it under Wine.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
b=$root/build
"$root/scripts/install-deps.sh"
[ -f "$b/win64/build.ninja" ] || cmake -S "$root" -B "$b/win64" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$b/win64" -j "${JOBS:-2}" --target settings_bench
bash "$root/scripts/wine-run.sh" "$b/win64/bin/settings_bench.exe"
