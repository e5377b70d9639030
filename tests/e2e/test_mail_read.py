# Reading mail in the mail window of the real program, after a check against a private
# Dovecot: a click on a row shows the decoded message (read back through the X clipboard
# after the view's own select-all and copy), its source is the raw message, a double
# click on a web address hands it to the browser, the saved text file holds the view's
# text, and delete removes the message from the server only when deleting is allowed,
# and only the message it asked about.
import email
import email.policy
import os
import poplib
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'mail', 'pop3'))

from dovecot_harness import PASSWORD, japanese_message, message  # noqa: E402
from mail_case import BOX, MAIL_TITLE, MailCase  # noqa: E402
from vesmira_case import QUIET  # noqa: E402
from wine import wait_for, wine_env, windows_path  # noqa: E402

BODY = '明日の会議の資料です。\n会議室は三階です。\n詳しくは http://example.jp/kaigi をご覧ください。'
URL = 'http://example.jp/kaigi'
JAPANESE = japanese_message(subject='会議の資料', name='山田太郎', address='yamada@example.jp',
                            key='kaigi.1', body=BODY)
PLAIN = [message('plain %d' % i, ['first line of %d' % i, 'second line of %d' % i])
         for i in range(1, 4)]
TEXT_VIEW_FROM_BOTTOM = 40  # a point of the text view above the buttons and status line
# Where the view draws the address: the ninth line (four header lines, two blank ones,
# two body lines above it), after "詳しくは " (four wide characters and a blank), in
# pixels from the window's top left corner.
URL_POINT = (90, 241)
SAVE_BUTTON_FROM_CORNER = (225, 13)  # "テキストの保存", from the bottom right corner
SAVE_TITLE = '^名前を付けて保存する$'
BROWSER_KEY = r'HKCU\Software\Wine\WineBrowser'
DOUBLE_CLICK_TIME = 0.6  # seconds, more than the double-click time
DOUBLE_CLICK_APART = 30  # pixels between two clicks that must not count as a double click


def decoded(text):
    """(subject, sender, body lines) as Python's email package decodes the message."""
    mail = email.message_from_string(text, policy=email.policy.default)
    return str(mail['subject']), str(mail['from']), mail.get_content().splitlines()


def without_trailing_blanks(lines):
    while lines and lines[-1] == '':
        lines = lines[:-1]
    return lines


