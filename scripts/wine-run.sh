#!/usr/bin/env bash
# Runs a Windows test program under Wine. Wine's helper processes inherit
# standard output, so the program writes to a file that is printed afterwards;
# its exit code is passed on (that of a skipped run too). A prefix or display that
# cannot be made stops the run with that step's message.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
"$here/wine-prefix.sh" || exit 1
# Test programs all run on the build's one virtual display (see test-display.sh).
DISPLAY=$("$here/test-display.sh") || exit 1
export DISPLAY
log=$(mktemp "${TMPDIR:-/tmp}/vsmr-wine.XXXXXX")
"$WINE" "$@" >"$log" 2>&1 </dev/null
rc=$?
cat "$log"
rm -f "$log"
exit $rc
