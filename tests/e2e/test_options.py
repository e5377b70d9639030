# The options dialog under real input: it opens from the main menu on its timer tab;
# a command added with 追加 runs at once from the launcher box and is in vsmrcmd.dat
# after exit; an unticked launcher item loses its button; an interval of 5 seconds is
# kept as 10; CANCEL after edits leaves both files as they were.
import re

from geometry import CLOCK_TEXT_POINT, CLOSED, OPEN, strip_width
from probe import Probe
from program_files import launcher_items, settings_file
from vesmira_case import COMMAND_EDITOR, VesmiraCase

TITLE = '^オプション設定$'
TABS = {'timers': 0, 'launcher': 1, 'commands': 2, 'mail': 3, 'general': 4}
# Places in the dialog's template units (300 x 212), and the first list row.
OK = (215, 199)
CANCEL = (271, 199)
ADD = (126, 145)
DELETE = (170, 145)
SECONDS = (162, 168)
DROP_CHANGE = (24, 157)
SKIN = (160, 42)
FIRST_ROW = (60, 38)


def dark_pixels(image, rect):
    left, top, right, bottom = rect
    return sum(1 for y in range(top, bottom) for x in range(left, right)
               if sum(image.pixel(x, y)) < 200)


class Options(VesmiraCase):
    def open_options(self):
        """Opens the dialog from the main menu; returns its window id."""
        before = set(self.desktop.find_windows(''))
        self.desktop.click(*CLOCK_TEXT_POINT, button=3)
        menu = self.wait_new_window(before, CLOCK_TEXT_POINT)
        self.assertIsNotNone(menu, 'no popup menu appeared')
        x, y, width, height = self.desktop.geometry(menu)
        # "オプション設定(&O)", the third of six entries.
        self.desktop.click(x + width // 2, y + 3 + (height - 12) * 5 // 12)
        dialog = self.desktop.wait_window(TITLE, timeout=10)
        self.assertIsNotNone(dialog, 'the options dialog did not open')
        self.dialog = self.desktop.geometry(dialog)
        return dialog

    def at(self, point):
        """Screen position of a point given in the dialog's template units."""
        x, y, width, height = self.dialog
        return (round(x + 3 + point[0] * (width - 6) / 300),
                round(y + 23 + point[1] * (height - 26) / 212))

    def click(self, point):
        self.desktop.click(*self.at(point))

    def show_tab(self, name):
        """Clicks the first tab's header and walks right with the arrow key."""
        x, y, _, _ = self.dialog
        self.desktop.click(x + 38, y + 39)
        if TABS[name]:
            self.desktop.key(*['Right'] * TABS[name])

    def press_ok(self):
        self.click(OK)
        self.assertTrue(self.desktop.wait_gone(TITLE, 10), 'OK left the dialog open')

    def settings_value(self, key):
        found = re.search(rb'^' + key.encode() + rb'=(.*)\r$', self.read('vsmrsys.ini'), re.M)
        return found and found.group(1).decode('cp932')

    def test_opens_from_the_menu_on_its_timer_tab(self):
        self.write('vsmrsys.ini', settings_file({'TimerAlarmData': [
            ('CommandTimer01', '1,07:05,first'), ('CommandTimer02', '0,23:59,second')]}))
        process, window = self.start_main_window()
        self.open_options()
        image = self.desktop.screenshot('timers')
        # The enabled first timer's check box holds a tick; the second's is empty.
        x, y = self.at(FIRST_ROW)
        left = self.at((10, 0))[0] + 4
        ticked = dark_pixels(image, (left, y - 6, left + 14, y + 6))
        empty = dark_pixels(image, (left, y + 8, left + 14, y + 20))
        self.assertGreater(ticked, empty + 5, f'no tick in the first row: {image.path}')
        self.click(CANCEL)
        self.assertTrue(self.desktop.wait_gone(TITLE, 10), 'CANCEL left the dialog open')
        self.assertEqual(self.close_with_button(process, window), 0)
        self.assertEqual(self.settings_value('CommandTimer01'), '1,07:05,first')

    def test_added_command_runs_at_once_and_is_saved(self):
        probe = Probe(self)
        self.write_commands([('first', 'C:\\nowhere.exe', 'one')])
        process, window = self.start_main_window()
        self.open_options()
        self.show_tab('commands')
        self.desktop.screenshot('commands')
        self.click(ADD)
        self.fill_command_editor(probe.windows_path, 'added note', 'hako')
        self.desktop.key('Return')
        self.assertTrue(self.desktop.wait_gone(COMMAND_EDITOR, 5), 'the editor stayed open')
        self.desktop.screenshot('command-added')
        self.press_ok()

        self.toggle_launcher(window, OPEN)
        self.click_edit_field(window)
        self.desktop.type_text('hako word')
        self.desktop.key('Return')
        self.assertEqual(probe.wait_args(1), [['word']])
        self.desktop.wait_geometry(window, lambda g: g[2] == CLOSED, timeout=10)
        self.assertEqual(self.close_with_button(process, window), 0)
        self.assertEqual(self.read('vsmrcmd.dat'),
                         f'first\tC:\\nowhere.exe\tone\r\nhako\t{probe.windows_path}\t'
                         'added note\r\n'.encode('cp932'))

    def test_unticked_item_loses_its_button(self):
        self.write('vsmrsys.ini', settings_file({'ButtonLauncher': launcher_items([
            (1, 'C:\\one.exe', 'one', 0, ''), (1, 'C:\\two.exe', 'two', 0, '')])}))
        process, window = self.start_main_window()
        got = self.desktop.wait_geometry(window, lambda g: g[2] == strip_width(buttons=2),
                                        timeout=10)
        self.assertEqual(got[2], strip_width(buttons=2))
        self.open_options()
        self.show_tab('launcher')
        self.click(FIRST_ROW)
        self.desktop.key('space')  # the selected row's check box
        self.desktop.screenshot('launcher')
        self.press_ok()
        got = self.desktop.wait_geometry(window, lambda g: g[2] == strip_width(buttons=1),
                                        timeout=10)
        self.assertEqual(got[2], strip_width(buttons=1), 'the unticked item kept its button')
        self.assertEqual(self.close_with_button(process, window), 0)
        self.assertEqual(self.settings_value('Launcher01Data'), '0\tC:\\one.exe\tone')
        self.assertEqual(self.settings_value('Launcher02Data'), '1\tC:\\two.exe\ttwo')

    def test_interval_of_five_seconds_is_kept_as_ten(self):
        process, window = self.start_main_window()
        self.open_options()
        self.show_tab('mail')
        self.click(SECONDS)
        self.desktop.key('End', 'BackSpace', 'BackSpace', 'BackSpace')
        self.desktop.type_text('5')
        self.desktop.screenshot('mail')
        self.press_ok()
        self.assertEqual(self.close_with_button(process, window), 0)
        self.assertEqual(self.settings_value('AutoCheckTime'), '10')

    def test_cancel_after_edits_leaves_the_files(self):
        self.write_commands([('first', 'C:\\one.exe', 'one'), ('second', 'C:\\two.exe', 'two')])
        process, window = self.start_main_window()
        self.assertEqual(self.close_with_button(process, window), 0)
        saved = self.read('vsmrsys.ini'), self.read('vsmrcmd.dat')

        process, window = self.start_main_window()
        self.open_options()
        self.show_tab('commands')
        self.click(FIRST_ROW)
        self.click(DELETE)
        question = self.desktop.wait_window('^削除$', timeout=10)
        self.assertIsNotNone(question, '削除 asked nothing')
        self.desktop.focus(question)
        self.desktop.key('Return')  # Yes
        self.assertTrue(self.desktop.wait_gone('^削除$', 5))
        self.show_tab('general')
        self.click(DROP_CHANGE)
        self.click(SKIN)
        self.desktop.type_text('C:\\nothing.bmp')
        self.desktop.screenshot('general')
        self.click(CANCEL)
        self.assertTrue(self.desktop.wait_gone(TITLE, 10), 'CANCEL left the dialog open')
        self.assertEqual(self.close_with_button(process, window), 0)
        self.assertEqual((self.read('vsmrsys.ini'), self.read('vsmrcmd.dat')), saved)
