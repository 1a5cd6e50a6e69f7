#!/usr/bin/python3
"""Writes a copy of a TrueType font whose family, full and PostScript names (name IDs 1, 4 and
6) are one name LENGTH characters long (run with Debian's python3-fonttools). The name table's
16-bit offsets hold one such string: the three names share it, in Windows records only. The
name starts with "Aa", so that a sorted font list has it before the DejaVu fonts.

    make_long_name_font.py SOURCE.ttf OUT.ttf LENGTH [POSTSCRIPT_NAME]

With POSTSCRIPT_NAME, name ID 6 is that name instead, and the long name has spaces between
its words.
"""
import sys

from fontTools.ttLib import TTFont


def main():
    source, out, length = sys.argv[1], sys.argv[2], int(sys.argv[3])
    font = TTFont(source)
    name = font['name']
    word = 'Orvel ' if len(sys.argv) > 4 else 'Orvel'
    long_name = ('AaLongName' + word * length)[:length]
    name.names = [r for r in name.names if r.platformID == 3 and r.nameID not in (13, 14, 16, 17, 21, 22)]
    for record in name.names:
        if record.nameID in (1, 4, 6):
            record.string = long_name
        if record.nameID == 6 and len(sys.argv) > 4:
            record.string = sys.argv[4]
    font.save(out)


if __name__ == '__main__':
    main()
