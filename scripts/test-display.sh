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
for n in $(seq 60 99); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
done
# In a session of its own, so that no test's time-out kill takes the display down.
setsid -f Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 8>&-
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$n" ] && [ -s "/tmp/.X$n-lock" ] && break
  sleep 0.1
done
if ! [ -e "/tmp/.X11-unix/X$n" ] || ! [ -s "/tmp/.X$n-lock" ]; then
  echo "test-display: Xvfb did not start on :$n within 10 s (package xvfb?)" >&2
  exit 1
fi
pid=$(tr -d ' \n' <"/tmp/.X$n-lock")
echo ":$n $pid" >"$state"
echo ":$n"
