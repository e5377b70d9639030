# The leave-room lock, on from the start: launcher buttons run nothing; the launcher
# box still opens and echoes an asterisk for every typed character; a wrong password
# (even one differing only in letter case) closes the box and changes nothing; the
# right one runs _onrecover and unlocks, after which the buttons run their items.
import time

from geometry import DEFAULT_LAUNCHER_LENGTH, button_centre, strip_width
from probe import Probe
from program_files import launcher_items, settings_file
from vesmira_case import QUIET, VesmiraCase

PASSWORD = 'Kagi7z'
WIDTH = strip_width(buttons=3)
OPEN_WIDTH = strip_width(buttons=3, launcher=DEFAULT_LAUNCHER_LENGTH)
BUTTON_2 = button_centre(1)  # while the box is closed
EDIT_TEXT = (76, 2, 150, 20)  # the text part of the box's edit field, left of the arrow


class LeaveRoom(VesmiraCase):
    def setUp(self):
        super().setUp()
        self.probe = Probe(self)
        self.write_commands(
            [(f'item{n}', f'{self.probe.windows_path} "item {n}"', '') for n in (1, 2, 3)]
            + [('_onrecover', f'{self.probe.windows_path} "recovered"', '')])
        items = [(1, f'item{n}', f'item {n}', 0, '') for n in (1, 2, 3)]
        self.write('vsmrsys.ini', settings_file({
            'OtherSettings': [('LeaveRoomMode', 1), ('LeaveRoomPassword', PASSWORD)],
            'ButtonLauncher': launcher_items(items)}))
        _, self.window = self.start_main_window()
        self.assertEqual(self.desktop.wait_geometry(self.window, lambda g: g[2] == WIDTH)[2],
                         WIDTH)

    def assert_nothing_runs(self, after):
        """Once the program has handled the input (see handled_clicks): no run comes."""
        time.sleep(QUIET)
        self.assertEqual(self.probe.runs(), [], f'something ran after {after}')

    def handled_clicks(self):
        """Opens and closes the launcher box with the toggle spot: input handled after the
        clicks before it, so those clicks have been handled too."""
        self.toggle_launcher(self.window, OPEN_WIDTH)
        self.toggle_launcher(self.window, WIDTH)

    def type_into_box(self, text):
        self.toggle_launcher(self.window, OPEN_WIDTH)
        self.click_edit_field(self.window)
        self.desktop.type_text(text)

    def enter(self):
        """Enter in the box; the box closes."""
        self.desktop.key('Return')
        got = self.desktop.wait_geometry(self.window, lambda g: g[2] == WIDTH, timeout=5)
        self.assertEqual(got[2], WIDTH, 'the launcher box did not close after Enter')

    def steady_text_ink(self, name):
        """The dark pixels of the edit field's text that stay over 1.5 s: the blinking
        caret is off in at least one of five screenshots, so it drops out. Typed keys may
        still be arriving when the first screenshot is taken, so the five are a sliding
        window, and the ink is taken once two windows in a row agree."""
        left, top, right, bottom = EDIT_TEXT
        shots, ink = [], None
        for _ in range(15):
            image = self.desktop.screenshot(name)
            shots.append({(x, y) for y in range(top, bottom) for x in range(left, right)
                          if sum(image.pixel(x, y)) < 300})
            if len(shots) >= 5:
                window = set.intersection(*shots[-5:])
                if window == ink:
                    break
                ink = window
            time.sleep(0.3)
        return ink

    def test_locked_buttons_run_nothing(self):
        for position in range(3):
            self.desktop.click(*button_centre(position))
        self.handled_clicks()
        self.assert_nothing_runs('clicks on the buttons')

    def test_box_echoes_asterisks(self):
        # The password typed while locked, asterisks typed while unlocked, and the
        # password typed while unlocked: the first two look the same, the last does not.
        self.type_into_box(PASSWORD)
        locked = self.steady_text_ink('locked-password')
        self.enter()
        self.assertEqual(self.probe.wait_args(1), [['recovered']])

        self.type_into_box('*' * len(PASSWORD))
        asterisks = self.steady_text_ink('asterisks')
        self.toggle_launcher(self.window, WIDTH)  # closed without running the line
        self.type_into_box(PASSWORD)
        letters = self.steady_text_ink('unlocked-password')

        self.assertGreater(len(locked), 2 * len(PASSWORD), 'nothing shows in the edit field')
        self.assertEqual(locked, asterisks, 'the locked box does not show one * per character')
        self.assertNotEqual(letters, asterisks, 'the unlocked box hides what is typed')

    def test_wrong_password_keeps_the_lock(self):
        self.type_into_box(PASSWORD.swapcase())
        self.enter()
        self.assert_nothing_runs('a wrong password')
        self.desktop.click(*BUTTON_2)
        self.handled_clicks()
        self.assert_nothing_runs('a click on a button after a wrong password')

    def test_right_password_runs_onrecover_and_unlocks(self):
        self.type_into_box(PASSWORD)
        self.enter()
        self.assertEqual(self.probe.wait_args(1), [['recovered']])
        self.desktop.click(*BUTTON_2)
        self.assertEqual(self.probe.wait_args(2), [['recovered'], ['item 2']])
