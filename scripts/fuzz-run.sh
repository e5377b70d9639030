#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time from its seed corpus (copied, so
# the repository's corpus is never written). Any crash, leak or sanitizer report fails.
set -eu
fuzzer=$1 seeds=$2 seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
[ -d "$seeds" ] && cp -r "$seeds"/. "$work/corpus/" 2>/dev/null || true
cd "$work"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  corpus 2>&1 | tail -n 25
exit "${PIPESTATUS[0]}"
