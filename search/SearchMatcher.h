// The tests a face must pass to be a search result, in their fixed order: the name pattern, and
// with the filter on the font kinds, the Unicode ranges (or symbol mode) and the characters,
// and in the similar-fonts mode PANOSE and family-class likeness to the reference font.
//
// The search dialog fills one matcher before a search and hands a copy to the worker, which
// runs the tests on its own thread; nothing here touches a window.
#pragma once

#include <cstdint>
#include <string>

#include "fonts/FontItem.h"
#include "search/SearchFilter.h"

class FontFileReader;

class SearchMatcher {
public:
  // Bits of `similarFlags`; 0 outside the similar-fonts mode.
  static constexpr uint32_t kPanoseLikeness = 0x1;
  static constexpr uint32_t kSameFamilyClass = 0x2;
  // Characters are asked of GDI in a font of this height when the file's cmap cannot say.
  static constexpr int kGlyphQueryHeight = 10;

  std::wstring pattern;      // masks joined by ";", matched as the shell matches file names
  bool familyNames = false;  // name mode: family names, else full names
  bool filterOn = false;
  SearchFilter filter;
  uint32_t similarFlags = 0;
  uint8_t referencePanose[10]{};
  uint16_t referenceFamilyClass = 0;

  // Every test in order on the face `face` holds (a collection face or a whole font file).
  bool Matches(FontFileReader& face) const;

  bool MatchName(const FontItem& face) const;
  bool MatchTypes(const FontItem& face) const;
  // The range part and then the character part of the filter.
  bool MatchGlyphsAndRanges(FontFileReader& face) const;
  bool MatchRanges(const FontItem& face) const;
  // The characters through the face's own cmap when the file has a Unicode one, else through
  // GDI (the face loaded privately when it is not installed).
  bool MatchGlyphs(FontFileReader& face) const;
  bool MatchGlyphsByGdi(const FontItem& face) const;
  bool MatchSimilar(const FontItem& face) const;

  // Whether a face with these glyph answers passes: every character present (glyph mode 1),
  // or every one absent (0).
  bool AcceptsGlyphs(const bool* present, size_t count) const;
};

// The shell's matching (PathMatchSpecW) of a name against masks joined by ";".
bool MatchesNameSpec(const std::wstring& name, const std::wstring& masks);
