# The program's manual check of 1,000 messages against Python's poplib doing the same
# POP3 commands (log-in, STAT, TOP and LIST of every message, QUIT), measured in the
# same run against the same Dovecot, as a ratio of medians:
#   the program: from posting window command 308 (the main menu's mail check) to the
#     count text in the mail window's status line, timed by mailpeek.exe, which reads
#     the status line every millisecond without asking the program's thread;
#   the raw pass: the same commands from Python over a plain socket, all TOP and LIST
#     sent at once; the server's own time, below which no client's check can go;
#   the clock: while the program checks, the clock face is read from the X server every
#     20 ms, and the longest time without a visible change of it is the longest gap
#     between two clock repaints (a face that skips or repeats a second shows as 2 s).
import argparse
import os
import shutil
import socket
import statistics
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, '..', '..')
for folder in (('tests', 'e2e'), ('tests', 'mail', 'pop3'), ('bench', 'pop3')):
    sys.path.insert(0, os.path.join(ROOT, *folder))

from compare import poplib_pass  # noqa: E402
from desktop import Desktop  # noqa: E402
from dovecot_harness import PASSWORD, Dovecot, mailboxes, unavailable  # noqa: E402
from mailpeek import MailPeek  # noqa: E402
from program_files import TITLE_REGEX, launcher_items, settings_file  # noqa: E402
from wine import WIN64_BIN, WineProcess, wait_for  # noqa: E402
try:
    from Xlib import X, display as xdisplay
except ImportError:
    # Debian's python3-xlib lives in the system's dist-packages, which another python3
    # installation does not search.
    sys.path.append('/usr/lib/python3/dist-packages')
    from Xlib import X, display as xdisplay

BOX = 'bench'
MESSAGES = 1000
POP3_PORT = 110
CLOCK_TEXT = (18, 0, 56, 22)  # x, y, width, height of the clock text on the strip
CHECK_LIMIT_MS = 300000
RATIO_GOAL = 0.35  # the program's check at most this share of poplib's pass
GAP_GOAL_S = 1.1   # the longest time without a clock repaint while it checks
SETTLE_S = 0.5     # between the program's check and poplib's pass


class ClockWatch:
    """Reads the clock text's pixels every 20 ms on its own X connection and notes the
    times at which they change."""

    def __init__(self, display_name):
        self._display = xdisplay.Display(display_name)
        self._root = self._display.screen().root
        self.changes = []
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run)

    def _run(self):
        last = None
        while not self._stop.is_set():
            pixels = self._root.get_image(*CLOCK_TEXT, X.ZPixmap, 0xFFFFFFFF).data
            if pixels != last:
                self.changes.append(time.monotonic())
                last = pixels
            time.sleep(0.02)

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self.end = time.monotonic()
        self._stop.set()
        self._thread.join()
        self._display.close()

    def longest_gap(self):
        """Seconds: the longest interval without a change, the last one running to the end
        (the first change only marks the starting picture)."""
        times = self.changes + [self.end]
        return max(b - a for a, b in zip(times, times[1:]))


def raw_pipelined_pass(port, user, password):
    """Seconds for the same commands over a plain socket, every TOP and LIST sent at
    once and the answers only split at their end lines: what the server itself needs,
    the floor under any client's time."""
    start = time.perf_counter()
    with socket.create_connection(('127.0.0.1', port)) as s, s.makefile('rb') as f:
        f.readline()
        for line in (f'USER {user}\r\n', f'PASS {password}\r\n'):
            s.sendall(line.encode())
            if not f.readline().startswith(b'+OK'):
                raise RuntimeError('the raw pass could not log in')
        s.sendall(b'STAT\r\n')
        count = int(f.readline().split()[1])
        s.sendall(b''.join(b'TOP %d 0\r\nLIST %d\r\n' % (i, i) for i in range(1, count + 1)))
        for _ in range(count):
            while f.readline() not in (b'.\r\n', b''):
                pass
            f.readline()
        s.sendall(b'QUIT\r\n')
        f.readline()
    return time.perf_counter() - start, count


