# A private X display (Xvfb) with the means a person has in front of it: finding
# windows by title, moving the mouse, clicking, typing, and looking at the screen.
import os
import re
import subprocess
import time

from image import Image

SCREEN_WIDTH = 1024
SCREEN_HEIGHT = 768


class Desktop:
    """One Xvfb server on a display number of its own, stopped by close()."""

    def __init__(self, shots_dir):
        self.shots_dir = shots_dir
        os.makedirs(shots_dir, exist_ok=True)
        self._shot_count = 0
        read_end, write_end = os.pipe()
        log = open(os.path.join(shots_dir, 'xvfb.log'), 'wb')
        # -displayfd lets the server pick a free display and tell us once it accepts clients.
        self._server = subprocess.Popen(
            ['Xvfb', '-displayfd', str(write_end), '-screen', '0',
             f'{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24', '-nolisten', 'tcp'],
            pass_fds=[write_end], stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        os.close(write_end)
        log.close()
        number = b''
        deadline = time.monotonic() + 20
        while not number.endswith(b'\n'):
            if time.monotonic() > deadline:
                os.close(read_end)
                self.close()
                raise RuntimeError('Xvfb did not report a display number')
            chunk = os.read(read_end, 16)
            if not chunk:
                os.close(read_end)
                self.close()
                raise RuntimeError('Xvfb exited before reporting a display number')
            number += chunk
        os.close(read_end)
        self.display = ':' + number.decode().strip()

    def close(self):
        if self._server.poll() is None:
            self._server.terminate()
            try:
                self._server.wait(5)
            except subprocess.TimeoutExpired:
                self._server.kill()
                self._server.wait()

    # --- running X tools -------------------------------------------------------

    def env(self):
        env = dict(os.environ)
        env['DISPLAY'] = self.display
        return env

    def run(self, *args, check=True, timeout=20):
        result = subprocess.run(list(args), env=self.env(), stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise RuntimeError(f'{args} failed ({result.returncode}): '
                               f'{result.stderr.decode(errors="replace")}')
        return result.stdout.decode(errors='replace')

    def xdotool(self, *args, check=True):
        return self.run('xdotool', *[str(a) for a in args], check=check)

    # --- windows ---------------------------------------------------------------

    def find_windows(self, title_regex):
        """Ids of the visible windows whose title matches the regular expression."""
        out = self.xdotool('search', '--onlyvisible', '--name', title_regex, check=False)
        return [int(line) for line in out.split()]

    def wait_window(self, title_regex, timeout=20):
        """Polls until a window with the title is shown; its id, or None at the time limit."""
        deadline = time.monotonic() + timeout
        while True:
            ids = self.find_windows(title_regex)
            if ids:
                return ids[0]
            if time.monotonic() > deadline:
                return None
            time.sleep(0.1)

    def wait_gone(self, title_regex, timeout=10):
        """Polls until no window with the title is shown; False at the time limit."""
        deadline = time.monotonic() + timeout
        while self.find_windows(title_regex):
            if time.monotonic() > deadline:
                return False
            time.sleep(0.1)
        return True

    def geometry(self, window):
        """(x, y, width, height) of the window on the screen."""
        out = self.xdotool('getwindowgeometry', '--shell', window)
        values = dict(re.findall(r'^(\w+)=(-?\d+)$', out, re.MULTILINE))
        return (int(values['X']), int(values['Y']), int(values['WIDTH']), int(values['HEIGHT']))

    def wait_geometry(self, window, predicate, timeout=10):
        """Polls the window's geometry until predicate(geometry) holds; returns the last one."""
        deadline = time.monotonic() + timeout
        while True:
            geometry = self.geometry(window)
            if predicate(geometry) or time.monotonic() > deadline:
                return geometry
            time.sleep(0.1)

    def focus(self, window):
        # No window manager: activation is impossible, X focus is given directly.
        self.xdotool('windowfocus', '--sync', window)

    # --- input -------------------------------------------------------------------

    def move(self, x, y):
        # Not --sync: that waits for a motion event, which never comes (for seconds) when
        # the pointer is already there. xdotool flushes before it exits, so later input
        # from the next call follows this move.
        self.xdotool('mousemove', x, y)
        time.sleep(0.05)

    def click(self, x, y, button=1):
        self.move(x, y)
        self.xdotool('click', button)

    def drag(self, start, end, steps=12):
        """Presses the left button at start, moves in steps to end, releases there."""
        self.move(*start)
        self.xdotool('mousedown', 1)
        time.sleep(0.2)
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            self.xdotool('mousemove', x, y)
            time.sleep(0.05)
        time.sleep(0.2)
        self.xdotool('mouseup', 1)

    def type_text(self, text):
        self.xdotool('type', '--delay', 40, text)

    def key(self, *keys):
        self.xdotool('key', '--delay', 60, *keys)

    # --- looking -------------------------------------------------------------------

    def screenshot(self, name, path=None):
        """Saves the whole screen as <shots>/<nn>-<name>.png and returns it as an Image."""
        if path is None:
            self._shot_count += 1
            path = os.path.join(self.shots_dir, f'{self._shot_count:02d}-{name}.png')
        self.run('import', '-window', 'root', path)
        ppm = subprocess.run(['convert', path, 'ppm:-'], stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, check=True, timeout=20).stdout
        return Image.from_ppm(ppm, path)

    def wait_screen(self, name, predicate, timeout=10):
        """Takes screenshots until predicate(image) holds; returns the last image."""
        self._shot_count += 1
        path = os.path.join(self.shots_dir, f'{self._shot_count:02d}-{name}.png')
        deadline = time.monotonic() + timeout
        while True:
            image = self.screenshot(name, path)
            if predicate(image) or time.monotonic() > deadline:
                return image
            time.sleep(0.3)
