// What the property pages make of the values they hold: revision, head dates, embedding
// rights, features, encodings, code pages, PANOSE and family classes, vendor names. Tables of
// edge cases, with the texts of the resource library.
#include <gtest/gtest.h>

#include <cwchar>

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "fonts/FontItem.h"
#include "viewing/COrvPropPageCPCharMap.h"
#include "viewing/COrvPropPageFile.h"
#include "viewing/COrvPropPagePanose.h"
#include "viewing/COrvPropPageVendor.h"
#include "viewing/COrvPropPageVersion.h"
#include "viewing/CPropPageNameT1.h"

namespace {

std::wstring Token(UINT id, size_t index) { return FieldAt(LoadResString(id), index); }

TEST(PropertyPageTexts, RevisionCarriesRoundedFractions) {
  const struct {
    int32_t fixed;
    const wchar_t* text;
  } cases[] = {{0, L"0.000"},          {0x00018000, L"1.500"}, {0x0001FFDF, L"1.999"},
               {0x0001FFE0, L"2.000"},  // rounds up to a whole: carried, never "1.1000"
               {static_cast<int32_t>(0xFFFE8000), L"-1.500"}, {0x7FFFFFFF, L"32768.000"}};
  for (const auto& c : cases) EXPECT_EQ(COrvPropPageVersion::RevisionText(c.fixed), c.text) << std::hex << c.fixed;
}

TEST(PropertyPageTexts, HeadDatesUseAllTheirBits) {
  const auto utc = [](uint32_t high, uint32_t low) {
    SYSTEMTIME t{};
    if (!COrvPropPageVersion::HeadDateToUtc(high, low, t)) return std::wstring(L"none");
    wchar_t text[40];
    std::swprintf(text, 40, L"%04u-%02u-%02u %02u:%02u:%02u day %u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond, t.wDayOfWeek);
    return std::wstring(text);
  };
  EXPECT_EQ(utc(0, 0), L"1904-01-01 00:00:00 day 5");
  EXPECT_EQ(utc(0, 3761282135u), L"2023-03-10 08:35:35 day 5");
  EXPECT_EQ(utc(1, 0), L"2040-02-06 06:28:16 day 1") << "2^32 seconds: not 1904 again";
  EXPECT_EQ(utc(0x7FFFFFFF, 0xFFFFFFFF), L"none");
  EXPECT_TRUE(COrvPropPageVersion::HeadDateText(0x7FFFFFFF, 0xFFFFFFFF).empty());
  const std::wstring text = COrvPropPageVersion::HeadDateText(0, 3761282135u);
  ASSERT_FALSE(text.empty());
  EXPECT_TRUE(::IsCharUpperW(text[0]));
}

TEST(PropertyPageTexts, EmbeddingRights) {
  const auto t = [](size_t i) { return Token(IDS_PROP_EMBEDDING, i); };
  EXPECT_EQ(COrvPropPageVersion::EmbeddingText(0x0000), t(3));
  EXPECT_EQ(COrvPropPageVersion::EmbeddingText(0x0008), t(0));
  EXPECT_EQ(COrvPropPageVersion::EmbeddingText(0x000C), t(1)) << "0x4 replaces 0x8";
  EXPECT_EQ(COrvPropPageVersion::EmbeddingText(0x0302), t(2) + t(4) + t(5));
}

TEST(PropertyPageTexts, FeatureLines) {
  {
    COrvPropPageVersion page;
    EXPECT_EQ(page.FeaturesText(), L"") << "no metrics taken: no claim about the pitch";
    page.hasDsig = page.hasCff = true;
    EXPECT_EQ(page.FeaturesText(),
              L"Digitally signed\r\nPostScript (CFF) outlines\r\nSigned OpenType font with PostScript outlines\r\n");
    page.hasDsig = page.hasCff = false;
    page.hasFvar = true;
    page.instanceCount = 9;
    EXPECT_EQ(page.FeaturesText(), L"Variable font with 9 named instances\r\n");
    page.instanceCount = 0;
    EXPECT_EQ(page.FeaturesText(), L"Variable font with 0 named instances\r\n");
  }
  {
    COrvPropPageVersion page;
    page.haveMetrics = true;
    page.metrics.tmPitchAndFamily = TMPF_FIXED_PITCH;  // set means variable pitch
    EXPECT_EQ(page.FeaturesText(), L"");
    page.metrics.tmPitchAndFamily = 0;
    EXPECT_EQ(page.FeaturesText(), LoadResString(IDS_PROP_MONOSPACED) + L"\r\n");
  }
  {
    COrvPropPageVersion page;
    page.os2Version = 5;
    page.lowerOpticalSize = 160;
    page.upperOpticalSize = 0xFFFF;
    EXPECT_EQ(page.FeaturesText(), LoadResString(IDS_PROP_OPTICAL_SIZE) + L"(8.0 \u2264 pts < \u221E)\r\n");
    page.upperOpticalSize = 480;
    EXPECT_EQ(page.FeaturesText(), LoadResString(IDS_PROP_OPTICAL_SIZE) + L"(8.0 \u2264 pts < 24.0)\r\n");
    page.os2Version = 4;
    EXPECT_EQ(page.FeaturesText(), L"") << "optical sizes need OS/2 version 5";
  }
  // PANOSE: family kind, proportion digit.
  const struct {
    uint8_t kind, proportion;
    bool monospaced;
  } panose[] = {{2, 9, true}, {3, 3, true}, {5, 3, true}, {2, 3, false}, {3, 9, false}, {6, 9, false}, {0x12, 0x19, true}};
  for (const auto& p : panose) {
    uint8_t bytes[10] = {p.kind, 0, 0, p.proportion};
    EXPECT_EQ(COrvPropPageVersion::PanoseSaysMonospaced(bytes), p.monospaced) << int(p.kind) << " " << int(p.proportion);
  }
}

TEST(PropertyPageTexts, NameEncodingsAndCodePages) {
  EXPECT_EQ(COrvPropPageCPCharMap::EncodingText(0, 3), L"Unicode 2.0 (UCS-2)");
  EXPECT_EQ(COrvPropPageCPCharMap::EncodingText(0, 9), L"Unicode");
  EXPECT_EQ(COrvPropPageCPCharMap::EncodingText(2, 7), L"ISO ");
  EXPECT_EQ(COrvPropPageCPCharMap::EncodingText(3, 10), L"Windows " + Token(IDS_PROP_WINDOWS_ENCODINGS, 10));
  EXPECT_EQ(COrvPropPageCPCharMap::EncodingText(3, 500), L"Windows " + Token(IDS_PROP_WINDOWS_ENCODINGS, 11));
  EXPECT_FALSE(Token(IDS_PROP_WINDOWS_ENCODINGS, 11).empty()) << "twelve encoding names";
  EXPECT_EQ(COrvPropPageCPCharMap::EncodingText(9, 0), LoadResString(IDS_PROP_UNKNOWN));

  // Each bit by itself: a name that says its code page, or the bit's number; never a neighbour's.
  const struct {
    int bit;
    const wchar_t* part;
  } bits[] = {{0, L"1252"},      {8, L"1258"}, {16, L"874"}, {21, L"1361"}, {29, L"Macintosh"}, {30, L"OEM"},
              {31, L"Symbol"},   {48, L"869"}, {63, L"437"}, {9, nullptr},  {22, nullptr},       {28, nullptr},
              {32, nullptr},     {47, nullptr}};
  for (const auto& b : bits) {
    const auto names = COrvPropPageCPCharMap::CodePageNames(b.bit < 32 ? 1u << b.bit : 0, b.bit < 32 ? 0 : 1u << (b.bit - 32));
    ASSERT_EQ(names.size(), 1u);
    if (b.part)
      EXPECT_NE(names[0].find(b.part), std::wstring::npos) << b.bit;
    else
      EXPECT_EQ(names[0], FormatResString(IDS_PROP_CODE_PAGE_BIT, b.bit));
  }
  EXPECT_EQ(COrvPropPageCPCharMap::CodePageNames(0xFFFFFFFF, 0xFFFFFFFF).size(), 64u);
}

TEST(PropertyPageTexts, PanoseAndFamilyClass) {
  uint8_t latin[10] = {2, 11, 6, 3, 3, 8, 4, 2, 2, 4};
  auto t = COrvPropPagePanose::Describe(latin, 0x0805);
  EXPECT_EQ(t.kind, Token(IDS_PANOSE_FAMILY_KINDS, 2));
  EXPECT_EQ(t.values[0], Token(IDS_PANOSE_SERIF_STYLE, 11));
  EXPECT_EQ(t.values[8], Token(IDS_PANOSE_X_HEIGHT, 4));
  EXPECT_EQ(t.familyClass, Token(IDS_FAMILY_CLASSES, 8));
  EXPECT_EQ(t.familySubclass, Token(IDS_FAMILY_CLASSES + 8, 5));

  uint8_t symbol[10] = {5, 3, 2, 2, 4, 7, 7, 7, 7, 7};
  t = COrvPropPagePanose::Describe(symbol, 0x0F20);
  EXPECT_EQ(t.titles[3], Token(IDS_PANOSE_DIGIT_TITLES + 3, 3));
  EXPECT_EQ(t.values[3], Token(IDS_PANOSE_CONTRAST, 4)) << "digit 4 of Latin Symbol uses the text names";
  EXPECT_EQ(t.values[8], Token(IDS_PANOSE_SYMBOL_ASPECT, 7));
  EXPECT_EQ(t.familyClass, Token(IDS_FAMILY_CLASSES, 14));
  EXPECT_EQ(t.familySubclass, Token(IDS_FAMILY_CLASSES + 14, 15));

  uint8_t odd[10] = {7, 16, 255};
  t = COrvPropPagePanose::Describe(odd, 0);
  EXPECT_EQ(t.kind, Token(IDS_PANOSE_FAMILY_KINDS, 0)) << "kinds above 6 read as 0";
  EXPECT_EQ(t.values[0], L"??? (16)");
  EXPECT_EQ(t.familySubclass, Token(IDS_FAMILY_CLASSES, 0)) << "class 0 names its subclasses from the class list";
  uint8_t noFit[10] = {1};
  EXPECT_EQ(COrvPropPagePanose::Describe(noFit, 0).kind, LoadResString(IDS_PROP_NO_FIT));
}

TEST(PropertyPageTexts, VendorsTypeIconsAndType1Weight) {
  const std::wstring list = COrvPropPageVendor::VendorListPath();
  EXPECT_EQ(COrvPropPageVendor::VendorName(L"PfEd", list), L"FontForge (formerly PfaEdit)");
  EXPECT_EQ(COrvPropPageVendor::VendorName(L"MS  ", list), L"Microsoft") << "identifiers are trimmed";
  EXPECT_EQ(COrvPropPageVendor::VendorName(L"ZZZZ", list), L"[ ZZZZ ]");
  EXPECT_EQ(COrvPropPageVendor::VendorName(L"PfEd", list + L".missing"), L"[ PfEd ]");
  EXPECT_EQ(COrvPropPageVendor::VendorName(L"    ", list), LoadResString(IDS_PROP_UNKNOWN));

  using namespace font_flags;
  EXPECT_EQ(COrvPropPageFile::TypeIconIndex(kSfnt | kCollectionFace | kCffOrType1), 0);
  EXPECT_EQ(COrvPropPageFile::TypeIconIndex(kSfnt | kDsig), 1);
  EXPECT_EQ(COrvPropPageFile::TypeIconIndex(kSfnt), 2);
  EXPECT_EQ(COrvPropPageFile::TypeIconIndex(kType1), 3);
  EXPECT_EQ(CPropPageNameT1::WeightAndAngle(L""), L" / angle:  \u00B0") << "a header that could not be read";
}

}  // namespace
