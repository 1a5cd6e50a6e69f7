#!/usr/bin/env python3
"""Draws the three toolbar strips of the main window, pixel by pixel:

  toolbar_commands.bmp (bitmap 128): 32 command images, 32-bit with alpha, used by the command bar,
      every pane toolbar and the context menus; image n belongs to the n-th command of COMMANDS.
  toolbar_main.bmp (bitmap 130): the main toolbar's 9 buttons, 24-bit on magenta (the mask colour
      is the top-left pixel).
  toolbar_favorites.bmp (bitmap 139): the favourites band (favourite folder, add, remove), 24-bit
      on magenta.

Every picture is built from outlined shapes lit from the top left: a shape's border pixels get a
darker tone of its colour, its inside a gradient from a lighter tone (top left) to a slightly
darker one (bottom right). Edges are hard, so that the 24-bit strips mask cleanly.

Run from the repository root; writes the three files into resources/. With --montage PATH it also
writes an 8x enlarged sheet of all images with their command names (needs ImageMagick's convert).
"""
import math
import os
import struct
import subprocess
import sys
import tempfile

SIZE = 16
MASK = (255, 0, 255)

# Colours, shared with the sample toolbar and the drag images where they have the same role.
PAGE_EDGE = (48, 80, 150)
PAGE = (250, 251, 253)
FOLDER = (236, 192, 80)
FOLDER_EDGE = (150, 106, 16)
GREEN = (40, 170, 40)
GREEN_EDGE = (10, 96, 16)
RED = (222, 52, 44)
RED_EDGE = (128, 16, 12)
BLUE = (50, 110, 220)
BLUE_EDGE = (20, 60, 150)
INK = (30, 50, 120)
GREY = (176, 180, 188)
GREY_EDGE = (80, 84, 92)
DARK = (44, 44, 48)
GOLD = (255, 204, 32)
GOLD_EDGE = (150, 90, 0)
ORANGE = (236, 128, 24)
LINES = (150, 164, 196)
GLASS = (170, 214, 246)
WOOD = (176, 112, 56)
WOOD_EDGE = (100, 56, 20)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def lighter(c, t):
    return mix(c, (255, 255, 255), t)


def darker(c, t):
    return mix(c, (0, 0, 0), t)


# ---- masks: sets of (x, y) pixels, tested at the pixel centres ----

def cells(test):
    return {(x, y) for y in range(SIZE) for x in range(SIZE) if test(x + 0.5, y + 0.5)}


def rect(x0, y0, x1, y1):
    """Pixels x0..x1, y0..y1 inclusive."""
    return {(x, y) for y in range(max(0, y0), min(SIZE, y1 + 1)) for x in range(max(0, x0), min(SIZE, x1 + 1))}


def poly(*pts):
    """Polygon with corners on pixel edges (even-odd rule)."""
    def inside(px, py):
        hit = False
        for i in range(len(pts)):
            (ax, ay), (bx, by) = pts[i], pts[i - 1]
            if (ay > py) != (by > py) and px < ax + (py - ay) * (bx - ax) / (by - ay):
                hit = not hit
        return hit
    return cells(inside)


def ellipse(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    return cells(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0)


def seg(x0, y0, x1, y1, r):
    """A stroke of half-width r between two points (round ends)."""
    def near(px, py):
        dx, dy = x1 - x0, y1 - y0
        t = 0.0 if dx == dy == 0 else max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy)))
        return math.hypot(px - (x0 + t * dx), py - (y0 + t * dy)) <= r
    return cells(near)


def art(rows, x=0, y=0):
    """Masks by character of a small picture written as text ('.' is empty)."""
    out = {}
    for j, row in enumerate(rows):
        for i, ch in enumerate(row):
            if ch != "." and 0 <= x + i < SIZE and 0 <= y + j < SIZE:
                out.setdefault(ch, set()).add((x + i, y + j))
    return out


# ---- the canvas ----

