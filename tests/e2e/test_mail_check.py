# Mail checks of the real program against a private Dovecot on a loopback port that the
# account's Mail1Port names: a check from the main menu lists Japanese mail, a
# second one announces the two new messages through _onnewmail1, an automatic check
# runs the mail launcher's line from a new message only, a wrong password brings up the
# mail window with the log-in failure, the leave-room lock stops every check, and the
# state of the last check is in vsmrsys.ini after exit; an account set to TLS from the
# first byte checks over it, the test authority trusted for the run. The mail window is
# read with mailpeek.exe; the hook and the launcher line run the probe.
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'mail', 'pop3'))

from dovecot_harness import Dovecot, encoded_word, japanese_message  # noqa: E402
from tls_test_certs import TestCerts  # noqa: E402
from geometry import CLOCK_TEXT, CLOCK_TEXT_POINT, OPEN  # noqa: E402
from mail_case import (BOX, FIRST_ROW_TOP, MAIL_TITLE, ROW_HEIGHT, MailCase,  # noqa: E402
                       count_text)
from mailpeek import MAIL_CHECK_COMMAND  # noqa: E402
from probe import Probe  # noqa: E402
from program_files import STATUS_COLOUR  # noqa: E402
from vesmira_case import QUIET  # noqa: E402
from wine import WIN64_BIN, WineProcess, wait_for, windows_path  # noqa: E402

IMAGE_NEW = 1  # state images of the list: new and not multipart
IMAGE_NONE = 3  # neither new nor multipart
TIMER_START = 5  # seconds from start to the first automatic check
TIMER_AFTER_UNLOCK = 3  # seconds from the lock's end to the automatic check

# (subject, sender name, address, key): the mail a person finds in the box.
MAILS = [('会議の資料', '山田太郎', 'yamada@example.jp', 'kaigi.1'),
         ('来週の予定について', '佐藤花子', 'sato@example.jp', 'yotei.2'),
         ('請求書送付のお知らせ', '鈴木一郎', 'suzuki@example.jp', 'seikyu.3')]
LATER_MAILS = [('忘年会のご案内', '田中次郎', 'tanaka@example.jp', 'bonen.4'),
               ('議事録の確認', '高橋美咲', 'takahashi@example.jp', 'gijiroku.5')]


def mail(subject, name, address, key):
    return japanese_message(subject=subject, name=name, address=address, key=key)


def hook_args(count, name, address):
    """The probe's arguments for _onnewmail1: the count, then the sender's address and the
    text before its "<" (the name and the blank that follows it)."""
    return [str(count), address, name + ' ']


