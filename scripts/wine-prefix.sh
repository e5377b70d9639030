#!/usr/bin/env bash
# Prepares the private Wine prefix once (Japanese locale, fonts, unmanaged windows)
# and starts a persistent wineserver so that later starts are fast.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
mkdir -p "$VSMR_BUILD"
exec 9>"$VSMR_BUILD/.wineprefix.lock"
flock 9
if [ ! -d "$LOCPATH/ja_JP.UTF-8" ]; then
  mkdir -p "$LOCPATH"
  localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" >/dev/null 2>&1 || true
fi
if [ ! -f "$WINEPREFIX/.vsmr-ready" ]; then
  rm -rf "$WINEPREFIX"
  wineboot_log="$VSMR_BUILD/wineboot.log"
  "$WINE" wineboot -i >"$wineboot_log" 2>&1 </dev/null 9>&- || true
  wineserver -w 9>&-
  reg="$VSMR_BUILD/vsmr-prefix.reg"
  # regedit wants UTF-16 for the Japanese font names.
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ ゴシック"="IPAGothic"' '"MS Gothic"="IPAGothic"' \
    '"ＭＳ Ｐゴシック"="IPAPGothic"' '"MS UI Gothic"="IPAPGothic"' \
    '"ＭＳ 明朝"="IPAGothic"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' |
    iconv -f UTF-8 -t UTF-16 >"$reg"
  "$WINE" regedit /S "Z:${reg//\//\\}" >>"$wineboot_log" 2>&1 </dev/null 9>&-
  wineserver -w 9>&-
  touch "$WINEPREFIX/.vsmr-ready"
fi
# The lock is held by fd 9; no Wine process may inherit it, or it would never be released.
# A persistent server, detached from every pipe so that no reader waits for it.
wineserver -p </dev/null >/dev/null 2>&1 9>&- &
