#!/usr/bin/env bash
# The first step the Windows benchmarks share: installs what is missing, configures
# build/win64 as scripts/build.sh does, and builds the targets given.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
source "$root/scripts/configure.sh"
vsmr_configure_win64
cmake --build "$root/build/win64" -j "${JOBS:-2}" --target "$@"
