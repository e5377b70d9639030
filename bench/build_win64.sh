#!/usr/bin/env bash
# The first step the Windows benchmarks share: installs what is missing, configures
# build/win64 as scripts/build.sh does when it is not configured yet, and builds the
# targets given.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
b=$root/build
"$root/scripts/install-deps.sh"
[ -f "$b/win64/build.ninja" ] || cmake -S "$root" -B "$b/win64" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$b/win64" -j "${JOBS:-2}" --target "$@"
