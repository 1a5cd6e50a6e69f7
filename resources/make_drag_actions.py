#!/usr/bin/env python3
"""Draws the action images of a font drag (bitmap 927): the icon the small window beside the
cursor shows for each action code.

Eleven 16-pixel images, 32-bit with alpha, image i for action code i:
  0 none, 1 copy files, 2 move files, 3 add to a group, 4 install, 5 none, 6 install (second
  form), 7 none, 8 copy rows to a group, 9 move rows to a group, 10 copy out of a zip folder.
Needs ImageMagick's convert. Run from the repository root; writes resources/drag_actions_16.bmp.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_font_type_images import FONT, draw, write_bmp  # noqa: E402
from make_sample_toolbar import downscale  # noqa: E402

SIZE = 16


def page(x, y, colour):
    return (["-fill", "white", "-stroke", colour, "-strokewidth", "{w}",
             "-draw", "rectangle {a},{b} {c},{d}", "-stroke", "none"],
            {"w": 3, "a": x, "b": y, "c": x + 16, "d": y + 20})


def group(colour="#E8C050"):
    return (["-fill", colour, "-stroke", "#A07810", "-strokewidth", "2",
             "-draw", "rectangle {a},{b} {c},{d}", "-draw", "rectangle {a},{e} {f},{b}"],
            {"a": 2, "b": 10, "c": 29, "d": 28, "e": 5, "f": 13})


def plus(colour):
    return (["-stroke", colour, "-strokewidth", "{w}", "-draw", "line {a},{b} {a},{c}",
             "-draw", "line {d},{e} {f},{e}"], {"w": 5, "a": 24, "b": 14, "c": 30, "d": 18, "e": 22, "f": 30})


def arrow(colour):
    return (["-stroke", colour, "-strokewidth", "{w}", "-draw", "line {a},{b} {c},{b}", "-stroke", "none",
             "-fill", colour, "-draw", "polygon {d},{e} {f},{b} {d},{g}"],
            {"w": 5, "a": 10, "b": 22, "c": 22, "d": 20, "e": 14, "f": 31, "g": 30})


def tick(colour):
    return (["-stroke", colour, "-strokewidth", "{w}", "-fill", "none",
             "-draw", "polyline {a},{b} {c},{d} {e},{f}"], {"w": 5, "a": 6, "b": 17, "c": 13, "d": 26, "e": 28, "f": 6})


def images():
    blank = []
    copy = [page(2, 2, "#2050C0"), page(10, 8, "#2050C0"), plus("#109010")]
    move = [page(2, 2, "#2050C0"), arrow("#C06000")]
    add = [group(), plus("#109010")]
    install = [page(6, 4, "#2050C0"), tick("#109010")]
    install2 = [page(6, 4, "#606060"), tick("#1060D0")]
    to_group = [group(), page(14, 10, "#2050C0")]
    move_group = [group(), arrow("#C06000")]
    zip_copy = [(["-fill", "#F0E090", "-stroke", "#806010", "-strokewidth", "{w}",
                  "-draw", "rectangle {a},{b} {c},{d}", "-stroke", "#404040",
                  "-draw", "line {e},{b} {e},{d}"], {"w": 2, "a": 3, "b": 3, "c": 24, "d": 29, "e": 13}),
                plus("#109010")]
    out = [blank, copy, move, add, install, blank, install2, blank, to_group, move_group, zip_copy]
    return [draw(SIZE * 2, ops) for ops in out]


if __name__ == "__main__":
    write_bmp("resources/drag_actions_16.bmp", SIZE, [downscale(t) for t in images()])
    sys.exit(0)