class Icon:
    def __init__(self):
        self.px = {}

    def flat(self, mask, colour):
        for p in mask:
            self.px[p] = colour
        return self

    def fill(self, mask, colour, edge=None, light=0.45, rim=True):
        """An outlined, lit shape: border pixels in `edge`, the inside shaded from the top left."""
        if not mask:
            return self
        edge = darker(colour, 0.5) if edge is None else edge  # False: no border
        xs = [x for x, _ in mask]
        ys = [y for _, y in mask]
        x0, y0 = min(xs), min(ys)
        span = max(1, max(xs) - x0 + max(ys) - y0)
        for (x, y) in mask:
            border = any(n not in mask for n in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))
            if border and edge is not False:
                self.px[(x, y)] = edge
                continue
            t = ((x - x0) + (y - y0)) / span
            c = mix(lighter(colour, light), darker(colour, 0.12), t)
            # the inner rim facing the light is brighter still
            if rim and (x, y - 1) in mask and any(n not in mask for n in ((x - 1, y - 1), (x, y - 2), (x + 1, y - 1))):
                c = lighter(c, 0.25)
            self.px[(x, y)] = c
        return self

    def bevel(self, mask, colour, edge):
        """A stroke lit from the top left: pixels facing the light lighter, those facing away in `edge`."""
        for (x, y) in mask:
            if (x + 1, y) not in mask or (x, y + 1) not in mask:
                self.px[(x, y)] = edge
            elif (x - 1, y) not in mask or (x, y - 1) not in mask:
                self.px[(x, y)] = lighter(colour, 0.35)
            else:
                self.px[(x, y)] = colour
        return self

    def sprite(self, rows, x, y, palette):
        for ch, mask in art(rows, x, y).items():
            self.flat(mask, palette[ch])
        return self

    def clear(self, mask):
        for p in mask:
            self.px.pop(p, None)
        return self

    def mask(self):
        return set(self.px)


# ---- parts ----

LETTER_A = [".XXX.",
            "XX.XX",
            "XX.XX",
            "XXXXX",
            "XX.XX",
            "XX.XX"]


def page(ic, x0, y0, x1, y1, fold=3, edge=PAGE_EDGE):
    """A sheet with its top right corner folded."""
    body = poly((x0, y0), (x1 + 1 - fold, y0), (x1 + 1, y0 + fold), (x1 + 1, y1 + 1), (x0, y1 + 1))
    ic.fill(body, PAGE, edge, light=0.0)
    if fold:
        flap = {(x, y) for x in range(x1 + 1 - fold, x1 + 1) for y in range(y0, y0 + fold)
                if x - (x1 + 1 - fold) <= y - y0}
        ic.flat(flap, mix(PAGE, edge, 0.25))
        ic.flat({(x1 + 1 - fold, y) for y in range(y0, y0 + fold + 1)} | {(x, y0 + fold) for x in range(x1 + 1 - fold, x1 + 1)}, edge)
    return body


def font_page(ic, x0, y0, x1, y1):
    page(ic, x0, y0, x1, y1)
    ic.sprite(LETTER_A, x0 + 2, y0 + 4, {"X": INK})


def folder(ic, x0, y0, x1, y1, colour=FOLDER, edge=FOLDER_EDGE):
    """A folder seen from the front: a tab at the top left over the body."""
    tab = rect(x0, y0, x0 + 5, y0 + 2)
    body = rect(x0, y0 + 2, x1, y1)
    ic.fill(tab | body, colour, edge)
    ic.flat(rect(x0 + 1, y0 + 3, x1 - 1, y0 + 3), lighter(colour, 0.55))
    return tab | body


TICK = [".......XX",
        "......XXX",
        ".....XXX.",
        "XX..XXX..",
        "XXXXXX...",
        ".XXXX....",
        "..XX....."]

CROSS = ["XX....XX",
         "XXX..XXX",
         ".XXXXXX.",
         "..XXXX..",
         "..XXXX..",
         ".XXXXXX.",
         "XXX..XXX",
         "XX....XX"]


