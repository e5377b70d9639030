# The launcher button bar: one 22-pixel button per shown item, in item order, so the
# strip grows with the shown items (up to 64, past the screen's edge); a click runs the
# item's path once; each button shows its item's icon, which sinks by one pixel on a
# sunken face while the mouse button is held on it.
import os
import time

import geometry
from geometry import (BUTTON_SIZE, CLOCK_FACE_WIDTH, MAX_BUTTONS, SKIN_SIZE, STRIP_HEIGHT,
                      strip_width)
from probe import Probe
from program_files import bmp24, launcher_items, settings_file
from vesmira_case import QUIET, VesmiraCase


# Items shown in the click and width cases; every item 1..64 runs the probe with its own
# number, so a button that ran a hidden or neighbouring item would show in the log.
SHOWN = (2, 3, 5, 8, 9, 13, 20, 21, 30, 40, 50, 64)

WINDOWS = 'C:\\windows\\'
SYSTEM = WINDOWS + 'system32\\'
# Wine programs whose icons are pictures of their own, all different (the shell's icons
# by index count as one more source).
REAL_ICONS = [(0, WINDOWS + 'notepad.exe'), (0, WINDOWS + 'regedit.exe'),
              (0, SYSTEM + 'winecfg.exe'), (0, SYSTEM + 'winemine.exe'),
              (0, SYSTEM + 'taskmgr.exe'), (0, 'C:\\Program Files\\Internet Explorer\\iexplore.exe'),
              (0, SYSTEM + 'cmd.exe'), (0, SYSTEM + 'winhlp32.exe'),
              (0, 'C:\\Program Files\\Windows NT\\Accessories\\wordpad.exe'),
              (0, SYSTEM + 'winefile.exe'), (0, SYSTEM + 'msiexec.exe'), (5, SYSTEM + 'shell32.dll')]
MISSING_FILE = 'C:\\nowhere\\missing.exe'

# A flat skin for exact pixel checks: the two button faces share their inside colour and
# differ in their one-pixel frame, so an icon looks the same on either face.
FACE_INSIDE = (100, 110, 120)
RAISED_FRAME = (230, 230, 230)
SUNKEN_FRAME = (30, 30, 30)
# The skin's button faces: the raised one right of the clock face, the pressed one 36
# columns further right.
RAISED_FACE = CLOCK_FACE_WIDTH
SUNKEN_FACE = RAISED_FACE + 36


def flat_skin(x, y):
    for left in (RAISED_FACE, SUNKEN_FACE):
        if left <= x < left + BUTTON_SIZE:
            if x in (left, left + BUTTON_SIZE - 1) or y in (0, STRIP_HEIGHT - 1):
                return RAISED_FRAME if left == RAISED_FACE else SUNKEN_FRAME
            return FACE_INSIDE
    return (0, 120, 0) if x >= RAISED_FACE + BUTTON_SIZE else (20, 20, 20)


def button_x(position):
    """Left edge of button position (1-based) while the launcher box is closed."""
    return geometry.button_left(position - 1)


def button_centre(position):
    return geometry.button_centre(position - 1)


def button_pixels(image, position, dx=0, dy=0, size=BUTTON_SIZE):
    left = button_x(position)
    return tuple(image.pixel(left + dx + x, dy + y) for y in range(size) for x in range(size))


