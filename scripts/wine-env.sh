# Sourced: the environment every Wine run of this build uses.
# VSMR_BUILD (default: build) holds the prefix and the private ja_JP locale.
: "${VSMR_BUILD:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}"
export WINEPREFIX="$VSMR_BUILD/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LOCPATH="$VSMR_BUILD/locale"
# Wine takes code page 932 from this locale; the shell itself may not know it yet.
{ export LC_ALL=ja_JP.UTF-8; } 2>/dev/null
export WINE=/usr/lib/wine/wine64
# Debian's wine64 package keeps wineserver beside the loader, off the PATH.
case ":$PATH:" in *:/usr/lib/wine:*) ;; *) export PATH="/usr/lib/wine:$PATH" ;; esac
