#!/usr/bin/env bash
# `make bench` for the mail check: builds vesmira.exe and mailpeek.exe (win64), then
# runs run_bench.py, which serves 1,000 messages from Dovecot on port 110 (needs root).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
b=$root/build
"$root/scripts/install-deps.sh"
[ -f "$b/win64/build.ninja" ] || cmake -S "$root" -B "$b/win64" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$b/win64" -j "${JOBS:-2}" --target vesmira mailpeek
# A prefix of its own: the end-to-end cases end the desktop process of theirs.
VSMR_WIN64_BIN="$b/win64/bin" VSMR_E2E_WINE="$b/bench-wine" \
  python3 "$root/bench/mailcheck/run_bench.py" --out "$b/bench-mailcheck" "$@"
