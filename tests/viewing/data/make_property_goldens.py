#!/usr/bin/python3
"""Writes the expected data of the font property pages, read with fontTools from the same files
the tests open (run with Debian's python3-fonttools from the repository root):

  tests/viewing/data/golden/property_pages.jsonl   one flat JSON object per font, string values

Fonts: DejaVu Sans (TrueType), Cantarell Bold (CFF OpenType), face 1 of Noto Sans CJK Regular
(a collection), named instance 1 of OrvelVarPlain.ttf (a variable font) and the Type 1 font
NimbusMonoPS-Italic (the tests wrap its ".t1" as a ".pfb").

The name records are chosen as the program chooses them in a US-English system: of the records
of platforms 0 to 3 (the table ends at the first other platform), the last one of each name ID
whose platform is 0 to 2 or whose language is US English; platform 1 strings are Windows-1252.
"""
import json
import os
import struct
import sys

from fontTools.t1Lib import T1Font
from fontTools.ttLib import TTCollection, TTFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", "..", ".."))
BLOCKS = os.path.join(ROOT, "resources", "unicode_blocks.txt")

FONTS = [
    ("DejaVuSans", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", None),
    ("CantarellBold", "/usr/share/fonts/opentype/cantarell/Cantarell-Bold.otf", None),
    ("NotoSansCJKFace1", "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", 1),
    ("OrvelVarInstance1", os.path.join(ROOT, "tests", "fonts", "data", "OrvelVarPlain.ttf"), 1),
]
TYPE1 = ("NimbusMonoPSItalic", "/usr/share/fonts/type1/urw-base35/NimbusMonoPS-Italic.t1")
US_ENGLISH = 0x409


def range_bit_names():
    names = {}
    with open(BLOCKS, encoding="utf-8") as f:
        for line in f.read().replace("\r", "\n").split("\n"):
            if not line or line.startswith("#"):
                continue
            fields = [x for x in line.split("|") if x != ""]
            if len(fields) < 5:
                continue
            bit = int(fields[0]) & 0xFF
            if bit < 127 and bit not in names:
                names[bit] = fields[4]
    return names


def decode(rec, data):
    if rec.platformID == 1:
        text = data.decode("cp1252", errors="replace")
    else:
        units = [(data[2 * i] << 8) | data[2 * i + 1] for i in range(len(data) // 2)]
        text = struct.pack("<%dH" % len(units), *units).decode("utf-16-le", errors="surrogatepass")
    return text.split("\0")[0]


def program_names(font):
    chosen = {}
    platform = encoding = 0
    for rec in font["name"].names:
        if rec.platformID > 3:
            break
        data = rec.toBytes()
        if not data or rec.nameID > 25:
            continue
        if rec.platformID <= 2 or rec.langID == US_ENGLISH:
            chosen[rec.nameID] = decode(rec, data)
            platform, encoding = rec.platformID, rec.platEncID
    return chosen, platform, encoding


def revision_text(fixed):
    negative = fixed < 0
    magnitude = -fixed if negative else fixed
    whole, fraction = magnitude >> 16, magnitude & 0xFFFF
    thousandths = (1000 * fraction + 0x8000) // 0x10000
    if thousandths >= 1000:
        whole, thousandths = whole + 1, thousandths - 1000
    return "%s%d.%03d" % ("-" if negative else "", whole, thousandths)


def has_vertical(font):
    if "vhea" in font:
        return True
    if "CFF " in font and "VORG" in font:
        return True
    if "GSUB" in font and font["GSUB"].table.FeatureList:
        return any(r.FeatureTag in ("vert", "vrt2") for r in font["GSUB"].table.FeatureList.FeatureRecord)
    return False


def sfnt_record(label, path, index):
    if path.endswith(".ttc"):
        font = TTCollection(path).fonts[index]
    else:
        font = TTFont(path)
    names, platform, encoding = program_names(font)
    head, os2, maxp = font["head"], font["OS/2"], font["maxp"]
    fixed = int(round(head.fontRevision * 65536))
    panose = os2.panose
    panose_bytes = [panose.bFamilyType, panose.bSerifStyle, panose.bWeight, panose.bProportion, panose.bContrast,
                    panose.bStrokeVariation, panose.bArmStyle, panose.bLetterForm, panose.bMidline, panose.bXHeight]
    ranges = [os2.ulUnicodeRange1, os2.ulUnicodeRange2, os2.ulUnicodeRange3, os2.ulUnicodeRange4]
    bits = range_bit_names()
    range_names = [bits[b] for b in range(128) if ranges[b // 32] & (1 << (b % 32)) and b in bits]
    record = {
        "label": label,
        "fullName": names.get(4, ""), "family": names.get(1, ""), "subfamily": names.get(2, ""),
        "uniqueId": names.get(3, ""), "postScriptName": names.get(6, ""), "version": names.get(5, ""),
        "manufacturer": names.get(8, ""), "designer": names.get(9, ""), "vendorUrl": names.get(11, ""),
        "copyright": names.get(0, ""), "trademark": names.get(7, ""), "description": names.get(10, ""),
        "license": names.get(13, ""), "licenseUrl": names.get(14, ""),
        "vendorId": os2.achVendID.split("\0")[0],
        "fontRevision": str(fixed), "revisionText": revision_text(fixed),
        # fontTools gives the head dates in seconds since 1904 (time stamps of 64 bits).
        "created": str(head.created), "modified": str(head.modified),
        "numGlyphs": str(maxp.numGlyphs),
        "dsig": str("DSIG" in font).lower(), "cff": str("CFF " in font).lower(),
        "vertical": str(has_vertical(font)).lower(), "ebdt": str("EBDT" in font).lower(),
        "svg": str("SVG " in font).lower(), "fvar": str("fvar" in font).lower(),
        "panose": "".join("%02x" % b for b in panose_bytes),
        "fsType": str(os2.fsType), "os2Version": str(os2.version), "familyClass": str(os2.sFamilyClass),
        "unicodeRange": " ".join("%08x" % r for r in ranges),
        "codePageRange": " ".join("%08x" % r for r in ([os2.ulCodePageRange1, os2.ulCodePageRange2]
                                                       if os2.version > 0 else [0, 0])),
        "platformId": str(platform), "encodingId": str(encoding),
        "rangeNames": "|".join(range_names),
        "instanceCount": "0",
    }
    if "fvar" in font:
        instance = font["fvar"].instances[index]
        family = names.get(16) or names.get(1, "")
        subfamily = font["name"].getDebugName(instance.subfamilyNameID)
        record.update({"family": family, "subfamily": subfamily, "fullName": family + " " + subfamily,
                       "uniqueId": family + " " + subfamily, "instanceCount": str(len(font["fvar"].instances))})
    return record


def type1_record(label, path):
    font = T1Font(path)
    font.parse()
    info = font.font["FontInfo"]
    text = lambda key: str(info.get(key, ""))
    return {
        "label": label, "fullName": text("FullName"), "family": text("FamilyName"),
        "weightAndAngle": text("Weight") + " / angle: " + text("ItalicAngle") + " \u00b0",
        "monospaced": "true" if info.get("isFixedPitch") else "false",
        "uniqueId": str(font.font.get("UniqueID", "")), "postScriptName": str(font.font["FontName"]),
        "version": text("version"), "copyright": text("Copyright"), "notice": text("Notice"),
    }


def main():
    out = os.path.join(HERE, "golden", "property_pages.jsonl")
    with open(out, "w", encoding="ascii", newline="\n") as f:
        for label, path, index in FONTS:
            f.write(json.dumps(sfnt_record(label, path, index)) + "\n")
        f.write(json.dumps(type1_record(*TYPE1)) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
