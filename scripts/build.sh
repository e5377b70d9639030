#!/usr/bin/env bash
# Configures and builds the four build folders: host (sanitizers), win64, win32, fuzz.
# A folder is configured afresh when its cmake arguments differ from those it was
# configured with (kept in .vsmr-configure-args inside it).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
b=$root/build
jobs=${JOBS:-$(nproc)}
configure() {  # folder, cmake arguments...
  local dir=$1; shift
  local stamp=$b/$dir/.vsmr-configure-args
  local args
  args=$(printf '%s\n' -G Ninja "$@")
  if [ -f "$b/$dir/build.ninja" ] && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$args" ]; then
    return
  fi
  local fresh=()
  [ -f "$b/$dir/CMakeCache.txt" ] && fresh=(--fresh)
  echo "== configuring $dir"
  rm -f "$stamp"
  cmake "${fresh[@]}" -S "$root" -B "$b/$dir" -G Ninja "$@" >/dev/null
  printf '%s\n' "$args" >"$stamp"
}
configure win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo
configure win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw32.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel
configure fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVSMR_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo
configure host -DVSMR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
  -DVSMR_WIN64_DIR="$b/win64" -DVSMR_WIN32_DIR="$b/win32" -DVSMR_FUZZ_DIR="$b/fuzz"
for dir in win64 win32 fuzz host; do
  echo "== building $dir"
  cmake --build "$b/$dir" -j "$jobs"
done
