#!/usr/bin/python3
"""Writes unicode_blocks.txt, the block table behind the character map's block
names, the names of the OS/2 Unicode-range bits and the search filter's
Unicode-range list.

Input: the Unicode block list (Blocks.txt of the Debian package unicode-data).

    /usr/bin/python3 resources/make_unicode_blocks.py [Blocks.txt] [output]

Output rows: rangeBit|listPosition|first|last|name

The file has two groups:
  1. One row per OS/2 range bit 0..122, list positions 0, 1, 2, ... in the
     order in which the bits first occur in Unicode order. The range list is
     filled by scanning for each position until the first row of position 127,
     so these rows must all come before any unlisted row. A listed row carries
     the name and range of the block that best names its bit (normally the
     first block with that bit), so block lookups for that range still give
     the right name.
  2. Every block in Unicode order with list position 127.

Blocks the OS/2 table gives no bit: supplementary-plane blocks take bit 57
(any character beyond the BMP implies it), BMP blocks take 127, which names
no range bit: a font that sets one of the reserved bits 123 to 126 gets no
name for it, while the block still names its code points.
"""

import re
import sys

NON_PLANE_0 = 57
NO_BIT = 127

# OS/2 ulUnicodeRange bit assignments (OpenType 1.9), by Unicode block name.
OS2_BITS = {
    0: ["Basic Latin"],
    1: ["Latin-1 Supplement"],
    2: ["Latin Extended-A"],
    3: ["Latin Extended-B"],
    4: ["IPA Extensions", "Phonetic Extensions", "Phonetic Extensions Supplement"],
    5: ["Spacing Modifier Letters", "Modifier Tone Letters"],
    6: ["Combining Diacritical Marks", "Combining Diacritical Marks Supplement"],
    7: ["Greek and Coptic"],
    8: ["Coptic"],
    9: ["Cyrillic", "Cyrillic Supplement", "Cyrillic Extended-A", "Cyrillic Extended-B"],
    10: ["Armenian"],
    11: ["Hebrew"],
    12: ["Vai"],
    13: ["Arabic", "Arabic Supplement"],
    14: ["NKo"],
    15: ["Devanagari"],
    16: ["Bengali"],
    17: ["Gurmukhi"],
    18: ["Gujarati"],
    19: ["Oriya"],
    20: ["Tamil"],
    21: ["Telugu"],
    22: ["Kannada"],
    23: ["Malayalam"],
    24: ["Thai"],
    25: ["Lao"],
    26: ["Georgian", "Georgian Supplement"],
    27: ["Balinese"],
    28: ["Hangul Jamo"],
    29: ["Latin Extended Additional", "Latin Extended-C", "Latin Extended-D"],
    30: ["Greek Extended"],
    31: ["General Punctuation", "Supplemental Punctuation"],
    32: ["Superscripts and Subscripts"],
    33: ["Currency Symbols"],
    34: ["Combining Diacritical Marks for Symbols"],
    35: ["Letterlike Symbols"],
    36: ["Number Forms"],
    37: ["Arrows", "Supplemental Arrows-A", "Supplemental Arrows-B",
         "Miscellaneous Symbols and Arrows"],
    38: ["Mathematical Operators", "Supplemental Mathematical Operators",
         "Miscellaneous Mathematical Symbols-A", "Miscellaneous Mathematical Symbols-B"],
    39: ["Miscellaneous Technical"],
    40: ["Control Pictures"],
    41: ["Optical Character Recognition"],
    42: ["Enclosed Alphanumerics"],
    43: ["Box Drawing"],
    44: ["Block Elements"],
    45: ["Geometric Shapes"],
    46: ["Miscellaneous Symbols"],
    47: ["Dingbats"],
    48: ["CJK Symbols and Punctuation"],
    49: ["Hiragana"],
    50: ["Katakana", "Katakana Phonetic Extensions"],
    51: ["Bopomofo", "Bopomofo Extended"],
    52: ["Hangul Compatibility Jamo"],
    53: ["Phags-pa"],
    54: ["Enclosed CJK Letters and Months"],
    55: ["CJK Compatibility"],
    56: ["Hangul Syllables"],
    57: ["High Surrogates", "High Private Use Surrogates", "Low Surrogates"],
    58: ["Phoenician"],
    59: ["CJK Unified Ideographs", "CJK Radicals Supplement", "Kangxi Radicals",
         "Ideographic Description Characters", "CJK Unified Ideographs Extension A",
         "CJK Unified Ideographs Extension B", "Kanbun"],
    60: ["Private Use Area"],
    61: ["CJK Strokes", "CJK Compatibility Ideographs",
         "CJK Compatibility Ideographs Supplement"],
    62: ["Alphabetic Presentation Forms"],
    63: ["Arabic Presentation Forms-A"],
    64: ["Combining Half Marks"],
    65: ["Vertical Forms", "CJK Compatibility Forms"],
    66: ["Small Form Variants"],
    67: ["Arabic Presentation Forms-B"],
    68: ["Halfwidth and Fullwidth Forms"],
    69: ["Specials"],
    70: ["Tibetan"],
    71: ["Syriac"],
    72: ["Thaana"],
    73: ["Sinhala"],
    74: ["Myanmar"],
    75: ["Ethiopic", "Ethiopic Supplement", "Ethiopic Extended"],
    76: ["Cherokee"],
    77: ["Unified Canadian Aboriginal Syllabics"],
    78: ["Ogham"],
    79: ["Runic"],
    80: ["Khmer", "Khmer Symbols"],
    81: ["Mongolian"],
    82: ["Braille Patterns"],
    83: ["Yi Syllables", "Yi Radicals"],
    84: ["Tagalog", "Hanunoo", "Buhid", "Tagbanwa"],
    85: ["Old Italic"],
    86: ["Gothic"],
    87: ["Deseret"],
    88: ["Byzantine Musical Symbols", "Musical Symbols", "Ancient Greek Musical Notation"],
    89: ["Mathematical Alphanumeric Symbols"],
    90: ["Supplementary Private Use Area-A", "Supplementary Private Use Area-B"],
    91: ["Variation Selectors", "Variation Selectors Supplement"],
    92: ["Tags"],
    93: ["Limbu"],
    94: ["Tai Le"],
    95: ["New Tai Lue"],
    96: ["Buginese"],
    97: ["Glagolitic"],
    98: ["Tifinagh"],
    99: ["Yijing Hexagram Symbols"],
    100: ["Syloti Nagri"],
    101: ["Linear B Syllabary", "Linear B Ideograms", "Aegean Numbers"],
    102: ["Ancient Greek Numbers"],
    103: ["Ugaritic"],
    104: ["Old Persian"],
    105: ["Shavian"],
    106: ["Osmanya"],
    107: ["Cypriot Syllabary"],
    108: ["Kharoshthi"],
    109: ["Tai Xuan Jing Symbols"],
    110: ["Cuneiform", "Cuneiform Numbers and Punctuation"],
    111: ["Counting Rod Numerals"],
    112: ["Sundanese"],
    113: ["Lepcha"],
    114: ["Ol Chiki"],
    115: ["Saurashtra"],
    116: ["Kayah Li"],
    117: ["Rejang"],
    118: ["Cham"],
    119: ["Ancient Symbols"],
    120: ["Phaistos Disc"],
    121: ["Carian", "Lycian", "Lydian"],
    122: ["Domino Tiles", "Mahjong Tiles"],
}

