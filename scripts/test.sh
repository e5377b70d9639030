#!/usr/bin/env bash
# The whole test run: installs what is missing, builds every build, runs every test
# level from the host's ctest (host unit tests natively, Windows tests under Wine).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
VSMR_BUILD="$root/build" "$root/scripts/wine-prefix.sh"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# At the end: stop the shared test display and this build's Wine server.
stop_test_services() {
  if [ -f "$root/build/test-display" ]; then
    read -r _ pid <"$root/build/test-display" && kill "$pid" 2>/dev/null || true
  fi
  (VSMR_BUILD="$root/build"; source "$root/scripts/wine-env.sh"; wineserver -k) 2>/dev/null || true
}
trap stop_test_services EXIT
rc=0
ctest --test-dir "$root/build/host" --output-on-failure -j "${JOBS:-2}" "$@" || rc=$?
exit $rc