def tick(ic, x, y):
    """Green tick in a 9 x 7 box at (x, y)."""
    ic.bevel(art(TICK, x, y)["X"], GREEN, GREEN_EDGE)


def cross(ic, x, y):
    """Red X in an 8 x 8 box at (x, y)."""
    ic.bevel(art(CROSS, x, y)["X"], RED, RED_EDGE)


def plus(ic, x, y, colour=GREEN, edge=GREEN_EDGE):
    """Plus sign in a 7 x 7 box at (x, y)."""
    ic.fill(rect(x + 2, y, x + 4, y + 6) | rect(x, y + 2, x + 6, y + 4), colour, edge)


def minus(ic, x, y):
    ic.fill(rect(x, y + 2, x + 6, y + 4), RED, RED_EDGE)


def star(ic, cx, cy, r_out, r_in, halo=False):
    pts = []
    for i in range(10):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(-90 + 36 * i)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    shape = poly(*pts)
    if halo:
        # a ring of background keeps the star apart from what lies under it
        ic.clear({(x + dx, y + dy) for x, y in shape for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))})
    ic.fill(shape, GOLD, GOLD_EDGE)


def trash(ic, x0, y0, x1, y1):
    """A waste bin: a lid with a handle over a tapering can with ribs."""
    ic.fill(rect(x0, y0 + 1, x1, y0 + 2) | rect((x0 + x1) // 2 - 1, y0, (x0 + x1 + 1) // 2 + 1, y0), GREY, GREY_EDGE)
    can = poly((x0 + 1, y0 + 3), (x1, y0 + 3), (x1 - 1, y1 + 1), (x0 + 2, y1 + 1))
    ic.fill(can, GREY, GREY_EDGE)
    w = x1 - x0
    for i in range(1, 4):
        rx = x0 + 1 + round(i * w / 4)
        ic.flat({(rx, y) for y in range(y0 + 5, y1 - 1)}, GREY_EDGE)


def arrow_up(ic):
    """The bent green arrow of "up one level": from the lower right, up, then head pointing up."""
    ic.fill(rect(9, 9, 14, 11) | rect(9, 5, 11, 11) | poly((6.5, 6), (10.5, 1.5), (14.5, 6)), GREEN, GREEN_EDGE)


def landscape(ic, x0, y0, x1, y1):
    """A framed picture: sky, sun and a green hill."""
    ic.fill(rect(x0, y0, x1, y1), (120, 180, 240), BLUE_EDGE, light=0.3)
    ic.fill(ellipse(x0 + 3.5, y0 + 3.5, 1.6), GOLD, GOLD_EDGE, light=0.2)
    hill = poly((x0 + 1, y1), (x0 + 5, y1 - 4), (x0 + 7, y1 - 2), (x0 + 9, y1 - 5), (x1, y1 - 1), (x1, y1), (x0 + 1, y1))
    ic.flat(hill & rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1), (60, 160, 60))


# ---- the pictures ----

def page_setup():
    ic = Icon()
    page(ic, 5, 4, 15, 15)
    # dashed margins
    ic.flat({(x, 7) for x in range(7, 13, 2)} | {(x, 13) for x in range(7, 14, 2)} |
            {(7, y) for y in range(9, 13, 2)} | {(13, y) for y in range(9, 13, 2)}, LINES)
    # a set square along the top and the left
    ic.fill(rect(0, 0, 12, 2) | rect(0, 0, 2, 15), GOLD, GOLD_EDGE, light=0.3)
    ic.flat({(x, 1) for x in range(4, 12, 2)} | {(1, y) for y in range(4, 15, 2)}, GOLD_EDGE)
    return ic


def printer():
    ic = Icon()
    page(ic, 4, 0, 11, 6, fold=2)
    ic.flat(rect(6, 3, 9, 3) | rect(6, 5, 8, 5), LINES)
    ic.fill(poly((2, 5), (14, 5), (15, 7), (15, 13), (1, 13), (1, 7)), GREY, GREY_EDGE)
    ic.flat(rect(2, 9, 14, 9), lighter(GREY, 0.6))
    ic.flat({(12, 7), (13, 7)}, (40, 220, 40))
    ic.fill(rect(3, 11, 12, 15), PAGE, PAGE_EDGE, light=0.0)
    ic.flat(rect(5, 13, 10, 13), LINES)
    return ic


def magnifier():
    ic = Icon()
    ic.fill(seg(9.5, 9.5, 14.0, 14.0, 1.6), WOOD, WOOD_EDGE)
    ring = ellipse(6.0, 6.0, 5.6)
    ic.fill(ring, (110, 116, 128), DARK)
    ic.fill(ellipse(6.0, 6.0, 4.1), GLASS, (70, 120, 170), light=0.7)
    ic.flat({(4, 3), (3, 4), (5, 3), (3, 5)}, (255, 255, 255))
    return ic


def census():
    ic = Icon()
    ic.fill(rect(2, 9, 5, 14), BLUE, BLUE_EDGE)
    ic.fill(rect(6, 3, 9, 14), GREEN, GREEN_EDGE)
    ic.fill(rect(10, 6, 13, 14), ORANGE, darker(ORANGE, 0.5))
    ic.flat(rect(0, 0, 0, 15) | rect(0, 15, 15, 15), DARK)
    ic.flat({(1, 2), (1, 6), (1, 10)}, DARK)
    return ic





def refresh():
    ic = Icon()
    ic.bevel(art([".....XXXXX......",
                  "...XXXXXXXXX....",
                  "..XXXXXXXXXXX...",
                  ".XXXX.....XXXX..",
                  ".XXX.......XXX..",
                  "XXX.......XXXXXX",
                  "XXX........XXXX.",
                  "............XX..",
                  "..XX............",
                  ".XXXX........XXX",
                  "XXXXXX.......XXX",
                  "..XXX.......XXX.",
                  "..XXXX.....XXXX.",
                  "...XXXXXXXXXXX..",
                  "....XXXXXXXXX...",
                  "......XXXXX....."])["X"], GREEN, GREEN_EDGE)
    return ic


def delete_files():
    ic = Icon()
    trash(ic, 2, 0, 13, 15)
    return ic


def copy_to_folder():
    ic = Icon()
    folder(ic, 0, 6, 13, 15)
    page(ic, 1, 0, 8, 9, fold=2)
    ic.flat(rect(3, 3, 6, 3) | rect(3, 5, 6, 5), LINES)
    ic.fill(rect(11, 0, 13, 8) | poly((8.5, 8), (15.5, 8), (12, 13)), GREEN, GREEN_EDGE)
    return ic


def install():
    ic = Icon()
    font_page(ic, 0, 0, 10, 13)
    tick(ic, 7, 8)
    return ic


def uninstall():
    ic = Icon()
    font_page(ic, 0, 0, 10, 13)
    cross(ic, 8, 8)
    return ic


def group_install():
    ic = Icon()
    folder(ic, 0, 1, 14, 12)
    tick(ic, 7, 8)
    return ic


def group_uninstall():
    ic = Icon()
    folder(ic, 0, 1, 14, 12)
    cross(ic, 8, 8)
    return ic


def blank_page():
    ic = Icon()
    page(ic, 2, 0, 13, 15, fold=4)
    ic.flat(rect(4, 6, 11, 6) | rect(4, 8, 11, 8) | rect(4, 10, 11, 10) | rect(4, 12, 8, 12), LINES)
    return ic


def remove_from_group():
    ic = Icon()
    folder(ic, 0, 1, 14, 12)
    minus(ic, 9, 9)
    return ic


def delete_group():
    ic = Icon()
    folder(ic, 0, 0, 13, 10)
    trash(ic, 6, 5, 15, 15)
    return ic


def new_group():
    ic = Icon()
    folder(ic, 0, 2, 13, 13)
    plus(ic, 9, 9)
    return ic


def gear():
    ic = Icon()
    teeth = set()
    for i in range(8):
        a = math.radians(i * 45)
        teeth |= seg(8 + 4.5 * math.cos(a), 8 + 4.5 * math.sin(a), 8 + 6.6 * math.cos(a), 8 + 6.6 * math.sin(a), 1.3)
    ic.fill(teeth | ellipse(8, 8, 5.2), GREY, GREY_EDGE)
    ic.clear(ellipse(8, 8, 1.8))
    ic.flat(ellipse(8, 8, 2.6) - ellipse(8, 8, 1.8), GREY_EDGE)
    return ic


def font_sheet():
    ic = Icon()
    page(ic, 4, 0, 15, 12, fold=0)
    page(ic, 0, 3, 11, 15, fold=0)
    ic.sprite(LETTER_A, 2, 5, {"X": INK})
    ic.sprite(["X...",
               "X...",
               "XXX.",
               "X..X",
               "X..X",
               "XXX."], 7, 4, {"X": (170, 30, 30)})
    ic.flat(rect(2, 12, 9, 12), LINES)
    return ic


def character_map():
    ic = Icon()
    grid = rect(0, 0, 12, 12)
    ic.fill(grid, PAGE, GREY_EDGE, light=0.0)
    for k in (4, 8):
        ic.flat(rect(k, 0, k, 12) | rect(0, k, 12, k), GREY_EDGE)
    ic.flat({(2, 2), (6, 2), (10, 2), (2, 6), (6, 6), (2, 10)}, INK)
    # the enlarged character of the chosen cell
    ic.fill(rect(6, 6, 15, 15), PAGE, BLUE_EDGE, light=0.0)
    ic.flat(rect(7, 7, 14, 7), BLUE)
    ic.sprite(LETTER_A, 8, 9, {"X": INK})
    return ic


def save_images():
    ic = Icon()
    landscape(ic, 0, 0, 12, 9)
    # a floppy disk
    disk = rect(7, 7, 15, 15)
    ic.fill(disk, BLUE, BLUE_EDGE)
    ic.flat(rect(9, 8, 13, 10), (230, 232, 236))
    ic.flat({(12, 9)}, BLUE_EDGE)
    ic.flat(rect(9, 12, 13, 14), (250, 250, 250))
    ic.clear({(15, 7)})
    return ic


def properties():
    ic = Icon()
    # a property sheet: the front tab joined to the page, a second tab behind; on the page a
    # ticked box and two labelled fields
    ic.fill(rect(8, 0, 13, 3), (214, 216, 222), GREY_EDGE, light=0.2)
    ic.fill(rect(0, 3, 15, 15) | rect(1, 0, 8, 3), (240, 240, 236), GREY_EDGE, light=0.3)
    ic.flat(rect(2, 3, 7, 3), (240, 240, 236))
    ic.fill(rect(2, 5, 7, 10), PAGE, GREY_EDGE, light=0.0)
    ic.flat({(6, 7), (3, 8), (5, 8), (4, 9)}, GREEN_EDGE)
    ic.flat(rect(9, 7, 13, 7), LINES)
    ic.flat(rect(2, 13, 4, 13), DARK)
    ic.fill(rect(6, 12, 13, 14), PAGE, BLUE_EDGE, light=0.0)
    ic.flat(rect(7, 13, 9, 13), INK)
    return ic


def sample_in_list():
    ic = Icon()
    for y in (0, 5, 10):
        ic.fill(rect(0, y, 15, y + 5), PAGE, GREY_EDGE, light=0.0)
    samples = ((INK, [".X.", "X.X", "XXX", "X.X"]), ((170, 30, 30), ["XX.", "X.X", "XX.", "X.X"]),
               ((20, 120, 40), [".XX", "X..", "X..", ".XX"]))
    for (colour, glyph), y in zip(samples, (1, 6, 11)):
        ic.sprite(glyph, 2, y, {"X": colour})
        ic.flat(rect(7, y + 2, 13, y + 2), LINES)
    ic.fill(rect(0, 5, 15, 10), (200, 220, 250), BLUE_EDGE, light=0.0)
    ic.sprite(["XX.", "X.X", "XX.", "X.X"], 2, 6, {"X": (170, 30, 30)})
    ic.flat(rect(7, 8, 13, 8), BLUE)
    return ic


def cube(ic, x, y, colour):
    """An isometric cube 8 pixels wide at (x, y): a light top, a lit left and a shaded right face."""
    top = poly((x + 4, y), (x + 8, y + 2), (x + 4, y + 4), (x, y + 2))
    left = poly((x, y + 2), (x + 4, y + 4), (x + 4, y + 9), (x, y + 7))
    right = poly((x + 4, y + 4), (x + 8, y + 2), (x + 8, y + 7), (x + 4, y + 9))
    ic.flat(top, lighter(colour, 0.5)).flat(left, colour).flat(right, darker(colour, 0.3))
    whole = top | left | right
    ic.flat({p for p in whole if any(n not in whole for n in ((p[0] - 1, p[1]), (p[0] + 1, p[1]),
                                                              (p[0], p[1] - 1), (p[0], p[1] + 1)))},
            darker(colour, 0.6))


def registry():
    ic = Icon()
    cube(ic, 0, 6, (60, 120, 220))
    cube(ic, 8, 6, (60, 120, 220))
    cube(ic, 4, 0, (90, 160, 240))
    return ic


def book_closed():
    ic = Icon()
    ic.fill(poly((3, 0), (14, 0), (14, 13), (3, 13)), BLUE, BLUE_EDGE)
    ic.fill(rect(3, 12, 14, 15), PAGE, PAGE_EDGE, light=0.0)
    ic.fill(rect(1, 0, 4, 15), darker(BLUE, 0.25), BLUE_EDGE)
    ic.flat(rect(6, 3, 12, 3) | rect(6, 5, 11, 5), lighter(BLUE, 0.7))
    return ic


def book_open():
    ic = Icon()
    ic.fill(poly((0, 3), (7, 3), (8, 14), (1, 14)) | poly((8, 3), (16, 3), (15, 14), (8, 14)), BLUE, BLUE_EDGE)
    ic.fill(poly((1, 2), (7, 2), (8, 4), (8, 13), (2, 12)), PAGE, PAGE_EDGE, light=0.0)
    ic.fill(poly((8, 4), (9, 2), (15, 2), (14, 12), (8, 13)), PAGE, PAGE_EDGE, light=0.0)
    for y in (5, 7, 9):
        ic.flat(rect(3, y, 6, y) | rect(10, y, 13, y), LINES)
    # the index tabs
    ic.fill(rect(4, 0, 5, 2), RED, RED_EDGE)
    ic.fill(rect(11, 0, 12, 2), GREEN, GREEN_EDGE)
    return ic


def help_topic():
    ic = Icon()
    q = art(["..XXXXX..",
             ".XXXXXXX.",
             "XXX...XXX",
             "XX.....XX",
             "......XXX",
             ".....XXX.",
             "....XXX..",
             "...XXX...",
             "...XX....",
             ".........",
             "...XX....",
             "...XX...."], 3, 2)["X"]
    ic.flat({(x + dx, y + dy) for x, y in q for dx in (-1, 0, 1) for dy in (-1, 0, 1)
             if 0 <= x + dx < SIZE and 0 <= y + dy < SIZE} - q, BLUE_EDGE)
    ic.fill(q, BLUE, False, light=0.5, rim=False)
    return ic


def show_installed():
    ic = Icon()
    folder(ic, 4, 2, 15, 14)
    ic.sprite(LETTER_A, 8, 7, {"X": INK})
    ic.fill(rect(0, 7, 4, 9) | poly((3.5, 4), (8, 8.5), (3.5, 13)), BLUE, BLUE_EDGE)
    return ic


def exit_door():
    ic = Icon()
    ic.fill(rect(1, 0, 10, 15), (200, 200, 196), GREY_EDGE, light=0.2)
    ic.fill(poly((3, 1), (9, 2), (9, 15), (3, 14)), WOOD, WOOD_EDGE)
    ic.flat({(7, 8), (7, 9)}, GOLD)
    ic.fill(rect(9, 7, 12, 9) | poly((11.5, 4), (16, 8.5), (11.5, 13)), GREEN, GREEN_EDGE)
    return ic


def pane_menu():
    ic = Icon()
    panel = rect(2, 2, 11, 12)
    ic.fill(panel, PAGE, GREY_EDGE, light=0.0)
    ic.flat(rect(4, 4, 9, 4) | rect(4, 7, 9, 7) | rect(4, 10, 9, 10), DARK)
    ic.fill(poly((8, 11), (14, 11), (11, 14)), DARK, DARK)
    return ic


def up_one_level():
    ic = Icon()
    folder(ic, 0, 4, 12, 15)
    arrow_up(ic)
    return ic


def favourites():
    ic = Icon()
    folder(ic, 0, 4, 13, 15)
    star(ic, 10.5, 5.0, 5.4, 2.3, halo=True)
    return ic


def group_list_install():
    ic = Icon()
    folder(ic, 0, 0, 9, 7, colour=lighter(FOLDER, 0.1))
    font_page(ic, 3, 3, 12, 15)
    tick(ic, 7, 9)
    return ic


def group_list_uninstall():
    ic = Icon()
    folder(ic, 0, 0, 9, 7, colour=lighter(FOLDER, 0.1))
    font_page(ic, 3, 3, 12, 15)
    cross(ic, 8, 8)
    return ic


def restart_elevated():
    """The administrator's shield, quartered blue and gold."""
    ic = Icon()
    shield = poly((1, 1), (8, 0), (15, 1), (15, 8), (13, 12), (8, 16), (3, 12), (1, 8))
    inside = {(x, y) for (x, y) in shield if all(n in shield for n in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))}
    ic.fill(shield, BLUE, BLUE_EDGE)
    ic.fill({(x, y) for (x, y) in inside if (x < 8) != (y < 8)}, GOLD, False, light=0.4, rim=False)
    ic.flat({(x, y) for (x, y) in inside if x in (7, 8) or y in (7, 8)}, BLUE_EDGE)
    return ic


