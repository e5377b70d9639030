#!/usr/bin/env bash
# `make bench` for mail over TLS: builds pop3_bench.exe and trust_root.exe (win64), then
# runs tls_compare.py, which times the 1,000-message check pass over POP3S against the
# same pass over clear text under Wine, against one private Dovecot (needs root).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
b=$root/build
"$root/scripts/install-deps.sh"
[ -f "$b/win64/build.ninja" ] || cmake -S "$root" -B "$b/win64" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$b/win64" -j "${JOBS:-2}" --target pop3_bench trust_root >/dev/null
VSMR_BUILD=$b python3 "$root/bench/pop3/tls_compare.py" "$root/scripts/wine-run.sh" "$b/win64/bin" "${PROCESSES:-6}"
