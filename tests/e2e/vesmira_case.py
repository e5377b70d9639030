# Base of every end-to-end case: a fresh X display, a fresh program folder holding
# vesmira.exe and the files the case prepares, and cleanup that always ends both.
import os
import shutil
import time
import unittest

from desktop import Desktop
from geometry import CLOSE_BUTTON, EDIT_FIELD, STRIP_HEIGHT, TOGGLE_SPOT
from program_files import TITLE_REGEX, command_list
from wine import (SOURCE_DIR, WIN64_BIN, WineProcess, end_desktop_processes, prefix_processes,
                  wait_for, windows_path)

OUT_DIR = os.environ.get('VSMR_E2E_OUT', os.path.join(SOURCE_DIR, 'build', 'host'))
# The program under test: the win64 build, or the one VSMR_PROGRAM names (the shipped
# 32-bit build in the e2e32 cases).
PROGRAM = os.environ.get('VSMR_PROGRAM') or os.path.join(WIN64_BIN, 'vesmira.exe')
# Seconds a check waits for something that must not happen (a run, a menu), counted from
# a sign that the program has handled the input that might have caused it.
QUIET = 2
COMMAND_EDITOR = '^コマンドランチャーアイテム設定$'


def end_programs_of_earlier_tests(timeout=10):
    """Ends any vesmira.exe or probe.exe still alive in the prefix and waits until they
    are gone: a copy that outlived its test would hold the single-instance mutex, and the
    next test's program would hand its command line over and exit."""
    def leftovers():
        return [pid for pid, cmdline in prefix_processes().items()
                if 'vesmira.exe' in cmdline.lower() or 'probe.exe' in cmdline.lower()]
    for pid in leftovers():
        try:
            os.kill(pid, 9)
        except ProcessLookupError:
            pass
    wait_for(lambda: not leftovers(), timeout)


