#!/usr/bin/env python3
"""Writes the code points a character map lists for a font: those its cmap maps (fontTools'
best cmap, the (3,10) subtable when there is one), from U+0020 on, one hexadecimal number a
line in increasing order.

    cmap_code_points.py FONT OUTPUT
"""
import sys

from fontTools.ttLib import TTFont

font = TTFont(sys.argv[1], lazy=True)
points = sorted(cp for cp in font.getBestCmap() if cp >= 0x20)
with open(sys.argv[2], "w") as out:
    for cp in points:
        out.write(f"{cp:X}\n")
