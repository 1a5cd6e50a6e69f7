#include "fonts/FontFileReader.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include "app/AppState.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;

namespace {

const wchar_t kDejaVuSans[] = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
const wchar_t kCantarellBold[] = L"Z:\\usr\\share\\fonts\\opentype\\cantarell\\Cantarell-Bold.otf";

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

Bytes SimpleFont(const std::vector<NameRecord>& names, uint16_t os2Version = 3,
                 std::vector<std::pair<std::string, Bytes>> extra = {}) {
  std::vector<std::pair<std::string, Bytes>> tables = {{"OS/2", BuildOs2(os2Version, 8, 72)},
                                                       {"head", BuildHead()},
                                                       {"name", BuildNameTable(names)}};
  tables.insert(tables.end(), extra.begin(), extra.end());
  return BuildSfnt(tables);
}

struct ReadResult {
  bool ok;
  FontItem item;
};

ReadResult ReadBytes(const testing_support::ScratchDir& dir, const Bytes& bytes, const wchar_t* name = L"t.ttf") {
  WriteFile(dir.File(name), bytes);
  FontFileReader reader;
  reader.folder = dir.Path();
  const bool ok = reader.ReadFontFile(name);
  FontItem item;
  item.CopyFrom(reader);
  return {ok, item};
}

TEST(FontFileReader, DejaVuSansGolden) {
  if (!Exists(kDejaVuSans)) GTEST_SKIP() << "fonts-dejavu-core missing";
  FontFileReader reader;
  ASSERT_TRUE(reader.ReadFontFile(kDejaVuSans));
  EXPECT_EQ(reader.displayName, L"DejaVu Sans Book");
  EXPECT_EQ(reader.flags & 0x400000FF, 0x40000001u);
  const uint8_t panose[10] = {2, 0x0B, 6, 3, 3, 8, 4, 2, 2, 4};
  EXPECT_EQ(memcmp(reader.panose, panose, 10), 0);
  EXPECT_EQ(reader.names.English(NameSlot::Family), L"DejaVu Sans");
  EXPECT_EQ(reader.names.English(NameSlot::Subfamily), L"Book");
  EXPECT_EQ(reader.postScriptName, L"DejaVuSans");
  EXPECT_EQ(reader.version, L"Version 2.37");
  EXPECT_EQ(reader.fullPath, kDejaVuSans);
  EXPECT_EQ(reader.os2Version, 1);
  EXPECT_EQ(reader.upperOpticalSize, 0xFFFF);
  EXPECT_TRUE(reader.HasUnicodeRanges());
  EXPECT_EQ(reader.BuildRegistryName(), L"DejaVu Sans");
  EXPECT_EQ(reader.GetTypeIconIndex(), 5);
  EXPECT_FALSE(reader.IsProtected());
}

TEST(FontFileReader, CantarellIsOpenTypeCff) {
  if (!Exists(kCantarellBold)) GTEST_SKIP() << "fonts-cantarell missing";
  FontFileReader reader;
  ASSERT_TRUE(reader.ReadFontFile(kCantarellBold));
  EXPECT_EQ(reader.flags & 0x5, 0x5u);
  EXPECT_EQ(reader.displayName, L"Cantarell Bold");
  EXPECT_EQ(reader.postScriptName, L"Cantarell-Bold");
  EXPECT_EQ(reader.GetTypeIconIndex(), 4);
}

TEST(FontFileReader, VerticalLayoutOfRealFonts) {
  if (!Exists(kDejaVuSans)) GTEST_SKIP();
  FontFileReader reader;
  reader.fileRef = kDejaVuSans;
  ASSERT_TRUE(reader.OpenSfnt(0));
  EXPECT_FALSE(reader.SupportsVerticalLayout());
  std::wstring all[26];
  reader.ReadAllNames(all);
  EXPECT_EQ(all[1], L"DejaVu Sans");
  EXPECT_EQ(all[6], L"DejaVuSans");
  EXPECT_FALSE(all[0].empty());
  reader.CloseFile();
}

TEST(FontFileReader, ValidityOfOffsetTableAndHead) {
  testing_support::ScratchDir dir;
  // Three tables need (3 + 2) * 16 = 80 bytes; a 79-byte file is not a font.
  {
    Bytes b;
    PutU32(b, 0x00010000);
    PutU16(b, 3);
    b.resize(79, '\0');
    EXPECT_FALSE(ReadBytes(dir, b).ok);
    EXPECT_TRUE(ReadBytes(dir, b).item.IsUnreadable());
  }
  const Bytes good = SimpleFont(WindowsNames(L"Foo", L"Bold", L"Foo Bold"));
  EXPECT_TRUE(ReadBytes(dir, good).ok);
  // Head magic in any other byte order is refused.
  Bytes swapped = good;
  for (const auto& t : ReadDirectory(good))
    if (t.tag == "head") SetU32(swapped, t.offset + 12, 0xF53C0F5F);
  const ReadResult bad = ReadBytes(dir, swapped);
  EXPECT_FALSE(bad.ok);
  EXPECT_TRUE(bad.item.IsUnreadable());
  EXPECT_EQ(bad.item.names.English(NameSlot::FullName), L"Unreadable font");
  EXPECT_EQ(bad.item.displayName, L"Unreadable font");
  EXPECT_EQ(bad.item.GetStatusOverlayIndex(false), 1);
  // No tables, no head, missing file.
  Bytes noTables = good;
  SetU16(noTables, 4, 0);
  EXPECT_TRUE(ReadBytes(dir, noTables).item.IsUnreadable());
  EXPECT_TRUE(ReadBytes(dir, SimpleFont({}, 3, {}).substr(0, 11)).item.IsUnreadable());
  FontFileReader missing;
  missing.folder = dir.Path();
  EXPECT_FALSE(missing.ReadFontFile(L"nothing.ttf"));
  EXPECT_TRUE(missing.IsUnreadable());
}

TEST(FontFileReader, TableFlagsAndOs2Fields) {
  testing_support::ScratchDir dir;
  const ReadResult r = ReadBytes(dir, SimpleFont(WindowsNames(L"Foo", L"Bold", L"Foo Bold"), 5,
                                                 {{"DSIG", Bytes(8, '\0')}, {"CFF ", Bytes(4, '\0')}}));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.item.flags, 0x40000007u);
  EXPECT_EQ(r.item.os2Version, 5);
  EXPECT_EQ(r.item.lowerOpticalSize, 8);
  EXPECT_EQ(r.item.upperOpticalSize, 72);
  EXPECT_EQ(r.item.familyClass, 0x0802);
  EXPECT_EQ(r.item.panose[0], 1);
  EXPECT_EQ(r.item.panose[9], 10);
  EXPECT_EQ(r.item.unicodeRange[0], 0x11u);
  EXPECT_EQ(r.item.unicodeRange[3], 0x44u);
  EXPECT_EQ(r.item.fsSelection, 0x20);
  // Version 4 leaves the optical range open.
  const ReadResult v4 = ReadBytes(dir, SimpleFont(WindowsNames(L"Foo", L"Bold", L"Foo Bold"), 4));
  EXPECT_EQ(v4.item.lowerOpticalSize, 0);
  EXPECT_EQ(v4.item.upperOpticalSize, 0xFFFF);
  EXPECT_EQ(v4.item.flags, 0x40000001u);
}

