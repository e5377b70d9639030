#!/usr/bin/env bash
# Builds the POP3 benchmark optimised (build/bench) and runs it against a
# Dovecot holding 1,000 messages, beside Python's poplib doing the same commands.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
rounds=${ROUNDS:-7}
source "$root/scripts/configure.sh"
vsmr_configure_bench
cmake --build "$root/build/bench" -j "${JOBS:-2}" --target pop3_bench >/dev/null
python3 "$root/tests/mail/pop3/dovecot_harness.py" --bench 1000 -- \
  python3 "$root/bench/pop3/compare.py" "$root/build/bench/bin/pop3_bench" bench "$rounds"
