// What the property pages make of the values they hold: revision, head dates, embedding
// rights, features, encodings, code pages, PANOSE and family classes, vendor names, Type 1
// weight and angle. Tables of edge cases, with the texts of the resource library.
#include <gtest/gtest.h>

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "viewing/COrvPropPageCPCharMap.h"
#include "viewing/COrvPropPageFile.h"
#include "viewing/COrvPropPagePanose.h"
#include "viewing/COrvPropPageVendor.h"
#include "viewing/COrvPropPageVersion.h"
#include "viewing/CPropPageNameT1.h"
#include "fonts/FontItem.h"
#include "tests/support/TestSupport.h"

namespace {

std::wstring Token(UINT id, size_t index) { return FieldAt(LoadResString(id), index); }

TEST(PropertyPageTexts, RevisionCarriesRoundedFractions) {
  const struct {
    int32_t fixed;
    const wchar_t* text;
  } cases[] = {
      {0, L"0.000"},
      {0x00010000, L"1.000"},
      {0x00018000, L"1.500"},
      {0x000125C2, L"1.147"},
      {0x0001FFDF, L"1.999"},
      {0x0001FFE0, L"2.000"},  // rounds up to a whole: carried, never "1.1000"
      {0x0001FFFF, L"2.000"},
      {static_cast<int32_t>(0xFFFE8000), L"-1.500"},
      {0x7FFFFFFF, L"32768.000"},
  };
  for (const auto& c : cases) EXPECT_EQ(COrvPropPageVersion::RevisionText(c.fixed), c.text) << std::hex << c.fixed;
}

TEST(PropertyPageTexts, HeadDatesUseAllTheirBits) {
  SYSTEMTIME t{};
  ASSERT_TRUE(COrvPropPageVersion::HeadDateToUtc(0, 0, t));
  EXPECT_EQ(t.wYear, 1904);
  EXPECT_EQ(t.wMonth, 1);
  EXPECT_EQ(t.wDay, 1);
  EXPECT_EQ(t.wDayOfWeek, 5);  // a Friday
  // 2023-03-10 08:35:35 UTC, DejaVu Sans's creation date.
  ASSERT_TRUE(COrvPropPageVersion::HeadDateToUtc(0, 3761282135u, t));
  EXPECT_EQ(t.wYear, 2023);
  EXPECT_EQ(t.wMonth, 3);
  EXPECT_EQ(t.wDay, 10);
  EXPECT_EQ(t.wHour, 8);
  EXPECT_EQ(t.wMinute, 35);
  EXPECT_EQ(t.wSecond, 35);
  // 2^32 seconds after 1904 is 2040-02-06 06:28:16: not 1904 again.
  ASSERT_TRUE(COrvPropPageVersion::HeadDateToUtc(1, 0, t));
  EXPECT_EQ(t.wYear, 2040);
  EXPECT_EQ(t.wMonth, 2);
  EXPECT_EQ(t.wDay, 6);
  EXPECT_EQ(t.wHour, 6);
  EXPECT_FALSE(COrvPropPageVersion::HeadDateToUtc(0x7FFFFFFF, 0xFFFFFFFF, t)) << "beyond what a date can hold";
  EXPECT_TRUE(COrvPropPageVersion::HeadDateText(0x7FFFFFFF, 0xFFFFFFFF).empty());
  const std::wstring text = COrvPropPageVersion::HeadDateText(0, 3761282135u);
  ASSERT_FALSE(text.empty());
  EXPECT_TRUE(::IsCharUpperW(text[0]));
  EXPECT_NE(text.find(L"2023"), std::wstring::npos);
}

TEST(PropertyPageTexts, EmbeddingRights) {
  const struct {
    uint16_t fsType;
    std::wstring text;
  } cases[] = {
      {0x0000, Token(IDS_PROP_EMBEDDING, 3)},
      {0x0008, Token(IDS_PROP_EMBEDDING, 0)},
      {0x000C, Token(IDS_PROP_EMBEDDING, 1)},  // 0x4 replaces 0x8
      {0x000E, Token(IDS_PROP_EMBEDDING, 2)},
      {0x0302, Token(IDS_PROP_EMBEDDING, 2) + Token(IDS_PROP_EMBEDDING, 4) + Token(IDS_PROP_EMBEDDING, 5)},
      {0x0100, Token(IDS_PROP_EMBEDDING, 3) + Token(IDS_PROP_EMBEDDING, 4)},
  };
  for (const auto& c : cases) EXPECT_EQ(COrvPropPageVersion::EmbeddingText(c.fsType), c.text) << c.fsType;
}

TEST(PropertyPageTexts, FeatureLines) {
  {
    COrvPropPageVersion page;
    EXPECT_EQ(page.FeaturesText(), L"") << "no metrics taken: no claim about the pitch";
    page.hasDsig = page.hasCff = true;
    EXPECT_EQ(page.FeaturesText(), LoadResString(IDS_PROP_SIGNED) + L"\r\n" + LoadResString(IDS_PROP_CFF_OUTLINES) +
                                       L"\r\n" + LoadResString(IDS_PROP_SIGNED_CFF) + L"\r\n");
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
    page.hasFvar = true;
    page.instanceCount = 3;
    page.os2Version = 5;
    page.lowerOpticalSize = 160;
    page.upperOpticalSize = 0xFFFF;
    EXPECT_EQ(page.FeaturesText(), FormatResString(IDS_PROP_NAMED_INSTANCES, 3) + L"\r\n" +
                                       LoadResString(IDS_PROP_OPTICAL_SIZE) + L"(8.0 \u2264 pts < \u221E)\r\n");
    page.upperOpticalSize = 480;
    page.hasFvar = false;
    EXPECT_EQ(page.FeaturesText(), LoadResString(IDS_PROP_OPTICAL_SIZE) + L"(8.0 \u2264 pts < 24.0)\r\n");
    page.os2Version = 4;
    EXPECT_EQ(page.FeaturesText(), L"") << "optical sizes need OS/2 version 5";
  }

  const struct {
    uint8_t kind, proportion;
    bool monospaced;
  } panose[] = {{2, 9, true}, {4, 9, true}, {3, 3, true}, {5, 3, true}, {2, 3, false},
                {3, 9, false}, {6, 9, false}, {0, 9, false}, {0x12, 0x19, true}};
  for (const auto& p : panose) {
    uint8_t bytes[10] = {p.kind, 0, 0, p.proportion};
    EXPECT_EQ(COrvPropPageVersion::PanoseSaysMonospaced(bytes), p.monospaced) << int(p.kind) << " " << int(p.proportion);
  }
}

TEST(PropertyPageTexts, NameEncodings) {
  const struct {
    uint16_t platform, encoding;
    std::wstring text;
  } cases[] = {
      {0, 0, L"Unicode 1.0"},
      {0, 3, L"Unicode 2.0 (UCS-2)"},
      {0, 6, L"Unicode UCS-4"},
      {0, 9, L"Unicode"},
      {1, 0, L"Macintosh"},
      {2, 1, L"ISO 10646"},
      {2, 7, L"ISO "},
      {3, 1, L"Windows " + Token(IDS_PROP_WINDOWS_ENCODINGS, 1)},
      {3, 10, L"Windows " + Token(IDS_PROP_WINDOWS_ENCODINGS, 10)},
      {3, 11, L"Windows " + Token(IDS_PROP_WINDOWS_ENCODINGS, 11)},
      {3, 500, L"Windows " + Token(IDS_PROP_WINDOWS_ENCODINGS, 11)},
      {4, 0, LoadResString(IDS_PROP_CUSTOM_ENCODING)},
      {9, 0, LoadResString(IDS_PROP_UNKNOWN)},
  };
  for (const auto& c : cases) EXPECT_EQ(COrvPropPageCPCharMap::EncodingText(c.platform, c.encoding), c.text);
  EXPECT_FALSE(Token(IDS_PROP_WINDOWS_ENCODINGS, 11).empty()) << "twelve encoding names";
}

TEST(PropertyPageTexts, CodePagesByBitNeverANeighboursName) {
  const auto name = [](uint32_t r1, uint32_t r2) {
    const auto names = COrvPropPageCPCharMap::CodePageNames(r1, r2);
    return names.size() == 1 ? names[0] : std::wstring(L"?");
  };
  EXPECT_NE(name(1u << 0, 0).find(L"1252"), std::wstring::npos);
  EXPECT_NE(name(1u << 8, 0).find(L"1258"), std::wstring::npos);
  EXPECT_NE(name(1u << 16, 0).find(L"874"), std::wstring::npos);
  EXPECT_NE(name(1u << 21, 0).find(L"1361"), std::wstring::npos);
  EXPECT_NE(name(1u << 29, 0).find(L"Macintosh"), std::wstring::npos);
  EXPECT_NE(name(1u << 30, 0).find(L"OEM"), std::wstring::npos);
  EXPECT_NE(name(1u << 31, 0).find(L"Symbol"), std::wstring::npos);
  EXPECT_NE(name(0, 1u << 16).find(L"869"), std::wstring::npos);
  EXPECT_NE(name(0, 1u << 31).find(L"437"), std::wstring::npos);
  // Bits without a name show their number.
  EXPECT_EQ(name(1u << 9, 0), FormatResString(IDS_PROP_CODE_PAGE_BIT, 9));
  EXPECT_EQ(name(1u << 22, 0), FormatResString(IDS_PROP_CODE_PAGE_BIT, 22));
  EXPECT_EQ(name(1u << 28, 0), FormatResString(IDS_PROP_CODE_PAGE_BIT, 28));
  EXPECT_EQ(name(0, 1u << 0), FormatResString(IDS_PROP_CODE_PAGE_BIT, 32));
  EXPECT_EQ(name(0, 1u << 15), FormatResString(IDS_PROP_CODE_PAGE_BIT, 47));
  EXPECT_EQ(COrvPropPageCPCharMap::CodePageNames(0xFFFFFFFF, 0xFFFFFFFF).size(), 64u);
  EXPECT_TRUE(COrvPropPageCPCharMap::CodePageNames(0, 0).empty());
}

TEST(PropertyPageTexts, PanoseAndFamilyClass) {
  uint8_t latin[10] = {2, 11, 6, 3, 3, 8, 4, 2, 2, 4};
  auto t = COrvPropPagePanose::Describe(latin, 0x0805);
  EXPECT_EQ(t.kind, Token(IDS_PANOSE_FAMILY_KINDS, 2));
  EXPECT_EQ(t.titles[0], Token(IDS_PANOSE_DIGIT_TITLES, 0));
  EXPECT_EQ(t.values[0], Token(IDS_PANOSE_SERIF_STYLE, 11));
  EXPECT_EQ(t.values[1], Token(IDS_PANOSE_WEIGHT, 6));
  EXPECT_EQ(t.values[8], Token(IDS_PANOSE_X_HEIGHT, 4));
  EXPECT_EQ(t.familyClass, Token(IDS_FAMILY_CLASSES, 8));
  EXPECT_EQ(t.familySubclass, Token(IDS_FAMILY_CLASSES + 8, 5));

  uint8_t symbol[10] = {5, 3, 2, 2, 4, 7, 7, 7, 7, 7};
  t = COrvPropPagePanose::Describe(symbol, 0x0F20);
  EXPECT_EQ(t.titles[3], Token(IDS_PANOSE_DIGIT_TITLES + 3, 3));
  EXPECT_EQ(t.values[3], Token(IDS_PANOSE_CONTRAST, 4)) << "digit 4 of Latin Symbol uses the text names";
  EXPECT_EQ(t.values[4], Token(IDS_PANOSE_SYMBOL_ASPECT, 7));
  EXPECT_EQ(t.values[8], Token(IDS_PANOSE_SYMBOL_ASPECT, 7));
  EXPECT_EQ(t.familyClass, Token(IDS_FAMILY_CLASSES, 14));
  EXPECT_EQ(t.familySubclass, Token(IDS_FAMILY_CLASSES + 14, 15));

  uint8_t odd[10] = {7, 16, 255, 1};
  t = COrvPropPagePanose::Describe(odd, 0);
  EXPECT_EQ(t.kind, Token(IDS_PANOSE_FAMILY_KINDS, 0)) << "kinds above 6 read as 0";
  EXPECT_EQ(t.values[0], L"??? (16)");
  EXPECT_EQ(t.values[1], L"??? (255)");
  EXPECT_EQ(t.familySubclass, Token(IDS_FAMILY_CLASSES, 0)) << "class 0 names its subclasses from the class list";
  uint8_t noFit[10] = {1};
  EXPECT_EQ(COrvPropPagePanose::Describe(noFit, 0).kind, LoadResString(IDS_PROP_NO_FIT));
}

TEST(PropertyPageTexts, VendorNames) {
  const std::wstring list = COrvPropPageVendor::VendorListPath();
  ASSERT_NE(::GetFileAttributesW(list.c_str()), INVALID_FILE_ATTRIBUTES) << "VendorList.ini beside the program";
  EXPECT_EQ(COrvPropPageVendor::VendorName(L"PfEd", list), L"FontForge (formerly PfaEdit)");
  EXPECT_EQ(COrvPropPageVendor::VendorName(L"MS  ", list), L"Microsoft") << "identifiers are trimmed";
  EXPECT_EQ(COrvPropPageVendor::VendorName(L"ZZZZ", list), L"[ ZZZZ ]");
  EXPECT_EQ(COrvPropPageVendor::VendorName(L"PfEd", list + L".missing"), L"[ PfEd ]");
  EXPECT_EQ(COrvPropPageVendor::VendorName(L"    ", list), LoadResString(IDS_PROP_UNKNOWN));
}

TEST(PropertyPageTexts, TypeIconsAndType1Weight) {
  using namespace font_flags;
  EXPECT_EQ(COrvPropPageFile::TypeIconIndex(kSfnt | kCollectionFace | kCffOrType1), 0);
  EXPECT_EQ(COrvPropPageFile::TypeIconIndex(kSfnt | kDsig), 1);
  EXPECT_EQ(COrvPropPageFile::TypeIconIndex(kSfnt | kCffOrType1), 1);
  EXPECT_EQ(COrvPropPageFile::TypeIconIndex(kSfnt), 2);
  EXPECT_EQ(COrvPropPageFile::TypeIconIndex(kType1), 3);
  EXPECT_EQ(CPropPageNameT1::WeightAndAngle(L"/Weight (Bold) readonly def\r\n/ItalicAngle -12 def\r\n"),
            L"Bold / angle: -12 \u00B0");
  EXPECT_EQ(CPropPageNameT1::WeightAndAngle(L""), L" / angle:  \u00B0");
}

}  // namespace