TEST(FontFileReader, DispatchByExtensionAndTag) {
  testing_support::ScratchDir dir;
  const Bytes font = SimpleFont(WindowsNames(L"Foo", L"Regular", L"Foo"));
  for (const wchar_t* name : {L"a.TTF", L"b.otf", L"c.OtF"}) {
    const ReadResult r = ReadBytes(dir, font, name);
    EXPECT_TRUE(r.ok) << name;
    EXPECT_EQ(r.item.flags & 0x1F, 0x1u) << name;
    EXPECT_EQ(r.item.displayName, L"Foo") << name;
  }
  // A ".pfm" goes to the Type 1 reader.
  EXPECT_EQ(ReadBytes(dir, font, L"d.pfm").item.flags & 0x5, 0x4u);
  // A collection is a collection whatever its name.
  const Bytes ttc = BuildCollection({font, SimpleFont(WindowsNames(L"Bar", L"Regular", L"Bar"))});
  for (const wchar_t* name : {L"e.otc", L"f.ttc", L"g.ttf"}) {
    const ReadResult r = ReadBytes(dir, ttc, name);
    EXPECT_TRUE(r.ok) << name;
    EXPECT_TRUE(r.item.IsCollectionFace()) << name;
    EXPECT_EQ(r.item.collectionName, L"Foo & Bar") << name;
  }
}

