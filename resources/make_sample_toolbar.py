#!/usr/bin/env python3
"""Draws the sample pane's image strip (bitmap 922): images 3 to 11 of the pane's toolbar.

Nine 16-pixel images, 32-bit with alpha:
  0 mark missing characters, 1 bold, 2 italic, 3 underline (overrides off),
  4 information block, 5 bold, 6 italic, 7 underline (overrides on), 8 EUDC editor.
Needs ImageMagick's convert. Run from the repository root; writes resources/sample_toolbar.bmp.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_font_type_images import FONT, SERIF, draw, write_bmp  # noqa: E402

SIZE = 16
OFF = "#505050"
ON = "#1060D0"


def letter(text, colour, font=FONT, pt=26, underline=False):
    ops = [(["-fill", colour, "-font", font, "-pointsize", str(pt), "-gravity", "center",
             "-annotate", "+0-1", text], {})]
    if underline:
        ops.append((["-fill", colour, "-draw", "rectangle {a},{b} {c},{d}"], {"a": 7, "b": 27, "c": 25, "d": 29}))
    return ops


def images():
    italic = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
    out = []
    # 0: missing characters marked (a box with a question mark)
    out.append([(["-fill", "white", "-stroke", "#C02020", "-strokewidth", "{w}",
                  "-draw", "rectangle {a},{a} {b},{b}", "-stroke", "none"], {"w": 2, "a": 4, "b": 27}),
                (["-fill", "#C02020", "-font", FONT, "-pointsize", "20", "-gravity", "center",
                  "-annotate", "+0+0", "?"], {})])
    for colour in (OFF,):
        out.append(letter("B", colour))
        out.append(letter("I", colour, font=italic, pt=26) + [(["-distort", "Affine", "16,16 16,16 16,0 20,0"], {})])
        out.append(letter("U", colour, underline=True))
    # 4: information block (an "i" in a circle)
    out.append([(["-fill", "#2070C0", "-draw", "circle {a},{a} {a},{b}"], {"a": 16, "b": 3}),
                (["-fill", "white", "-font", FONT, "-pointsize", "22", "-gravity", "center",
                  "-annotate", "+0+1", "i"], {})])
    out.append(letter("B", ON))
    out.append(letter("I", ON, font=italic, pt=26) + [(["-distort", "Affine", "16,16 16,16 16,0 20,0"], {})])
    out.append(letter("U", ON, underline=True))
    # 8: EUDC editor (a pen over a character cell)
    out.append([(["-fill", "white", "-stroke", "#606060", "-strokewidth", "{w}",
                  "-draw", "rectangle {a},{a} {b},{b}", "-stroke", "none"], {"w": 2, "a": 3, "b": 24}),
                (["-stroke", "#C08000", "-strokewidth", "{w}", "-draw", "line {a},{b} {c},{d}"],
                 {"w": 4, "a": 12, "b": 28, "c": 29, "d": 11})])
    return [draw(SIZE * 2, ops) for ops in out]


def downscale(tile):
    """2x2 box filter from 32 to 16 pixels (premultiplied by write_bmp afterwards)."""
    big = SIZE * 2
    out = bytearray()
    for y in range(SIZE):
        for x in range(SIZE):
            acc = [0, 0, 0, 0]
            for dy in (0, 1):
                for dx in (0, 1):
                    i = ((2 * y + dy) * big + 2 * x + dx) * 4
                    for c in range(4):
                        acc[c] += tile[i + c]
            out += bytes(v // 4 for v in acc)
    return bytes(out)


if __name__ == "__main__":
    write_bmp("resources/sample_toolbar.bmp", SIZE, [downscale(t) for t in images()])
    sys.exit(0)
