// The characters a character map shows, one entry per cell in order: the code points of a
// font's (3,10) cmap subtable, or those GDI reports in the font's Unicode ranges. Built on the
// main thread from the font selected into a device context; read by the grid.
//
// The (3,10) subtable comes from the font file: it is checked before use. Its groups must fit
// the subtable and the table's bytes; a group that runs backwards is skipped, one that overlaps
// the groups before it keeps only its new code points, code points end at U+10FFFF, and the
// list stops at kMaxCodePoints entries, so no cmap can make the list huge or hang its build.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/ByteReader.h"

class CodePointList {
public:
  static constexpr uint32_t kFirstShown = 0x20;        // control characters are not shown
  static constexpr uint32_t kLastCodePoint = 0x10FFFF;
  static constexpr uint32_t kMaxCodePoints = 0x40000;  // more than Unicode assigns
  static constexpr uint32_t kMaxCmapBytes = 32u << 20;

  // The code points of the first (3,10) subtable of a 'cmap' table, format 12 or 13; false, with
  // the list emptied, when there is none or it holds no code point from U+0020 on.
  bool ReadUcs4Cmap(const ByteReader& cmap);
  // Whether a 'cmap' table has a (3,10) subtable (the one GDI then uses).
  static bool HasUcs4Subtable(const ByteReader& cmap);
  // The 'cmap' table of the font selected into `dc` (GetFontData); empty when there is none.
  static std::vector<uint8_t> ReadCmapTable(HDC dc);
  // The code points from U+0020 on of GetFontUnicodeRanges for the font selected into `dc`; the
  // reported count is GDI's count of supported characters. Empty when GDI reports nothing.
  void ReadUnicodeRanges(HDC dc);
  void Clear();

  // The entry at `index`; 0 past the end.
  uint32_t At(size_t index) const { return index < points_.size() ? points_[index] : 0; }
  size_t Size() const { return points_.size(); }
  const std::vector<uint32_t>& Points() const { return points_; }
  // The count the source reported (shown above the grid).
  uint32_t ReportedCount() const { return reportedCount_; }
  // Rows of 16 cells: the entries / 16 + 1.
  uint32_t Rows() const { return static_cast<uint32_t>(points_.size() / 16 + 1); }

private:
  std::vector<uint32_t> points_;
  uint32_t reportedCount_ = 0;
};

// The UTF-16 text of a code point: one unit up to U+FFFF, the surrogate pair above.
std::wstring CodePointText(uint32_t codePoint);

// A count as the character map prints it: "999", "1 234", "65 000", "1000 000".
std::wstring FormatCodePointCount(uint32_t count);