class Buttons(VesmiraCase):
    def numbered_items(self, probe, shown):
        """Items 1..64 running the probe with "item NN"; those in shown have buttons."""
        self.write_commands([(f'item{n:02d}', f'{probe.windows_path} "item {n:02d}"', '')
                             for n in range(1, 65)])
        items = [(n in shown, f'item{n:02d}', f'comment {n}', 0, '') for n in range(1, 65)]
        self.write('vsmrsys.ini', settings_file({'ButtonLauncher': launcher_items(items)}))

    def test_64_shown_items_make_the_strip_1496_wide(self):
        probe = Probe(self)
        self.numbered_items(probe, range(1, 65))
        _, window = self.start_main_window()
        # 1496: wider than the 1024-pixel screen, which the strip runs past.
        width = strip_width(buttons=MAX_BUTTONS)
        got = self.desktop.wait_geometry(window, lambda g: g[2] == width)
        self.assertEqual(got, (0, 0, width, STRIP_HEIGHT))

    def test_only_shown_items_get_buttons(self):
        probe = Probe(self)
        self.numbered_items(probe, SHOWN)
        _, window = self.start_main_window()
        width = strip_width(buttons=len(SHOWN))
        got = self.desktop.wait_geometry(window, lambda g: g[2] == width)
        self.assertEqual(got, (0, 0, width, STRIP_HEIGHT))

    def test_click_runs_the_buttons_item_once(self):
        probe = Probe(self)
        self.numbered_items(probe, SHOWN)
        _, window = self.start_main_window()
        self.desktop.wait_geometry(window, lambda g: g[2] == 352)

        # Button 3 shows the third shown item, item 05.
        self.desktop.click(*button_centre(3))
        self.assertEqual(probe.wait_args(1), [['item 05']])
        time.sleep(QUIET)
        self.assertEqual(probe.args(), [['item 05']], 'one click ran the item more than once')

        # The last button, whose item is the last of all 64.
        self.desktop.click(*button_centre(12))
        self.assertEqual(probe.wait_args(2), [['item 05'], ['item 64']])

    def test_buttons_show_their_items_icons(self):
        # Shown: the twelve real icons, notepad's again, a file that does not exist (the
        # fallback ends at the program's icon 202) and that icon read from vesmira.exe
        # itself (index 1: its icons are 201, 202, 203). Hidden items with other icons sit
        # between them and must not show.
        own_icon = (1, self.folder_windows + '\\vesmira.exe')
        sources = REAL_ICONS + [REAL_ICONS[0], (0, MISSING_FILE), own_icon]
        # Items whose pictures are the same: notepad twice, the fallback and icon 202.
        same = {0: 'notepad', 12: 'notepad', 13: 'icon 202', 14: 'icon 202'}
        hidden = (0, 'none', 'hidden', 8, SYSTEM + 'shell32.dll')
        items = []
        for i, (index, path) in enumerate(sources):
            items.append((1, 'none', f'icon {i + 1}', index, path))
            if i % 4 == 1:
                items.append(hidden)
        self.write('vsmrsys.ini', settings_file({'ButtonLauncher': launcher_items(items)}))
        _, window = self.start_main_window()
        width = strip_width(buttons=len(sources))
        self.assertEqual(self.desktop.wait_geometry(window, lambda g: g[2] == width)[2], width)

        def kind(i):
            return same.get(i, i)

        def pattern_holds(image):
            faces = [button_pixels(image, p + 1) for p in range(len(sources))]
            return all((faces[i] == faces[j]) == (kind(i) == kind(j))
                       for i in range(len(faces)) for j in range(i + 1, len(faces)))

        image = self.desktop.wait_screen('icons', pattern_holds)
        # The strip alone, for people looking at the result.
        strip = os.path.join(self.shots, 'strip-with-icons.png')
        self.desktop.run('convert', image.path, '-crop', f'{width}x{STRIP_HEIGHT}+0+0', '+repage', strip)
        faces = [button_pixels(image, p + 1) for p in range(len(sources))]
        for i in range(len(sources)):
            for j in range(i + 1, len(sources)):
                with self.subTest(first=sources[i], second=sources[j]):
                    self.assertEqual(faces[i] == faces[j], kind(i) == kind(j), image.path)

    def test_held_button_sinks_its_icon_by_one_pixel(self):
        probe = Probe(self)
        self.write_commands([('press', f'{probe.windows_path} "pressed"', '')])
        self.write('skin.bmp', bmp24(*SKIN_SIZE, flat_skin))
        items = [(1, 'press', 'notepad', 0, REAL_ICONS[0][1])]
        self.write('vsmrsys.ini', settings_file({
            'UserWindowData': [('SkinBitmapPath', self.folder_windows + '\\skin.bmp')],
            'ButtonLauncher': launcher_items(items)}))
        self.start_main_window()
        left = button_x(1)

        def icon_pixels(image):
            return sum(1 for y in range(1, BUTTON_SIZE - 1)
                       for x in range(left + 1, left + BUTTON_SIZE - 1)
                       if image.pixel(x, y) != FACE_INSIDE)

        released = self.desktop.wait_screen(
            'released', lambda i: i.pixel(left, 0) == RAISED_FRAME and icon_pixels(i) > 60)
        self.assertEqual(released.pixel(left, 0), RAISED_FRAME,
                         released.describe((left, 0, left + BUTTON_SIZE, STRIP_HEIGHT)))
        self.assertGreater(icon_pixels(released), 60, 'no icon on the button')

        self.desktop.move(*button_centre(1))
        self.desktop.xdotool('mousedown', 1)
        pressed = self.desktop.wait_screen('held', lambda i: i.pixel(left, 0) == SUNKEN_FRAME)
        # Leave the button before letting go, so that the press does not become a click.
        self.desktop.move(500, 300)
        after = self.desktop.wait_screen('left', lambda i: i.pixel(left, 0) == RAISED_FRAME)
        self.desktop.xdotool('mouseup', 1)

        self.assertEqual(pressed.pixel(left, 0), SUNKEN_FRAME, 'the held button is not sunken')
        icon_up = button_pixels(released, 1, 3, 3, 16)
        self.assertEqual(button_pixels(pressed, 1, 4, 4, 16), icon_up,
                         'the held icon is not the released one moved by (1, 1)')
        self.assertNotEqual(button_pixels(pressed, 1, 3, 3, 16), icon_up, 'the icon did not move')
        # Around the moved icon the held face is its plain inside.
        inside = range(1, BUTTON_SIZE - 1)
        outside = [(x, y) for y in inside for x in inside
                   if not (4 <= x < 20 and 4 <= y < 20)]
        self.assertEqual({pressed.pixel(left + x, y) for x, y in outside}, {FACE_INSIDE})
        self.assertEqual(button_pixels(after, 1), button_pixels(released, 1),
                         'the button did not come back up when the pointer left it')

        # The same button clicked runs its item: the press above was a real one. The click
        # is handled after the release off the button, so once it has run, a run of that
        # release would have started too.
        self.desktop.click(*button_centre(1))
        self.assertEqual(probe.wait_args(1), [['pressed']])
        time.sleep(QUIET)
        self.assertEqual(probe.args(), [['pressed']], 'a press released off the button ran the item')
