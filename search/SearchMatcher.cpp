#include "search/SearchMatcher.h"

#include <shlwapi.h>

#include <vector>

#include "app/AppState.h"
#include "fonts/FontFileReader.h"
#include "framework/Handles.h"
#include "search/CmapLookup.h"

using namespace font_flags;

namespace {

constexpr wchar_t kPassEverything[] = L"*";
constexpr WORD kMissingGlyph = 0xFFFF;

bool NamePasses(const std::wstring& name, const std::wstring& masks) { return !name.empty() && MatchesNameSpec(name, masks); }

}  // namespace

bool MatchesNameSpec(const std::wstring& name, const std::wstring& masks) {
  return ::PathMatchSpecW(name.c_str(), masks.c_str()) != FALSE;
}

bool SearchMatcher::Matches(FontFileReader& face) const {
  if (!MatchName(face)) return false;
  if (filterOn && (!MatchTypes(face) || !MatchGlyphsAndRanges(face))) return false;
  return similarFlags == 0 || MatchSimilar(face);
}

bool SearchMatcher::MatchName(const FontItem& face) const {
  if (pattern == kPassEverything) return true;
  const FontNames& names = face.names;
  if (familyNames) {
    if (NamePasses(names.System(NameSlot::Family), pattern)) return true;
    return NamePasses(names.English(NameSlot::Family), pattern);
  }
  if (NamePasses(names.System(NameSlot::FullName), pattern) || NamePasses(names.English(NameSlot::FullName), pattern))
    return true;
  return MatchesNameSpec(face.displayName, pattern);
}

bool SearchMatcher::MatchTypes(const FontItem& face) const {
  if (filter.kindSwitch != SearchFilter::kKindsSelected) return true;
  const uint32_t flags = face.flags;
  for (int kind = 1; kind <= SearchFilter::kKindCount; ++kind) {
    if (!filter.HasKind(kind)) continue;
    bool passes = false;
    switch (kind) {
      case SearchFilter::kType1: passes = (flags & 0x5) == kType1; break;
      case SearchFilter::kTrueTypeNoDsig: passes = (flags & 0x7) == kSfnt; break;
      case SearchFilter::kTrueTypeOutlines: passes = (flags & 0x5) == kTrueTypeOutlines; break;
      case SearchFilter::kOpenTypeCff: passes = (flags & 0x5) == kOpenTypeCff; break;
      case SearchFilter::kCollectionFace: passes = (flags & kCollectionFace) != 0; break;
      case SearchFilter::kVariable: passes = (flags & kVariable) != 0; break;
      default: break;
    }
    if (passes) return true;
  }
  return false;
}

bool SearchMatcher::MatchGlyphsAndRanges(FontFileReader& face) const {
  return MatchRanges(face) && MatchGlyphs(face);
}

bool SearchMatcher::MatchRanges(const FontItem& face) const {
  if (filter.symbolMode != 0) return face.IsSymbol();
  const uint32_t* mask = filter.rangeMask;
  if ((mask[0] | mask[1] | mask[2] | mask[3]) == 0) return true;
  if (!face.HasUnicodeRanges()) return false;
  for (int word = 0; word < 4; ++word)
    if ((face.unicodeRange[word] & mask[word]) != mask[word]) return false;
  return true;
}

bool SearchMatcher::AcceptsGlyphs(const bool* present, size_t count) const {
  for (size_t i = 0; i < count; ++i)
    if (present[i] != (filter.glyphMode != 0)) return false;
  return true;
}

bool SearchMatcher::MatchGlyphs(FontFileReader& face) const {
  const std::wstring characters = filter.Characters();
  if (characters.empty()) return true;
  if (face.HasFlag(kSfnt) && face.OpenSfnt(0)) {
    // The face's own cmap, read from the file: no font loaded into GDI for the test.
    const ByteReader cmap = face.ReadTable("cmap", CmapLookup::kMaxCmapBytes);
    CmapLookup lookup;
    if (lookup.Load(cmap)) {
      bool present[SearchFilter::kMaxCharacters]{};
      for (size_t i = 0; i < characters.size(); ++i) present[i] = lookup.GlyphOf(characters[i]) != 0;
      return AcceptsGlyphs(present, characters.size());
    }
  }
  return MatchGlyphsByGdi(face);
}

bool SearchMatcher::MatchGlyphsByGdi(const FontItem& face) const {
  const std::wstring characters = filter.Characters();
  if (!face.IsInstalled()) g_AppState.FontCache.Add(face.GetFilePaths(), face.displayName.c_str());
  // Drawing sets the style bits of the record it draws: the face itself stays as read.
  FontItem drawn = face;
  orv::ScopedFont font(drawn.CreateDisplayFont(kGlyphQueryHeight));
  // A face GDI does not know would be answered by whatever font GDI puts in its place.
  if (!font || !drawn.enumFound) return false;
  orv::ScopedGetDC screen(nullptr);
  if (!screen) return false;
  orv::ScopedSelectObject select(screen.Get(), font.Get());
  WORD indices[SearchFilter::kMaxCharacters]{};
  if (::GetGlyphIndicesW(screen.Get(), characters.c_str(), static_cast<int>(characters.size()), indices,
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
    return false;
  bool present[SearchFilter::kMaxCharacters]{};
  for (size_t i = 0; i < characters.size(); ++i) present[i] = indices[i] != kMissingGlyph;
  return AcceptsGlyphs(present, characters.size());
}

bool SearchMatcher::MatchSimilar(const FontItem& face) const {
  if (similarFlags & kPanoseLikeness) {
    if (face.panose[0] != referencePanose[0]) return false;
    for (int i = 1; i < 10; ++i)
      if (face.panose[i] != 0 && referencePanose[i] != 0 && face.panose[i] != referencePanose[i]) return false;
  }
  if ((similarFlags & kSameFamilyClass) && static_cast<uint16_t>(face.familyClass) != referenceFamilyClass)
    return false;
  return true;
}
