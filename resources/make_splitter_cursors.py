#!/usr/bin/env python3
"""Draws the two cursors of the main window's splitter bars (cursors 930 and 931).

  splitter_vertical.cur    930: over a vertical bar (panes side by side): a double vertical
                           line with arrows pointing left and right.
  splitter_horizontal.cur  931: over a horizontal bar (panes one above the other): a double
                           horizontal line with arrows pointing up and down.

Both are 32 x 32 monochrome cursors, black with a white outline, with the hot spot in the middle
of the bar: (15, 16) on the vertical bar, (16, 15) on the horizontal one. Run from the
repository root; writes resources/*.cur.
"""
import struct

SIZE = 32
HOT = 16


def draw_vertical_bar():
    """The vertical-bar cursor as rows of text: '#' black, '.' white, ' ' transparent."""
    grid = [[" "] * SIZE for _ in range(SIZE)]

    def put(x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            if c == "#" or grid[y][x] == " ":
                grid[y][x] = c

    black = set()
    # Two vertical lines with a gap of two pixels between them: x = 14 and x = 17.
    for y in range(HOT - 7, HOT + 8):
        black.add((HOT - 2, y))
        black.add((HOT + 1, y))
    # The shaft through the lines, and an arrow head at each end.
    for x in range(HOT - 10, HOT + 10):
        black.add((x, HOT))
    for d in range(1, 4):
        for y in range(HOT - d, HOT + d + 1):
            black.add((HOT - 11 + d, y))
            black.add((HOT + 10 - d, y))
    for x, y in black:
        put(x, y, "#")
    # The white outline around every black pixel.
    for x, y in black:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if (x + dx, y + dy) not in black:
                    put(x + dx, y + dy, ".")
    return ["".join(r) for r in grid]


def transpose(picture):
    return ["".join(picture[x][y] for x in range(SIZE)) for y in range(SIZE)]


def cursor_bytes(picture, hot_x, hot_y):
    """A .cur file: the icon directory of one image and its 1-bit DIB (XOR mask, then AND mask)."""
    stride = SIZE // 8  # 32 pixels of 1 bit: 4 bytes a row, already a multiple of 4

    def mask(pixel_bit):
        out = bytearray()
        for row in reversed(picture):  # a DIB is stored bottom-up
            bits = 0
            for x, c in enumerate(row):
                if pixel_bit(c):
                    bits |= 1 << (SIZE - 1 - x)
            out += bits.to_bytes(stride, "big")
        return bytes(out)

    # Colour index 1 (white) where the pixel is white; transparent pixels: AND 1, XOR 0.
    xor = mask(lambda c: c == ".")
    and_ = mask(lambda c: c == " ")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(and_), 0, 0, 2, 2)
    palette = struct.pack("<BBBB", 0, 0, 0, 0) + struct.pack("<BBBB", 255, 255, 255, 0)
    image = header + palette + xor + and_
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hot_x, hot_y, len(image), 6 + 16)
    return directory + entry + image


def main():
    vertical = draw_vertical_bar()
    horizontal = transpose(vertical)
    with open("resources/splitter_vertical.cur", "wb") as f:
        f.write(cursor_bytes(vertical, HOT - 1, HOT))
    with open("resources/splitter_horizontal.cur", "wb") as f:
        f.write(cursor_bytes(horizontal, HOT, HOT - 1))


if __name__ == "__main__":
    main()
