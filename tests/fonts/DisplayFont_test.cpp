// The display font of a record, built through real GDI enumeration over DejaVu fonts loaded
// privately, and the list of writing systems made from the OS/2 Unicode-range bits.
#include "fonts/FontItem.h"

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIdsFonts.h"
#include "common/Seams.h"
#include "fonts/FaceLookups.h"
#include "fonts/FontFileReader.h"
#include "fonts/InstalledFontRecords.h"
#include "fonts/PrivateFontCache.h"
#include "framework/Handles.h"
#include "tests/fonts/SfntBuilder.h"
#include "tests/support/TestSupport.h"

namespace {

const wchar_t kDejaVuFolder[] = L"Z:\\usr\\share\\fonts\\truetype\\dejavu";
const wchar_t* const kDejaVuFiles[] = {L"DejaVuSans.ttf", L"DejaVuSans-Bold.ttf", L"DejaVuSans-Oblique.ttf"};

// A copy of a DejaVu Sans face whose family is renamed "DejaVu Orvl" (same length, so that no
// offset moves): a font that only this process knows, as a folder font is before it is drawn.
// Wine itself already knows the DejaVu faces, so loading those privately adds nothing.
void WriteRenamedCopy(const std::wstring& source, const std::wstring& target, const std::string& to = "DejaVu Orvl") {
  std::string bytes = sfnt_test::ReadFile(source);
  const std::string ascii = "DejaVu Sans";
  auto wide = [](const std::string& s) {
    std::string out;
    for (char c : s) out += std::string(1, '\0') + c;
    return out;
  };
  for (const auto& [from, into] : {std::pair{ascii, to}, std::pair{wide(ascii), wide(to)}})
    for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1))
      bytes.replace(at, into.size(), into);
  sfnt_test::WriteFile(target, bytes);
}

// The full names the display font's enumerations looked for.
std::vector<std::wstring> g_lookedFor;
int RecordLookup(HDC dc, LOGFONTW* logFont, FONTENUMPROCW proc, LPARAM param, DWORD flags) {
  g_lookedFor.push_back(reinterpret_cast<const FontItem*>(param)->enumName);
  return ::EnumFontFamiliesExW(dc, logFont, proc, param, flags);
}

// The DejaVu Sans faces and their renamed copies, loaded privately for one test and unloaded
// after it.
class DisplayFont : public ::testing::Test {
protected:
  void SetUp() override {
    seams::SetFontFamilyEnumerator(&RecordLookup);
    for (const wchar_t* file : kDejaVuFiles) {
      const std::wstring path = std::wstring(kDejaVuFolder) + L"\\" + file;
      if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "fonts-dejavu-core missing";
      ASSERT_GT(::AddFontResourceExW(path.c_str(), FR_PRIVATE, nullptr), 0);
      shared_.push_back(path);
      WriteRenamedCopy(path, dir_.File(file));
      ASSERT_GT(::AddFontResourceExW(dir_.File(file).c_str(), FR_PRIVATE, nullptr), 0);
      own_.push_back(dir_.File(file));
    }
  }
  void TearDown() override {
    seams::SetFontFamilyEnumerator(nullptr);
    SetInstalledFontRecords({});
    for (const std::wstring& path : shared_) ::RemoveFontResourceExW(path.c_str(), FR_PRIVATE, nullptr);
    for (const std::wstring& path : own_) EXPECT_TRUE(::RemoveFontResourceExW(path.c_str(), FR_PRIVATE, nullptr));
  }

  FontItem Read(const wchar_t* file, bool renamed = false) const {
    FontFileReader reader;
    reader.folder = renamed ? dir_.Path() : kDejaVuFolder;
    reader.fileRef = file;
    EXPECT_TRUE(reader.ReadFontFile());
    FontItem item;
    item.CopyFrom(reader);
    return item;
  }

  // Creates the display font, reads its LOGFONTW back from GDI and deletes it.
  static LOGFONTW Create(FontItem& item, int height) {
    const orv::ScopedFont font(item.CreateDisplayFont(height));
    EXPECT_TRUE(font);
    LOGFONTW lf{};
    if (font) {
      EXPECT_EQ(::GetObjectW(font.Get(), sizeof lf, &lf), static_cast<int>(sizeof lf));
    }
    return lf;
  }
  static LOGFONTW Create(FontItem&& item, int height) { return Create(item, height); }

