#!/usr/bin/env bash
# Installs the Debian 12 packages that the builds and every test level need, only
# those missing. Without root, and without a sudo that works without a password, it
# installs nothing and says so at once, naming the missing packages.
#   install-deps.sh host   only what the host build and its unit tests need (make check)
set -eu
packages=(cmake ninja-build g++ make python3 googletest)
if [ "${1:-}" != host ]; then
  packages+=(locales
             clang libclang-rt-14-dev  # the fuzzers link clang's libFuzzer and sanitizer runtimes
             g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
             wine64 xvfb xauth xdotool xclip python3-xlib x11-apps imagemagick fonts-ipafont-gothic
             libgnutls30  # Wine's TLS (SChannel) loads it at run time; only recommended by Wine
             openssl  # the TLS tests make their certificates with it
             dovecot-pop3d libgtest-dev libbenchmark-dev libx11-dev
             # Wine's 32-bit half, which runs the shipped 32-bit vesmira.exe in the tests
             wine32:i386 libgnutls30:i386)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

cannot_install() {
  echo "install-deps: missing packages: ${missing[*]}" >&2
  echo "install-deps: cannot install them: $1." >&2
  echo "install-deps: as root: apt-get install --no-install-recommends ${missing[*]}" >&2
  exit 1
}
command -v apt-get >/dev/null || cannot_install "there is no apt-get (not Debian?)"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || cannot_install "not root, and there is no sudo"
  sudo -n true 2>/dev/null || cannot_install "not root, and sudo wants a password"
  as_root=(sudo -n)
fi
echo "installing: ${missing[*]}"
# The 32-bit packages come from the i386 architecture, which apt must know first.
if [[ " ${missing[*]}" == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${as_root[@]}" dpkg --add-architecture i386
fi
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
