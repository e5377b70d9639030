#!/usr/bin/env bash
# `make check`: the quick test run while working on the portable core. Builds only the
# host folder's unit-test programs (no Windows or fuzz build) and runs the host unit
# tests under the sanitizers. Extra ctest arguments pass through.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" host
source "$root/scripts/configure.sh"
vsmr_configure_host
cmake --build "$root/build/host" -j "${JOBS:-2}" --target unit_tests
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$root/build/host" --output-on-failure -j "${JOBS:-2}" -L unit -R '^host\.' "$@"