def favourite_add():
    ic = Icon()
    star(ic, 7.0, 7.5, 7.2, 3.1)
    plus(ic, 9, 9)
    return ic


def favourite_remove():
    ic = Icon()
    star(ic, 7.0, 7.5, 7.2, 3.1)
    minus(ic, 9, 9)
    return ic


# Image n of the command strip belongs to the n-th command (the order of the code's command icon
# table); 152 and 181 are kept places without a command.
COMMANDS = [
    (170, "Page setup", page_setup),
    (142, "Print", printer),
    (144, "Search", magnifier),
    (145, "Census", census),
    (143, "Refresh", refresh),
    (146, "Delete files", delete_files),
    (147, "Copy to folder", copy_to_folder),
    (148, "Install", install),
    (149, "Uninstall", uninstall),
    (150, "Install group", group_install),
    (151, "Uninstall group", group_uninstall),
    (152, "(spare) page", blank_page),
    (153, "Remove from group", remove_from_group),
    (155, "Delete group", delete_group),
    (154, "New group", new_group),
    (181, "(spare) gear", gear),
    (173, "Font sheet", font_sheet),
    (156, "Character map", character_map),
    (285, "Save font images", save_images),
    (157, "Properties", properties),
    (193, "Sample in lists", sample_in_list),
    (714, "Registered fonts", registry),
    (57670, "Help contents", book_closed),
    (57666, "Help index", book_open),
    (160, "Help", help_topic),
    (172, "Show installed", show_installed),
    (57665, "Exit / close", exit_door),
    (180, "Pane menu", pane_menu),
    (219, "Up one level", up_one_level),
    (283, "Favourites", favourites),
    (297, "Install (group)", group_list_install),
    (298, "Uninstall (group)", group_list_uninstall),
]

