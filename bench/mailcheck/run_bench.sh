#!/usr/bin/env bash
# `make bench` for the mail check: builds vesmira.exe and mailpeek.exe (win64), then
# runs run_bench.py, which serves 1,000 messages from Dovecot on port 110 (needs root).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
b=$root/build
bash "$root/bench/build_win64.sh" vesmira mailpeek
# A prefix of its own: the end-to-end cases end the desktop process of theirs.
VSMR_WIN64_BIN="$b/win64/bin" VSMR_E2E_WINE="$b/bench-wine" \
  python3 "$root/bench/mailcheck/run_bench.py" --out "$b/bench-mailcheck" "$@"
