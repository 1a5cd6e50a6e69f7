#!/usr/bin/python3
"""Writes three copies of DejaVu Serif into FOLDER (run with Debian's python3-fonttools):
LongName.ttf, whose family, full and PostScript names (name IDs 1, 4, 6) are 30,000 characters;
LongFamily.ttf, whose family and full names are 30,000 characters of one word and whose
PostScript name is short; and MidName.ttf, whose family and full names are 200 characters,
the alphabet over and over with a space after every 13 letters, and whose PostScript name is
short; each is "Regular", so that its display name is its family name. The name table's 16-bit offsets hold one such string, so the names share it, in Windows
records only; "Aa"/"Ab" sort them before DejaVu.   make_long_name_fonts.py FOLDER
"""
import string
import sys

from fontTools.ttLib import TTFont


def mid_name():
    letters = (string.ascii_lowercase * 10)
    words = [letters[i:i + 13] for i in range(0, 200, 13)]
    return ('AbMid ' + ' '.join(words))[:200]


FONTS = (
    ('LongName.ttf', ('AaLongName' + 'Orvel' * 6000)[:30000], None),
    ('LongFamily.ttf', ('AaLongFamily' + 'Orvel' * 6000)[:30000], 'AaLongFamily'),
    ('MidName.ttf', mid_name(), 'AbMidName'),
)

for file, family, postscript in FONTS:
    font = TTFont('/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf')
    name = font['name']
    name.names = [r for r in name.names if r.platformID == 3 and r.nameID not in (13, 14, 16, 17, 21, 22)]
    for record in name.names:
        if record.nameID in (1, 4, 6):
            record.string = family
        if record.nameID == 6 and postscript:
            record.string = postscript
        if record.nameID == 2:
            record.string = 'Regular'  # the display name is the family name alone
    font.save(sys.argv[1] + '/' + file)
