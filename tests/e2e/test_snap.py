# Dragging the clock strip by its grip: it follows the pointer, and an edge brought
# within 8 pixels of the work area's edge snaps flush (the bare display's work area
# is the whole 1024 x 768 screen).
from desktop import SCREEN_WIDTH
from geometry import CLOSED, GRIP, STRIP_HEIGHT
from vesmira_case import VesmiraCase


class Snap(VesmiraCase):
    def drag_to(self, window, left, top):
        """Drags by the grip so that, without snapping, the window's corner lands on (left, top)."""
        x, y, _, _ = self.desktop.geometry(window)
        self.desktop.drag((x + GRIP[0], y + GRIP[1]), (left + GRIP[0], top + GRIP[1]))

    def test_drag_follows_pointer_and_snaps_to_edges(self):
        _, window = self.start_main_window()
        width = CLOSED
        # (would-be left, top) -> expected (left, top); each row starts where the last ended.
        moves = [
            ('free move', (500, 100), (500, 100)),
            ('right edge 4 px away', (SCREEN_WIDTH - width - 4, 100), (SCREEN_WIDTH - width, 100)),
            ('left edge 5 px in', (5, 200), (0, 200)),
            ('left edge 7 px out', (-7, 300), (0, 300)),
            ('right edge 8 px out', (SCREEN_WIDTH - width + 8, 400), (SCREEN_WIDTH - width, 400)),
            ('9 px from left: no snap', (9, 150), (9, 150)),
            ('top edge 6 px down', (300, 6), (300, 0)),
        ]
        for name, target, expected in moves:
            with self.subTest(name):
                self.drag_to(window, *target)
                got = self.desktop.wait_geometry(window, lambda g: g[:2] == expected, timeout=3)
                self.desktop.screenshot(name.replace(' ', '-').replace(':', ''))
                self.assertEqual(got, expected + (width, STRIP_HEIGHT))
