#!/usr/bin/env python3
"""The user pages under docs/ against the program itself.

Every ```vsmr-example block is run: the command-list lines it holds are written
to vsmrcmd.dat (code page 932, CR LF) in a fresh folder, its `$ vsmr trace ...`
line is run there, and the output must be the lines the block shows after it.
The settings page's key table must list every key `vsmr settings` prints for an
empty folder, with the same default, and every page a page links to exists.

Block format (lines in order):
    command-list lines, TAB-separated, as they stand in vsmrcmd.dat
    optionally "--- vsmrsys.ini" and settings-file lines after it
    $ vsmr trace [OPTIONS] LINE          (shell quoting)
    the expected output, one line each
Trailing blanks of an output line are not compared: an empty last field
cannot be seen on the page anyway.
"""
import glob
import os
import re
import shlex
import subprocess
import sys
import tempfile
import unittest

# Arguments: the host vsmr, then the docs folder.
VSMR = sys.argv.pop(1) if len(sys.argv) > 1 else "vsmr"
DOCS = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs")

FENCE_OPEN = re.compile(r"^```vsmr-example\s*$")
FENCE_CLOSE = re.compile(r"^```\s*$")
INI_MARK = "--- vsmrsys.ini"
TRACE_PROMPT = "$ vsmr trace"


class Example:
    def __init__(self, page, line_number, lines):
        self.where = f"{os.path.basename(page)}:{line_number}"
        self.command_lines, self.ini_lines, self.trace, self.expected = [], [], None, []
        target = self.command_lines
        for line in lines:
            if self.trace is not None:
                self.expected.append(line)
            elif line.startswith(TRACE_PROMPT):
                self.trace = shlex.split(line[len(TRACE_PROMPT):])
            elif line == INI_MARK:
                target = self.ini_lines
            else:
                target.append(line)


def examples_in(page):
    found, block, start = [], None, 0
    with open(page, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if block is None:
                if FENCE_OPEN.match(line):
                    block, start = [], number
            elif FENCE_CLOSE.match(line):
                found.append(Example(page, start, block))
                block = None
            else:
                block.append(line)
    if block is not None:
        raise AssertionError(f"{page}:{start}: vsmr-example block never closed")
    return found


def pages():
    return sorted(glob.glob(os.path.join(DOCS, "*.md")))


def write_lines(path, lines):
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp932"))


def run_vsmr(args):
    # Off Windows the tool reads its line and writes its output as UTF-8.
    r = subprocess.run([VSMR, *args], capture_output=True)
    return r.returncode, r.stdout.decode("utf-8"), r.stderr.decode("utf-8", "replace")


class Examples(unittest.TestCase):
    def test_every_example_prints_what_its_page_shows(self):
        examples = [e for page in pages() for e in examples_in(page)]
        # A parser that finds nothing would pass every page.
        self.assertGreaterEqual(len(examples), 20)
        for e in examples:
            with self.subTest(example=e.where):
                self.assertIsNotNone(e.trace, f"{e.where}: no '{TRACE_PROMPT}' line")
                self.assertTrue(e.expected, f"{e.where}: no expected output")
                with tempfile.TemporaryDirectory() as folder:
                    if e.command_lines:
                        write_lines(os.path.join(folder, "vsmrcmd.dat"), e.command_lines)
                    if e.ini_lines:
                        write_lines(os.path.join(folder, "vsmrsys.ini"), e.ini_lines)
                    code, out, err = run_vsmr(["trace", "--dir", folder, *e.trace])
                    self.assertIn(code, (0, 1), f"{e.where}: {err}")
                    got = [line.rstrip() for line in out.splitlines()]
                    want = [line.rstrip() for line in e.expected]
                    self.assertEqual(want, got, e.where)


# The settings page's key table: | [section] | `Key` or `Key01`〜`Key08` | `default` | ...
KEY_TABLE_BEGIN = "<!-- settings-keys:begin -->"
KEY_TABLE_END = "<!-- settings-keys:end -->"
FOLDER_MARK = "(フォルダ)"
NOT_WRITTEN = "—"


def expand_keys(cell):
    """`Mail1Port`〜`Mail5Port` gives the five names; one name gives itself."""
    names = re.findall(r"`([^`]+)`", cell)
    if len(names) == 1:
        return names
    first, last = names
    a, b = re.search(r"\d+", first), re.search(r"\d+", last)
    prefix, suffix = first[:a.start()], first[a.end():]
    assert (prefix, suffix) == (last[:b.start()], last[b.end():]), cell
    width = len(a.group()) if a.group().startswith("0") else 0
    return [f"{prefix}{n:0{width}d}{suffix}" for n in range(int(a.group()), int(b.group()) + 1)]


def documented_keys(folder):
    """(section, key) -> default as `vsmr settings` prints it, or None when the
    page says the key is not written for an empty folder."""
    with open(os.path.join(DOCS, "settings.md"), encoding="utf-8") as f:
        text = f.read()
    table = text[text.index(KEY_TABLE_BEGIN):text.index(KEY_TABLE_END)]
    keys = {}
    for row in table.splitlines():
        cells = [c.strip() for c in row.strip().strip("|").split("|")]
        if len(cells) < 3 or not cells[0].startswith("["):
            continue
        section = cells[0].strip("[]")
        default = cells[2]
        if default == NOT_WRITTEN:
            value = None
        else:
            # The page writes a TAB as \t and everything else as it is; the
            # tool escapes backslashes too.
            m = re.fullmatch(r"`(.*)`|(空)", default)
            assert m, f"default cell {default!r}"
            raw = (m.group(1) or "").replace("\\t", "\t").replace(FOLDER_MARK, folder)
            value = raw.replace("\\", "\\\\").replace("\t", "\\t")
        for key in expand_keys(cells[1]):
            keys[(section, key)] = value
    return keys


class SettingsPage(unittest.TestCase):
    def test_key_table_matches_the_keys_written_for_an_empty_folder(self):
        with tempfile.TemporaryDirectory() as folder:
            code, out, err = run_vsmr(["settings", "--dir", folder])
            self.assertEqual(0, code, err)
            page = documented_keys(folder)
        written = {}
        for line in out.splitlines():
            section, key, value = line.split("\t", 2)
            if section != "note":
                written[(section, key)] = value
        self.assertGreater(len(written), 100)
        for (section, key), value in written.items():
            with self.subTest(key=f"[{section}] {key}"):
                self.assertTrue((section, key) in page, "key missing from docs/settings.md")
                self.assertEqual(value, page[(section, key)])
        for (section, key), value in page.items():
            if value is not None:
                with self.subTest(key=f"[{section}] {key}"):
                    self.assertTrue((section, key) in written, "documented key the program never writes")


class Links(unittest.TestCase):
    def test_every_linked_page_exists(self):
        for page in pages():
            with open(page, encoding="utf-8") as f:
                text = f.read()
            for target in re.findall(r"\]\(([^)#]+\.md)(?:#[^)]*)?\)", text):
                with self.subTest(page=os.path.basename(page), link=target):
                    self.assertTrue(os.path.isfile(os.path.join(DOCS, target)))


if __name__ == "__main__":
    unittest.main()