  // The face GDI actually selects for the font.
  static std::wstring SelectedFace(FontItem& item) {
    const orv::ScopedFont font(item.CreateDisplayFont(-16));
    orv::ScopedGetDC screen(nullptr);
    orv::ScopedSelectObject select(screen.Get(), font.Get());
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(screen.Get(), LF_FACESIZE, face);
    return face;
  }

  testing_support::ScratchDir dir_;
  std::vector<std::wstring> shared_;
  std::vector<std::wstring> own_;
};

TEST_F(DisplayFont, FamilyNameIsFoundDirectly) {
  FontItem regular = Read(L"DejaVuSans.ttf");
  ASSERT_EQ(regular.FullName(), L"DejaVu Sans");
  const LOGFONTW lf = Create(regular, -20);
  EXPECT_STREQ(lf.lfFaceName, L"DejaVu Sans");
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  EXPECT_EQ(lf.lfItalic, 0);
  EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
  EXPECT_EQ(lf.lfOutPrecision, OUT_TT_PRECIS);
  EXPECT_EQ(regular.displayHeight, -20);
  EXPECT_EQ(regular.enumFound, 1u);
  EXPECT_FALSE(regular.HasFlag(font_flags::kBold | font_flags::kItalic | font_flags::kUnderline));
}

TEST_F(DisplayFont, PrivateFaceFoundByItsFullName) {
  FontItem bold = Read(L"DejaVuSans-Bold.ttf", true);
  ASSERT_EQ(bold.FullName(), L"DejaVu Orvl Bold");
  ASSERT_EQ(bold.names.English(NameSlot::Family), L"DejaVu Orvl");
  const LOGFONTW lf = Create(bold, -24);
  EXPECT_EQ(bold.enumFound, 1u);
  EXPECT_STREQ(lf.lfFaceName, L"DejaVu Orvl");
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfHeight, -24);
  EXPECT_EQ(lf.lfItalic, 0);
  // The face's style goes into the record's flags.
  EXPECT_TRUE(bold.HasFlag(font_flags::kBold));
  EXPECT_FALSE(bold.HasFlag(font_flags::kItalic));
  EXPECT_EQ(SelectedFace(bold), L"DejaVu Orvl");

  FontItem oblique = Read(L"DejaVuSans-Oblique.ttf", true);
  const LOGFONTW italic = Create(oblique, -16);
  EXPECT_STREQ(italic.lfFaceName, L"DejaVu Orvl");
  EXPECT_NE(italic.lfItalic, 0);
  EXPECT_EQ(italic.lfWeight, FW_NORMAL);
  EXPECT_TRUE(oblique.HasFlag(font_flags::kItalic));
}

TEST_F(DisplayFont, FullNameThatIsNotAFaceGoesThroughTheInstalledRecords) {
  // Listed under its English full name, which GDI does not know; the installed list has a
  // record of that English name whose own full name is the face's.
  FontItem item = Read(L"DejaVuSans-Bold.ttf", true);
  item.names.System(NameSlot::FullName).clear();
  item.names.English(NameSlot::FullName) = L"Orvel Alias Bold";
  LOGFONTW lf = Create(item, -24);
  // Nothing found: the font is asked for under the name it has, with no weight of its own.
  EXPECT_EQ(item.enumFound, 0u);
  EXPECT_STREQ(lf.lfFaceName, L"Orvel Alias Bold");
  EXPECT_EQ(lf.lfWeight, 0);
  EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);

  FontItem unrelated = Read(L"DejaVuSans.ttf", true);
  FontItem installed = Read(L"DejaVuSans-Bold.ttf", true);
  installed.names.English(NameSlot::FullName) = L"orvel alias bold";
  installed.names.System(NameSlot::FullName) = L"DejaVu Orvl Bold";
  SetInstalledFontRecords({nullptr, &unrelated, &installed});
  lf = Create(item, -24);
  EXPECT_EQ(item.enumFound, 1u);
  EXPECT_STREQ(lf.lfFaceName, L"DejaVu Orvl");
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfHeight, -24);
  EXPECT_TRUE(item.HasFlag(font_flags::kBold));
  EXPECT_EQ(SelectedFace(item), L"DejaVu Orvl");
}

