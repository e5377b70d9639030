#!/usr/bin/env bash
# Prepares the private Wine prefix once (Japanese locale, fonts, unmanaged windows)
# and starts a persistent wineserver so that later starts are fast. A step that fails
# stops here with its own message and output, and the prefix is made again next time.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
mkdir -p "$VSMR_BUILD"
exec 9>"$VSMR_BUILD/.wineprefix.lock"
flock 9

fail() {  # message, log file to show (optional)
  echo "wine-prefix: $1" >&2
  if [ -n "${2:-}" ] && [ -f "$2" ]; then
    echo "--- last lines of $2:" >&2
    tail -n 30 "$2" >&2
  fi
  exit 1
}

# Wine takes code page 932 and X window titles from this locale.
locale_works() { [ "$(locale charmap 2>/dev/null)" = UTF-8 ]; }
if ! locale_works; then
  rm -rf "${LOCPATH:?}/ja_JP.UTF-8"
  mkdir -p "$LOCPATH"
  locale_log="$VSMR_BUILD/localedef.log"
  localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" >"$locale_log" 2>&1 ||
    fail "localedef could not build the ja_JP.UTF-8 locale in $LOCPATH (package locales?)" \
      "$locale_log"
  locale_works || fail "the ja_JP.UTF-8 locale in $LOCPATH does not load" "$locale_log"
fi

# A prefix made before Wine's 32-bit half was installed cannot run 32-bit programs:
# the ready mark names the halves it was made with.
halves=win64
[ -x /usr/lib/wine/wine ] && halves=win64+win32
if [ "$(cat "$WINEPREFIX/.vsmr-ready" 2>/dev/null)" != "$halves" ]; then
  rm -rf "$WINEPREFIX"
  wineboot_log="$VSMR_BUILD/wineboot.log"
  "$WINE" wineboot -i >"$wineboot_log" 2>&1 </dev/null 9>&- ||
    fail "wineboot could not create the prefix $WINEPREFIX" "$wineboot_log"
  wineserver -w 9>&-
  [ -f "$WINEPREFIX/system.reg" ] || fail "wineboot left no registry in $WINEPREFIX" "$wineboot_log"
  reg="$VSMR_BUILD/vsmr-prefix.reg"
  # regedit wants UTF-16 for the Japanese font names.
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ ゴシック"="IPAGothic"' '"MS Gothic"="IPAGothic"' \
    '"ＭＳ Ｐゴシック"="IPAPGothic"' '"MS UI Gothic"="IPAPGothic"' \
    '"ＭＳ 明朝"="IPAGothic"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' |
    iconv -f UTF-8 -t UTF-16 >"$reg"
  "$WINE" regedit /S "Z:${reg//\//\\}" >>"$wineboot_log" 2>&1 </dev/null 9>&- ||
    fail "regedit could not import $reg" "$wineboot_log"
  wineserver -w 9>&-
  grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" ||
    fail "the prefix's settings did not reach $WINEPREFIX/user.reg" "$wineboot_log"
  echo "$halves" >"$WINEPREFIX/.vsmr-ready"
fi
# The lock is held by fd 9; no Wine process may inherit it, or it would never be released.
# A persistent server, detached from every pipe so that no reader waits for it.
wineserver -p </dev/null >/dev/null 2>&1 9>&- &
