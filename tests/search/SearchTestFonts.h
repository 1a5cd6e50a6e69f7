// The fonts the search tests look for: small sfnt files built in memory (names, OS/2 with
// PANOSE, family class and Unicode ranges, a cmap of chosen characters, DSIG, CFF and fvar
// tables as asked), a collection, a Type 1 pair and damaged files, written as a folder tree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/SfntBuilder.h"

namespace search_test {

using sfnt_test::Bytes;

struct Face {
  std::wstring family, style, fullName;
  std::u16string characters;  // mapped to glyphs 1, 2, ... by a (3,1) format 4 subtable
  bool dsig = false, cff = false, fvar = false, symbol = false;
  uint8_t panose[10] = {};
  uint16_t familyClass = 0;
  uint32_t ranges[4] = {};
};

// A (3,1) format 4 subtable mapping each character to glyph index + 1.
Bytes Format4(const std::u16string& characters);
// A (3,10) format 12 subtable of (first, last, first glyph) groups.
Bytes Format12(const std::vector<uint32_t>& groups);
// A cmap table of (platform, encoding, subtable) records.
Bytes Cmap(const std::vector<std::pair<uint32_t, Bytes>>& subtables);
Bytes BuildFace(const Face& face);

// Writes the search tree under `root` and returns the full names every face search ("*")
// must find in it.
std::vector<std::wstring> WriteSearchTree(const std::wstring& root);

}  // namespace search_test
