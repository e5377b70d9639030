#!/usr/bin/env bash
# `make bench` for the settings save: builds settings_bench.exe (win64, optimised,
# no sanitizers) and runs it under Wine.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
b=$root/build
bash "$root/bench/build_win64.sh" settings_bench
bash "$root/scripts/wine-run.sh" "$b/win64/bin/settings_bench.exe"
