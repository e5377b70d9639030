# The cmake arguments of every build folder, in one place; sourced by the scripts that
# configure a folder (build.sh, check.sh, run.sh, the benchmarks). Each vsmr_configure_*
# call configures its folder under $root/build afresh when the arguments differ from those
# it was configured with (kept in .vsmr-configure-args inside it), and otherwise does nothing.
# Every folder builds with VSMR_WERROR: these builds run on one known toolchain (Debian 12's
# gcc, mingw-w64 and clang), so a new warning there is a fault to fix, and the
# developer's own build stops on it just as CI does.
vsmr_configure() {  # folder, cmake arguments...
  local dir=$1; shift
  local b=$root/build
  local stamp=$b/$dir/.vsmr-configure-args
  local args
  args=$(printf '%s\n' -G Ninja -DVSMR_WERROR=ON "$@")
  if [ -f "$b/$dir/build.ninja" ] && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$args" ]; then
    return
  fi
  local fresh=()
  [ -f "$b/$dir/CMakeCache.txt" ] && fresh=(--fresh)
  echo "== configuring $dir"
  rm -f "$stamp"
  cmake "${fresh[@]}" -S "$root" -B "$b/$dir" -G Ninja -DVSMR_WERROR=ON "$@" >/dev/null
  printf '%s\n' "$args" >"$stamp"
}
vsmr_configure_win64() {
  vsmr_configure win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
}
vsmr_configure_win32() {
  vsmr_configure win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel
}
vsmr_configure_fuzz() {
  vsmr_configure fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVSMR_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
}
# The host folder names the other three so its ctest can run their tests; ctest -L unit
# needs none of them, and tests of a folder not built yet fail as not found.
vsmr_configure_host() {
  vsmr_configure host -DVSMR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
    -DVSMR_WIN64_DIR="$root/build/win64" -DVSMR_WIN32_DIR="$root/build/win32" \
    -DVSMR_FUZZ_DIR="$root/build/fuzz"
}
# Optimised, without sanitizers: the host benchmarks.
vsmr_configure_bench() {
  vsmr_configure bench -DCMAKE_BUILD_TYPE=Release
}
