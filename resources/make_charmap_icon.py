#!/usr/bin/env python3
"""Draws icon 227 of the resource library, the character map's button that starts the system's
Character Map: a small grid of cells with a letter in one of them, 16 and 32 pixels.
Needs ImageMagick's convert. Run from the repository root; writes resources/charmap_tool.ico.
"""
import subprocess

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"


def layer(size, name):
    s = size / 32.0
    args = ["convert", "-size", f"{size}x{size}", "xc:none", "-fill", "white", "-stroke", "#404040",
            "-strokewidth", str(max(1, round(s))), "-draw", f"rectangle {round(1*s)},{round(1*s)} {round(30*s)},{round(30*s)}"]
    for i in (1, 2):
        v = round((1 + 29 * i / 3) * s)
        args += ["-draw", f"line {v},{round(1*s)} {v},{round(30*s)}", "-draw", f"line {round(1*s)},{v} {round(30*s)},{v}"]
    args += ["-fill", "#2050C0", "-stroke", "none", "-font", FONT, "-pointsize", str(round(20 * s)),
             "-gravity", "center", "-annotate", "+0+1", "A", name]
    subprocess.run(args, check=True)


layer(16, "/tmp/charmap16.png")
layer(32, "/tmp/charmap32.png")
subprocess.run(["convert", "/tmp/charmap16.png", "/tmp/charmap32.png", "resources/charmap_tool.ico"], check=True)
