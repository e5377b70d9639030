#!/usr/bin/env python3
"""Packs the built 32-bit program into vesmira-<version>.zip for users.

usage: make_dist.py WIN32_BUILD_DIR OUT_DIR

Reads the version from WIN32_BUILD_DIR/version.txt (written when the tree is configured),
strips copies of vesmira.exe and vsmr.exe in a staging folder (the build tree keeps its
symbols), converts the text files to what Notepad on any Windows shows correctly, and
writes OUT_DIR/vesmira-<version>.zip with everything under a vesmira-<version>/ folder.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
STRIP = "i686-w64-mingw32-strip"
EXECUTABLES = ("vesmira.exe", "vsmr.exe")
# The user guide; DEVELOPERS.md is for people who build the program.
USER_PAGES = ("README", "getting-started", "commands", "builtins", "mail", "settings")
PAGE_LINK = re.compile(r"\]\((%s)\.md\b" % "|".join(re.escape(p) for p in USER_PAGES))


def crlf_lines(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def windows_text(text, bom=True):
    """UTF-8 with CR LF lines and a byte-order mark: Notepad before Windows 10 shows
    LF-only files as one line and may take BOM-less UTF-8 for the ANSI code page."""
    body = crlf_lines(text).encode("utf-8")
    return (b"\xef\xbb\xbf" if bom else b"") + body


def guide_page(name):
    # Shipped as .txt so a double click opens it; links to sibling pages follow the rename.
    with open(os.path.join(ROOT, "docs", name + ".md"), encoding="utf-8") as f:
        text = f.read()
    return windows_text(PAGE_LINK.sub(r"](\1.txt", text))


def sample_command_list():
    # The program reads vsmrcmd.dat as code page 932 with CR LF lines; the source is UTF-8.
    with open(os.path.join(ROOT, "package", "sample", "vsmrcmd.dat"), encoding="utf-8") as f:
        text = f.read()
    return crlf_lines(text).encode("cp932")


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: make_dist.py WIN32_BUILD_DIR OUT_DIR\n")
        return 2
    build, out = argv[1], argv[2]
    with open(os.path.join(build, "version.txt"), encoding="ascii") as f:
        version = f.read().strip()
    top = "vesmira-" + version

    with open(os.path.join(ROOT, "package", "README-ja.txt"), encoding="utf-8") as f:
        readme = f.read().replace("@VERSION@", version)
    with open(os.path.join(ROOT, "LICENSE"), encoding="utf-8") as f:
        licence = f.read()
    texts = {
        "README-ja.txt": windows_text(readme),
        "LICENSE.txt": windows_text(licence, bom=False),
        "sample/vsmrcmd.dat": sample_command_list(),
    }
    for page in USER_PAGES:
        texts["docs/%s.txt" % page] = guide_page(page)

    os.makedirs(out, exist_ok=True)
    archive = os.path.join(out, top + ".zip")
    with tempfile.TemporaryDirectory() as staging:
        stripped = []
        for exe in EXECUTABLES:
            target = os.path.join(staging, exe)
            # The debug link names a file that is not shipped.
            subprocess.run([STRIP, "--strip-all", "--remove-section=.gnu_debuglink",
                            "-o", target, os.path.join(build, "bin", exe)], check=True)
            stripped.append((exe, target))
        partial = archive + ".part"
        with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
            for folder in ("", "docs/", "sample/"):
                z.writestr(top + "/" + folder, b"")
            for exe, path in stripped:
                z.write(path, top + "/" + exe)
            for name in sorted(texts):
                z.writestr(top + "/" + name, texts[name])
        os.replace(partial, archive)
    print(archive)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
