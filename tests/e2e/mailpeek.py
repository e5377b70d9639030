# The mail window read from outside by mailpeek.exe (tests/programs): its status line and
# the rows of its message list as the list control holds them, and the time a check
# takes from its window command to the count in the status line.
import os
from dataclasses import dataclass

from program_files import INSTANCE_NAME
from wine import WIN64_BIN, WineProcess, windows_path

# The list's items are read through structures written into the program's memory, so
# mailpeek must be built for the program's word size (VSMR_MAILPEEK for the 32-bit one).
MAILPEEK = os.environ.get('VSMR_MAILPEEK') or os.path.join(WIN64_BIN, 'mailpeek.exe')
MAIL_CHECK_COMMAND = 308  # the main menu's "メールチェック(&M)"


@dataclass
class MailRow:
    account: str
    sender: str
    subject: str
    date: str
    size: str
    image: int


@dataclass
class MailWindowText:
    status: str
    rows: list


class MailPeek:
    """Runs mailpeek.exe on the desktop's display; `folder` takes its result file."""

    def __init__(self, display, folder, log_path):
        self.display = display
        self.out = os.path.join(folder, 'mailpeek.txt')
        self.log_path = log_path

    def _run(self, *args, timeout=60):
        if os.path.exists(self.out):
            os.remove(self.out)
        process = WineProcess(MAILPEEK, [windows_path(self.out), *map(str, args)],
                              os.path.dirname(self.out), self.display, self.log_path)
        code = process.wait(timeout)
        if code is None:
            process.kill()
            raise RuntimeError(f'mailpeek {args} did not end within {timeout} s')
        if code != 0:
            raise RuntimeError(f'mailpeek {args} failed with exit code {code}')
        with open(self.out, 'rb') as f:
            return [line.split('\t') for line in f.read().decode('cp932').split('\r\n') if line]

    def read(self):
        """The mail window's status line and rows, or None when there is no mail window."""
        lines = self._run('read')
        if lines == [['none']]:
            return None
        status = lines[0][1]
        rows = [MailRow(*fields[1:6], int(fields[6])) for fields in lines[1:]]
        return MailWindowText(status, rows)

    def command(self, command_id):
        """Posts the window command to the main window, as its menu would."""
        self._run('command', INSTANCE_NAME, command_id)

    def time_check(self, timeout_ms):
        """(milliseconds, status text) from posting the mail check command to the first
        count text in the status line; milliseconds is None at the time limit."""
        [[ms, status]] = self._run('time', INSTANCE_NAME, MAIL_CHECK_COMMAND, timeout_ms,
                                   timeout=timeout_ms / 1000 + 60)
        return (None if ms == 'timeout' else float(ms)), status