# The main toolbar's buttons in order (its separators have no image).
MAIN = [
    (143, "Refresh", refresh),
    (144, "Search", magnifier),
    (145, "Census", census),
    (173, "Font sheet", font_sheet),
    (156, "Character map", character_map),
    (157, "Properties", properties),
    (193, "Sample in lists", sample_in_list),
    (700, "Restart as admin", restart_elevated),
    (160, "Help", help_topic),
]

# The favourites band: 0 the favourite folder, 1 add, 2 remove.
FAVOURITES = [
    (186, "Favourite folder", favourites),
    (184, "Add favourite", favourite_add),
    (185, "Remove favourite", favourite_remove),
]


def write_bmp(path, icons, alpha):
    """A bottom-up strip: 32-bit premultiplied with alpha, or 24-bit with magenta for the mask."""
    width = SIZE * len(icons)
    bpp = 32 if alpha else 24
    stride = (width * bpp // 8 + 3) & ~3
    rows = []
    for y in range(SIZE - 1, -1, -1):
        row = bytearray()
        for ic in icons:
            for x in range(SIZE):
                c = ic.px.get((x, y))
                if alpha:
                    row += bytes((c[2], c[1], c[0], 255)) if c else bytes(4)
                else:
                    c = c or MASK
                    row += bytes((c[2], c[1], c[0]))
        rows.append(bytes(row) + bytes(stride - len(row)))
    pixels = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, width, SIZE, 1, bpp, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(pixels), 0, 0, 14 + len(header)))
        f.write(header + pixels)


