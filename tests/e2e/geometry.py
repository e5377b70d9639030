# The clock strip's geometry in client coordinates, as the cases click and measure it.
# geometry_test.py checks every figure here against the program's own layout code.

STRIP_HEIGHT = 22
CLOCK_FACE_WIDTH = 74  # the launcher box, or else the first button, starts right of it
BUTTON_SIZE = 22  # launcher buttons are square
SMALL_BUTTON_WIDTH = 14  # the close and tray buttons' column at the right end
CLOSE_BUTTON_HEIGHT = 12
MAX_BUTTONS = 64
SNAP_DISTANCE = 8
DEFAULT_LAUNCHER_LENGTH = 100  # the launcher box's width when the settings leave it unset

CLOCK_TEXT = (18, 0, 74, 22)  # left, top, right, bottom (exclusive): where the time is drawn
CLOCK_TEXT_POINT = (40, 11)  # inside the clock text, where a right click opens the main menu
TOGGLE_SPOT = (4, 4)  # the launcher toggle spot at the clock face's top left
GRIP = (14, 11)  # the grip strip, away from the toggle spot
CLOSE_BUTTON = (-7, 5)  # from the strip's right edge
EDIT_FIELD = (110, 11)  # inside the launcher box's edit field while the box is open

# A skin bitmap is scaled to this size: the clock face, then the launcher box's frame.
SKIN_SIZE = (146, STRIP_HEIGHT)


def strip_width(buttons=0, launcher=0):
    """The strip's width with `buttons` launcher buttons and the launcher box `launcher`
    pixels wide (0: closed)."""
    return CLOCK_FACE_WIDTH + launcher + BUTTON_SIZE * buttons + SMALL_BUTTON_WIDTH


CLOSED = strip_width()  # no buttons, the launcher box closed
OPEN = strip_width(launcher=DEFAULT_LAUNCHER_LENGTH)  # no buttons, the box open


def button_left(position, launcher=0):
    """Client x of the left edge of the button at `position` (from 0)."""
    return CLOCK_FACE_WIDTH + launcher + BUTTON_SIZE * position


def button_centre(position, launcher=0):
    """Client point in the middle of the button at `position`."""
    return (button_left(position, launcher) + BUTTON_SIZE // 2, STRIP_HEIGHT // 2)
