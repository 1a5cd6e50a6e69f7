#!/usr/bin/env python3
"""Checks the three toolbar strips of the resource library (command images, main toolbar,
favourites band): each is what make_toolbar_strips.py draws, keeps the format its loaders expect,
and every image is a picture of its own: no two share a silhouette, none is a filled blob
(a square, disc or diamond) or a flat patch of one colour.

Usage: check_toolbar_strips.py [RESOURCES_DIR]   (default: the resources folder of this tree)
"""
import os
import struct
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "resources"))
SOURCE = os.path.join(HERE, "..", "..", "resources")
SIZE = 16
MIN_DIFFERENT_PIXELS = 8      # two silhouettes closer than this are taken as the same picture
MAX_HULL_FILL = 0.9           # a silhouette filling more of its convex hull ...
MAX_MAIN_COLOUR = 0.6         # ... and mostly of one colour is a plain blob, no picture

# (file, images, bits per pixel)
STRIPS = [("toolbar_commands.bmp", 32, 32), ("toolbar_main.bmp", 9, 24), ("toolbar_favorites.bmp", 3, 24)]


def read_strip(path):
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        raise ValueError("not a bitmap")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bpp, compression = struct.unpack_from("<iiHHI", data, 18)
    step = bpp // 8
    stride = (width * step + 3) & ~3
    if compression != 0 or height <= 0 or len(data) < offset + stride * height:
        raise ValueError("unexpected layout")
    pixels = {}
    for y in range(height):
        row = offset + (height - 1 - y) * stride
        for x in range(width):
            pixels[(x, y)] = tuple(data[row + x * step: row + (x + 1) * step])
    return width, height, bpp, pixels


def silhouettes(width, bpp, pixels):
    """Per image: (opaque pixel set, pixels per colour). 24-bit strips are masked by their top-left colour."""
    key = pixels[(0, 0)]
    out = []
    for i in range(width // SIZE):
        shape, colours = set(), {}
        for y in range(SIZE):
            for x in range(SIZE):
                p = pixels[(i * SIZE + x, y)]
                if (p[3] > 0) if bpp == 32 else (p != key):
                    shape.add((x, y))
                    colours[p[:3]] = colours.get(p[:3], 0) + 1
        out.append((frozenset(shape), colours))
    return out


def hull_area(shape):
    """Area of the convex hull of the pixel squares (monotone chain, shoelace)."""
    pts = sorted({(x + dx, y + dy) for x, y in shape for dx in (0, 1) for dy in (0, 1)})
    def cross(o, a, b):
        return (a[0] - o[0]) * (b[1] - o[1]) - (a[1] - o[1]) * (b[0] - o[0])
    lower, upper = [], []
    for p in pts:
        while len(lower) >= 2 and cross(lower[-2], lower[-1], p) <= 0:
            lower.pop()
        lower.append(p)
    for p in reversed(pts):
        while len(upper) >= 2 and cross(upper[-2], upper[-1], p) <= 0:
            upper.pop()
        upper.append(p)
    hull = lower[:-1] + upper[:-1]
    return abs(sum(hull[i][0] * hull[i - 1][1] - hull[i - 1][0] * hull[i][1] for i in range(len(hull)))) / 2


def check(resources):
    faults = []
    for name, count, bpp_wanted in STRIPS:
        path = os.path.join(resources, name)
        try:
            width, height, bpp, pixels = read_strip(path)
        except (OSError, ValueError) as e:
            faults.append(f"{name}: cannot be read ({e})")
            continue
        if (width, height, bpp) != (SIZE * count, SIZE, bpp_wanted):
            faults.append(f"{name}: {width} x {height} x {bpp}, wanted {SIZE * count} x {SIZE} x {bpp_wanted}")
            continue
        images = silhouettes(width, bpp, pixels)
        for i, (shape, colours) in enumerate(images):
            if len(shape) < 24:
                faults.append(f"{name} image {i}: only {len(shape)} pixels drawn")
                continue
            if len(colours) < 3:
                faults.append(f"{name} image {i}: a flat patch of {len(colours)} colour(s)")
            fill = len(shape) / hull_area(shape)
            main = max(colours.values()) / len(shape)
            if fill > MAX_HULL_FILL and main > MAX_MAIN_COLOUR:
                faults.append(f"{name} image {i}: a plain blob ({fill:.0%} of its convex hull, "
                              f"{main:.0%} in one colour)")
        for i in range(len(images)):
            for j in range(i + 1, len(images)):
                differ = len(images[i][0] ^ images[j][0])
                if differ < MIN_DIFFERENT_PIXELS:
                    faults.append(f"{name}: images {i} and {j} share a silhouette ({differ} pixels apart)")
    return faults


def check_generated(resources):
    """The committed strips are the ones the script draws."""
    sys.path.insert(0, SOURCE)
    import make_toolbar_strips as strips
    faults = []
    with tempfile.TemporaryDirectory() as tmp:
        for name, entries, alpha in (("toolbar_commands.bmp", strips.COMMANDS, True),
                                     ("toolbar_main.bmp", strips.MAIN, False),
                                     ("toolbar_favorites.bmp", strips.FAVOURITES, False)):
            out = os.path.join(tmp, name)
            strips.write_bmp(out, [fn() for _, _, fn in entries], alpha)
            try:
                same = open(out, "rb").read() == open(os.path.join(resources, name), "rb").read()
            except OSError:
                same = False
            if not same:
                faults.append(f"{name}: not what make_toolbar_strips.py draws (run it from the repository root)")
    return faults


if __name__ == "__main__":
    faults = check(RESOURCES)
    if len(sys.argv) <= 1:
        faults += check_generated(RESOURCES)
    for f in faults:
        print(f)
    print("toolbar strips: " + ("fine" if not faults else f"{len(faults)} faults"))
    sys.exit(1 if faults else 0)
