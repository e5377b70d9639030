"""The cases' strip geometry (geometry.py) against the program's own layout code.

Usage: geometry_test.py STRIP_GEOMETRY_PROGRAM
The program prints what the layout code computes; a figure changed on one side only
fails here, on the host, before any case clicks the wrong place under Wine."""
import subprocess
import sys
import unittest

import geometry


def layout(program, points):
    """The program's figures as {name: tuple of ints} and its answers for `points` as
    {(x, y): set of area names}."""
    args = [program] + [str(c) for point in points for c in point]
    figures, areas = {}, {}
    for line in subprocess.run(args, check=True, capture_output=True, text=True).stdout.splitlines():
        name, *values = line.split()
        if name == 'POINT':
            areas[(int(values[0]), int(values[1]))] = set(values[2:])
        else:
            figures[name] = tuple(int(v) for v in values)
    return figures, areas


class Geometry(unittest.TestCase):
    PROGRAM = None

    @classmethod
    def setUpClass(cls):
        points = (geometry.TOGGLE_SPOT, geometry.GRIP, geometry.CLOCK_TEXT_POINT)
        cls.figures, cls.areas = layout(cls.PROGRAM, points)

    def test_every_figure_matches(self):
        # Names the layout prints with the value geometry.py must hold for them.
        launcher = geometry.DEFAULT_LAUNCHER_LENGTH
        expected = {
            'OPEN_THREE_BUTTONS': (geometry.button_left(1, launcher),
                                   geometry.strip_width(buttons=3, launcher=launcher)),
        }
        for name, values in self.figures.items():
            with self.subTest(name):
                if name in expected:
                    mine = expected[name]
                else:
                    self.assertTrue(hasattr(geometry, name), f'geometry.py lacks {name}')
                    mine = getattr(geometry, name)
                    mine = mine if isinstance(mine, tuple) else (mine,)
                self.assertEqual(mine, values)
        self.assertIn('CLOCK_TEXT', self.figures)

    def test_points_lie_in_their_areas(self):
        rows = [
            # name, point, areas the program must place it in (and no other)
            ('toggle spot', geometry.TOGGLE_SPOT, {'toggle'}),
            ('grip, away from the toggle spot', geometry.GRIP, {'grip'}),
            ('clock text point', geometry.CLOCK_TEXT_POINT, {'clock_text'}),
        ]
        for name, point, areas in rows:
            with self.subTest(name):
                self.assertEqual(self.areas[point], areas)

    def test_points_relative_to_the_strip(self):
        x, y = geometry.CLOSE_BUTTON  # from the right edge, in the close button
        self.assertTrue(-geometry.SMALL_BUTTON_WIDTH <= x < 0)
        self.assertTrue(0 <= y < geometry.CLOSE_BUTTON_HEIGHT)
        x, y = geometry.EDIT_FIELD  # in the open launcher box
        self.assertTrue(geometry.CLOCK_FACE_WIDTH <= x
                        < geometry.CLOCK_FACE_WIDTH + geometry.DEFAULT_LAUNCHER_LENGTH)
        self.assertTrue(0 <= y < geometry.STRIP_HEIGHT)


if __name__ == '__main__':
    Geometry.PROGRAM = sys.argv.pop(1)
    unittest.main()
