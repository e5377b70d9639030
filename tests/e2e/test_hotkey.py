# The global hot key from the settings file toggles the launcher box. Wine delivers
# hot keys only while X focus is on one of its windows, so the strip is focused first.
from geometry import CLOSED, OPEN, STRIP_HEIGHT
from program_files import settings_file
from vesmira_case import VesmiraCase

CTRL_ALT_K = 0x06 << 8 | 0x4B


class HotKey(VesmiraCase):
    def test_hot_key_opens_and_closes_launcher_box(self):
        self.write('vsmrsys.ini', settings_file({'CommandLineLauncher': [('HotKey', CTRL_ALT_K)]}))
        _, window = self.start_main_window()
        self.desktop.focus(window)
        for name, width in (('opens', OPEN), ('closes', CLOSED), ('opens again', OPEN)):
            with self.subTest(name):
                self.desktop.key('ctrl+alt+k')
                got = self.desktop.wait_geometry(window, lambda g: g[2] == width, timeout=5)
                self.desktop.screenshot(name.replace(' ', '-'))
                self.assertEqual(got, (0, 0, width, STRIP_HEIGHT))