TEST(FontFileReader, NameRecordRules) {
  testing_support::ScratchDir dir;
  FontFileReader::SetSystemLanguageForTesting(0x0409);
  // Macintosh-only names land in the other slot, converted from the ANSI code page.
  {
    const ReadResult r = ReadBytes(dir, SimpleFont({{1, 0, 0, 1, L"Mac Fam"}, {1, 0, 0, 2, L"Bold"},
                                                   {1, 0, 0, 4, L"Mac Fam Bold"}}));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.item.names.English(NameSlot::FullName), L"Mac Fam Bold");
    EXPECT_EQ(r.item.displayName, L"Mac Fam Bold");
    EXPECT_EQ(r.item.namePlatformId, 1);
  }
  // A Windows US-English record replaces a Unicode-platform one; platform 4 ends the walk.
  {
    auto names = std::vector<NameRecord>{{0, 3, 0, 4, L"Unicode Name"}, {3, 1, 0x409, 4, L"Windows Name"},
                                         {3, 1, 0x409, 1, L"Fam"},      {4, 0, 0, 4, L"After"},
                                         {3, 1, 0x409, 2, L"Late"}};
    const ReadResult r = ReadBytes(dir, SimpleFont(names));
    EXPECT_EQ(r.item.names.English(NameSlot::FullName), L"Windows Name");
    EXPECT_TRUE(r.item.names.English(NameSlot::Subfamily).empty());
  }
  // Length 0 is skipped; another language is not taken; symbol encoding sets 0x40.
  {
    auto names = std::vector<NameRecord>{{3, 0, 0x409, 4, L"Ignored", true}, {3, 0, 0x407, 4, L"Deutsch"},
                                         {3, 0, 0x409, 4, L"Sym Font"}, {3, 0, 0x409, 1, L"Sym"}};
    const ReadResult r = ReadBytes(dir, SimpleFont(names));
    EXPECT_EQ(r.item.names.English(NameSlot::FullName), L"Sym Font");
    EXPECT_TRUE(r.item.names.System(NameSlot::FullName).empty());
    EXPECT_TRUE(r.item.IsSymbol());
  }
  // A system language other than English fills the system slots; the full name prefers them.
  FontFileReader::SetSystemLanguageForTesting(0x0407);
  {
    auto names = std::vector<NameRecord>{{3, 1, 0x409, 4, L"Foo Bold"}, {3, 1, 0x407, 4, L"Foo Fett"},
                                         {3, 1, 0x409, 1, L"Foo"},      {3, 1, 0x407, 2, L"Fett"},
                                         {3, 1, 0x409, 2, L"Bold"}};
    const ReadResult r = ReadBytes(dir, SimpleFont(names));
    EXPECT_EQ(r.item.FullName(), L"Foo Fett");
    EXPECT_EQ(r.item.names.English(NameSlot::FullName), L"Foo Bold");
    EXPECT_EQ(r.item.displayName, L"Foo Fett");
  }
  FontFileReader::SetSystemLanguageForTesting(0);
}

