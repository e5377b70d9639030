#!/usr/bin/env bash
# Checks every .exe in the folder: a 32-bit PE that imports only DLLs that ship with Windows.
set -u
dir=$1
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|winmm|ws2_32|wsock32|imm32|shlwapi|uuid|msvcrt|ntdll|version|uxtheme)\.dll$'
shopt -s nullglob
exes=("$dir"/*.exe)
if [ ${#exes[@]} -eq 0 ]; then
  echo "no executables in $dir"; exit 1
fi
status=0
for exe in "${exes[@]}"; do
  dump=$(i686-w64-mingw32-objdump -p "$exe") || { echo "cannot read $exe"; status=1; continue; }
  if ! grep -q 'file format pei-i386' <<<"$dump"; then
    echo "$exe: not a 32-bit PE"; status=1
  fi
  imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
  # DLLs loaded later (cmake/VsmrDelayLoad.cmake) are not in the import table; each has
  # a delay import descriptor named after its import library.
  delayed=$(i686-w64-mingw32-nm "$exe" 2>/dev/null |
            sed -n 's/.* __DELAY_IMPORT_DESCRIPTOR_lib\(.*\)_a$/\1.dll/p')
  while read -r dll; do
    [ -n "$dll" ] || continue
    lower=$(tr 'A-Z' 'a-z' <<<"$dll")
    if [[ ! $lower =~ $allowed ]]; then
      echo "$exe imports $dll, which is not part of Windows"; status=1
    fi
  done <<<"$imports"$'\n'"$delayed"
  # A delayed DLL that some library still links the ordinary way loads before the entry.
  while read -r dll; do
    [ -n "$dll" ] || continue
    if grep -qix "$dll" <<<"$imports"; then
      echo "$exe imports $dll both delayed and at start"; status=1
    fi
  done <<<"$delayed"
  echo "$(basename "$exe"): $(stat -c %s "$exe") bytes, imports: $(tr '\n' ' ' <<<"$imports")" \
       "delayed: $(tr '\n' ' ' <<<"$delayed")"
done
exit $status
