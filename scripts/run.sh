#!/usr/bin/env bash
# `make run`: installs what is missing, builds the win64 program and starts it
# under Wine from its own working folder (build/run, where its vsmrsys.ini and
# vsmrcmd.dat live), on $DISPLAY or, without one, on a virtual display. Saves a
# screenshot after start-up and prints its path.
#   VSMR_RUN_SECONDS=n  on a virtual display: keep the program running n seconds
#                       (default 3) before closing it.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/scripts/install-deps.sh"
source "$root/scripts/configure.sh"
vsmr_configure_win64
cmake --build "$build/win64" --target vesmira -j "${JOBS:-2}"

VSMR_BUILD="$build" "$root/scripts/wine-prefix.sh"
source "$root/scripts/wine-env.sh"
run=$build/run
mkdir -p "$run"
cp "$build/win64/bin/vesmira.exe" "$run/"

xvfb_pid=""
cleanup() { [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; true; }
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  source "$root/scripts/xvfb.sh"
  vsmr_start_xvfb 90 120
  xvfb_pid=$vsmr_display_pid
  export DISPLAY=$vsmr_display
fi

cd "$run"
"$WINE" ./vesmira.exe >"$run/wine.log" 2>&1 </dev/null &
program=$!
# Wait until the clock window is mapped, then give it one tick to paint.
window=""
for _ in $(seq 100); do
  window=$(xdotool search --name "^Vesmira2002" 2>/dev/null | head -1) && [ -n "$window" ] && break
  if ! kill -0 "$program" 2>/dev/null; then
    echo "vesmira.exe ended at once: another copy is running in this Wine prefix" >&2
    echo "($WINEPREFIX); close it first." >&2
    exit 1
  fi
  sleep 0.1
done
sleep 1.5
shot=$run/screenshot.png
import -window root "$shot"
echo "screenshot: $shot"

if [ -n "$xvfb_pid" ]; then
  sleep "${VSMR_RUN_SECONDS:-3}"
  # Close it as a user would, with its close button (it then saves its files).
  if [ -n "$window" ]; then
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + WIDTH - 7)) $((Y + 5)) click 1
  fi
  for _ in $(seq 50); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  kill "$program" 2>/dev/null || true
else
  echo "vesmira is running on $DISPLAY (close it from its menu or its close button)"
  wait "$program" || true
fi