# Bits whose list entry is better named after another block than the first
# one in Unicode order; the value is the block whose name and range it takes.
# Bit 57 gets a row of its own: the surrogates stand for all the planes
# beyond the BMP.
LIST_BLOCK = {
    59: "CJK Unified Ideographs",
    61: "CJK Compatibility Ideographs",
}
NON_PLANE_0_ROW = (0xD800, 0xDFFF, "Non-Plane 0")


def read_blocks(path):
    blocks = []
    pattern = re.compile(r"^([0-9A-F]+)\.\.([0-9A-F]+);\s*(.+?)\s*$")
    with open(path, encoding="utf-8") as f:
        for line in f:
            m = pattern.match(line)
            if m:
                blocks.append((int(m.group(1), 16), int(m.group(2), 16), m.group(3)))
    return blocks


def bit_of(block, by_name):
    first, _, name = block
    if name in by_name:
        return by_name[name]
    return NON_PLANE_0 if first > 0xFFFF else NO_BIT


def fmt(bit, pos, first, last, name):
    return f"{bit}|{pos}|{first:04X}|{last:04X}|{name}"


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/unicode/Blocks.txt"
    dst = sys.argv[2] if len(sys.argv) > 2 else "resources/unicode_blocks.txt"
    blocks = read_blocks(src)
    known = {b[2] for b in blocks}
    by_name = {}
    for bit, names in OS2_BITS.items():
        for n in names:
            if n not in known:
                sys.exit(f"block name not in the block list: {n}")
            by_name[n] = bit
    by_block_name = {b[2]: b for b in blocks}

    # Bits in the order of their first block.
    order = []
    first_block = {}
    for b in blocks:
        bit = bit_of(b, by_name)
        if bit != NO_BIT and bit not in first_block:
            first_block[bit] = b
            order.append(bit)
    if sorted(order) != list(range(123)):
        sys.exit("not every range bit 0..122 has a block")

    lines = [
        "# Unicode blocks (Unicode 15.0): OS/2 range bit|list position|first|last|name",
        "# Rows with list positions 0, 1, 2, ... fill the search filter's range list;",
        "# they must all precede the first row of list position 127.",
    ]
    for pos, bit in enumerate(order):
        if bit == NON_PLANE_0:
            first, last, name = NON_PLANE_0_ROW
        else:
            first, last, name = by_block_name[LIST_BLOCK[bit]] if bit in LIST_BLOCK \
                else first_block[bit]
        lines.append(fmt(bit, pos, first, last, name))
    lines.append("# Every block, in Unicode order")
    for b in blocks:
        lines.append(fmt(bit_of(b, by_name), 127, *b))
    with open(dst, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
