#!/usr/bin/env python3
"""Draws icon 226 of the resource library, the magnifier at the right end of the groups pane's
quick-search band, 16 and 32 pixels.
Needs ImageMagick's convert. Run from the repository root; writes resources/quick_search.ico.
"""
import subprocess


def layer(size, name):
    s = size / 32.0
    w = str(max(2, round(4 * s)))
    args = ["convert", "-size", f"{size}x{size}", "xc:none",
            "-fill", "#E8F0FF", "-stroke", "#2050C0", "-strokewidth", w,
            "-draw", f"circle {round(13*s)},{round(13*s)} {round(13*s)},{round(3*s)}",
            "-stroke", "#404040", "-strokewidth", str(max(2, round(6 * s))),
            "-draw", f"line {round(20*s)},{round(20*s)} {round(29*s)},{round(29*s)}", name]
    subprocess.run(args, check=True)


layer(16, "/tmp/quicksearch16.png")
layer(32, "/tmp/quicksearch32.png")
subprocess.run(["convert", "/tmp/quicksearch16.png", "/tmp/quicksearch32.png", "resources/quick_search.ico"], check=True)
