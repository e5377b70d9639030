# First start in an empty folder: the clock strip at its default place and colour,
# and after closing, both files hold exactly what a first start writes.
from geometry import CLOCK_TEXT, CLOSED, STRIP_HEIGHT
from program_files import DEFAULT_CLOCK_COLOUR, TITLE_REGEX, first_start_settings
from vesmira_case import VesmiraCase


def lit(image):
    left, top, right, bottom = CLOCK_TEXT
    return {(x, y) for y in range(top, bottom) for x in range(left, right)
            if image.pixel(x, y) == DEFAULT_CLOCK_COLOUR}


class FirstStart(VesmiraCase):
    def test_default_window_clock_and_files_after_close(self):
        process, window = self.start_main_window()
        self.assertEqual(self.desktop.geometry(window), (0, 0, CLOSED, STRIP_HEIGHT))

        first = self.desktop.wait_screen('clock', lambda i: len(lit(i)) >= 30)
        self.assertGreaterEqual(len(lit(first)), 30, first.describe(CLOCK_TEXT))
        # The clock ticks: within a few seconds the lit pixels change.
        later = self.desktop.wait_screen('clock-later', lambda i: lit(i) != lit(first)
                                         and len(lit(i)) >= 30, timeout=4)
        self.assertNotEqual(lit(later), lit(first), 'the clock face did not change')

        self.assertEqual(self.close_with_button(process, window), 0)
        self.assertTrue(self.desktop.wait_gone(TITLE_REGEX, 3), 'the window outlived the process')
        self.assertEqual(self.read('vsmrcmd.dat'), b'')
        expected = first_start_settings(self.folder_windows)
        self.assertEqual(self.read('vsmrsys.ini').split(b'\r\n'), expected.split(b'\r\n'))
