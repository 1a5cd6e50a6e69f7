#!/usr/bin/env python3
"""Draws the two pictures of the About box (RCDATA 133 and 134, PNG files with alpha).

  about_banner.png  the band across the top: the program's name over a row of letters set in
                    different faces
  about_glyph.png   the picture at the lower left: a large ampersand over a small grid, as the
                    character map shows a character
Needs ImageMagick's convert and the DejaVu fonts. Run from the repository root.
"""
import subprocess

SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
SANS_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SERIF = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"
SERIF_ITALIC = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Italic.ttf"
MONO = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"
INK = "#10507A"
SOFT = "#4A90B8"


def banner(path):
    letters = [("A", SERIF), ("a", SANS_BOLD), ("g", SERIF_ITALIC), ("Q", MONO), ("&", SERIF), ("f", SANS)]
    args = ["convert", "-size", "520x120", "xc:none",
            "-fill", INK, "-font", SANS_BOLD, "-pointsize", "40", "-gravity", "northwest",
            "-annotate", "+24+12", "Orvel Font Manager"]
    for i, (text, font) in enumerate(letters):
        args += ["-fill", SOFT, "-font", font, "-pointsize", "38", "-annotate", f"+{28 + i * 58}+66", text]
    args += ["-stroke", SOFT, "-strokewidth", "2", "-draw", "line 24,64 496,64", "-depth", "8", path]
    subprocess.run(args, check=True)


def glyph(path):
    args = ["convert", "-size", "160x200", "xc:none", "-stroke", "#B8D4E4", "-strokewidth", "1"]
    for x in range(10, 160, 35):
        args += ["-draw", f"line {x},20 {x},180"]
    for y in range(20, 200, 40):
        args += ["-draw", f"line 10,{y} 150,{y}"]
    args += ["-stroke", "none", "-fill", INK, "-font", SERIF, "-pointsize", "150", "-gravity", "center",
             "-annotate", "+0+0", "&", "-depth", "8", path]
    subprocess.run(args, check=True)


if __name__ == "__main__":
    banner("resources/about_banner.png")
    glyph("resources/about_glyph.png")
