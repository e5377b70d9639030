# Sourced: vsmr_start_xvfb FIRST LAST starts a virtual display (Xvfb, 1024 x 768) on the
# first display number from FIRST to LAST that no X server holds, in a session of its
# own so that no test's time-out kill takes it down, and waits until it is up. Sets
# vsmr_display (":N") and vsmr_display_pid; fails with a message after 10 s.
vsmr_start_xvfb() {
  local n
  for n in $(seq "$1" "$2"); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  # fd 8 is test-display.sh's lock, which the server must not keep.
  setsid -f Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 8>&-
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && [ -s "/tmp/.X$n-lock" ] && break
    sleep 0.1
  done
  if ! [ -e "/tmp/.X11-unix/X$n" ] || ! [ -s "/tmp/.X$n-lock" ]; then
    echo "Xvfb did not start on :$n within 10 s (package xvfb?)" >&2
    return 1
  fi
  vsmr_display=":$n"
  vsmr_display_pid=$(tr -d ' \n' <"/tmp/.X$n-lock")
}
