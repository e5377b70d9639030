# The notification area: a program closed there starts there, showing no clock strip
# but its icon (under Wine without a desktop shell: in the "Wine System Tray" window);
# a double click on the icon brings the strip back, and the next close saves the
# floating state.
import re

from program_files import TITLE_REGEX, settings_file
from vesmira_case import VesmiraCase

TRAY_TITLE = '^Wine System Tray$'
ICON_GREEN = (0, 255, 64)  # the time bar on the program's small icon


class Tray(VesmiraCase):
    def find_icon(self, image, tray):
        """Screen point of the program's icon inside the tray window, or None."""
        x0, y0, width, height = tray
        for y in range(y0, min(y0 + height, image.height)):
            for x in range(x0, min(x0 + width, image.width)):
                if image.pixel(x, y) == ICON_GREEN:
                    return x, y
        return None

    def test_start_in_tray_double_click_shows_strip_close_saves_floating(self):
        self.write('vsmrsys.ini', settings_file({'UserWindowData': [('InTaskOrNot', 1)]}))
        process = self.start()
        tray_window = self.desktop.wait_window(TRAY_TITLE, timeout=30)
        if tray_window is None:
            self.desktop.screenshot('no-tray')
            self.fail(f'no notification icon appeared; running: {process.running()}')
        self.assertEqual(self.desktop.find_windows(TITLE_REGEX), [], 'the strip is shown')

        tray = self.desktop.geometry(tray_window)
        image = self.desktop.wait_screen('tray-icon', lambda i: self.find_icon(i, tray))
        icon = self.find_icon(image, tray)
        self.assertIsNotNone(icon, image.describe(tray[:2] + (tray[0] + tray[2], tray[1] + tray[3])))

        self.desktop.move(*icon)
        self.desktop.xdotool('click', '--repeat', 2, '--delay', 80, 1)
        window = self.desktop.wait_window(TITLE_REGEX, timeout=10)
        self.desktop.screenshot('after-double-click')
        self.assertIsNotNone(window, 'a double click on the icon did not show the strip')
        self.assertTrue(self.desktop.wait_gone(TRAY_TITLE, 5), 'the icon stayed')

        self.assertEqual(self.close_with_button(process, window), 0)
        settings = self.read('vsmrsys.ini').decode('cp932')
        self.assertEqual(re.findall(r'^InTaskOrNot=(.*)\r$', settings, re.MULTILINE), ['0'])
