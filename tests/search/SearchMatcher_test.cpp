// The matcher's name rules, and its character test read from the font's own cmap giving GDI's
// answers for real fonts (a TrueType and a CFF one) without loading either into GDI.
#include "search/SearchMatcher.h"

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "fonts/FontFileReader.h"
#include "tests/support/TestSupport.h"

namespace {

FontItem Named(const std::wstring& family, const std::wstring& fullName, const std::wstring& englishFamily = {},
               const std::wstring& englishFull = {}, const std::wstring& display = {}) {
  FontItem item;
  item.names.System(NameSlot::Family) = family;
  item.names.System(NameSlot::FullName) = fullName;
  item.names.English(NameSlot::Family) = englishFamily;
  item.names.English(NameSlot::FullName) = englishFull;
  item.displayName = display;
  return item;
}

TEST(SearchMatcher, NameRules) {
  struct Case {
    const wchar_t* pattern;
    bool familyNames;
    FontItem face;
    bool passes;
  };
  const Case cases[] = {
      {L"*", false, FontItem(), true},
      {L"ar*", false, Named(L"Arial", L"Arial Bold"), true},
      {L"*bold", false, Named(L"Arial", L"ARIAL BOLD"), true},
      {L"x*;  ar?al b*", false, Named(L"Arial", L"Arial Bold"), true},
      {L"Arial", false, Named(L"Arial", L"Arial Bold"), false},
      {L"Arial", true, Named(L"Arial", L"Arial Bold"), true},
      {L"Helvetica", true, Named(L"Arial", L"", L"Helvetica"), true},
      {L"Helvetica", true, Named(L"", L"", L"Helvetica"), true},
      {L"Arial", true, Named(L"", L"Arial"), false},
      {L"Sans*", false, Named(L"", L"", L"", L"Sans Bold"), true},
      {L"Shown", false, Named(L"", L"", L"", L"", L"Shown"), true},
      {L"Shown", false, Named(L"", L"Other", L"", L"", L"Shown"), true},
      {L"*.*", false, Named(L"", L"No dot"), true},
  };
  for (const Case& c : cases) {
    SearchMatcher matcher;
    matcher.pattern = c.pattern;
    matcher.familyNames = c.familyNames;
    EXPECT_EQ(matcher.MatchName(c.face), c.passes) << testing_support::Narrow(c.pattern);
  }
}

TEST(SearchMatcher, CmapAnswersAsGdiWithoutLoadingTheFont) {
  testing_support::ScratchDir dir;
  const std::wstring fonts[] = {L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf",
                                L"Z:\\usr\\share\\fonts\\opentype\\cantarell\\Cantarell-Regular.otf"};
  const std::wstring characters = L"A\u00E9\u20AC\u0416\u05D0\u4E2D\uFFFD\uE000\u2603\u0100";
  for (const std::wstring& source : fonts) {
    const std::wstring copy = dir.File(source.substr(source.rfind(L'\\') + 1));
    ASSERT_TRUE(::CopyFileW(source.c_str(), copy.c_str(), FALSE)) << testing_support::Narrow(source);
    FontFileReader face;
    ASSERT_TRUE(face.ReadFontFile(copy));
    int present = 0;
    for (wchar_t c : characters) {
      SearchMatcher matcher;
      matcher.filter.SetCharacters(std::wstring(1, c));
      const size_t cached = g_AppState.FontCache.Count();
      const bool byCmap = matcher.MatchGlyphs(face);
      EXPECT_EQ(g_AppState.FontCache.Count(), cached) << "the cmap answered; nothing was loaded";
      EXPECT_EQ(byCmap, matcher.MatchGlyphsByGdi(face)) << testing_support::Narrow(copy) << " U+" << std::hex << int(c);
      matcher.filter.glyphMode = 0;
      EXPECT_NE(matcher.MatchGlyphs(face), byCmap);
      present += byCmap;
    }
    EXPECT_GT(present, 1);
    EXPECT_LT(present, static_cast<int>(characters.size()));
  }
  g_AppState.FontCache.RemoveAll(false);
}

}  // namespace
