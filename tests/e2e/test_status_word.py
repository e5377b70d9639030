# A line whose program the shell refuses (access denied, with a quoted parameter) puts
# "CmdErrAD" on the clock face in yellow; clicks on the toggle spot leave it, a left
# click on the face clears it. Root reads every file, so the refused program is a
# symlink to a write-only kernel attribute, which open() refuses even to root.
# A hand-edited command file that stops the reading at line 10 of 300 puts its code
# on the face at start-up, and closing the program keeps all 300 lines.
import glob
import os

from geometry import CLOCK_TEXT, CLOSED, OPEN, TOGGLE_SPOT
from program_files import DEFAULT_CLOCK_COLOUR, STATUS_COLOUR
from vesmira_case import VesmiraCase


def write_only_attribute():
    for path in sorted(glob.glob('/sys/bus/*/drivers_probe')):
        if os.stat(path).st_mode & 0o444 == 0:
            return path
    return None


class StatusWord(VesmiraCase):
    def yellow(self, image):
        return image.count(CLOCK_TEXT, STATUS_COLOUR)

    def test_refused_program_shows_code_until_left_click(self):
        target = write_only_attribute()
        if target is None:
            self.skipTest('no write-only kernel attribute under /sys to make a refused program')
        os.symlink(target, self.path('refused.exe'))
        _, window = self.start_main_window()
        self.desktop.focus(window)
        self.desktop.click(*TOGGLE_SPOT)
        self.assertEqual(self.desktop.wait_geometry(window, lambda g: g[2] == OPEN)[2], OPEN)
        self.desktop.type_text(self.folder_windows + '\\refused.exe "x"')
        self.desktop.key('Return')

        shown = self.desktop.wait_screen('status-word', lambda i: self.yellow(i) >= 20)
        self.assertGreaterEqual(self.yellow(shown), 20, shown.describe(CLOCK_TEXT))
        self.assertEqual(shown.count(CLOCK_TEXT, DEFAULT_CLOCK_COLOUR), 0,
                         'the time is still drawn beside the status word')

        # The toggle spot opens and closes the box; the word stays across ticks.
        for width in (OPEN, CLOSED):
            self.desktop.click(*TOGGLE_SPOT)
            self.assertEqual(self.desktop.wait_geometry(window, lambda g: g[2] == width)[2],
                             width)
        kept = self.desktop.wait_screen('after-toggles', lambda i: False, timeout=1.5)
        self.assertGreaterEqual(self.yellow(kept), 20, kept.describe(CLOCK_TEXT))

        self.desktop.click(45, 18)
        cleared = self.desktop.wait_screen(
            'cleared', lambda i: self.yellow(i) == 0
            and i.count(CLOCK_TEXT, DEFAULT_CLOCK_COLOUR) >= 30)
        self.assertEqual(self.yellow(cleared), 0, cleared.describe(CLOCK_TEXT))
        self.assertGreaterEqual(cleared.count(CLOCK_TEXT, DEFAULT_CLOCK_COLOUR), 30)

    def test_unread_command_lines_are_told_and_survive_the_exit(self):
        lines = [b'' if n == 10 else b'cmd%d\tnotepad.exe\tline %d' % (n, n) for n in range(1, 301)]
        self.write('vsmrcmd.dat', b'\r\n'.join(lines) + b'\r\n')
        process, window = self.start_main_window()
        shown = self.desktop.wait_screen('file-notice', lambda i: self.yellow(i) >= 20)
        self.assertGreaterEqual(self.yellow(shown), 20, shown.describe(CLOCK_TEXT))
        self.assertEqual(self.close_with_button(process, window), 0)
        self.assertEqual(self.read('vsmrcmd.dat').split(b'\r\n')[:-1], lines)
