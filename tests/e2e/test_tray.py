# The notification area: a program closed there starts there, showing no clock strip
# but its icon (under Wine without a desktop shell: in the "Wine System Tray" window);
# a double click on the icon brings the strip back, and the next close saves the
# floating state. Started locked, the icon wears the padlock, a right click on it shows
# no menu, and a double click still brings the strip back.
import re
import time

from program_files import TITLE_REGEX, settings_file
from vesmira_case import VesmiraCase

TRAY_TITLE = '^Wine System Tray$'
ICON_GREEN = (0, 255, 64)  # the time bar on the program's small icon
PADLOCK = (255, 220, 0)  # the lock icon's padlock


class Tray(VesmiraCase):
    def find_icon(self, image, tray):
        """Screen point of the program's icon inside the tray rectangle, or None."""
        left, top, right, bottom = tray
        for y in range(top, min(bottom, image.height)):
            for x in range(left, min(right, image.width)):
                if image.pixel(x, y) == ICON_GREEN:
                    return x, y
        return None

    def start_in_tray(self, sections):
        """Starts with the given settings (InTaskOrNot=1 among them); returns the process,
        the screen point of the icon, the screenshot that shows it and the tray
        window's rectangle (left, top, right, bottom)."""
        self.write('vsmrsys.ini', settings_file(sections))
        # The notification area's window appears with the program's icon; a start that
        # ended at once without it is tried again, as for the strip.
        process, tray_window = self.start_with_window(self.start, TRAY_TITLE, timeout=30)
        self.assertEqual(self.desktop.find_windows(TITLE_REGEX), [], 'the strip is shown')

        x, y, width, height = self.desktop.geometry(tray_window)
        tray = (x, y, x + width, y + height)
        image = self.desktop.wait_screen('tray-icon', lambda i: self.find_icon(i, tray))
        icon = self.find_icon(image, tray)
        self.assertIsNotNone(icon, image.describe(tray))
        return process, icon, image, tray

    def assert_closes_floating(self, process, window):
        """Closes with the close button; the settings then say the program floats."""
        self.assertEqual(self.close_with_button(process, window), 0)
        settings = self.read('vsmrsys.ini').decode('cp932')
        self.assertEqual(re.findall(r'^InTaskOrNot=(.*)\r$', settings, re.MULTILINE), ['0'])

    def new_menus(self, before):
        """Geometries of the menus shown now that were not in the window set before. The
        icon's tip (one line of text) may appear too; a menu is many lines high."""
        shown = []
        for w in set(self.desktop.find_windows('')) - before:
            try:
                shown.append(self.desktop.geometry(w))
            except RuntimeError:
                pass  # gone again (a tip)
        return [g for g in shown if g[3] > 40]

    def menu_after_right_click(self, point):
        """Right-clicks at point and waits for the menu that brings up; its geometry."""
        before = set(self.desktop.find_windows(''))
        self.desktop.click(*point, button=3)
        menus = []
        deadline = time.monotonic() + 10
        while not menus and time.monotonic() < deadline:
            time.sleep(0.1)
            menus = self.new_menus(before)
        self.assertEqual(len(menus), 1, 'no notification menu on a right click')
        x, y, width, height = menus[0]
        # Taken once the menu's text is drawn.
        self.desktop.wait_screen('after-right-click', lambda i: any(
            sum(i.pixel(px, py)) < 200 for py in range(y + 2, min(y + height, i.height) - 2)
            for px in range(x + 3, min(x + width, i.width) - 3)))
        return menus[0]

    def double_click(self, point):
        self.desktop.move(*point)
        self.desktop.xdotool('click', '--repeat', 2, '--delay', 80, 1)

    def test_start_in_tray_double_click_shows_strip_close_saves_floating(self):
        process, icon, image, tray = self.start_in_tray({'UserWindowData': [('InTaskOrNot', 1)]})
        self.assertEqual(image.count(tray, PADLOCK), 0)

        self.double_click(icon)
        window = self.desktop.wait_window(TITLE_REGEX, timeout=10)
        self.desktop.screenshot('after-double-click')
        self.assertIsNotNone(window, 'a double click on the icon did not show the strip')
        self.assertTrue(self.desktop.wait_gone(TRAY_TITLE, 5), 'the icon stayed')

        self.assert_closes_floating(process, window)

    def test_locked_start_shows_padlock_refuses_menu_but_double_click_restores(self):
        process, icon, image, tray = self.start_in_tray({
            'UserWindowData': [('InTaskOrNot', 1)],
            'OtherSettings': [('LeaveRoomMode', 1), ('LeaveRoomPassword', 'pw')]})
        self.assertGreater(image.count(tray, PADLOCK), 4, image.describe(tray))

        # The double click is handled after the right click, so by the time the strip is
        # back a menu of the right click would have shown; being modal, it would also have
        # taken the double click, and the strip would not come back.
        before = set(self.desktop.find_windows(''))
        self.desktop.click(*icon, button=3)
        self.desktop.screenshot('after-right-click')
        self.double_click(icon)
        menus, window = [], None
        deadline = time.monotonic() + 10
        while window is None and time.monotonic() < deadline:
            menus += self.new_menus(before)
            window = next(iter(self.desktop.find_windows(TITLE_REGEX)), None)
            time.sleep(0.1)
        self.assertEqual(menus, [], 'a right click on the locked icon showed a menu')
        self.assertIsNotNone(window, 'a double click on the locked icon did not show the strip')

    def test_menu_shows_the_strip(self):
        process, icon, _, _ = self.start_in_tray({'UserWindowData': [('InTaskOrNot', 1)]})
        # Left-aligned at the pointer with its bottom edge there, unless that would put
        # its top above the screen (the icon sits at the top here): then the system
        # moves it down to the top edge.
        x, y, width, height = self.menu_after_right_click(icon)
        self.assertEqual(x, icon[0])
        self.assertIn(y, (icon[1] - height, 0) if icon[1] < height else (icon[1] - height,))
        self.desktop.key('s')  # its access key, in case the menu has the keyboard
        if self.desktop.wait_window(TITLE_REGEX, timeout=1) is None:
            # Six items and a thin separator: "Vesmiraを表示(&S)" is the fourth, the
            # third line from the bottom.
            line = height // 6
            self.desktop.click(x + width // 2, y + height - 2 * line - line // 2 - 2)
        window = self.desktop.wait_window(TITLE_REGEX, timeout=10)
        self.desktop.screenshot('after-menu')
        self.assertIsNotNone(window, '"Vesmiraを表示(&S)" did not show the strip')
        self.assert_closes_floating(process, window)