class MailRead(MailCase):
    def open_with(self, texts, settings=()):
        """Serves the messages, starts the program and checks from the main menu."""
        self.serve_texts(texts)
        self.start_with(list(settings))
        self.check_from_menu()
        return self.wait_count(len(texts))

    def text_view_point(self):
        x, y, width, height = self.desktop.geometry(self.desktop.find_windows(MAIL_TITLE)[0])
        return x + width // 2, y + height - TEXT_VIEW_FROM_BOTTOM

    def menu_choice(self, point, key):
        """Right click at `point`, then the popup menu's item with mnemonic `key`."""
        before = set(self.desktop.find_windows(''))
        self.desktop.click(*point, button=3)
        menu = self.wait_new_window(before, point)
        self.assertIsNotNone(menu, f'no popup menu at {point}')
        self.desktop.key(key)
        # The next popup may reuse the same X window: it must be gone before then.
        self.assertTrue(wait_for(lambda: menu not in self.desktop.find_windows(''), 5),
                        'the popup menu stays open')

    def clipboard(self):
        text = self.desktop.run('xclip', '-o', '-selection', 'clipboard', '-t', 'UTF8_STRING',
                                check=False)
        # Clipboard text ends at its first NUL; Wine's export to X now and then carries
        # the bytes of the block after it.
        return text.split('\x00', 1)[0]

    def copy_view(self):
        """The text view's whole text through its menu: select all, copy, the X clipboard."""
        x, y = self.text_view_point()
        self.menu_choice((x, y), 'a')
        # Apart from the first click, lest the two make a double click.
        self.menu_choice((x + DOUBLE_CLICK_APART, y), 'c')
        return self.clipboard()

    def wait_view(self, predicate, timeout=20):
        """The view's text, copied, once predicate(text) holds (the last copy at timeout)."""
        deadline = time.monotonic() + timeout
        while True:
            text = self.copy_view()
            if predicate(text) or time.monotonic() > deadline:
                return text
            time.sleep(DOUBLE_CLICK_TIME)

    def select_row(self, row):
        self.desktop.click(*self.row_point(row))

    def test_selected_row_shows_the_decoded_message(self):
        self.open_with([JAPANESE])
        subject, sender, body = decoded(JAPANESE)
        self.select_row(0)
        text = self.wait_view(lambda t: body[0] in t)
        self.desktop.screenshot('message-shown')
        lines = text.splitlines()
        self.assertIn(subject, [line.split(': ', 1)[-1] for line in lines], text)
        self.assertTrue(any(sender.split(' <')[0] in line for line in lines[:3]), text)
        # As it was sent: the server's closing "." line is not part of it.
        self.assertEqual(without_trailing_blanks(lines)[-len(body):], body)

    def test_source_view_shows_the_raw_message(self):
        self.open_with(PLAIN[:1])
        self.select_row(0)
        self.wait_view(lambda t: 'first line of 1' in t)
        self.menu_choice(self.row_point(0), 'x')
        raw = PLAIN[0].splitlines()
        text = self.wait_view(lambda t: raw[0] in t)
        self.desktop.screenshot('source-shown')
        self.assertEqual(without_trailing_blanks(text.splitlines()), raw)

    def show_japanese_message(self):
        self.open_with([JAPANESE])
        self.select_row(0)
        return self.wait_view(lambda t: URL in t)

    def register_browser(self):
        """Makes a script that logs its arguments Wine's browser and mailer; the log's path."""
        log = self.path('browser.log')
        script = self.path('browser.sh')
        with open(script, 'w') as f:
            f.write(f'#!/bin/sh\nprintf "%s\\n" "$@" >> {log}\n')
        os.chmod(script, 0o755)
        env = dict(wine_env(), DISPLAY=self.desktop.display)
        for value in ('Browsers', 'Mailers'):
            subprocess.run([env['WINE'], 'reg', 'add', BROWSER_KEY, '/v', value, '/d', script, '/f'],
                           env=env, check=True, capture_output=True, timeout=60)
        self.addCleanup(subprocess.run, [env['WINE'], 'reg', 'delete', BROWSER_KEY, '/f'],
                        env=env, capture_output=True, timeout=60)
        return log

    def test_double_click_on_an_address_opens_it(self):
        log = self.register_browser()
        self.show_japanese_message()
        x, y, _, _ = self.desktop.geometry(self.desktop.find_windows(MAIL_TITLE)[0])
        self.desktop.move(x + URL_POINT[0], y + URL_POINT[1])
        self.desktop.xdotool('click', '--repeat', 2, '--delay', 80, 1)
        self.assertTrue(wait_for(lambda: os.path.exists(log), 20), 'no browser was started')
        self.desktop.screenshot('address-opened')
        with open(log) as f:
            self.assertEqual(f.read().split(), [URL])

    def test_saved_text_is_the_view_text(self):
        shown = self.show_japanese_message()
        x, y, width, height = self.desktop.geometry(self.desktop.find_windows(MAIL_TITLE)[0])
        self.desktop.click(x + width - SAVE_BUTTON_FROM_CORNER[0], y + height - SAVE_BUTTON_FROM_CORNER[1])
        self.assertIsNotNone(self.desktop.wait_window(SAVE_TITLE, 15), 'no save dialog')
        self.desktop.screenshot('save-dialog')
        self.desktop.type_text(windows_path(self.path('saved.txt')))
        self.desktop.key('Return')
        self.assertTrue(self.desktop.wait_gone(SAVE_TITLE, 15), 'the save dialog stays open')
        self.assertTrue(wait_for(lambda: os.path.exists(self.path('saved.txt')), 10), 'no file')
        self.desktop.screenshot('saved')
        saved = self.read('saved.txt').decode('cp932')
        # Wine hands the clipboard to X with line ends of LF alone; the view's are CR LF.
        self.assertEqual(saved, shown.replace('\n', '\r\n'))

    def maildir_files(self):
        """The messages' file names in the maildir, without the flags the server adds."""
        box = os.path.join(self.dovecot.root, 'mail', BOX)
        return sorted(name.split(':')[0] for sub in ('cur', 'new')
                      for name in os.listdir(os.path.join(box, sub)))

    def delete_second_row(self):
        self.select_row(1)
        self.menu_choice(self.row_point(1), 'd')

    def test_delete_with_permission_removes_the_message(self):
        self.open_with(PLAIN, [('DeleteMailPermission', 1)])
        files = self.maildir_files()
        self.delete_second_row()
        self.assertIsNotNone(self.desktop.wait_window('^削除$', 15), 'no question before deleting')
        self.desktop.screenshot('delete-question')
        self.desktop.key('y')
        self.assertTrue(wait_for(lambda: len(self.maildir_files()) == 2, 15),
                        f'the maildir still holds {self.maildir_files()}')
        self.assertEqual(self.maildir_files(), [files[0], files[2]])
        self.desktop.screenshot('deleted')
        self.desktop.key('Return')
        text = self.wait_text(lambda t: len(t.rows) == 2, 15)
        self.assertIsNotNone(text, f'the list still holds {self.peek.read()}')
        self.assertEqual([r.subject for r in text.rows], ['plain 1', 'plain 3'])

    def test_delete_without_permission_removes_nothing(self):
        self.open_with(PLAIN, [('DeleteMailPermission', 0)])
        files = self.maildir_files()
        self.delete_second_row()
        self.assertIsNone(self.desktop.wait_window('^削除$', QUIET), 'a question to delete')
        self.desktop.screenshot('not-deleted')
        self.assertEqual(self.maildir_files(), files)
        self.assertEqual([r.subject for r in self.peek.read().rows], ['plain 1', 'plain 2', 'plain 3'])

    def test_delete_deletes_nothing_when_the_mailbox_changed_while_asking(self):
        self.open_with(PLAIN, [('DeleteMailPermission', 1)])
        files = self.maildir_files()
        self.delete_second_row()
        self.assertIsNotNone(self.desktop.wait_window('^削除$', 15), 'no question before deleting')
        # Meanwhile another client deletes message 1: "plain 2" is message 1 now and
        # message 2 is "plain 3".
        other = poplib.POP3('127.0.0.1', self.dovecot.port, timeout=10)
        other.user(BOX)
        other.pass_(PASSWORD)
        other.dele(1)
        other.quit()
        self.assertEqual(self.maildir_files(), files[1:])
        self.desktop.screenshot('delete-question')
        self.desktop.key('y')
        text = self.wait_text(lambda t: t.status == 'メールボックスが変わったため削除中止', 20)
        self.desktop.screenshot('nothing-deleted')
        self.assertIsNotNone(text, f'the mail window shows {self.peek.read()}')
        self.assertEqual([r.subject for r in text.rows], ['plain 2', 'plain 3'])
        self.assertEqual(self.maildir_files(), files[1:])
        self.assertIsNone(self.desktop.wait_window('^削除$', QUIET), 'told of a deletion')
