#!/usr/bin/env bash
# Installs the Debian 12 packages the builds and tests need (only what is missing).
set -eu
packages=(cmake ninja-build g++ clang make python3 locales
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
          wine64 xvfb xauth xdotool python3-xlib x11-apps imagemagick fonts-ipafont-gothic
          dovecot-pop3d libgtest-dev googletest libbenchmark-dev libx11-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
