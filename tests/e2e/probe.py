# The probe (tests/programs/probe.cpp) copied into a case's folder: every run appends
# "<command line> TAB <working directory> CR LF" to probe.log beside it.
import os
import shutil
import time
from dataclasses import dataclass

from wine import WIN64_BIN, prefix_processes, wait_for

PROBE = os.path.join(WIN64_BIN, 'probe.exe')


@dataclass
class ProbeRun:
    command_line: str
    directory: str

    @property
    def args(self):
        """The arguments after the program, split as the C runtime splits a command line."""
        return split_command_line(self.command_line)[1:]


def split_command_line(line):
    args, current, quoted, have_arg, i = [], [], False, False, 0
    while i < len(line):
        c = line[i]
        if c == '\\':
            run = len(line[i:]) - len(line[i:].lstrip('\\'))
            if line[i + run:i + run + 1] == '"':
                current.append('\\' * (run // 2))
                if run % 2:
                    current.append('"')
                    i += run + 1
                else:
                    i += run
                have_arg = True
                continue
            current.append('\\' * run)
            i += run
            have_arg = True
            continue
        if c == '"':
            quoted = not quoted
            have_arg = True
        elif c in ' \t' and not quoted:
            if have_arg:
                args.append(''.join(current))
            current, have_arg = [], False
        else:
            current.append(c)
            have_arg = True
        i += 1
    if have_arg:
        args.append(''.join(current))
    return args


class Probe:
    def __init__(self, case):
        if not os.path.isfile(PROBE):
            case.fail(f'{PROBE} has not been built')
        shutil.copy(PROBE, case.folder)
        self.windows_path = case.folder_windows + '\\probe.exe'
        self.log = os.path.join(case.folder, 'probe.log')

    def runs(self):
        try:
            with open(self.log, 'rb') as f:
                text = f.read().decode('cp932')
        except FileNotFoundError:
            return []
        return [ProbeRun(*line.split('\t', 1)) for line in text.split('\r\n') if line]

    def args(self):
        return [run.args for run in self.runs()]

    def wait_args(self, count, timeout=10):
        """The argument lists of the runs so far, once there are at least count (or at
        timeout), and no probe is running any more."""
        deadline = time.monotonic() + timeout
        while len(self.runs()) < count and time.monotonic() < deadline:
            time.sleep(0.1)
        wait_for(lambda: not any('probe.exe' in cmdline.lower()
                                 for cmdline in prefix_processes().values()),
                 max(0.0, deadline - time.monotonic()))
        return self.args()