TEST(FontFileReader, VerticalLayoutTable) {
  testing_support::ScratchDir dir;
  const auto names = WindowsNames(L"V", L"Regular", L"V");
  // GSUB: header with the FeatureList at 10, one FeatureRecord with the given tag.
  auto gsub = [](const char* tag) { return Bytes("\0\1\0\0\0\0\0\x0a\0\0\0\1", 12) + tag + Bytes("\0\0", 2); };
  struct Case {
    const char* label;
    std::vector<std::pair<std::string, Bytes>> extra;
    bool vertical;
  } cases[] = {
      {"none", {}, false},
      {"vhea", {{"vhea", Bytes(36, '\0')}}, true},
      {"VORG without CFF", {{"VORG", Bytes(8, '\0')}}, false},
      {"VORG with CFF", {{"CFF ", Bytes(4, '\0')}, {"VORG", Bytes(8, '\0')}}, true},
      {"GSUB vert", {{"GSUB", gsub("vert")}}, true},
      {"GSUB vrt2", {{"GSUB", gsub("vrt2")}}, true},
      {"GSUB liga", {{"GSUB", gsub("liga")}}, false},
      {"GSUB no list", {{"GSUB", Bytes(10, '\0')}}, false},
  };
  for (const Case& c : cases) {
    WriteFile(dir.File(L"v.ttf"), SimpleFont(names, 3, c.extra));
    FontFileReader reader;
    reader.folder = dir.Path();
    ASSERT_TRUE(reader.ReadFontFile(L"v.ttf")) << c.label;
    ASSERT_TRUE(reader.OpenSfnt(0)) << c.label;
    EXPECT_EQ(reader.SupportsVerticalLayout(), c.vertical) << c.label;
    reader.CloseFile();
  }
}

TEST(FontFileReader, EudcKeepsTheListedName) {
  testing_support::ScratchDir dir;
  WriteFile(dir.File(L"eudc.tte"), SimpleFont(WindowsNames(L"EUDC", L"Regular", L"EUDC")));
  FontFileReader reader;
  reader.folder = dir.Path();
  reader.fileRef = L"eudc.tte";
  reader.flags = 0x20;
  reader.names.English(NameSlot::FullName) = L"SimSun EUDC";
  ASSERT_TRUE(reader.ReadSfnt());
  EXPECT_EQ(reader.names.English(NameSlot::FullName), L"SimSun EUDC");
  EXPECT_EQ(reader.displayName, L"SimSun EUDC");
  EXPECT_TRUE(reader.IsEudc());
}

TEST(FontFileReader, RegistryName) {
  FontFileReader reader;
  reader.names.English(NameSlot::FullName) = L"Foo Bold";
  EXPECT_EQ(reader.BuildRegistryName(), L"Foo Bold");
  reader.names.System(NameSlot::Subfamily) = L"Fett";
  reader.names.English(NameSlot::Family) = L"Foo";
  EXPECT_EQ(reader.BuildRegistryName(), L"Foo Fett");
  reader.names.English(NameSlot::Family).clear();
  EXPECT_EQ(reader.BuildRegistryName(), L"");
}

TEST(FontFileReader, NamelessFaceIsUnreadable) {
  testing_support::ScratchDir dir;
  const ReadResult r = ReadBytes(dir, SimpleFont({{3, 1, 0x409, 1, L"Family Only"}}));
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.item.IsUnreadable());
  EXPECT_EQ(r.item.names.English(NameSlot::FullName), L"Unreadable font");
}