TEST_F(DisplayFont, EachNameIsLookedUpOnceWhateverTheRecordsOfIt) {
  // As Wine's GDI knows a variable font: 600 instances of one English name under three full
  // names of no face, then the default instance, the one face. Every row asks as with that one.
  FontItem item = Read(L"DejaVuSans-Bold.ttf", true);
  item.names.System(NameSlot::FullName).clear();
  item.names.English(NameSlot::FullName) = L"Orvel Alias Bold";
  FontItem face = item;
  face.names.English(NameSlot::FullName) = L"ORVEL ALIAS BOLD";
  face.names.System(NameSlot::FullName) = L"DejaVu Orvl Bold";
  SetInstalledFontRecords({&face});
  const LOGFONTW alone = Create(FontItem(item), -24);
  std::vector<FontItem> instances(600, face);
  std::vector<const FontItem*> installed;
  for (FontItem& instance : instances) {
    instance.names.System(NameSlot::FullName) = L"Orvel Ghost " + std::to_wstring(installed.size() % 3);
    installed.push_back(&instance);
  }
  installed.push_back(&face);
  SetInstalledFontRecords(installed);
  ForgetFaceLookups();
  g_lookedFor.clear();
  for (int row = 0; row < 40; ++row) {
    const LOGFONTW lf = Create(FontItem(item), -24);
    EXPECT_EQ(memcmp(&lf, &alone, sizeof lf), 0) << row;
  }
  EXPECT_STREQ(alone.lfFaceName, L"DejaVu Orvl");
  EXPECT_EQ(g_lookedFor, (std::vector<std::wstring>{L"Orvel Alias Bold", L"Orvel Ghost 0", L"Orvel Ghost 1",
                                                    L"Orvel Ghost 2", L"DejaVu Orvl Bold"}));
}

TEST_F(DisplayFont, AFaceLoadedAfterItsLookupIsFound) {
  const std::wstring path = dir_.File(L"late.ttf");
  WriteRenamedCopy(std::wstring(kDejaVuFolder) + L"\\DejaVuSans-Bold.ttf", path, "DejaVu Late");
  EXPECT_EQ(Create(Read(L"late.ttf", true), -20).lfWeight, 0);
  PrivateFontCache cache;
  cache.Add(path);
  EXPECT_EQ(Create(Read(L"late.ttf", true), -20).lfWeight, FW_BOLD);
  cache.RemoveFile(path);
}

TEST_F(DisplayFont, InstalledDejaVuBold) {
  // "DejaVu Sans Bold" of family "DejaVu Sans": face name of the family, weight of the face.
  FontItem bold = Read(L"DejaVuSans-Bold.ttf");
  ASSERT_EQ(bold.FullName(), L"DejaVu Sans Bold");
  const FontItem installed = Read(L"DejaVuSans-Bold.ttf");
  SetInstalledFontRecords({&installed});
  const LOGFONTW lf = Create(bold, -30);
  EXPECT_STREQ(lf.lfFaceName, L"DejaVu Sans");
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfHeight, -30);
  EXPECT_EQ(bold.displayHeight, -30);
}

TEST_F(DisplayFont, StyleOverridesWin) {
  FontItem regular = Read(L"DejaVuSans.ttf");
  regular.flags |= font_flags::kStyleOverride | font_flags::kBold;
  LOGFONTW lf = Create(regular, -16);
  EXPECT_STREQ(lf.lfFaceName, L"DejaVu Sans");
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, 0);
  regular.flags = (regular.flags & ~font_flags::kBold) | font_flags::kItalic | font_flags::kUnderline;
  lf = Create(regular, -16);
  EXPECT_EQ(lf.lfWeight, FW_NORMAL);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfUnderline, 1);
  // Overrides in force but none set: the face's own style, and the flags stay as they are.
  regular.flags &= ~(font_flags::kItalic | font_flags::kUnderline);
  lf = Create(regular, -16);
  EXPECT_EQ(lf.lfItalic, 0);
  EXPECT_EQ(lf.lfUnderline, 0);
  // The bits alone, without 0x8000000, do not force anything.
  FontItem plain = Read(L"DejaVuSans.ttf");
  plain.flags |= font_flags::kBold;
  EXPECT_EQ(Create(plain, -16).lfWeight, FW_NORMAL);
}

