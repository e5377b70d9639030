# Files dragged from an X program (an XDND source) and dropped on a launcher button:
# Wine turns the drop into WM_DROPFILES for the strip, which runs the button's item
# with the dropped names, or first asks with the drop dialog what to do.
import time

from geometry import BUTTON_SIZE, STRIP_HEIGHT, button_left, strip_width
from probe import Probe
from program_files import launcher_items, settings_file
from vesmira_case import QUIET, VesmiraCase
from xdnd import drop_files

FIRST_BUTTON_X = button_left(0)
DIALOG_TITLE = '^ドロップファイル$'


class ButtonDrop(VesmiraCase):
    def setUp(self):
        super().setUp()
        self.probe = Probe(self)

    def write_settings(self, drop_action, item_paths):
        """The settings: the drop action and one shown launcher item per path."""
        items = [(1, path, f'item {n}', 0, self.probe.windows_path)
                 for n, path in enumerate(item_paths, 1)]
        self.write('vsmrsys.ini', settings_file({'OtherSettings': [('UsingDropFile', drop_action)],
                                                 'ButtonLauncher': launcher_items(items)}))

    def make_files(self, *names):
        """Empty files in the case's folder; their Unix paths."""
        for name in names:
            self.write(name, b'')
        return [self.path(name) for name in names]

    def drop(self, window, client_x, paths):
        """Drags the files onto the strip at client x `client_x`, mid-height, and drops them."""
        x, y, _, _ = self.desktop.geometry(window)
        self.assertTrue(drop_files(self.desktop.display, x + client_x, y + STRIP_HEIGHT // 2, paths),
                        'the drop target reported a failed drop')

    def expected_names(self, paths):
        """The names as the program receives them: Wine gives a Unix file outside its
        C: drive as its path on drive Z:."""
        return ['Z:' + path.replace('/', '\\') for path in paths]

    def assert_nothing_runs(self):
        """After the drop dialog closed: no run comes."""
        time.sleep(QUIET)
        self.assertEqual(self.probe.args(), [])

    def test_drop_runs_item_with_the_names(self):
        self.write_settings(1, [self.probe.windows_path])
        # A name with " & " in it stays one name: nothing of it runs on its own.
        paths = self.make_files('first.txt', 'with blank.txt', 'Tom & Jerry.txt', 'third.dat')
        _, window = self.start_main_window()
        self.drop(window, FIRST_BUTTON_X + BUTTON_SIZE // 2, paths)
        names = self.expected_names(paths)
        self.assertEqual(self.probe.wait_args(1), [names])
        # The program's line: the item's path, one blank, each name quoted, one blank apart.
        quoted = ' '.join(f'"{name}"' for name in names)
        self.assertTrue(self.probe.runs()[0].command_line.endswith(' ' + quoted),
                        self.probe.runs()[0].command_line)
        time.sleep(QUIET)
        self.assertEqual(len(self.probe.runs()), 1, 'one drop ran the item more than once')

    def test_drop_on_button_edges_picks_the_button_under_the_point(self):
        self.write_settings(1, [f'{self.probe.windows_path} "one"',
                                f'{self.probe.windows_path} "two"'])
        paths = self.make_files('edge.txt')
        name = self.expected_names(paths)[0]
        _, window = self.start_main_window()
        self.assertEqual(self.desktop.geometry(window)[2], strip_width(buttons=2))
        # The last pixel column of button 1, then the first of button 2.
        self.drop(window, FIRST_BUTTON_X + BUTTON_SIZE - 1, paths)
        self.assertEqual(self.probe.wait_args(1), [['one', name]])
        self.drop(window, FIRST_BUTTON_X + BUTTON_SIZE, paths)
        self.assertEqual(self.probe.wait_args(2), [['one', name], ['two', name]])

    def wait_dialog(self, shot=None):
        dialog = self.desktop.wait_window(DIALOG_TITLE, timeout=10)
        if dialog is None:
            self.desktop.screenshot('no-dialog')
            self.fail('the drop did not show the drop dialog')
        if shot:
            self.desktop.screenshot(shot)
        return dialog

    def escape_dialog(self, dialog):
        self.desktop.focus(dialog)
        self.desktop.key('Escape')
        self.assertTrue(self.desktop.wait_gone(DIALOG_TITLE, 5), 'Escape left the dialog open')

    def test_asking_drop_escape_runs_nothing_and_a_choice_holds_for_one_drop(self):
        self.write_settings(0, [self.probe.windows_path])
        paths = self.make_files('asked.txt', 'asked again.txt')
        names = self.expected_names(paths)
        _, window = self.start_main_window()
        button = FIRST_BUTTON_X + BUTTON_SIZE // 2

        self.drop(window, button, paths)
        self.escape_dialog(self.wait_dialog('dialog'))
        self.assert_nothing_runs()

        # Asked again; the left button runs the item with the names.
        self.drop(window, button, paths)
        dialog = self.wait_dialog()
        x, y, width, height = self.desktop.geometry(dialog)
        # The buttons fill the client area, which ends a frame's width above the bottom.
        self.desktop.click(x + width // 4, y + height - 10)
        self.assertTrue(self.desktop.wait_gone(DIALOG_TITLE, 5), 'the click left the dialog open')
        self.assertEqual(self.probe.wait_args(1), [names])

        # The choice held for that drop only: the next one asks again.
        self.drop(window, button, paths)
        self.escape_dialog(self.wait_dialog())
        time.sleep(QUIET)
        self.assertEqual(self.probe.args(), [names])
