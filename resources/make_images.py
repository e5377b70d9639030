#!/usr/bin/env python3
"""Draws the program's built-in pictures and writes them as .bmp and .ico files:
the 146 x 22 skin (resource 106), the icons 201 (program), 202 (small) and
203 (locked), and the mail list's 11 x 11 row images 112 (multipart), 113 (new)
and 114 (new and multipart), whose magenta pixels are transparent. Run at build time: make_images.py OUTPUT_FOLDER."""
import os
import struct
import sys

GRAY = (192, 192, 192)
LIGHT = (255, 255, 255)
SHADOW = (128, 128, 128)
DARK = (64, 64, 64)
BLACK = (0, 0, 0)
BLUE = (0, 0, 255)
GREEN = (0, 200, 0)
DARK_GREEN = (0, 96, 0)


class Canvas:
    def __init__(self, width, height, fill=GRAY):
        self.width, self.height = width, height
        self.pixels = [[fill] * width for _ in range(height)]

    def rect(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.pixels[yy][xx] = colour

    def frame(self, x, y, w, h, raised=True):
        """A one-pixel 3D frame: light top-left and dark bottom-right when raised."""
        top, bottom = (LIGHT, SHADOW) if raised else (SHADOW, LIGHT)
        self.rect(x, y, w, 1, top)
        self.rect(x, y, 1, h, top)
        self.rect(x, y + h - 1, w, 1, bottom)
        self.rect(x + w - 1, y, 1, h, bottom)


def draw_skin():
    c = Canvas(146, 22)
    # Clock face, columns 0-73: raised frame, toggle spot, grip bars, display.
    c.frame(0, 0, 74, 22)
    c.rect(1, 1, 8, 8, BLUE)                 # launcher toggle spot (x 0-9, y 0-8)
    for x in (3, 6):                         # grip bars below the spot
        c.rect(x, 11, 1, 9, SHADOW)
        c.rect(x + 1, 11, 1, 9, LIGHT)
    for x in (11, 14):                       # grip bars right of it
        c.rect(x, 2, 1, 18, SHADOW)
        c.rect(x + 1, 2, 1, 18, LIGHT)
    c.frame(18, 2, 54, 18, raised=False)
    c.rect(19, 3, 52, 16, BLACK)             # display area behind the text at (21, 5)
    # Launcher button faces: 74-95 up, 110-131 pressed.
    c.frame(74, 0, 22, 22)
    c.frame(110, 0, 22, 22, raised=False)
    c.rect(111, 1, 1, 20, DARK)
    c.rect(111, 1, 20, 1, DARK)
    # Close button: 96-109 x 0-11 up, 132-145 pressed.
    c.frame(96, 0, 14, 12)
    c.rect(99, 3, 8, 6, GREEN)
    c.frame(132, 0, 14, 12, raised=False)
    c.rect(136, 4, 8, 6, DARK_GREEN)
    # Notification-area button: 96-109 x 12-21 up, 132-145 pressed.
    c.frame(96, 12, 14, 10)
    c.rect(100, 17, 6, 2, BLACK)
    c.frame(132, 12, 14, 10, raised=False)
    c.rect(137, 18, 6, 2, BLACK)
    return c


MASK = (255, 0, 255)
PAPER = (255, 255, 224)
NEW_RED = (224, 0, 0)


def draw_mail_image(new, multipart):
    """An 11 x 11 row image: an envelope with a red seal for a new message, a
    paper clip for a multipart one."""
    c = Canvas(11, 11, MASK)
    if new:
        c.rect(0, 2, 11, 8, DARK)            # envelope outline
        c.rect(1, 3, 9, 6, PAPER)
        for i in range(4):                   # the flap
            c.rect(1 + i, 3 + i, 1, 1, DARK)
            c.rect(9 - i, 3 + i, 1, 1, DARK)
        c.rect(4, 6, 3, 2, NEW_RED)          # the seal
    if multipart:
        x = 6 if new else 3
        clip = [".###.",
                "#...#",
                "#.#.#",
                "#.#.#",
                "#.#.#",
                "#.#.#",
                "#.#.#",
                "#.#..",
                "#.#..",
                ".#..."]
        for y, line in enumerate(clip):
            for dx, mark in enumerate(line):
                if mark == "#":
                    c.rect(x + dx, y, 1, 1, BLUE)
    return c


def bmp_bytes(c):
    """A bottom-up 24-bit BMP file."""
    stride = (c.width * 3 + 3) & ~3
    rows = b""
    for y in range(c.height - 1, -1, -1):
        row = b"".join(bytes((b, g, r)) for (r, g, b) in c.pixels[y])
        rows += row + b"\0" * (stride - len(row))
    header = struct.pack("<IiiHHIIiiII", 40, c.width, c.height, 1, 24, 0, len(rows),
                         2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(rows), 0, 0,
                              14 + len(header))
    return file_header + header + rows


def draw_icon(size, locked):
    """The program's icon: a small black clock strip with a green time bar;
    the locked variant carries a yellow padlock."""
    c = Canvas(size, size, None)
    s = size / 16.0
    def box(x, y, w, h, colour):
        c.rect(int(x * s), int(y * s), max(1, int(w * s)), max(1, int(h * s)), colour)
    box(0, 4, 16, 9, SHADOW)
    box(1, 5, 14, 7, BLACK)
    box(1, 5, 3, 3, BLUE)
    box(5, 7, 9, 3, (0, 255, 64))
    if locked:
        box(8, 1, 6, 4, DARK)
        box(9, 2, 4, 3, None)
        box(7, 5, 8, 7, (255, 220, 0))
        box(10, 7, 2, 3, BLACK)
    return c


def icon_image(c):
    """One icon image: a 32-bit BMP (double height) with its AND mask."""
    xor = b""
    mask_stride = ((c.width + 31) // 32) * 4
    mask = b""
    for y in range(c.height - 1, -1, -1):
        bits = 0
        row_mask = bytearray(mask_stride)
        for x, p in enumerate(c.pixels[y]):
            if p is None:
                xor += b"\0\0\0\0"
                row_mask[x // 8] |= 0x80 >> (x % 8)
            else:
                r, g, b = p
                xor += bytes((b, g, r, 255))
        mask += bytes(row_mask)
    header = struct.pack("<IiiHHIIiiII", 40, c.width, c.height * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def ico_bytes(images):
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for c in images:
        img = icon_image(c)
        out += struct.pack("<BBBBHHII", c.width % 256, c.height % 256, 0, 0, 1, 32,
                           len(img), offset + len(data))
        data += img
    return out + data


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(out, exist_ok=True)
    files = {
        "skin106.bmp": bmp_bytes(draw_skin()),
        "icon201.ico": ico_bytes([draw_icon(32, False), draw_icon(16, False)]),
        "icon202.ico": ico_bytes([draw_icon(16, False), draw_icon(32, False)]),
        "icon203.ico": ico_bytes([draw_icon(16, True), draw_icon(32, True)]),
        "mail112.bmp": bmp_bytes(draw_mail_image(new=False, multipart=True)),
        "mail113.bmp": bmp_bytes(draw_mail_image(new=True, multipart=False)),
        "mail114.bmp": bmp_bytes(draw_mail_image(new=True, multipart=True)),
    }
    for name, data in files.items():
        path = os.path.join(out, name)
        # Rewrite only on change, so the resource script is not rebuilt needlessly.
        if not os.path.exists(path) or open(path, "rb").read() != data:
            with open(path, "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