TEST_F(DisplayFont, EnumerationFindsAFaceByFullName) {
  FontItem item;
  item.ResetEnumScratch();
  wcscpy(item.logFont.lfFaceName, L"DejaVu Sans");
  wcscpy(item.enumName, L"dejavu sans bold");
  item.EnumerateFamilies(1);
  EXPECT_EQ(item.enumFound, 1u);
  EXPECT_STREQ(item.enumName, L"DejaVu Sans");
  EXPECT_EQ(item.enumMetrics.ntmTm.tmWeight, FW_BOLD);
  EXPECT_TRUE(item.enumMetrics.ntmTm.ntmFlags & NTM_BOLD);
  // Any other mode matches nothing.
  item.ResetEnumScratch();
  wcscpy(item.logFont.lfFaceName, L"DejaVu Sans");
  wcscpy(item.enumName, L"DejaVu Sans Bold");
  item.EnumerateFamilies(0);
  EXPECT_EQ(item.enumFound, 0u);
  EXPECT_STREQ(item.enumName, L"DejaVu Sans Bold");
}

TEST(DisplayFontRecord, UnreadableGivesNoFont) {
  FontItem item;
  item.flags = font_flags::kUnreadable | font_flags::kSfnt;
  item.names.English(NameSlot::FullName) = L"DejaVu Sans";
  EXPECT_EQ(item.CreateDisplayFont(-30), nullptr);
  EXPECT_EQ(item.displayHeight, -16);
}