def program_folder(out):
    folder = os.path.join(out, 'program')
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(os.path.join(WIN64_BIN, 'vesmira.exe'), folder)
    with open(os.path.join(folder, 'vsmrsys.ini'), 'wb') as f:
        f.write(settings_file({
            'MailPopSetting': [('Mail1AccountData', f'1\t127.0.0.1\t{BOX}\t{PASSWORD}\t'),
                               ('AutoCheckTime', 0), ('TimeOut', 10)],
            'ButtonLauncher': launcher_items([])}))
    return folder


def program_check(peek, desktop):
    """(seconds, longest clock gap in seconds) of one manual check."""
    with ClockWatch(desktop.display) as watch:
        time.sleep(1.5)  # a picture and at least one tick before the check starts
        ms, status = peek.time_check(CHECK_LIMIT_MS)
    if ms is None:
        raise RuntimeError(f'no count in the status line within {CHECK_LIMIT_MS} ms; '
                           f'it reads "{status}"')
    if status != f'新着メールが{MESSAGES}通あります':
        raise RuntimeError(f'the status line reads "{status}"')
    return ms / 1000, watch.longest_gap()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--out', required=True)
    parser.add_argument('--rounds', type=int, default=9)
    parser.add_argument('--settle', type=float, default=SETTLE_S)
    args = parser.parse_args()
    reason = unavailable()
    if reason:
        sys.exit(f'mail check benchmark: {reason}')
    out = os.path.abspath(args.out)
    folder = program_folder(out)
    with Dovecot({BOX: mailboxes(MESSAGES)[BOX]}, port=POP3_PORT):
        desktop = Desktop(os.path.join(out, 'display'))
        log = os.path.join(out, 'wine.log')
        process = None
        try:
            process = WineProcess(os.path.join(folder, 'vesmira.exe'), [], folder,
                                  desktop.display, log)
            if not wait_for(lambda: desktop.find_windows(TITLE_REGEX), 60):
                raise RuntimeError('the program showed no window')
            peek = MailPeek(desktop.display, out, log)
            program_check(peek, desktop)  # warm-up: creates the mail window; not counted
            ours, theirs, floor, gaps = [], [], [], []
            for _ in range(args.rounds):
                seconds, gap = program_check(peek, desktop)
                ours.append(seconds)
                gaps.append(gap)
                # poplib starts on a settled machine too, not while the program
                # still draws the list it has just filled.
                time.sleep(args.settle)
                seconds, count = poplib_pass(POP3_PORT, BOX, PASSWORD)
                if count != MESSAGES:
                    raise RuntimeError(f'poplib found {count} messages')
                theirs.append(seconds)
                time.sleep(args.settle)
                seconds, count = raw_pipelined_pass(POP3_PORT, BOX, PASSWORD)
                if count != MESSAGES:
                    raise RuntimeError(f'the raw pass found {count} messages')
                floor.append(seconds)
            desktop.screenshot('after-checks')
        finally:
            if process is not None:
                process.kill()
            desktop.close()
    o, t = statistics.median(ours), statistics.median(theirs)
    print(f'manual check of {MESSAGES} messages, median of {args.rounds} rounds:')
    print(f'  program (command 308 to the count): {o:.3f} s   runs: '
          + ' '.join(f'{v:.3f}' for v in ours))
    print(f'  python poplib (same commands):      {t:.3f} s   runs: '
          + ' '.join(f'{v:.3f}' for v in theirs))
    f = statistics.median(floor)
    print(f'  raw socket, all commands at once:   {f:.3f} s   runs: '
          + ' '.join(f'{v:.3f}' for v in floor))
    print(f'  ratio program / poplib: {o / t:.2f} (goal: at most {RATIO_GOAL}; '
          f'the raw pass, the server\'s own time: {f / t:.2f})')
    print(f'  longest gap between clock repaints during the checks: {max(gaps):.2f} s '
          f'(per round: {" ".join(f"{g:.2f}" for g in gaps)}; goal: under {GAP_GOAL_S} s)')


if __name__ == '__main__':
    main()
