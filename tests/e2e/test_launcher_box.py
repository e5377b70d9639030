# The launcher box: the toggle spot opens it (the strip grows by the launcher length
# and _oncmdopn runs); a typed command name with two words runs the command with each
# word quoted and closes the box (_oncmdcls); at the next opening the line is in the
# drop-down list, where Down picks it and Enter runs it again.
# Under Wine on a display without a window manager, a program that the shell started and
# that ended takes the X input focus to the root window, and the box's edit field loses
# the keyboard; a click into the field brings it back, as a user would do.
import time

from probe import Probe
from vesmira_case import VesmiraCase

TOGGLE_SPOT = (4, 4)
EDIT_FIELD = (110, 11)


class LauncherBox(VesmiraCase):
    def toggle(self, window, width):
        self.desktop.click(*TOGGLE_SPOT)
        got = self.desktop.wait_geometry(window, lambda g: g[2] == width, timeout=5)
        self.assertEqual(got, (0, 0, width, 22))

    def click_edit_field(self, window):
        """Clicks into the box's edit field until X focus is on the strip (a started
        program's exit may take it away a moment after the program is gone)."""
        for _ in range(5):
            time.sleep(0.4)
            self.desktop.click(*EDIT_FIELD)
            time.sleep(0.2)
            if self.desktop.xdotool('getwindowfocus').strip() == str(window):
                return
        self.fail('the box\'s edit field does not keep the keyboard focus')

    def test_typed_line_runs_and_enters_history(self):
        probe = Probe(self)
        self.write_commands([('_oncmdopn', f'{probe.windows_path} "opened"', ''),
                             ('_oncmdcls', f'{probe.windows_path} "closed"', ''),
                             ('echo2', probe.windows_path, 'two words')])
        _, window = self.start_main_window()
        self.desktop.focus(window)

        self.toggle(window, 188)
        self.assertEqual(probe.wait_args(1), [['opened']])
        self.desktop.screenshot('open')
        self.click_edit_field(window)
        self.desktop.type_text('echo2 hello world')
        self.desktop.screenshot('typed')
        self.desktop.key('Return')
        runs = probe.wait_args(3)
        self.assertEqual(runs, [['opened'], ['hello', 'world'], ['closed']])
        self.assertTrue(probe.runs()[1].command_line.endswith(' "hello" "world"'),
                        probe.runs()[1].command_line)
        # The shell got the program's folder as working directory.
        self.assertEqual(probe.runs()[1].directory.rstrip('\\').lower(),
                         self.folder_windows.lower())
        self.assertEqual(self.desktop.wait_geometry(window, lambda g: g[2] == 88)[2], 88)

        self.toggle(window, 188)
        self.assertEqual(probe.wait_args(4)[3], ['opened'])
        self.click_edit_field(window)
        self.desktop.key('Down')
        self.desktop.screenshot('history-picked')
        self.desktop.key('Return')
        self.assertEqual(probe.wait_args(6)[4:], [['hello', 'world'], ['closed']])
