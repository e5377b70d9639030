# The launcher box: the toggle spot opens it (the strip grows by the launcher length
# and _oncmdopn runs); a typed command name with two words runs the command with each
# word quoted and closes the box (_oncmdcls); at the next opening the line is in the
# drop-down list, where Down picks it and Enter runs it again.
# Typing into the box needs the X focus on the strip: see VesmiraCase.click_edit_field.
from geometry import CLOSED, OPEN
from probe import Probe
from vesmira_case import VesmiraCase


class LauncherBox(VesmiraCase):
    def test_typed_line_runs_and_enters_history(self):
        probe = Probe(self)
        self.write_commands([('_oncmdopn', f'{probe.windows_path} "opened"', ''),
                             ('_oncmdcls', f'{probe.windows_path} "closed"', ''),
                             ('echo2', probe.windows_path, 'two words')])
        _, window = self.start_main_window()
        self.desktop.focus(window)

        self.toggle_launcher(window, OPEN)
        self.assertEqual(probe.wait_args(1), [['opened']])
        self.desktop.screenshot('open')
        self.click_edit_field(window)
        self.desktop.type_text('echo2 hello world')
        self.desktop.screenshot('typed')
        self.desktop.key('Return')
        runs = probe.wait_args(3)
        # The line and _oncmdcls start two probes one right after the other; which of
        # the two processes writes its record first is up to the system.
        self.assertEqual(runs[0], ['opened'])
        self.assertCountEqual(runs[1:], [['hello', 'world'], ['closed']])
        line_run = next(r for r in probe.runs() if r.args == ['hello', 'world'])
        self.assertTrue(line_run.command_line.endswith(' "hello" "world"'), line_run.command_line)
        # The shell got the program's folder as working directory.
        self.assertEqual(line_run.directory.rstrip('\\').lower(), self.folder_windows.lower())
        self.assertEqual(self.desktop.wait_geometry(window, lambda g: g[2] == CLOSED)[2], CLOSED)

        self.toggle_launcher(window, OPEN)
        self.assertEqual(probe.wait_args(4)[3], ['opened'])
        self.click_edit_field(window)
        self.desktop.key('Down')
        self.desktop.screenshot('history-picked')
        self.desktop.key('Return')
        self.assertCountEqual(probe.wait_args(6)[4:], [['hello', 'world'], ['closed']])
