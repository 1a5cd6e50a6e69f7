#!/usr/bin/python3
"""Writes two copies of DejaVu Serif into FOLDER (run with Debian's python3-fonttools):
LongName.ttf, whose family, full and PostScript names (name IDs 1, 4, 6) are 30,000 characters,
and LongFamily.ttf, whose family and full names are 30,000 characters of words and whose
PostScript name is short. The name table's 16-bit offsets hold one such string, so the names
share it, in Windows records only; "Aa" sorts both before DejaVu.   make_long_name_fonts.py FOLDER
"""
import sys

from fontTools.ttLib import TTFont

for file, word, postscript in (('LongName.ttf', 'Orvel', None), ('LongFamily.ttf', 'Orvel ', 'AaLongFamily')):
    font = TTFont('/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf')
    name = font['name']
    name.names = [r for r in name.names if r.platformID == 3 and r.nameID not in (13, 14, 16, 17, 21, 22)]
    for record in name.names:
        if record.nameID in (1, 4, 6):
            record.string = ('AaLongName' + word * 30000)[:30000]
        if record.nameID == 6 and postscript:
            record.string = postscript
    font.save(sys.argv[1] + '/' + file)
