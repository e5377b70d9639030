#!/usr/bin/env python3
# Makes a delay-load import library for one Windows DLL from the toolchain's ordinary
# import library: the same functions, but the DLL is loaded at the first call instead
# of before the program's entry. Data exports cannot be delayed and are left out.
# The DLL's delay import descriptor is named after the output's file name: for
# libshell32.a, __DELAY_IMPORT_DESCRIPTOR_libshell32_a.
# Usage: delay_import_lib.py NM DLLTOOL IMPORT_LIB DLL_NAME OUTPUT POINTER_BYTES
import os
import subprocess
import sys


def functions(nm, import_lib):
    """Names the import library exports as functions: a thunk (T) beside the pointer (I)."""
    listing = subprocess.run([nm, import_lib], stdout=subprocess.PIPE, check=True,
                             text=True).stdout
    thunks, pointers = set(), set()
    for line in listing.splitlines():
        fields = line.split()
        if len(fields) == 3 and fields[1] == 'T':
            thunks.add(fields[2])
        elif len(fields) == 3 and fields[1] == 'I' and fields[2].startswith('__imp_'):
            pointers.add(fields[2][len('__imp_'):])
    return sorted(thunks & pointers)


def main():
    nm, dlltool, import_lib, dll, output, pointer_bytes = sys.argv[1:7]
    names = functions(nm, import_lib)
    if not names:
        sys.exit(f'{import_lib}: no functions found')
    # 32-bit symbols carry the C prefix "_"; dlltool adds it back itself.
    entries = [name[1:] for name in names] if pointer_bytes == '4' else names
    folder, name = os.path.split(os.path.abspath(output))
    definition = name + '.def'
    with open(os.path.join(folder, definition), 'w') as f:
        f.write(f'LIBRARY "{dll}"\nEXPORTS\n')
        f.writelines(f'  {entry}\n' for entry in entries)
    # --kill-at: the DLL's names lack the 32-bit "@bytes" suffix the symbols carry.
    # Run in the output's folder: dlltool names the symbols after the path it is given.
    subprocess.run([dlltool, '--input-def', definition, '--dllname', dll, '--kill-at',
                    '--output-delaylib', name], cwd=folder, check=True)
    os.remove(os.path.join(folder, definition))


if __name__ == '__main__':
    main()
