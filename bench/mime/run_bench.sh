#!/usr/bin/env bash
# `make bench` for the mail decoding benchmark: a Release host build in build/bench.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/scripts/install-deps.sh"
[ -f "$root/build/bench/build.ninja" ] || cmake -S "$root" -B "$root/build/bench" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/bench" -j "${JOBS:-2}" --target bench_mime
"$root/build/bench/bin/bench_mime"
