#!/usr/bin/env python3
"""Writes jis_pairs.txt: every JIS X 0208 character pair that Python's
iso-2022-jp codec decodes, with the Shift-JIS bytes Python's shift_jis codec
encodes it to, one "JJJJ SSSS" line of hexadecimal each, in code order. The
ISO-2022-JP conversion test checks the program's pair arithmetic against it.

Run from anywhere: python3 tests/mail/mime/data/make_jis_pairs.py
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def main():
    lines = []
    for c1 in range(0x21, 0x7F):
        for c2 in range(0x21, 0x7F):
            try:
                text = (b'\x1b$B' + bytes([c1, c2]) + b'\x1b(B').decode('iso-2022-jp')
                sjis = text.encode('shift_jis')
            except UnicodeError:
                continue
            lines.append(f'{c1:02X}{c2:02X} {sjis.hex().upper()}\n')
    with open(os.path.join(HERE, 'jis_pairs.txt'), 'w', newline='\n') as out:
        out.writelines(lines)


if __name__ == '__main__':
    main()
