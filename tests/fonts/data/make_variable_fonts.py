#!/usr/bin/python3
"""Builds the small variable fonts the reader tests use (run with Debian's python3-fonttools):

  OrvelVarStat.ttf     two axes, three named instances; the STAT design axes are listed in
                       another order than the fvar axes, so instance names come from STAT values
  OrvelVarPlain.ttf    the same font with STAT axes in fvar order: names come from the instances'
                       own subfamily names
  OrvelVarNoStat.ttf   the same font without a STAT table

Usage: make_variable_fonts.py [output folder]   (default: the folder of this script)
"""
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.otlLib.builder import buildStatTable

FAMILY = "Orvel Var"


def box_glyph():
    pen = TTGlyphPen(None)
    pen.moveTo((100, 0))
    pen.lineTo((100, 700))
    pen.lineTo((500, 700))
    pen.lineTo((500, 0))
    pen.closePath()
    return pen.glyph()


def build(path, stat):
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder([".notdef", "A"])
    fb.setupCharacterMap({0x41: "A"})
    fb.setupGlyf({".notdef": box_glyph(), "A": box_glyph()})
    fb.setupHorizontalMetrics({".notdef": (600, 100), "A": (600, 100)})
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    fb.setupNameTable({
        "familyName": FAMILY,
        "styleName": "Regular",
        "uniqueFontIdentifier": "Orvel Var Regular; test",
        "fullName": "Orvel Var Regular",
        "psName": "OrvelVar-Regular",
        "version": "Version 1.000",
        "typographicFamily": FAMILY,
        "typographicSubfamily": "Regular",
    })
    fb.setupOS2(sTypoAscender=800, usWinAscent=800, usWinDescent=200, fsSelection=0x40,
                ulUnicodeRange1=1)
    fb.setupPost()
    axes = [("wght", 100, 400, 900, "Weight"), ("wdth", 50, 100, 100, "Width")]
    instances = [
        dict(location=dict(wght=300, wdth=100), stylename="Instance Light", postscriptfontname="OrvelVar-Light"),
        dict(location=dict(wght=700, wdth=100), stylename="Instance Bold", postscriptfontname="OrvelVar-Bold"),
        dict(location=dict(wght=700, wdth=75), stylename="Instance Bold Narrow", postscriptfontname="OrvelVar-BoldCond"),
    ]
    fb.setupFvar(axes, instances)
    weight = dict(tag="wght", name="Weight", ordering=0, values=[
        dict(value=300, name="Light"),
        dict(value=400, name="Regular", flags=0x2),
        dict(value=700, name="Bold"),
    ])
    width = dict(tag="wdth", name="Width", ordering=1, values=[
        dict(value=100, name="Normal", flags=0x2),
        dict(value=75, name="Condensed"),
    ])
    if stat == "swapped":
        buildStatTable(fb.font, [width, weight])
    elif stat == "fvar-order":
        buildStatTable(fb.font, [weight, width])
    fb.save(path)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    build(os.path.join(out, "OrvelVarStat.ttf"), "swapped")
    build(os.path.join(out, "OrvelVarPlain.ttf"), "fvar-order")
    build(os.path.join(out, "OrvelVarNoStat.ttf"), None)


if __name__ == "__main__":
    main()