def montage(path, strips, scale=8):
    """Each strip as a row of enlarged images on a toolbar-grey ground, the names underneath."""
    with tempfile.TemporaryDirectory() as tmp:
        rows = []
        for r, (title, entries, first) in enumerate(strips):
            tiles = []
            for k, (command, name, fn) in enumerate(entries, first):
                ic = fn()
                raw = bytearray()
                for y in range(SIZE):
                    for x in range(SIZE):
                        raw += bytes(ic.px.get((x, y), (212, 208, 200)))
                tile = os.path.join(tmp, f"{r}-{k}.png")
                subprocess.run(["convert", "-size", f"{SIZE}x{SIZE}", "-depth", "8", "rgb:-", "-scale",
                                f"{scale * 100}%", "-background", "white", "-gravity", "north", "-extent",
                                f"{SIZE * scale + 8}x{SIZE * scale + 8}", "-font", "DejaVu-Sans", "-pointsize", "12",
                                "-gravity", "south", "-splice", "0x30", "-annotate", "+0+4",
                                f"{k}: {command}\n{name}", tile], input=bytes(raw), check=True)
                tiles.append(tile)
            row = os.path.join(tmp, f"{r}.png")
            subprocess.run(["convert", *tiles, "+append", "-background", "white", "-gravity", "northwest",
                            *(["-splice", "0x22", "-pointsize", "16", "-annotate", "+6+2", title] if title else []),
                            row], check=True)
            rows.append(row)
        subprocess.run(["convert", *rows, "-background", "white", "-append", path], check=True)


if __name__ == "__main__":
    strips = [("toolbar_commands.bmp (bitmap 128)", COMMANDS), ("toolbar_main.bmp (bitmap 130)", MAIN),
              ("toolbar_favorites.bmp (bitmap 139)", FAVOURITES)]
    write_bmp("resources/toolbar_commands.bmp", [fn() for _, _, fn in COMMANDS], alpha=True)
    write_bmp("resources/toolbar_main.bmp", [fn() for _, _, fn in MAIN], alpha=False)
    write_bmp("resources/toolbar_favorites.bmp", [fn() for _, _, fn in FAVOURITES], alpha=False)
    if len(sys.argv) == 3 and sys.argv[1] == "--montage":
        per_row = {len(entries): 8 if len(entries) > 9 else len(entries) for _, entries in strips}
        montage(sys.argv[2], [(title if i == 0 else "", entries[i:i + per_row[len(entries)]], i)
                              for title, entries in strips for i in range(0, len(entries), per_row[len(entries)])])
    sys.exit(0)
