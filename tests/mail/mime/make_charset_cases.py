#!/usr/bin/env python3
"""Writes the conversion test's reference: for every character of each charset
that mail text is read in, the bytes and what Python makes of them, decoded
with its codec (errors replaced) and encoded with cp932, the geta mark for a
character cp932 lacks. One "charset source-hex expected-hex" line each:

- utf-8: every BMP character cp932 has, every 61st one it lacks, some beyond
  the BMP and ill-formed sequences;
- shift_jis: every single byte and every lead-trail pair, read as cp932 (the
  name mail uses for that code page, Windows-31J and CP932 alike);
- euc-jp: every two-byte pair, the half-width katakana and every JIS X 0212
  code; not the pairs Python's euc_jp lacks but cp932 has at the same JIS
  place (NEC's row 13 and its selection of IBM kanji), which the program shows
  as cp932 does;
- iso-8859-1 and us-ascii: every byte.
The zero byte and LF are left out: they end or expand the text.

Run by the build: python3 make_charset_cases.py OUTPUT
"""
import codecs
import sys

GETA = '〓'
codecs.register_error('geta', lambda e: (GETA * (e.end - e.start), e.end))
EUC_BYTES = range(0xA1, 0xFF)


def expect(source, codec):
    return source.decode(codec, 'replace').encode('cp932', 'geta')


def jis_to_cp932(c1, c2):
    lead = (c1 + 0xE1) // 2 + (0x40 if c1 >= 0x5F else 0)
    trail = c2 + 0x7E if c1 % 2 == 0 else c2 + 0x1F + (1 if c2 >= 0x60 else 0)
    return bytes([lead, trail])


def cp932_only(pair):
    """A JIS X 0208 place that Python's euc_jp leaves empty and cp932 fills."""
    try:
        pair.decode('euc_jp')
        return False
    except UnicodeDecodeError:
        pass
    try:
        jis_to_cp932(pair[0] - 0x80, pair[1] - 0x80).decode('cp932')
        return True
    except UnicodeDecodeError:
        return False


def cases():
    lacking = 0
    for cp in range(1, 0x10000):
        if 0xD800 <= cp < 0xE000 or cp == 0x0A:
            continue
        try:
            chr(cp).encode('cp932')
        except UnicodeEncodeError:
            lacking += 1
            if lacking % 61:
                continue
        yield 'utf-8', chr(cp).encode('utf-8'), 'utf-8'
    for cp in (0x10000, 0x1F600, 0x20B9F, 0x10FFFF):
        yield 'utf-8', chr(cp).encode('utf-8'), 'utf-8'
    for bad in (b'\xe3\x81', b'\xe3\x41', b'\xc0\xaf', b'\xed\xa0\x80', b'\xf0\x9f\x98', b'\xff',
                b'\xf8\x88\x80\x80\x80', b'\x80\x80'):
        yield 'utf-8', bad, 'utf-8'

    for b in range(1, 0x100):
        if b != 0x0A:
            yield 'shift_jis', bytes([b]), 'cp932'
    for lead in list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD)):
        for trail in range(0x40, 0xFD):
            yield 'shift_jis', bytes([lead, trail]), 'cp932'

    for b in list(range(0x80, 0xA1)) + [0xFF]:
        yield 'euc-jp', bytes([b]), 'euc_jp'
    for c1 in EUC_BYTES:
        for c2 in EUC_BYTES:
            pair = bytes([c1, c2])
            # An undefined JIS X 0212 code is read again as the pair after 0x8F.
            if not cp932_only(pair):
                yield 'euc-jp', pair, 'euc_jp'
                yield 'euc-jp', b'\x8f' + pair, 'euc_jp'
    for b in range(0xA1, 0xE1):
        yield 'euc-jp', bytes([0x8E, b]), 'euc_jp'

    for b in range(1, 0x100):
        if b != 0x0A:
            yield 'iso-8859-1', bytes([b]), 'latin-1'
            yield 'us-ascii', bytes([b]), 'ascii'


def main():
    with open(sys.argv[1], 'w', encoding='ascii', newline='\n') as out:
        for charset, source, codec in cases():
            out.write('%s %s %s\n' % (charset, source.hex(), expect(source, codec).hex()))


if __name__ == '__main__':
    main()
