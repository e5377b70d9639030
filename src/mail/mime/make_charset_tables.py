#!/usr/bin/env python3
"""Writes the C++ tables of the mail decoders' character conversion, taken from
Python's own codecs and HTML tables so that the program converts as they do:

- code page 932 from Unicode (BMP; Python's `cp932` encoder, which also takes the
  JIS forms of the wave dash, minus, cent, pound, not and double bar),
- code page 932 to Unicode (Python's `cp932` decoder, single and double bytes),
- JIS X 0212 to Unicode (Python's `euc_jp` decoder of the 0x8F three-byte form),
- HTML named character references (`html.entities.html5`), and the numeric
  references that `html.unescape` replaces or drops.

Run by the build (no network, standard library only):
    python3 make_charset_tables.py OUTPUT.cpp
"""
import html
import html.entities
import sys

LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAILS = range(0x40, 0xFD)


def cp932_code(ch):
    try:
        b = ch.encode('cp932')
    except UnicodeEncodeError:
        return 0
    return b[0] if len(b) == 1 else (b[0] << 8) | b[1]


def array(values, per_line=16, fmt='0x%04X'):
    values = list(values)
    lines = []
    for i in range(0, len(values), per_line):
        lines.append('    ' + ', '.join(fmt % v for v in values[i:i + per_line]) + ',')
    return '\n'.join(lines)


def from_unicode():
    """The encoder's table is not shipped whole (128 KiB): the program inverts the
    decoder's tables at first use (single bytes, then double bytes in order, the
    first code of a character kept) and then applies these corrections, the
    places where Python's encoder differs from that inversion."""
    inverted = [0] * 0x10000
    for code, cp in single_bytes():
        if cp != 0xFFFF and inverted[cp] == 0:
            inverted[cp] = code
    for code, cp in double_bytes():
        if cp != 0 and inverted[cp] == 0:
            inverted[cp] = code
    fixes = []
    for cp in range(0x10000):
        code = 0 if 0xD800 <= cp < 0xE000 else cp932_code(chr(cp))
        if code != inverted[cp]:
            fixes.append((cp, code))
    return (['const Cp932EncodeFix kCp932EncodeFixes[] = {'] +
            ['    {0x%04X, 0x%04X},' % fix for fix in fixes] +
            ['};', 'const std::size_t kCp932EncodeFixCount = %d;' % len(fixes)])


def single_bytes():
    for b in range(256):
        try:
            yield b, ord(bytes([b]).decode('cp932'))
        except UnicodeDecodeError:
            yield b, 0xFFFF  # a lead byte


def double_bytes():
    for lead in LEADS:
        for trail in TRAILS:
            try:
                yield (lead << 8) | trail, ord(bytes([lead, trail]).decode('cp932'))
            except UnicodeDecodeError:
                yield (lead << 8) | trail, 0


def to_unicode():
    single = [cp for _, cp in single_bytes()]
    double = [cp for _, cp in double_bytes()]
    return ['const std::uint16_t kCp932SingleToUnicode[256] = {', array(single), '};', '',
            'const std::uint16_t kCp932DoubleToUnicode[%d * %d] = {' % (len(LEADS), len(TRAILS)),
            array(double), '};']


def jis_x0212():
    values = []
    for row in range(0xA1, 0xFF):
        for cell in range(0xA1, 0xFF):
            try:
                values.append(ord(bytes([0x8F, row, cell]).decode('euc_jp')))
            except UnicodeDecodeError:
                values.append(0)
    return ['const std::uint16_t kJisX0212ToUnicode[94 * 94] = {', array(values), '};']


def entities():
    names = sorted(html.entities.html5, key=lambda n: n.encode('ascii'))
    seconds = sorted({ord(t[1]) for t in html.entities.html5.values() if len(t) > 1})
    ends, points, end = [], [], 0
    for name in names:
        text = html.entities.html5[name]
        assert len(text) <= 2 and ord(text[0]) < 1 << 21
        end += len(name)
        ends.append(end)
        second = seconds.index(ord(text[1])) + 1 if len(text) > 1 else 0
        points.append(ord(text[0]) | second << 21)
    assert end < 1 << 16
    blob = ''.join(names)
    rows = ['    "%s"' % blob[i:i + 96] for i in range(0, len(blob), 96)]
    fixes = ['    {0x%X, 0x%X},' % (k, ord(v)) for k, v in sorted(html._invalid_charrefs.items())]
    dropped = sorted(html._invalid_codepoints)
    ranges = []
    for cp in dropped:
        if ranges and ranges[-1][1] == cp - 1:
            ranges[-1][1] = cp
        else:
            ranges.append([cp, cp])
    return (['const char kHtmlEntityNames[] ='] + rows + ['    "";',
             'const std::uint16_t kHtmlEntityNameEnds[] = {', array(ends, fmt='%d'), '};',
             'const std::uint32_t kHtmlEntityPoints[] = {', array(points, per_line=8, fmt='0x%X'), '};',
             'const std::uint32_t kHtmlEntitySeconds[] = {%s};' % ', '.join('0x%X' % c for c in seconds),
             'const std::size_t kHtmlEntityCount = %d;' % len(names), '',
            'const HtmlNumericFix kHtmlNumericFixes[] = {'] + fixes + ['};',
            'const std::size_t kHtmlNumericFixCount = %d;' % len(fixes), '',
            'const HtmlDroppedRange kHtmlDroppedRanges[] = {'] +
            ['    {0x%X, 0x%X},' % (lo, hi) for lo, hi in ranges] +
            ['};', 'const std::size_t kHtmlDroppedRangeCount = %d;' % len(ranges)])


def main():
    lines = ['// Generated by src/mail/make_charset_tables.py from the codecs and HTML tables',
             '// of Python %d.%d; not to be edited.' % sys.version_info[:2],
             '#include "mail/mime/charset_tables.h"', '', 'namespace vsmr::charset_tables {', '']
    for part in (from_unicode(), to_unicode(), jis_x0212(), entities()):
        lines += part + ['']
    lines += ['}  // namespace vsmr::charset_tables', '']
    with open(sys.argv[1], 'w', encoding='ascii', newline='\n') as f:
        f.write('\n'.join(lines))


if __name__ == '__main__':
    main()
