# The files a Vesmira folder holds, written and expected byte for byte: the settings
# file and the command list are Shift-JIS text with CR LF line ends; skins are BMPs.
import struct

INSTANCE_NAME = 'Vesmira2002(Ver2.69.53(2.7--) Build291)'
# xdotool takes a regular expression; the instance name has parentheses and dots.
TITLE_REGEX = '^' + ''.join('\\' + c if c in '().' else c for c in INSTANCE_NAME) + '$'
DEFAULT_CLOCK_COLOUR = (0, 255, 64)
STATUS_COLOUR = (255, 255, 0)


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


def first_start_settings(program_dir_windows, work_right=1024, work_bottom=768):
    """The settings file that a first start without files leaves at exit.

    Sections and keys in the order the close writes them: the four sections of the
    settings, then all 64 launcher items, then the hot key saved with the command list.
    Every value is its default; launcher items come from the older form's defaults.
    """
    half_w, half_h = work_right // 2, work_bottom // 2
    icon_path = program_dir_windows + '\\vesmira.exe'
    mail = [('AutoCheckTime', 0), ('ShowMailDialog', 1), ('SavePreviousMailStatus', 0),
            ('MailLauncherCommand', ''), ('MailLauncherOrNot', 0), ('TimeOut', 10),
            ('LimitMailSize', 65536), ('DeleteMailPermission', 0)]
    mail += [(f'Mail{n}AccountData', '0\t\t\t\t') for n in range(1, 6)]
    launchers = []
    for n in range(1, 65):
        launchers.append((f'Launcher{n:02d}Data', '0\tnot found\tnot found'))
        launchers.append((f'Launcher{n:02d}Icon', '0\t' + icon_path))
    return settings_file({
        'UserWindowData': [
            ('CommandLineLauncher', 0), ('CommandLineLauncherLength', 100),
            ('WindowPositionX', 0), ('WindowPositionY', 0), ('InTaskOrNot', 0),
            ('SkinBitmapPath', ''), ('CommandLauncherCmbBxFont', ''),
            ('ClockFontColor', 4259584),
            ('NewMailDialogLeft', half_w - 280), ('NewMailDialogTop', half_h - 165),
            ('NewMailDialogRight', half_w + 280), ('NewMailDialogBottom', half_h + 165),
            ('NewMailDialogListHeight', 110)],
        'TimerAlarmData': [(f'CommandTimer{n:02d}', '0,00:00,') for n in range(1, 9)],
        'MailPopSetting': mail,
        'OtherSettings': [('UsingDropFile', 0), ('LeaveRoomMode', 0), ('LeaveRoomPassword', '')],
        'ButtonLauncher': launchers,
        'CommandLineLauncher': [('HotKey', 0)],
    })


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