TEST(FontFileReader, SystemFontsFolderIsProtectedWhenNotElevated) {
  testing_support::ScratchDir dir;
  const std::wstring savedSystem = g_AppState.SystemFontsFolder;
  const bool savedElevated = g_AppState.IsElevated;
  g_AppState.SystemFontsFolder = dir.Path();
  const Bytes font = SimpleFont(WindowsNames(L"Foo", L"Regular", L"Foo"));
  g_AppState.IsElevated = false;
  EXPECT_EQ(ReadBytes(dir, font).item.flags & 0x8800, 0x8800u);
  g_AppState.IsElevated = true;
  EXPECT_EQ(ReadBytes(dir, font).item.flags & 0x8800, 0x800u);
  g_AppState.SystemFontsFolder = savedSystem;
  g_AppState.IsElevated = savedElevated;
  EXPECT_TRUE(ReadBytes(dir, SimpleFont(WindowsNames(L"Marlett", L"Regular", L"MARLETT"))).item.IsProtected());
}

// A reference is only ever taken in the folder it belongs to: a folder too long for the
// shell's path functions, or a ".pfb" looked for above a drive root, never turns into a bare
// name read from the current directory, where a decoy of that name lies here.
TEST(FontFileReader, NeverOpensARelativePath) {
  testing_support::ScratchDir dir;
  testing_support::ScratchDir current;
  wchar_t saved[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, saved);
  ASSERT_TRUE(::SetCurrentDirectoryW(current.Path().c_str()));
  const std::wstring root = L"C:\\orvel_root_" + std::to_wstring(::GetCurrentProcessId());
  WriteFile(current.File(L"x.ttf"), SimpleFont(WindowsNames(L"Decoy", L"Regular", L"Decoy")));
  for (const std::wstring& pfb : {current.File(L"y.pfb"), current.File(root.substr(3) + L".pfb")})
    WriteFile(pfb, BuildPfb(Type1ClearText("/FontName /Decoy def")));
  std::wstring longFolder = dir.Path();
  for (wchar_t part : {L'a', L'b', L'c'}) {
    longFolder += L"\\" + std::wstring(90, part);
    ::CreateDirectoryW((L"\\\\?\\" + longFolder).c_str(), nullptr);
  }
  ASSERT_GE(longFolder.size(), size_t{MAX_PATH});
  WriteFile(L"\\\\?\\" + longFolder + L"\\x.ttf", SimpleFont(WindowsNames(L"Far", L"Regular", L"Far")));
  WriteFile(L"\\\\?\\" + longFolder + L"\\y.pfm", MinimalPfm());
  WriteFile(root + L".pfm", MinimalPfm());
  const struct {
    std::wstring folder;
    std::wstring ref;
  } table[] = {{longFolder, L"x.ttf"}, {longFolder, L"y.pfm"}, {L"C:\\", root.substr(3) + L".pfm"}};
  for (const auto& row : table) {
    SCOPED_TRACE(testing_support::Narrow(row.ref));
    FontFileReader reader;
    reader.folder = row.folder;
    (void)reader.ReadFontFile(row.ref);
    EXPECT_NE(reader.FullName(), L"Decoy");
    EXPECT_NE(reader.postScriptName, L"Decoy");
    EXPECT_FALSE(::PathIsRelativeW(reader.fullPath.c_str())) << testing_support::Narrow(reader.fullPath);
    EXPECT_TRUE(reader.pfbPath.empty() || !::PathIsRelativeW(reader.pfbPath.c_str()));
  }
  ::DeleteFileW((root + L".pfm").c_str());
  ::SetCurrentDirectoryW(saved);
}

TEST(FontFileReader, ResetKeepsFolderAndSizes) {
  FontFileReader reader;
  reader.folder = L"C:\\x";
  reader.flags = 0x85;
  reader.displayName = L"a";
  reader.fileRef = L"b";
  reader.numTables = 9;
  reader.faceOffsets = {12, 0};
  reader.faceIndex = 1;
  reader.Reset();
  EXPECT_EQ(reader.folder, L"C:\\x");
  EXPECT_EQ(reader.numTables, 9);
  EXPECT_EQ(reader.flags, 0u);
  EXPECT_TRUE(reader.displayName.empty());
  EXPECT_TRUE(reader.fileRef.empty());
  EXPECT_TRUE(reader.faceOffsets.empty());
  EXPECT_EQ(reader.faceIndex, 0);
}

}  // namespace