class VesmiraCase(unittest.TestCase):
    def setUp(self):
        if not os.path.isfile(PROGRAM):
            self.fail(f'{PROGRAM} has not been built')
        # One folder per test method, so a case with several keeps the evidence of each.
        case = self.id().split('.')[0].removeprefix('test_')
        method = self._testMethodName.removeprefix('test_')
        self.shots = os.path.join(OUT_DIR, 'e2e-shots', case, method)
        self.folder = os.path.join(OUT_DIR, 'e2e-runs', case, method)
        for path in (self.shots, self.folder):
            shutil.rmtree(path, ignore_errors=True)
            os.makedirs(path)
        shutil.copy(PROGRAM, self.folder)
        self.folder_windows = windows_path(self.folder)
        end_desktop_processes()
        end_programs_of_earlier_tests()
        self.desktop = Desktop(self.shots)
        self.addCleanup(self.desktop.close)
        self.addCleanup(end_desktop_processes)

    # --- files ---------------------------------------------------------------------

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data):
        with open(self.path(name), 'wb') as f:
            f.write(data)

    def read(self, name):
        with open(self.path(name), 'rb') as f:
            return f.read()

    def write_commands(self, entries):
        self.write('vsmrcmd.dat', command_list(entries))

    # --- the program -----------------------------------------------------------------

    def start(self, *args):
        """Starts vesmira.exe from the case's folder; it is killed at cleanup if still running."""
        log = os.path.join(self.shots, 'wine.log')
        process = WineProcess(self.path('vesmira.exe'), list(args), self.folder,
                              self.desktop.display, log)
        self.addCleanup(process.kill)
        return process

    def start_main_window(self):
        """Starts the first copy and returns (process, main window id).

        Under load, a start right after an earlier test's copy was ended has now and then
        ended at once with exit code 0 and no window: what a start does when it finds the
        single-instance name still held (it hands its empty command line over to nobody and
        ends); most likely the Wine server had not yet let go of the handles of a copy
        killed a moment before. Such a start is tried once more."""
        process, window = self.start_with_window(self.start, TITLE_REGEX)
        # The first paint follows the map; wait until the face is there before acting.
        wait_for(lambda: self.desktop.geometry(window)[2] > 0, 5)
        self.wait_settled(window)
        return process, window

    def wait_settled(self, window, still=0.3, timeout=5):
        """The launcher buttons and the box follow the first paint and widen the strip:
        waits until its geometry has not changed for `still` seconds."""
        last, since = self.desktop.geometry(window), time.monotonic()
        deadline = since + timeout
        while time.monotonic() < deadline and time.monotonic() - since < still:
            time.sleep(0.05)
            now = self.desktop.geometry(window)
            if now != last:
                last, since = now, time.monotonic()

    def start_with_window(self, start, title_regex, timeout=45):
        """Calls start() (which returns a WineProcess) until a window titled title_regex
        shows: (process, window id). A start that ends with code 0 and no window is tried
        once more; a start still running without a window after `timeout` seconds (the
        first start of a case, with the Wine desktop coming up while other suites load both
        cores, has taken over 20) fails with what was on the screen and in the prefix."""
        for attempt in (1, 2):
            process = start()
            window = wait_for(lambda: self.desktop.find_windows(title_regex)[:1]
                              or not process.running(), timeout)
            window = window[0] if isinstance(window, list) else None
            if window is not None or process.running() or process.wait(0) != 0 or attempt == 2:
                break
            end_desktop_processes()
            end_programs_of_earlier_tests()
        if window is None:
            self.desktop.screenshot('no-window')
            code = None if process.running() else process.wait(0)
            self.fail(f'no window titled {title_regex} appeared after {attempt} start(s); '
                      f'exit code: {code}; '
                      f'processes in the prefix: {sorted(prefix_processes().values())}')
        return process, window

    def wait_new_window(self, before, pointer):
        """A window shown now that is not among the ids `before` (a popup menu), or None
        after 50 looks. Between looks the pointer is moved to `pointer`, where it already
        is: a short pause that keeps it still."""
        for _ in range(50):
            new = set(self.desktop.find_windows('')) - before
            if new:
                return new.pop()
            self.desktop.move(*pointer)
        return None

    def close_with_button(self, process, window):
        """Clicks the close button and returns the exit code (fails if it does not exit)."""
        x, y, width, _ = self.desktop.geometry(window)
        self.desktop.click(x + width + CLOSE_BUTTON[0], y + CLOSE_BUTTON[1])
        code = process.wait(20)
        if code is None:
            self.desktop.screenshot('still-running')
            self.fail('the program did not exit after a click on its close button')
        return code

    # --- the command editor ------------------------------------------------------------

    def fill_command_editor(self, path, comment, name):
        """Waits for the command editor and types path, comment and name into it (the path
        field has the focus, the comment is three fields on); OK is left to the caller."""
        editor = self.desktop.wait_window(COMMAND_EDITOR, timeout=10)
        self.assertIsNotNone(editor, 'the command editor did not open')
        self.desktop.focus(editor)
        self.desktop.type_text(path)
        self.desktop.key('Tab', 'Tab', 'Tab')
        self.desktop.type_text(comment)
        self.desktop.key('Tab')
        self.desktop.type_text(name)

    # --- the launcher box --------------------------------------------------------------

    def toggle_launcher(self, window, width):
        """Clicks the toggle spot and waits until the strip is width pixels wide."""
        self.desktop.click(*TOGGLE_SPOT)
        got = self.desktop.wait_geometry(window, lambda g: g[2] == width, timeout=5)
        self.assertEqual(got, (0, 0, width, STRIP_HEIGHT))

    def click_edit_field(self, window):
        """Clicks into the box's edit field until X focus is on the strip.

        Under Wine on a display without a window manager, a program that the shell
        started and that ended takes the X input focus to the root window (a moment
        after it is gone), and the box's edit field loses the keyboard; a click into the
        field brings it back, as a user would do."""
        for _ in range(5):
            time.sleep(0.4)
            self.desktop.click(*EDIT_FIELD)
            time.sleep(0.2)
            if self.desktop.xdotool('getwindowfocus').strip() == str(window):
                return
        self.fail('the box\'s edit field does not keep the keyboard focus')
