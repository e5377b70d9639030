#!/usr/bin/env python3
"""Builds the user's zip from the win32 tree into a temporary folder and checks what a
user would get: the listed files and nothing else, self-contained executables of bounded
size that carry the version, Notepad-friendly text and a sample command list the program
loads without surprises.

usage: check_dist.py WIN32_BUILD_DIR HOST_VSMR CHECK_IMPORTS_SH
"""
import os
import re
import struct
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
MAKE_DIST = os.path.join(ROOT, "tools", "make_dist.py")

# The download's promise: vesmira.exe within 512 KiB (stripped, 482845 bytes when
# this was written; vsmr.exe 411150). A symbol table, debug information or a stray
# library in the shipped files breaks it.
SIZE_CEILINGS = {"vesmira.exe": 512 * 1024, "vsmr.exe": 448 * 1024}
GUIDE = ["docs/%s.txt" % p for p in
         ("README", "getting-started", "commands", "builtins", "mail", "settings")]
EXPECTED = {"vesmira.exe", "vsmr.exe", "README-ja.txt", "LICENSE.txt",
            "sample/vsmrcmd.dat", *GUIDE}
BOM = b"\xef\xbb\xbf"

failures = []


def check(ok, message):
    if not ok:
        failures.append(message)
    return ok


def version_strings(image):
    """The StringFileInfo values of the version resource, by key. Each String entry is
    wLength, wValueLength, wType, a NUL-ended UTF-16 key, padding to 4 bytes, the value."""
    start = image.find("VS_VERSION_INFO\0".encode("utf-16le"))
    if start < 0:
        return None, {}
    start -= 6
    length = struct.unpack_from("<H", image, start)[0]
    block = image[start:start + length]
    fixed = block.find(struct.pack("<I", 0xFEEF04BD))
    numbers = None
    if fixed >= 0:
        ms, ls = struct.unpack_from("<II", block, fixed + 8)
        numbers = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    values = {}
    for key in ("ProductName", "FileDescription", "FileVersion", "ProductVersion",
                "LegalCopyright", "OriginalFilename"):
        at = block.find((key + "\0").encode("utf-16le"))
        if at < 6:
            continue
        value_chars = struct.unpack_from("<H", block, at - 4)[0]
        value_at = at + 2 * (len(key) + 1)
        value_at += (-(value_at - (at - 6))) % 4
        raw = block[value_at:value_at + 2 * value_chars]
        values[key] = raw.decode("utf-16le").rstrip("\0")
    return numbers, values


def check_executables(folder, version):
    result = subprocess.run([CHECK_IMPORTS, folder], capture_output=True, text=True)
    check(result.returncode == 0, "imports beyond Windows' own DLLs:\n" + result.stdout)
    wanted = tuple(int(n) for n in version.split(".")) + (0,)
    for exe, ceiling in SIZE_CEILINGS.items():
        path = os.path.join(folder, exe)
        size = os.path.getsize(path)
        print("%s: %d bytes (ceiling %d)" % (exe, size, ceiling))
        check(size <= ceiling, "%s is %d bytes, over %d" % (exe, size, ceiling))
        dump = subprocess.run(["i686-w64-mingw32-objdump", "-h", path],
                              capture_output=True, text=True).stdout
        check(".debug" not in dump and "gnu_debuglink" not in dump,
              exe + " still has debug sections")
        with open(path, "rb") as f:
            numbers, values = version_strings(f.read())
        check(numbers == wanted[:4], "%s fixed version %s, wanted %s" % (exe, numbers, wanted))
        for key, want in (("FileVersion", version), ("ProductVersion", version),
                          ("ProductName", "Vesmira"), ("OriginalFilename", exe)):
            check(values.get(key) == want, "%s %s is %r, wanted %r" % (exe, key, values.get(key), want))
        check(bool(values.get("FileDescription")), exe + " has no FileDescription")
        check("Vesmira" in values.get("LegalCopyright", ""), exe + " has no LegalCopyright")


def check_text(folder, version):
    for name in ["README-ja.txt", *GUIDE]:
        with open(os.path.join(folder, name), "rb") as f:
            data = f.read()
        check(data.startswith(BOM), name + " has no byte-order mark")
        check(b"\n" not in data.replace(b"\r\n", b""), name + " has a line without CR LF")
        text = data[len(BOM):].decode("utf-8")
        check(".md)" not in text, name + " links to a .md page")
    with open(os.path.join(folder, "README-ja.txt"), encoding="utf-8-sig") as f:
        readme = f.read()
    check("Vesmira " + version in readme, "README-ja.txt does not name the version")
    for mention in ("vesmira.exe", "docs", "LICENSE.txt", "MIT"):
        check(mention in readme, "README-ja.txt does not mention " + mention)
    with open(os.path.join(folder, "LICENSE.txt"), "rb") as f:
        check(b"Copyright (c) 2026 The Vesmira developers" in f.read(), "LICENSE.txt lacks the copyright")


def check_sample(folder):
    path = os.path.join(folder, "sample", "vsmrcmd.dat")
    with open(path, "rb") as f:
        data = f.read()
    check(b"\n" not in data.replace(b"\r\n", b""), "the sample has a line without CR LF")
    try:
        lines = data.decode("cp932").split("\r\n")
    except UnicodeDecodeError:
        check(False, "the sample is not code page 932")
        return
    check(any("%01" in l for l in lines), "the sample has no %01 command")
    check(any("\t#" in l for l in lines), "the sample has no built-in command")
    # vsmr check reports every line that loads differently from how it reads and exits 1.
    result = subprocess.run([HOST_VSMR, "check", "--dir", os.path.dirname(path)],
                            capture_output=True, text=True, encoding="cp932")
    print(result.stdout.strip().splitlines()[-1] if result.stdout.strip() else "")
    check(result.returncode == 0 and "%d entries loaded, 0 lines" % (len(lines) - 1) in result.stdout,
          "vsmr check on the sample:\n" + result.stdout + result.stderr)


def main():
    build = sys.argv[1]
    with open(os.path.join(build, "version.txt"), encoding="ascii") as f:
        version = f.read().strip()
    built = os.path.join(build, "bin", "vesmira.exe")
    before = os.stat(built)
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([sys.executable, MAKE_DIST, build, out], check=True)
        check(os.listdir(out) == ["vesmira-%s.zip" % version], "output folder holds %s" % os.listdir(out))
        archive = os.path.join(out, "vesmira-%s.zip" % version)
        print("%s: %d bytes" % (os.path.basename(archive), os.path.getsize(archive)))
        top = "vesmira-%s/" % version
        with zipfile.ZipFile(archive) as z:
            names = [i.filename for i in z.infolist() if not i.is_dir()]
            check(all(n.startswith(top) for n in z.namelist()), "entries outside " + top)
            check(set(n[len(top):] for n in names) == EXPECTED,
                  "zip holds %s, wanted %s" % (sorted(names), sorted(EXPECTED)))
            check(z.testzip() is None, "a damaged entry")
            z.extractall(out)
        if not failures:
            folder = os.path.join(out, top)
            check_executables(folder, version)
            check_text(folder, version)
            check_sample(folder)
    after = os.stat(built)
    check((before.st_size, before.st_mtime_ns) == (after.st_size, after.st_mtime_ns),
          "packing changed the build tree's vesmira.exe")
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    HOST_VSMR, CHECK_IMPORTS = sys.argv[2], sys.argv[3]
    sys.exit(main())