TEST(DisplayFontRecord, RasterRecordNeverEnumerates) {
  FontItem item;
  item.flags = font_flags::kRaster | font_flags::kRead;
  item.names.English(NameSlot::FullName) = L"DejaVu Sans";
  item.postScriptName = L"Small Fonts";
  const orv::ScopedFont font(item.CreateDisplayFont(-12));
  ASSERT_TRUE(font);
  LOGFONTW lf{};
  ASSERT_EQ(::GetObjectW(font.Get(), sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_STREQ(lf.lfFaceName, L"Small Fonts");
  EXPECT_EQ(lf.lfOutPrecision, OUT_RASTER_PRECIS);
  EXPECT_EQ(lf.lfQuality, DEFAULT_QUALITY);
  EXPECT_EQ(lf.lfHeight, -12);
  EXPECT_EQ(item.enumMode, 0u);
  EXPECT_EQ(item.enumName[0], L'\0');
  EXPECT_EQ(item.displayHeight, -12);
}

TEST(DisplayFontRecord, FaceSourceAndNameLength) {
  struct Case {
    uint32_t flags;
    const wchar_t* fullName;
    const wchar_t* postScriptName;
    const wchar_t* faceName;
    BYTE quality;
    BYTE precision;
  } cases[] = {
      // TrueType outlines: the full name; every other kind: the PostScript name.
      {0x1, L"Orvel Nowhere Sans", L"OrvelNowhere-Sans", L"Orvel Nowhere Sans", PROOF_QUALITY, OUT_TT_PRECIS},
      {0x3, L"Orvel Nowhere Signed", L"OrvelNowhere-Signed", L"Orvel Nowhere Signed", PROOF_QUALITY, OUT_TT_PRECIS},
      {0x5, L"Orvel Nowhere Cff", L"OrvelNowhere-Cff", L"OrvelNowhere-Cff", PROOF_QUALITY, OUT_TT_PRECIS},
      {0x4, L"Orvel Nowhere T1", L"OrvelNowhere-TypeOne", L"OrvelNowhere-TypeOne", 0, 0},
      // At most 31 characters of the face name.
      {0x1, L"Orvel Nowhere With A Very Long Full Name", L"", L"Orvel Nowhere With A Very Long ", PROOF_QUALITY,
       OUT_TT_PRECIS},
      // End-user-defined characters are drawn from the EUDC face.
      {0x21, L"Orvel Nowhere EUDC", L"", L"EUDC", PROOF_QUALITY, OUT_TT_PRECIS},
  };
  for (const Case& c : cases) {
    FontItem item;
    item.flags = c.flags;
    item.names.English(NameSlot::FullName) = c.fullName;
    item.postScriptName = c.postScriptName;
    const orv::ScopedFont font(item.CreateDisplayFont(-14));
    ASSERT_TRUE(font);
    LOGFONTW lf{};
    ASSERT_EQ(::GetObjectW(font.Get(), sizeof lf, &lf), static_cast<int>(sizeof lf));
    const std::string what = testing_support::Narrow(c.fullName);
    EXPECT_STREQ(lf.lfFaceName, c.faceName) << what;
    EXPECT_EQ(lf.lfQuality, c.quality) << what;
    EXPECT_EQ(lf.lfOutPrecision, c.precision) << what;
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET) << what;
    EXPECT_EQ(lf.lfHeight, -14) << what;
  }
}

TEST(DisplayFontRecord, ResetEnumScratch) {
  FontItem item;
  item.enumMode = 1;
  item.enumFound = 1;
  item.enumMetrics.ntmTm.tmWeight = 700;
  wcscpy(item.enumName, L"Name");
  item.logFont.lfHeight = -40;
  wcscpy(item.logFont.lfFaceName, L"Face");
  item.logFont.lfCharSet = SYMBOL_CHARSET;
  item.ResetEnumScratch();
  EXPECT_EQ(item.enumMode, 0u);
  EXPECT_EQ(item.enumFound, 0u);
  EXPECT_EQ(item.enumMetrics.ntmTm.tmWeight, 0);
  EXPECT_EQ(item.enumName[0], L'\0');
  EXPECT_EQ(item.logFont.lfHeight, 0);
  EXPECT_EQ(item.logFont.lfFaceName[0], L'\0');
  EXPECT_EQ(item.logFont.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(item.enumOwner, &item);
}

// Writing systems.
class ScriptNames : public ::testing::Test {
protected:
  void SetUp() override {
    if (g_AppState.BlockTable.Rows().empty()) {
      ASSERT_TRUE(g_AppState.BlockTable.Load());
    }
  }
  static FontItem WithRanges(uint32_t r1, uint32_t r2, uint32_t r3, uint32_t r4) {
    FontItem item;
    item.flags = 0x1;
    item.namePlatformId = 3;
    item.nameEncodingId = 1;
    item.unicodeRange[0] = r1;
    item.unicodeRange[1] = r2;
    item.unicodeRange[2] = r3;
    item.unicodeRange[3] = r4;
    return item;
  }
  static std::wstring Names(const FontItem& item, int maxCount = -1, bool* result = nullptr) {
    std::wstring out = L"stale";
    const bool ok = item.GetScriptNames(out, L", ", maxCount);
    if (result) *result = ok;
    return out;
  }
};

TEST_F(ScriptNames, LabelsAndBlockNames) {
  struct Case {
    uint32_t r1, r2, r3, r4;
    const wchar_t* expected;
  } cases[] = {
      {0x1 | 0x200, 0, 0, 0, L"Latin, Cyrillic"},                 // bit 0 is the Latin label only
      {0x20000000, 0, 0, 0, L"Latin"},                             // bit 29 counts as Latin
      {0x10000000 | 0x200, 0, 0, 0, L"East Asian, Cyrillic"},      // bit 28
      {0x1, 0x00020000, 0, 0, L"Latin, East Asian"},               // bit 49
      {0x1, 0x01000000, 0, 0, L"Latin, East Asian"},               // bit 56
      {0x1 | 0x80, 0x00200000, 0, 0, L"Latin, Greek and Coptic, Phags-pa"},  // bits 7 and 53
      {0x1, 0x02000000, 0, 0, L"Latin, Non-Plane 0"},               // bit 57 comes last
      {0, 0x02000000, 0, 0, L"Non-Plane 0"},
      {0x80 | 0x200, 0, 0x80000000, 0, L"Greek and Coptic, Cyrillic, New Tai Lue"},  // bit 95
  };
  for (const Case& c : cases) {
    bool ok = false;
    EXPECT_EQ(Names(WithRanges(c.r1, c.r2, c.r3, c.r4), -1, &ok), c.expected) << std::hex << c.r1 << " " << c.r2;
    EXPECT_TRUE(ok);
  }
}

TEST_F(ScriptNames, SymbolFontsShowTheSymbolLabel) {
  FontItem symbol = WithRanges(0x1 | 0x200, 0, 0, 0);
  symbol.nameEncodingId = 0;
  EXPECT_EQ(Names(symbol), L"Symbol");
  symbol.unicodeRange[1] = 0x02000000;
  EXPECT_EQ(Names(symbol), L"Symbol, Non-Plane 0");
  // Without ranges at all a symbol font is still a symbol font.
  FontItem bare = WithRanges(0, 0, 0, 0);
  bare.nameEncodingId = 0;
  bool ok = false;
  EXPECT_EQ(Names(bare, -1, &ok), L"Symbol");
  EXPECT_TRUE(ok);
  // Platform 1 encoding 0 is Mac Roman, not symbol.
  FontItem mac = WithRanges(0x200, 0, 0, 0);
  mac.namePlatformId = 1;
  mac.nameEncodingId = 0;
  EXPECT_EQ(Names(mac), L"Cyrillic");
}

TEST_F(ScriptNames, NoRanges) {
  bool ok = true;
  EXPECT_EQ(Names(WithRanges(0, 0, 0, 0), -1, &ok), LoadResString(IDS_NO_UNICODE_RANGES));
  EXPECT_FALSE(ok);
  EXPECT_EQ(LoadResString(IDS_NO_UNICODE_RANGES), L"No Unicode ranges");
  // Bits that name no script of their own (General Punctuation, bit 31): the same text, but true.
  EXPECT_EQ(Names(WithRanges(0x80000000, 0, 0, 0), -1, &ok), L"No Unicode ranges");
  EXPECT_TRUE(ok);
  // Range words whose sum wraps to zero still have bits.
  EXPECT_EQ(Names(WithRanges(0, 0, 0x80000000, 0x80000000), -1, &ok), L"New Tai Lue");
  EXPECT_TRUE(ok);
}

TEST_F(ScriptNames, CountLimit) {
  // Greek and Coptic, Cyrillic, Armenian, Hebrew, Arabic (bits 7, 9, 10, 11, 13).
  const FontItem five = WithRanges(0x80 | 0x200 | 0x400 | 0x800 | 0x2000, 0, 0, 0);
  EXPECT_EQ(Names(five, 2), L"Greek and Coptic, Cyrillic, Armenian, ( \u2026 )");
  EXPECT_EQ(Names(five, 0), L"Greek and Coptic, ( \u2026 )");
  EXPECT_EQ(Names(five, 5), L"Greek and Coptic, Cyrillic, Armenian, Hebrew, Arabic");
  // Five names exceed a limit of four, though none is left out.
  EXPECT_EQ(Names(five, 4), L"Greek and Coptic, Cyrillic, Armenian, Hebrew, Arabic, ( \u2026 )");
  EXPECT_EQ(Names(five, -1), Names(five, 4095));
  // The labels do not count.
  FontItem latin = five;
  latin.unicodeRange[0] |= 0x1;
  EXPECT_EQ(Names(latin, 2), L"Latin, Greek and Coptic, Cyrillic, Armenian, ( \u2026 )");
}

TEST_F(ScriptNames, Type1GivesNothing) {
  FontItem type1 = WithRanges(0x1, 0, 0, 0);
  type1.flags = 0x4;
  std::wstring out = L"untouched";
  EXPECT_FALSE(type1.GetScriptNames(out, L", ", -1));
  EXPECT_EQ(out, L"untouched");
}

TEST_F(ScriptNames, SeparatorIsUsedThroughout) {
  std::wstring out;
  EXPECT_TRUE(WithRanges(0x1 | 0x200 | 0x400, 0x02000000, 0, 0).GetScriptNames(out, L"\r\n", -1));
  EXPECT_EQ(out, L"Latin\r\nCyrillic\r\nArmenian\r\nNon-Plane 0");
  EXPECT_TRUE(WithRanges(0x200 | 0x400, 0, 0, 0).GetScriptNames(out, L"", -1));
  EXPECT_EQ(out, L"CyrillicArmenian");
}

}  // namespace

TEST(DisplayFontRecord, CffFaceKnownByItsFullNameIsFoundInItsFamily) {
  const wchar_t* path = L"Z:\\usr\\share\\fonts\\opentype\\cantarell\\Cantarell-Bold.otf";
  if (::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "fonts-cantarell missing";
  ASSERT_GT(::AddFontResourceExW(path, FR_PRIVATE, nullptr), 0);
  FontFileReader reader;
  ASSERT_TRUE(reader.ReadFontFile(path));
  FontItem item;
  item.CopyFrom(reader);
  ASSERT_TRUE(item.IsType(font_flags::kOpenTypeCff));
  ASSERT_EQ(item.postScriptName, L"Cantarell-Bold");
  // Under Wine GDI knows the face as "Cantarell Bold", not by its PostScript name.
  const orv::ScopedFont font(item.CreateDisplayFont(-20));
  ASSERT_TRUE(font);
  LOGFONTW lf{};
  ASSERT_EQ(::GetObjectW(font.Get(), sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_STREQ(lf.lfFaceName, L"Cantarell");
  ::RemoveFontResourceExW(path, FR_PRIVATE, nullptr);
}