class MailCheck(MailCase):
    def setUp(self):
        super().setUp()
        self.probe = Probe(self)

    def serve(self, mails):
        self.serve_texts(mail(*m) for m in mails)

    def test_menu_check_lists_japanese_mail(self):
        self.serve(MAILS)
        self.start_with([])
        self.check_from_menu()
        text = self.wait_count(len(MAILS))
        shot = self.desktop.screenshot('mail-window')
        self.assertEqual([(r.account, r.sender.rstrip(), r.subject) for r in text.rows],
                         [(BOX, name, subject) for subject, name, _, _ in MAILS])
        self.assertEqual([r.image for r in text.rows], [IMAGE_NEW] * len(MAILS),
                         'a first check without saved state finds every message new')
        # Each row is drawn: its band below the list's header holds dark text pixels.
        x, y, width, _ = self.desktop.geometry(self.desktop.find_windows(MAIL_TITLE)[0])
        for row in range(len(MAILS)):
            top = y + FIRST_ROW_TOP + ROW_HEIGHT * row
            band = (x + 10, top, x + width - 10, top + ROW_HEIGHT)
            dark = sum(n for colour, n in shot.colours(band).items() if sum(colour) < 150)
            self.assertGreater(dark, 100, f'row {row + 1} is not drawn: ' + shot.describe(band))

    def test_check_over_pop3s_lists_the_same_mail(self):
        folder = tempfile.mkdtemp(prefix='vsmr-e2e-tls-', dir=self.folder)
        certs = TestCerts(folder)
        self.trust_root('add', certs.ca)
        self.addCleanup(self.trust_root, 'remove', certs.ca)
        self.dovecot = Dovecot({BOX: [mail(*m) for m in MAILS]}, tls=certs.good)
        self.addCleanup(self.dovecot.stop)
        self.start_with([('Mail1Security', 1)], server='localhost', port=self.dovecot.tls_port)
        self.check_from_menu()
        text = self.wait_count(len(MAILS))
        self.desktop.screenshot('mail-window')
        self.assertEqual([(r.account, r.sender.rstrip(), r.subject) for r in text.rows],
                         [(BOX, name, subject) for subject, name, _, _ in MAILS])
        logins = [line for line in self.dovecot.log().splitlines() if 'Login:' in line]
        self.assertEqual(len(logins), 1, self.dovecot.log())
        self.assertIn(', TLS,', logins[0], 'the log-in was not made over TLS')

    def trust_root(self, action, certificate):
        process = WineProcess(os.path.join(WIN64_BIN, 'trust_root.exe'), [action, windows_path(certificate)],
                              self.folder, self.desktop.display, os.path.join(self.shots, 'wine.log'))
        self.assertEqual(process.wait(60), 0, f'trust_root {action} failed')

    def test_second_check_announces_two_new_messages(self):
        self.serve(MAILS)
        self.start_with([], commands=[('_onnewmail1', self.probe.windows_path, '')])
        self.check_from_menu()
        self.wait_count(len(MAILS))
        last = MAILS[-1]
        self.assertEqual(self.probe.wait_args(1), [hook_args(len(MAILS), last[1], last[2])])

        for m in LATER_MAILS:
            self.dovecot.add(BOX, mail(*m))
        time.sleep(1)  # a person's pause between two checks; the first job has ended
        self.check_from_menu()
        text = self.wait_count(len(MAILS) + len(LATER_MAILS))
        self.desktop.screenshot('second-check')
        last = LATER_MAILS[-1]
        self.assertEqual(self.probe.wait_args(2)[1:], [hook_args(2, last[1], last[2])])
        self.assertEqual([r.image for r in text.rows],
                         [IMAGE_NONE] * len(MAILS) + [IMAGE_NEW] * len(LATER_MAILS))

    def test_hostile_senders_reach_the_hook_as_text_and_run_nothing(self):
        # (From header, address, name): each check finds one new message from the next.
        senders = [
            ('x & injected NOW & y <evil1@example.net>', 'evil1@example.net', 'x & injected NOW & y '),
            (encoded_word('山田 "太郎" & injected NOW') + ' <evil2@example.net>', 'evil2@example.net',
             '山田 "太郎" & injected NOW '),
            ('say "hi" & injected NOW tail\\<evil3@example.net>', 'evil3@example.net',
             'say "hi" & injected NOW tail\\'),
        ]
        self.serve_texts([])
        self.start_with([], commands=[('_onnewmail1', self.probe.windows_path, ''),
                                      ('injected', self.probe.windows_path, '')])
        for n, (header, address, name) in enumerate(senders, 1):
            self.dovecot.add(BOX, f'From: {header}\nTo: taro@example.jp\nSubject: s{n}\n'
                                  f'Message-ID: <evil.{n}@example.net>\n\nbody\n')
            time.sleep(1)  # the previous check's job has ended
            self.check_from_menu()
            self.wait_count(n)
            runs = self.probe.wait_args(n)
            self.assertEqual(len(runs), n, f'check {n}: {[r.command_line for r in self.probe.runs()]}')
            # The hook's arguments: the count, the address and the name, each as it came.
            self.assertEqual(runs[-1], ['1', address, name], self.probe.runs()[-1].command_line)
        self.desktop.screenshot('after-hostile-senders')
        time.sleep(QUIET)
        runs = self.probe.runs()
        with open(os.path.join(self.shots, 'hook-runs.txt'), 'w', encoding='utf-8') as f:
            f.writelines(f'{run.command_line}\n{run.args}\n' for run in runs)
        self.assertEqual(len(runs), len(senders), 'a command ran that nobody wrote')

    def test_automatic_check_runs_the_launcher_line_of_new_mail_only(self):
        old = ('vsmrrun launched 古い', '山田太郎', 'yamada@example.jp', 'old.1')
        new = ('vsmrrun launched 新しい', '佐藤花子', 'sato@example.jp', 'new.2')
        self.serve([old, new])
        self.start_with([('AutoCheckTime', 10), ('SavePreviousMailStatus', 1),
                         ('Mail1PrevMailData', '1,<old.1@example.jp>'),
                         ('MailLauncherOrNot', 1), ('MailLauncherCommand', 'vsmrrun')],
                        commands=[('launched', self.probe.windows_path, '')])
        self.assertEqual(self.probe.wait_args(1, timeout=TIMER_START + 20), [['新しい']])
        self.desktop.screenshot('after-automatic-check')
        # The next automatic check, 10 s after the first ended, finds both messages old.
        self.assertTrue(wait_for(lambda: self.dovecot.logins(BOX) >= 2, 30),
                        'no second automatic check')
        time.sleep(QUIET)
        self.assertEqual(self.probe.args(), [['新しい']])

    def test_wrong_password_shows_the_log_in_failure(self):
        self.serve(MAILS)
        self.start_with([('AutoCheckTime', 10)], password='wrong')
        # Nobody asks: the automatic check brings the window up for the failure.
        self.assertIsNotNone(self.desktop.wait_window(MAIL_TITLE, TIMER_START + 20),
                             'the mail window did not appear')
        text = self.wait_text(lambda t: t.status != '', 10)
        self.assertIsNotNone(text, 'the status line stays empty')
        self.assertEqual(text.status, 'パスワードの認証失敗')
        self.assertEqual(text.rows, [])
        face = self.desktop.wait_screen('log-in-failure',
                                        lambda i: i.count(CLOCK_TEXT, STATUS_COLOUR) >= 20)
        self.assertGreaterEqual(face.count(CLOCK_TEXT, STATUS_COLOUR), 20,
                                'no error code on the clock face: ' + face.describe(CLOCK_TEXT))

    def test_leave_room_lock_stops_menu_and_timer(self):
        self.serve(MAILS)
        self.start_with([('AutoCheckTime', 10)],
                        other=[('LeaveRoomMode', 1), ('LeaveRoomPassword', 'Kagi7z')])
        before = set(self.desktop.find_windows(''))
        self.desktop.click(*CLOCK_TEXT_POINT, button=3)
        self.assertIsNone(self.wait_new_window(before, CLOCK_TEXT_POINT),
                          'the main menu opened while locked')
        # The menu is out of reach; its command is sent to the window as the menu would.
        self.peek.command(MAIL_CHECK_COMMAND)
        time.sleep(max(0.0, self.started + TIMER_START + QUIET - time.monotonic()))
        self.desktop.screenshot('locked')
        self.assertEqual(self.desktop.find_windows(MAIL_TITLE), [], 'a mail window appeared')
        self.assertEqual(self.dovecot.logins(BOX), 0, 'a check logged in while locked')

        # Unlocked, the timer starts a check: the server does see one.
        self.toggle_launcher(self.window, OPEN)
        self.click_edit_field(self.window)
        self.desktop.type_text('Kagi7z')
        self.desktop.key('Return')
        self.assertTrue(wait_for(lambda: self.dovecot.logins(BOX) >= 1, TIMER_AFTER_UNLOCK + 20),
                        'no check after the lock ended')

    def test_saved_state_is_in_the_settings_file_after_exit(self):
        self.serve(MAILS)
        self.start_with([('SavePreviousMailStatus', 1)])
        self.check_from_menu()
        self.wait_count(len(MAILS))
        self.desktop.screenshot('before-exit')
        self.assertEqual(self.close_with_button(self.process, self.window), 0)
        lines = self.read('vsmrsys.ini').decode('cp932').split('\r\n')
        self.assertIn(f'Mail1PrevMailData={len(MAILS)},<{MAILS[0][3]}@example.jp>', lines)
