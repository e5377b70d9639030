# Starting the Windows programs under Wine: the project's Wine environment (private
# prefix, ja_JP locale, unmanaged windows), output logged to files, processes ended by id.
import os
import subprocess
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.environ.get('VSMR_SOURCE_DIR', os.path.normpath(os.path.join(HERE, '..', '..')))
WIN64_BIN = os.environ.get('VSMR_WIN64_BIN', os.path.join(SOURCE_DIR, 'build', 'win64', 'bin'))
# The end-to-end runs use a prefix of their own, so that no other test's windows, named
# mutex or hot keys share the Wine desktop with the program under test.
WINE_BUILD = os.environ.get('VSMR_E2E_WINE', os.path.join(SOURCE_DIR, 'build', 'e2e-wine'))

_wine_env = None


def wine_env():
    """The environment of scripts/wine-env.sh, with the prefix prepared and its server up."""
    global _wine_env
    if _wine_env is None:
        scripts = os.path.join(SOURCE_DIR, 'scripts')
        base = dict(os.environ, VSMR_BUILD=WINE_BUILD)
        os.makedirs(WINE_BUILD, exist_ok=True)
        with open(os.path.join(WINE_BUILD, 'prefix.log'), 'ab') as log:
            subprocess.run([os.path.join(scripts, 'wine-prefix.sh')], env=base,
                           stdin=subprocess.DEVNULL, stdout=log, stderr=log, check=True,
                           timeout=300)
        out = subprocess.run(['bash', '-c', f'source "{scripts}/wine-env.sh" && env -0'],
                             env=base, stdout=subprocess.PIPE, check=True).stdout
        _wine_env = dict(item.split('=', 1) for item in out.decode().split('\0') if '=' in item)
    return dict(_wine_env)


def windows_path(unix_path):
    """The path as a program under Wine sees it (through drive Z:)."""
    return 'Z:' + os.path.abspath(unix_path).replace('/', '\\')


class WineProcess:
    """One Windows program started under Wine on a given X display."""

    def __init__(self, exe, args, cwd, display, log_path):
        env = wine_env()
        env['DISPLAY'] = display
        self.log_path = log_path
        # Wine's helper processes inherit standard output: never a pipe, always a file.
        with open(log_path, 'ab') as log:
            self._process = subprocess.Popen([env['WINE'], exe, *args], cwd=cwd, env=env,
                                             stdin=subprocess.DEVNULL, stdout=log,
                                             stderr=subprocess.STDOUT)
        self.pid = self._process.pid

    def running(self):
        return self._process.poll() is None

    def wait(self, timeout):
        """The exit code, or None when the program is still running after timeout seconds."""
        try:
            return self._process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        if self._process.poll() is None:
            self._process.kill()
            self._process.wait()


def prefix_processes():
    """{pid: command line} of the Windows processes running in this prefix."""
    prefix = ('WINEPREFIX=' + wine_env()['WINEPREFIX']).encode()
    found = {}
    for entry in os.listdir('/proc'):
        if not entry.isdigit():
            continue
        try:
            with open(f'/proc/{entry}/environ', 'rb') as f:
                if prefix not in f.read().split(b'\0'):
                    continue
            with open(f'/proc/{entry}/cmdline', 'rb') as f:
                found[int(entry)] = f.read().replace(b'\0', b' ').decode(errors='replace').strip()
        except OSError:
            continue
    return found


def end_desktop_processes():
    """Ends Wine's desktop process (explorer.exe), which the test's program started on the
    test's display: a later program must not find a desktop tied to a display that is gone."""
    def desktops():
        return [pid for pid, cmdline in prefix_processes().items()
                if cmdline.lower().startswith('c:\\windows\\system32\\explorer.exe')]
    for pid in desktops():
        try:
            os.kill(pid, 9)
        except ProcessLookupError:
            pass
    wait_for(lambda: not desktops(), 10)


def wait_for(predicate, timeout, interval=0.1):
    """Polls predicate until it returns a true value or timeout passes; returns the last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(interval)
