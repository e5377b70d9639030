# The main popup menu: a right click on the clock text shows it at the pointer with its
# seven items (six texts and a separator after the fourth); choosing
# "バージョン情報(&A)" opens the version box, which Escape does not close and Enter does.
from geometry import CLOCK_TEXT_POINT
from vesmira_case import QUIET, VesmiraCase

VERSION_TITLE = '^バージョン情報$'


def menu_rows(image, geometry):
    """(text bands, separator rows) inside a menu window on the screen: a text band is a
    run of rows holding dark pixels; a separator is a row of one light, non-white colour."""
    x0, y0, width, height = geometry
    left, right = x0 + 3, x0 + width - 3
    bands, separators, start = [], [], None
    for y in range(y0 + 2, y0 + height - 2):
        row = [image.pixel(x, y) for x in range(left, right)]
        dark = any(sum(p) < 200 for p in row)
        if dark and start is None:
            start = y
        elif not dark and start is not None:
            bands.append((start, y))
            start = None
        common = max(set(row), key=row.count)
        if not dark and common != (255, 255, 255) and row.count(common) > 0.8 * len(row):
            separators.append(y)
    if start is not None:
        bands.append((start, y0 + height - 2))
    return bands, separators


class MainMenu(VesmiraCase):
    def test_right_click_menu_and_version_box(self):
        _, window = self.start_main_window()
        before = set(self.desktop.find_windows(''))
        self.desktop.click(*CLOCK_TEXT_POINT, button=3)
        menu = self.wait_new_window(before, CLOCK_TEXT_POINT)
        self.assertIsNotNone(menu, 'no popup menu appeared')
        geometry = self.desktop.geometry(menu)
        # Top-left corner at the pointer.
        self.assertEqual(geometry[:2], CLOCK_TEXT_POINT)

        image = self.desktop.wait_screen('menu', lambda i: len(menu_rows(i, geometry)[0]) == 6)
        bands, separators = menu_rows(image, geometry)
        self.assertEqual(len(bands), 6, f'{bands} in {image.path}')
        self.assertTrue(separators, f'no separator in {image.path}')
        self.assertTrue(all(bands[3][1] <= s < bands[4][0] for s in separators),
                        f'separators {separators} not between the fourth and fifth item')

        version_band = bands[1]
        self.desktop.click(geometry[0] + geometry[2] // 2, sum(version_band) // 2)
        box = self.desktop.wait_window(VERSION_TITLE, timeout=10)
        self.assertIsNotNone(box, 'the version box did not open')
        self.desktop.screenshot('version')
        self.desktop.focus(box)
        # Escape changes nothing that shows, so no sign of its handling can come first.
        self.desktop.key('Escape')
        self.assertFalse(self.desktop.wait_gone(VERSION_TITLE, QUIET), 'Escape closed the box')
        self.desktop.key('Return')
        self.assertTrue(self.desktop.wait_gone(VERSION_TITLE, 5), 'Enter did not close the box')
        self.assertNotIn(menu, self.desktop.find_windows(''), 'the menu is still shown')
