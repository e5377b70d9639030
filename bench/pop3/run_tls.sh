#!/usr/bin/env bash
# `make bench` for mail over TLS: builds pop3_bench.exe and trust_root.exe (win64), then
# runs tls_compare.py, which times the 1,000-message check pass over POP3S against the
# same pass over clear text under Wine, against one private Dovecot (needs root).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
b=$root/build
bash "$root/bench/build_win64.sh" pop3_bench trust_root >/dev/null
VSMR_BUILD=$b python3 "$root/bench/pop3/tls_compare.py" "$root/scripts/wine-run.sh" "$b/win64/bin" "${PROCESSES:-6}"
