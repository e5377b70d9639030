#!/usr/bin/env bash
# `make bench` for the mail decoding benchmark: a Release host build in build/bench.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/scripts/install-deps.sh"
source "$root/scripts/configure.sh"
vsmr_configure_bench
cmake --build "$root/build/bench" -j "${JOBS:-2}" --target bench_mime
"$root/build/bench/bin/bench_mime"
