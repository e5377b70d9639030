# The files a Vesmira folder holds, written and expected byte for byte: the settings
# file and the command list are Shift-JIS text with CR LF line ends; skins are BMPs.
import os
import struct

from wine import SOURCE_DIR

INSTANCE_NAME = 'Vesmira2002(Ver2.69.53(2.7--) Build291)'
# xdotool takes a regular expression; the instance name has parentheses and dots.
TITLE_REGEX = '^' + ''.join('\\' + c if c in '().' else c for c in INSTANCE_NAME) + '$'
DEFAULT_CLOCK_COLOUR = (0, 255, 64)
STATUS_COLOUR = (255, 255, 0)
FIRST_START_FILE = os.path.join(SOURCE_DIR, 'tests', 'settings', 'data', 'first_start_vsmrsys.ini')


def cp932_lines(lines):
    """Lines of text as the program's files hold them: CP932 bytes, each ending in CR LF."""
    return b''.join(line.encode('cp932') + b'\r\n' for line in lines)


def command_list(entries):
    """vsmrcmd.dat bytes for (name, body, comment) entries, in order."""
    return cp932_lines(f'{name}\t{body}\t{comment}' for name, body, comment in entries)


def settings_file(sections):
    """vsmrsys.ini bytes for {section: [(key, value), ...]} in the given order."""
    lines = []
    for section, keys in sections.items():
        lines.append(f'[{section}]')
        lines.extend(f'{key}={value}' for key, value in keys)
    return cp932_lines(lines)


def launcher_items(items, hidden_path='not found'):
    """The [ButtonLauncher] keys for all 64 items: items holds (shown, path, comment,
    icon index, icon path) for items 1, 2, ...; the rest are hidden and run hidden_path."""
    keys = []
    for n in range(1, 65):
        if n <= len(items):
            shown, path, comment, icon_index, icon_path = items[n - 1]
        else:
            shown, path, comment, icon_index, icon_path = 0, hidden_path, '', 0, ''
        keys.append((f'Launcher{n:02d}Data', f'{int(shown)}\t{path}\t{comment}'))
        keys.append((f'Launcher{n:02d}Icon', f'{icon_index}\t{icon_path}'))
    return keys


def first_start_settings(program_dir_windows):
    """The settings file that a first start without files leaves at exit, for a 1024 x 768
    work area: the repository's one first-start file, written for a program in C:\\Vesmira,
    with that folder replaced by the program's own."""
    with open(FIRST_START_FILE, 'rb') as f:
        return f.read().replace(b'C:\\Vesmira\\', program_dir_windows.encode('cp932') + b'\\')


def bmp24(width, height, colour_at):
    """A bottom-up 24-bit BMP; colour_at(x, y) gives (red, green, blue) with y from the top."""
    row_size = (3 * width + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            red, green, blue = colour_at(x, y)
            row += bytes((blue, green, red))
        row += b'\0' * (row_size - len(row))
        rows.append(bytes(row))
    pixels = b''.join(rows)
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels),
                         2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(pixels), 0, 0,
                              14 + len(header))
    return file_header + header + pixels
