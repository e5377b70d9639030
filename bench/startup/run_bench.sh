#!/usr/bin/env bash
# `make bench` for the start-up benchmarks: builds vesmira.exe and the reference window
# (win64), the outside first-paint timer (native, libX11), then runs run_bench.py.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
b=$root/build
out=$b/bench-startup
bash "$root/bench/build_win64.sh" vesmira minimal_window minimal_window_libs
mkdir -p "$out"
cc -O2 -Wall -Wextra -o "$out/first_paint" "$root/bench/startup/first_paint.c" -lX11
# A prefix of its own: the end-to-end cases end the desktop process of theirs.
VSMR_WIN64_BIN="$b/win64/bin" VSMR_E2E_WINE="$b/bench-wine" \
  python3 "$root/bench/startup/run_bench.py" --out "$out" --tool "$out/first_paint" "$@"
