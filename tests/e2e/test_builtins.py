# Built-in commands typed into the launcher box of the real program: a message box
# found by its caption and closed with Enter; a command menu at the pointer whose second
# entry runs; the shutdown countdown's "Shutdown" face and question, where Yes brings
# the clock back; showing items 2 to 4 as buttons; and the leave-room lock.
from geometry import (CLOCK_TEXT, CLOSED, DEFAULT_LAUNCHER_LENGTH, EDIT_FIELD, OPEN,
                      button_centre, strip_width)
from probe import Probe
from program_files import DEFAULT_CLOCK_COLOUR, STATUS_COLOUR, launcher_items, settings_file
import test_leave_room
from test_main_menu import menu_rows
from vesmira_case import VesmiraCase


class Builtins(VesmiraCase):
    def setUp(self):
        super().setUp()
        self.probe = Probe(self)

    def start_with(self, items=(), other=()):
        self.write_commands([(name, f'{self.probe.windows_path} "{name}"', name.title())
                             for name in ('one', 'two', 'three')])
        self.write('vsmrsys.ini', settings_file({'ButtonLauncher': launcher_items(items),
                                                 'OtherSettings': list(other)}))
        _, self.window = self.start_main_window()

    def type_line(self, line, width=CLOSED):
        """Opens the box, types the line and presses Enter (the strip is `width` wide
        while closed)."""
        self.toggle_launcher(self.window, width + DEFAULT_LAUNCHER_LENGTH)
        self.click_edit_field(self.window)
        self.desktop.type_text(line)
        self.desktop.key('Return')

    def wait_closed(self, width=CLOSED):
        got = self.desktop.wait_geometry(self.window, lambda g: g[2] == width, timeout=10)
        self.assertEqual(got[2], width, 'the launcher box did not close after the line')

    def test_message_box_from_the_launcher_box(self):
        self.start_with()
        self.type_line('#107 Hakomidashi Naka')
        box = self.desktop.wait_window('^Hakomidashi$', timeout=10)
        self.assertIsNotNone(box, 'no message box titled Hakomidashi')
        self.desktop.screenshot('box')
        self.desktop.focus(box)
        self.desktop.key('Return')
        self.assertTrue(self.desktop.wait_gone('^Hakomidashi$', 5), 'Enter left the box open')
        self.wait_closed()

    def test_menu_at_the_pointer_runs_the_second_entry(self):
        self.start_with()
        before = set(self.desktop.find_windows(''))
        self.type_line('#801 one two three')
        menu = self.wait_new_window(before, EDIT_FIELD)
        self.assertIsNotNone(menu, 'no command menu appeared')
        geometry = self.desktop.geometry(menu)
        self.assertEqual(geometry[:2], EDIT_FIELD, 'the menu is not at the pointer')
        image = self.desktop.wait_screen('menu', lambda i: len(menu_rows(i, geometry)[0]) == 3)
        bands, _ = menu_rows(image, geometry)
        self.assertEqual(len(bands), 3, f'{bands} in {image.path}')
        self.desktop.click(geometry[0] + geometry[2] // 2, sum(bands[1]) // 2)
        self.assertEqual(self.probe.wait_args(1), [['two']])
        self.wait_closed()

    def test_shutdown_face_and_yes_brings_the_clock_back(self):
        self.start_with()
        self.type_line('#2001')
        title = '^ウィンドウズ終了確認$'
        box = self.desktop.wait_window(title, timeout=10)
        self.assertIsNotNone(box, 'the shutdown question did not open')

        def yellow(image):
            return image.count(CLOCK_TEXT, STATUS_COLOUR)
        face = self.desktop.wait_screen('shutdown', lambda i: yellow(i) >= 20)
        self.assertGreaterEqual(yellow(face), 20, face.describe(CLOCK_TEXT))
        self.assertEqual(face.count(CLOCK_TEXT, DEFAULT_CLOCK_COLOUR), 0,
                         'the time is drawn beside "Shutdown"')

        self.desktop.focus(box)
        self.desktop.key('Return')  # Yes is the default button
        self.assertTrue(self.desktop.wait_gone(title, 5), 'Yes left the question open')
        clock = self.desktop.wait_screen(
            'clock-back', lambda i: yellow(i) == 0 and i.count(CLOCK_TEXT, DEFAULT_CLOCK_COLOUR) >= 30)
        self.assertEqual(yellow(clock), 0, clock.describe(CLOCK_TEXT))
        self.assertGreaterEqual(clock.count(CLOCK_TEXT, DEFAULT_CLOCK_COLOUR), 30)

    def test_show_range_makes_exactly_buttons_two_to_four(self):
        self.start_with([(0, f'{self.probe.windows_path} "item {n}"', f'item {n}', 0, '')
                         for n in range(1, 7)])
        self.type_line('#202 r 2 4')
        self.wait_closed(strip_width(buttons=3))
        for position in range(3):
            self.desktop.click(*button_centre(position))
            self.probe.wait_args(position + 1)
        self.assertEqual(self.probe.wait_args(3), [['item 2'], ['item 3'], ['item 4']])

    def test_leave_room_turns_the_box_into_a_password_line(self):
        self.start_with(other=[('LeaveRoomPassword', 'Kagi')])
        self.type_line('#106')
        self.wait_closed()
        self.toggle_launcher(self.window, OPEN)
        self.click_edit_field(self.window)
        self.desktop.type_text('WWW')
        letters = test_leave_room.LeaveRoom.steady_text_ink(self, 'locked-letters')
        self.desktop.key('BackSpace', 'BackSpace', 'BackSpace')
        self.desktop.type_text('***')
        asterisks = test_leave_room.LeaveRoom.steady_text_ink(self, 'locked-asterisks')
        self.assertGreater(len(letters), 6, 'nothing shows in the edit field')
        self.assertEqual(letters, asterisks, 'the locked box shows what is typed')
