#!/usr/bin/env python3
"""Draws the font-type image strips of the font lists (bitmaps 914 and 916) and the type icons of
the font property sheets (bitmap 926: collection, OpenType, TrueType, Type 1 at 32 pixels) and the
groups tree's strip (bitmap 924: installed overlay, group, open group at 16 pixels).

Fourteen images per strip, 16 and 32 pixels square, 32-bit with alpha:
  0 unreadable overlay, 1 known-to-GDI-only overlay, 2 variable-font overlay,
  3 collection, 4 OpenType, 5 TrueType, 6 Type 1, 7 raster, 8 ascending and 9 descending sort arrow,
  10 installed-by-group overlay, 11 installed-subgroup overlay, 12 group, 13 open group.
Needs ImageMagick's convert. Run from the repository root; writes resources/*.bmp.
"""
import struct
import subprocess
import sys

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SERIF = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"


def draw(size, ops):
    """Runs convert with drawing operations on a transparent square; returns RGBA bytes."""
    s = size / 32.0
    args = ["convert", "-size", f"{size}x{size}", "xc:none"]
    for op in ops:
        args += [a.format(s=s, **{k: round(v * s) for k, v in op[1].items()}) if isinstance(a, str) else a
                 for a in op[0]]
    args += ["-depth", "8", "rgba:-"]
    return subprocess.run(args, check=True, capture_output=True).stdout


def letter(text, colour, font=FONT, pt=18, x=0, y=0):
    return (["-fill", colour, "-font", font, "-pointsize", str(pt * 1), "-gravity", "center",
             "-annotate", f"+{x}+{y}", text], {})


def page(colour):
    return (["-fill", "white", "-stroke", colour, "-strokewidth", "{w}",
             "-draw", "rectangle {a},{a},{b},{b}", "-stroke", "none"], {"w": 2, "a": 3, "b": 28})


def scaled_letter(size, text, colour, font=FONT, pt=17):
    return (["-fill", colour, "-font", font, "-pointsize", str(max(6, round(pt * size / 32))),
             "-gravity", "center", "-annotate", "+0+1", text], {})


def images(size):
    out = []
    # 0: unreadable (red cross, lower left)
    out.append([(["-stroke", "#D01010", "-strokewidth", "{w}", "-draw", "line {a},{c} {b},{d}",
                  "-draw", "line {a},{d} {b},{c}"], {"w": 3, "a": 2, "b": 14, "c": 17, "d": 29})])
    # 1: known to GDI only (grey disc, lower left)
    out.append([(["-fill", "#707070", "-draw", "circle {a},{b} {a},{c}"], {"a": 8, "b": 23, "c": 29})])
    # 2: variable font (orange bar with ticks, lower left)
    out.append([(["-fill", "#E08000", "-draw", "rectangle {a},{b} {c},{d}"], {"a": 1, "b": 24, "c": 15, "d": 28}),
                (["-fill", "#E08000", "-draw", "polygon {a},{b} {c},{d} {e},{d}"], {"a": 8, "b": 17, "c": 3, "d": 23, "e": 13})])
    # 3: collection (two pages)
    out.append([(["-fill", "white", "-stroke", "#2050C0", "-strokewidth", "{w}",
                  "-draw", "rectangle {a},{a} {b},{b}", "-draw", "rectangle {c},{c} {d},{d}", "-stroke", "none"],
                 {"w": 2, "a": 7, "b": 29, "c": 2, "d": 24}),
                scaled_letter(size, "C", "#2050C0", pt=15)])
    # 4: OpenType
    out.append([page("#208020"), scaled_letter(size, "O", "#208020")])
    # 5: TrueType
    out.append([page("#2050C0"), scaled_letter(size, "T", "#2050C0")])
    # 6: Type 1
    out.append([page("#C02020"), scaled_letter(size, "a", "#C02020", font=SERIF)])
    # 7: raster
    out.append([page("#606060"), scaled_letter(size, "A", "#606060", font="/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf")])
    # 8, 9: sort arrows of a result list's caption (ascending points up)
    out.append([(["-fill", "#404040", "-draw", "polygon {a},{b} {c},{d} {e},{d}"], {"a": 16, "b": 8, "c": 5, "d": 24, "e": 27})])
    out.append([(["-fill", "#404040", "-draw", "polygon {a},{b} {c},{d} {e},{d}"], {"a": 16, "b": 24, "c": 5, "d": 8, "e": 27})])
    # 10, 11: installed by a group / installed subgroup (green tick, lower right)
    tick = (["-stroke", "#109010", "-strokewidth", "{w}", "-fill", "none",
             "-draw", "polyline {a},{b} {c},{d} {e},{f}"], {"w": 3, "a": 17, "b": 22, "c": 21, "d": 27, "e": 29, "f": 15})
    out.append([tick])
    out.append([tick])
    # 12, 13: group folder, open group folder
    out.append([(["-fill", "#E8C050", "-stroke", "#A07810", "-strokewidth", "1",
                  "-draw", "rectangle {a},{b} {c},{d}", "-draw", "rectangle {a},{e} {f},{b}"],
                 {"a": 3, "b": 10, "c": 28, "d": 26, "e": 6, "f": 13})])
    out.append([(["-fill", "#F4D878", "-stroke", "#A07810", "-strokewidth", "1",
                  "-draw", "rectangle {a},{b} {c},{d}", "-draw", "polygon {a},{d} {e},{g} {f},{g} {c},{d}"],
                 {"a": 3, "b": 8, "c": 25, "d": 26, "e": 7, "f": 30, "g": 14})])
    return [draw(size, ops) for ops in out]


def write_bmp(path, size, tiles):
    width = size * len(tiles)
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        row = bytearray()
        for tile in tiles:
            for x in range(size):
                r, g, b, a = tile[(y * size + x) * 4:(y * size + x) * 4 + 4]
                # premultiplied, as the image lists draw 32-bit bitmaps with alpha
                row += bytes((b * a // 255, g * a // 255, r * a // 255, a))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, size, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(pixels), 0, 0, 14 + len(header)))
        f.write(header + pixels)


if __name__ == "__main__":
    for size, name in ((16, "font_types_16.bmp"), (32, "font_types_32.bmp")):
        write_bmp(f"resources/{name}", size, images(size))
    write_bmp("resources/font_props_32.bmp", 32, images(32)[3:7])
    small = images(16)
    write_bmp("resources/group_tree_16.bmp", 16, [small[10], small[12], small[13]])
    sys.exit(0)
