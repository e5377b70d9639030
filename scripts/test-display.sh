#!/usr/bin/env bash
# Prints the X display that every Windows test program of this build shares,
# starting a virtual one (Xvfb) the first time. One display for all: the Wine
# desktop takes the display of the first program that starts it, and window
# tests that come later need that to be a real one.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
mkdir -p "$VSMR_BUILD"
state=$VSMR_BUILD/test-display
exec 8>"$state.lock"
flock 8
if [ -f "$state" ]; then
  read -r display pid <"$state"
  if kill -0 "$pid" 2>/dev/null; then echo "$display"; exit 0; fi
fi
source "$here/xvfb.sh"
vsmr_start_xvfb 60 99
echo "$vsmr_display $vsmr_display_pid" >"$state"
echo "$vsmr_display"
