# A skin file of another size is scaled to 146 x 22: a 292 x 44 skin whose clock-face
# part has four coloured quarters shows each quarter, halved, on the clock face.
from geometry import CLOCK_FACE_WIDTH, SKIN_SIZE, STRIP_HEIGHT
from program_files import bmp24, settings_file
from vesmira_case import VesmiraCase

TOP_LEFT = (255, 0, 255)
TOP_RIGHT = (0, 128, 255)
BOTTOM = (255, 128, 0)
ELSEWHERE = (40, 40, 40)
SCALE = 2  # the skin file is twice the size the program scales it to


def skin_colour(x, y):
    face_width = CLOCK_FACE_WIDTH * SCALE
    if x >= face_width:  # right of the clock face: buttons
        return ELSEWHERE
    if y >= STRIP_HEIGHT * SCALE // 2:
        return BOTTOM
    return TOP_LEFT if x < face_width // 2 else TOP_RIGHT


class Skin(VesmiraCase):
    def test_skin_of_double_size_is_scaled(self):
        self.write('skin.bmp', bmp24(SKIN_SIZE[0] * SCALE, SKIN_SIZE[1] * SCALE, skin_colour))
        skin = self.folder_windows + '\\skin.bmp'
        self.write('vsmrsys.ini', settings_file({'UserWindowData': [('SkinBitmapPath', skin)]}))
        _, window = self.start_main_window()
        # Sample points away from the clock text (x 21-70, y 5-17) and the quarter borders.
        samples = {(2, 2): TOP_LEFT, (33, 2): TOP_LEFT, (40, 2): TOP_RIGHT,
                   (72, 3): TOP_RIGHT, (2, 19): BOTTOM, (72, 20): BOTTOM}
        image = self.desktop.wait_screen(
            'skinned', lambda i: all(i.pixel(*p) == c for p, c in samples.items()))
        for point, colour in samples.items():
            with self.subTest(point=point):
                self.assertEqual(image.pixel(*point), colour,
                                 image.describe((0, 0, CLOCK_FACE_WIDTH, STRIP_HEIGHT)))
