# Base of the mail cases: a private Dovecot on a free port of 127.0.0.1, the program
# started with its one account there (server and port from the account's settings), a
# check from the main menu, and the mail window read from outside with mailpeek.exe.
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'mail', 'pop3'))

from dovecot_harness import PASSWORD, Dovecot, unavailable  # noqa: E402
from geometry import CLOCK_TEXT_POINT  # noqa: E402
from mailpeek import MailPeek  # noqa: E402
from program_files import launcher_items, settings_file  # noqa: E402
from test_main_menu import menu_rows  # noqa: E402
from vesmira_case import VesmiraCase  # noqa: E402
from wine import wait_for  # noqa: E402

BOX = 'taro'
MAIL_TITLE = '^メール$'
MAIL_CHECK_ITEM = 5  # "メールチェック(&M)", the sixth text of the main menu
# Rows of the message list on the screen, from the window's top edge (caption and header
# above them), with the dialog font the list uses.
FIRST_ROW_TOP = 42
ROW_HEIGHT = 14


def count_text(count):
    return f'新着メールが{count}通あります'


class MailCase(VesmiraCase):
    def setUp(self):
        reason = unavailable()
        if reason:
            self.skipTest(reason)
        super().setUp()
        self.peek = MailPeek(self.desktop.display, self.folder, os.path.join(self.shots, 'wine.log'))

    def serve_texts(self, texts):
        """Serves the message texts as the mailbox BOX."""
        self.dovecot = Dovecot({BOX: list(texts)})
        self.addCleanup(self.dovecot.stop)

    def start_with(self, mail_settings, password=PASSWORD, other=(), commands=(), server='127.0.0.1',
                   port=None):
        """Starts the program with its account on the server that serve_texts started."""
        self.write_commands(commands)
        self.write('vsmrsys.ini', settings_file({
            'MailPopSetting': [('Mail1AccountData', f'1\t{server}\t{BOX}\t{password}\t'),
                               ('Mail1Port', port or self.dovecot.port), ('TimeOut', 10), *mail_settings],
            'OtherSettings': list(other),
            'ButtonLauncher': launcher_items([])}))
        self.process, self.window = self.start_main_window()
        self.started = time.monotonic()

    def check_from_menu(self):
        """Right click on the clock, then "メールチェック(&M)" in the menu."""
        before = set(self.desktop.find_windows(''))
        self.desktop.click(*CLOCK_TEXT_POINT, button=3)
        menu = self.wait_new_window(before, CLOCK_TEXT_POINT)
        self.assertIsNotNone(menu, 'no popup menu appeared')
        geometry = self.desktop.geometry(menu)
        image = self.desktop.wait_screen('menu', lambda i: len(menu_rows(i, geometry)[0]) == 6)
        bands, _ = menu_rows(image, geometry)
        self.assertEqual(len(bands), 6, f'{bands} in {image.path}')
        self.desktop.click(geometry[0] + geometry[2] // 2, sum(bands[MAIL_CHECK_ITEM]) // 2)

    def wait_text(self, predicate, timeout):
        """The mail window's text once predicate(text) holds, or None at timeout."""
        def matching():
            text = self.peek.read()
            return text if text is not None and predicate(text) else None
        return wait_for(matching, timeout, interval=0.2)

    def wait_count(self, count, timeout=30):
        """The mail window's text once its status line shows the count text of `count`
        (a text that an earlier check with another count cannot have left), with as many
        rows."""
        self.assertIsNotNone(self.desktop.wait_window(MAIL_TITLE, timeout),
                             'the mail window did not appear')
        text = self.wait_text(lambda t: t.status == count_text(count), timeout)
        self.assertIsNotNone(text, f'no "{count_text(count)}" in the mail window: {self.peek.read()}')
        self.assertEqual(len(text.rows), count)
        return text

    def row_point(self, row):
        """A point on the screen inside row `row` (from 0) of the message list."""
        x, y, _, _ = self.desktop.geometry(self.desktop.find_windows(MAIL_TITLE)[0])
        return x + 60, y + FIRST_ROW_TOP + ROW_HEIGHT * row + ROW_HEIGHT // 2
