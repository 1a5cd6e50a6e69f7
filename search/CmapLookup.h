// Which glyph a Unicode font maps a character to, read from the font file's 'cmap' table: the
// subtable GDI takes for such a font, (3,10) in format 12 and else (3,1) in format 4. The
// search uses it to test characters without loading each font into GDI.
//
// The table comes from the file and is checked before use: a subtable must lie inside the
// table's bytes; format 12 groups that run backwards, start past U+10FFFF or overlap the groups
// before them are dropped and the others cut at U+10FFFF, so the kept groups are ascending and
// a lookup is a binary search; format 4 arrays must fit the bytes there are, and a glyph index
// read through idRangeOffset is read bounds-checked. Loading costs at most one pass over the
// bytes given, a lookup O(log n): no cmap can make the search hang. The lookup keeps what it
// needs of the table: the caller's bytes may go after Load. Any thread; one object per thread.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/ByteReader.h"

class CmapLookup {
public:
  // The most bytes of a 'cmap' table the search reads (CJK fonts hold a few hundred kB).
  static constexpr uint32_t kMaxCmapBytes = 4u << 20;
  static constexpr uint32_t kLastCodePoint = 0x10FFFF;

  // Takes the (3,10) format 12 subtable, else the (3,1) format 4 one; false, holding nothing,
  // when the table has neither in a usable form (a symbol font's (3,0) table, say).
  bool Load(const ByteReader& cmap);
  bool IsLoaded() const { return kind_ != Kind::kNone; }

  // The glyph index the subtable gives the code point; 0 when it maps none.
  uint32_t GlyphOf(uint32_t codePoint) const;

  // The number of groups (format 12) or segments (format 4) kept.
  size_t RangeCount() const { return kind_ == Kind::kSegmented ? groups_.size() : segCount_; }

private:
  enum class Kind { kNone, kSegmented, kSegmentMapping };
  struct Group {
    uint32_t first;
    uint32_t last;
    uint32_t glyph;  // the glyph of `first`
  };

  bool LoadSegmented(const ByteReader& subtable);
  bool LoadSegmentMapping(const ByteReader& subtable);
  uint32_t SegmentGlyph(uint32_t codePoint) const;

  Kind kind_ = Kind::kNone;
  std::vector<Group> groups_;
  std::vector<uint8_t> format4Bytes_;  // the format 4 subtable, as far as a lookup can reach
  ByteReader format4_;                 // over format4Bytes_
  uint32_t segCount_ = 0;
};
