#!/usr/bin/env python3
"""`vsmr settings` and `vsmr resave` on real folders: the exact first-start
file, clamps and defaults as listed, notes for what the next save changes,
and a resave that normalises hand-edited files once and then changes nothing."""
import os
import re
import subprocess
import sys
import tempfile
import unittest

# Arguments: the host vsmr, then optionally the Wine runner and the win64 vsmr.exe.
VSMR = sys.argv.pop(1) if len(sys.argv) > 1 else "vsmr"
WINE_VSMR = [sys.argv.pop(1), sys.argv.pop(1)] if len(sys.argv) > 2 else None


FIRST_START = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data", "first_start_vsmrsys.ini")


def crlf(*lines):
    return "".join(line + "\r\n" for line in lines)


def first_start(folder):
    """The first-start file of a program in `folder` (it names the icon path)."""
    with open(FIRST_START, "rb") as f:
        return f.read().decode("cp932").replace("C:\\Vesmira\\", folder + "\\")


class Tool(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.dir = self.tmp.name
        self.ini = os.path.join(self.dir, "vsmrsys.ini")

    def tearDown(self):
        self.tmp.cleanup()

    def run_tool(self, *args, expect=0):
        r = subprocess.run([VSMR, *args], capture_output=True)
        self.assertEqual(expect, r.returncode, r.stderr.decode(errors="replace"))
        return r.stdout.decode("utf-8")

    def write_ini(self, text):
        with open(self.ini, "wb") as f:
            f.write(text.encode("cp932"))

    def read_ini(self):
        with open(self.ini, "rb") as f:
            return f.read().decode("cp932")

    def test_resave_of_an_empty_folder_writes_the_first_start_files(self):
        self.run_tool("resave", "--dir", self.dir)
        self.assertEqual(first_start(self.dir), self.read_ini())
        self.assertEqual(0, os.path.getsize(os.path.join(self.dir, "vsmrcmd.dat")))

    def test_listing_of_an_empty_folder_shows_defaults_in_save_order(self):
        out = self.run_tool("settings", "--dir", self.dir).splitlines()
        expected = [l.replace("\\", "\\\\").replace("\t", "\\t").replace("=", "\t", 1)
                    for l in first_start(self.dir).splitlines() if not l.startswith("[")]
        sections = [l[1:-1] for l in first_start(self.dir).splitlines() if l.startswith("[")]
        listed = [l for l in out if not l.startswith("note\t")]
        # Listed, but left out of the file while 0 or empty.
        left_out = [l for l in listed
                    if re.fullmatch(r"MailPopSetting\t(Mail\d(Security|Port)\t0|MailLauncherDone\t)", l)]
        self.assertEqual(11, len(left_out))
        listed = [l for l in listed if l not in left_out]
        self.assertEqual(len(expected), len(listed))
        for line, key_value in zip(listed, expected):
            self.assertTrue(line.endswith("\t" + key_value), (line, key_value))
        self.assertEqual(sections, list(dict.fromkeys(l.split("\t")[0] for l in listed)))
        self.assertEqual(["note\t\t\t166 absent keys will be written with the values above"],
                         [l for l in out if l.startswith("note\t")])

    def test_hand_edited_file_is_listed_with_notes_and_normalised_once(self):
        self.write_ini(crlf("[UserWindowData]", "WindowPositionX=-1200", "CommandLineLauncher=1",
                            "[MailPopSetting]", "AutoCheckTime=-5", "MailLauncherCommand=メール起動",
                            "[TimerAlarmData]", "CommandTimer01=1,7:5,#2001 a,b",
                            "CommandTimer02=1,12:30,ok", "[ButtonLauncher]",
                            "ApplicationPath3=C:\\ソフト\\a.exe", "ShowButton3=1",
                            "Launcher04Data=1\tC:\\b.exe\tone\ttwo", "[OtherSettings]",
                            "LeaveRoomPassword=" + "x" * 40))
        out = self.run_tool("settings", "--dir", self.dir).splitlines()
        for line in [
            "UserWindowData\tWindowPositionX\t-1200",
            "UserWindowData\tCommandLineLauncher\t0",
            "note\tUserWindowData\tCommandLineLauncher\tlauncher box not kept open: 1 -> 0",
            "MailPopSetting\tAutoCheckTime\t10",
            "note\tMailPopSetting\tAutoCheckTime\tclamped: -5 -> 10",
            "MailPopSetting\tMailLauncherCommand\tメール起動",
            "TimerAlarmData\tCommandTimer01\t1,07:05,#2001 a,b",
            "note\tTimerAlarmData\tCommandTimer01\thour and minute written with two digits: "
            "1,7:5,#2001 a,b -> 1,07:05,#2001 a,b",
            "TimerAlarmData\tCommandTimer02\t1,12:30,ok",
            "ButtonLauncher\tLauncher03Data\t1\\tC:\\\\ソフト\\\\a.exe\\tC:\\\\ソフト\\\\a.exe",
            "note\tButtonLauncher\tLauncher03Data\tolder launcher form converted "
            "(ApplicationPath3 and its siblings stay, unread)",
            "ButtonLauncher\tLauncher04Data\t1\\tC:\\\\b.exe\\tone\\ttwo",
            "OtherSettings\tLeaveRoomPassword\t" + "x" * 31,
            "note\tOtherSettings\tLeaveRoomPassword\trewritten: " + "x" * 40 + " -> " + "x" * 31,
        ]:
            self.assertIn(line, out)
        notes = [l for l in out if l.startswith("note\t")]
        self.assertNotIn("CommandTimer02", "".join(notes))
        self.assertNotIn("WindowPositionX", "".join(notes))

        self.run_tool("resave", "--dir", self.dir)
        once = self.read_ini()
        self.assertIn("ApplicationPath3=C:\\ソフト\\a.exe\r\nShowButton3=1\r\n", once)
        self.assertIn("CommandTimer01=1,07:05,#2001 a,b\r\n", once)
        self.assertIn("AutoCheckTime=10\r\n", once)
        self.run_tool("resave", "--dir", self.dir)
        self.assertEqual(once, self.read_ini())
        after = self.run_tool("settings", "--dir", self.dir).splitlines()
        self.assertEqual([], [l for l in after if l.startswith("note\t")])

    @unittest.skipIf(WINE_VSMR is None, "no win64 build")
    def test_windows_resave_forms_the_icon_path_from_a_drive_path(self):
        windows_dir = "Z:" + self.dir.replace("/", "\\")
        r = subprocess.run([*WINE_VSMR, "resave", "--dir", windows_dir], capture_output=True)
        self.assertEqual(0, r.returncode, r.stdout)
        self.assertEqual(first_start(windows_dir), self.read_ini())

    def test_bad_arguments_are_refused(self):
        self.run_tool("settings", "--bogus", expect=2)
        self.run_tool("resave", "--work-area", "wide", expect=2)
        self.assertFalse(os.path.exists(self.ini))


if __name__ == "__main__":
    unittest.main()
