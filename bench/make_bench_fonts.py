#!/usr/bin/python3
"""Makes the font folders the folder fill benchmark lists, OUT/fonts-1000 and OUT/fonts-5000, and
the folder of the display font benchmark, OUT/instances-1500.

Each folder holds that many distinct font files: a few real Debian fonts (where installed) and
small generated TrueType fonts, each of its own family ("Bench 00001", "Bench 00002", ...) with
outlined glyphs for the ASCII letters and digits, a Unicode cmap, a name table and an OS/2
table with its Unicode and code page ranges, so that GDI can load and draw every one of them.
The smaller folder takes copies of the larger one's first files. OUT/instances-1500 holds one
variable font, "Orvel Repeat", whose 1,500 named instances repeat 18 style names. A folder that is
complete already is left as it is.

usage: make_bench_fonts.py OUT
"""
import multiprocessing
import os
import shutil
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

SIZES = (5000, 1000)  # the smaller folder copies the larger one's first generated files
DEBIAN_FONTS = (
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/opentype/cantarell/Cantarell-Regular.otf",
)
STAMP = "complete.txt"


def box_glyph(boxes):
    pen = TTGlyphPen(None)
    for x0, y0, x1, y1 in boxes:
        pen.moveTo((x0, y0))
        pen.lineTo((x0, y1))
        pen.lineTo((x1, y1))
        pen.lineTo((x1, y0))
        pen.closePath()
    return pen.glyph()


def shapes(code, index):
    """A few boxes that differ between characters and, a little, between fonts."""
    seed = (code * 7 + index * 13) % 97
    top = 700 if chr(code).isupper() or chr(code).isdigit() else 500
    stem = 60 + seed % 40
    boxes = [(50, 0, 50 + stem, top), (50, top - stem, 450, top)]
    if code % 2:
        boxes.append((450 - stem, 0, 450, top))
    if code % 3:
        boxes.append((50, 0, 450, stem))
    return boxes


def box_font(index, family, full_name, ps_name):
    """A FontBuilder with outlined glyphs for the ASCII letters and digits, a Unicode cmap, a name
    table and an OS/2 table, ready to save or to be given variations."""
    codes = [c for c in range(0x30, 0x3A)] + [c for c in range(0x41, 0x5B)] + [c for c in range(0x61, 0x7B)]
    names = [".notdef", "space"] + ["uni%04X" % c for c in codes]
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(names)
    cmap = {0x20: "space"}
    cmap.update({c: "uni%04X" % c for c in codes})
    fb.setupCharacterMap(cmap)
    glyphs = {".notdef": box_glyph([(50, 0, 450, 700)]), "space": box_glyph([])}
    glyphs.update({"uni%04X" % c: box_glyph(shapes(c, index)) for c in codes})
    fb.setupGlyf(glyphs)
    metrics = {n: (500, 50) for n in names}
    metrics["space"] = (250, 0)
    fb.setupHorizontalMetrics(metrics)
    fb.setupHorizontalHeader(ascent=800, descent=-200)
    fb.setupNameTable({
        "familyName": family,
        "styleName": "Regular",
        "uniqueFontIdentifier": "Orvel bench: " + family,
        "fullName": full_name,
        "psName": ps_name,
        "version": "Version 1.000",
    })
    fb.setupOS2(sTypoAscender=800, sTypoDescender=-200, sTypoLineGap=0, usWinAscent=800, usWinDescent=200,
                ulUnicodeRange1=0x00000003, ulCodePageRange1=0x00000001, achVendID="ORVL",
                usWeightClass=400, fsSelection=0x40)
    fb.setupPost()
    return fb


def build_font(index, path):
    family = "Bench %05d" % index
    box_font(index, family, family, family.replace(" ", "-")).save(path)


REPEATED_STYLES = ("Thin", "ExtraLight", "Light", "Regular", "Medium", "SemiBold", "Bold", "ExtraBold", "Black",
                   "Thin Italic", "ExtraLight Italic", "Light Italic", "Italic", "Medium Italic",
                   "SemiBold Italic", "Bold Italic", "ExtraBold Italic", "Black Italic")
REPEATED_INSTANCES = 1500


def build_repeated_instances(path):
    """A variable font (wght, ital) whose named instances take the 18 style names in turn, each
    at a weight of its own: many instances, few names."""
    fb = box_font(0, "Orvel Repeat", "Orvel Repeat Regular", "OrvelRepeat-Regular")
    instances = []
    for i in range(REPEATED_INSTANCES):
        style = REPEATED_STYLES[i % len(REPEATED_STYLES)]
        location = {"wght": 100 + (i * 7) % 801, "ital": 1 if "Italic" in style else 0}
        instances.append({"location": location, "stylename": style})
    fb.setupFvar([("wght", 100, 400, 900, "Weight"), ("ital", 0, 0, 1, "Italic")], instances)
    fb.setupGvar({})
    fb.setupStat([
        {"tag": "wght", "name": "Weight", "values": [{"value": 400, "name": "Regular", "flags": 2}]},
        {"tag": "ital", "name": "Italic", "values": [{"value": 0, "name": "Upright", "flags": 2},
                                                      {"value": 1, "name": "Italic"}]},
    ])
    fb.save(path)


def make_repeated_instances(out):
    folder = os.path.join(out, "instances-%d" % REPEATED_INSTANCES)
    if os.path.exists(os.path.join(folder, STAMP)):
        return False
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    build_repeated_instances(os.path.join(folder, "OrvelRepeat-VF.ttf"))
    with open(os.path.join(folder, STAMP), "w") as stamp:
        stamp.write("one variable font of %d named instances, %d names\n" % (REPEATED_INSTANCES, len(REPEATED_STYLES)))
    return True


def build_numbered(job):
    build_font(*job)


def make_folder(out, size, pool):
    folder = os.path.join(out, "fonts-%d" % size)
    if os.path.exists(os.path.join(folder, STAMP)):
        return False
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    real = [p for p in DEBIAN_FONTS if os.path.exists(p)]
    for p in real:
        shutil.copyfile(p, os.path.join(folder, os.path.basename(p)))
    jobs = []
    for index in range(1, size - len(real) + 1):
        name = "bench%05d.ttf" % index
        made = os.path.join(out, "fonts-%d" % max(SIZES), name)
        if size != max(SIZES) and os.path.exists(made):
            shutil.copyfile(made, os.path.join(folder, name))
        else:
            jobs.append((index, os.path.join(folder, name)))
    pool.map(build_numbered, jobs, chunksize=64)
    with open(os.path.join(folder, STAMP), "w") as stamp:
        stamp.write("%d font files: %d Debian fonts, the rest generated\n" % (size, len(real)))
    return True


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with multiprocessing.Pool(min(8, os.cpu_count() or 1)) as pool:
        for size in SIZES:
            if make_folder(out, size, pool):
                print("made %s" % os.path.join(out, "fonts-%d" % size), file=sys.stderr)
    if make_repeated_instances(out):
        print("made %s" % os.path.join(out, "instances-%d" % REPEATED_INSTANCES), file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
