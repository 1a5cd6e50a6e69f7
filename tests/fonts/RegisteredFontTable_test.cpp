// The registered fonts check against the real registry of the test prefix: tables of odd values
// written into a private key (wrong types, unterminated strings, missing files, Z:\ host paths),
// and the collision pass checked against a walk over every pair of rows.
#include "fonts/RegisteredFontTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "common/StringHelpers.h"
#include "fonts/FontFileReader.h"
#include "fonts/RegistryValueEnumerator.h"
#include "tests/fonts/RegistryTestKey.h"

using namespace reg_entry_flags;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
const std::wstring kCantarell = L"Z:\\usr\\share\\fonts\\opentype\\cantarell\\Cantarell-Regular.otf";
const std::wstring kNotoCjk = L"Z:\\usr\\share\\fonts\\opentype\\noto\\NotoSansCJK-Regular.ttc";
const std::wstring kFontsFolder = L"C:\\windows\\Fonts";

struct Names {
  std::wstring full, english, registry, display;
};

Names NamesOf(const std::wstring& path) {
  FontFileReader reader;
  reader.fileRef = path;
  EXPECT_TRUE(reader.ReadSfnt());
  return {reader.FullName(), reader.names.English(NameSlot::FullName), reader.BuildRegistryName(), reader.displayName};
}

const RegisteredFontEntry* FindRow(const RegisteredFontTable& table, const std::wstring& valueName) {
  for (const RegisteredFontEntry& row : table.Rows())
    if (row.valueName == valueName) return &row;
  return nullptr;
}

}  // namespace

TEST(RegisteredFontTable, FontsValuesOfEveryOddKind) {
  RegistryTestKey key(L"RegTable");
  const Names dejavu = NamesOf(kDejaVu);
  const Names cantarell = NamesOf(kCantarell);
  ASSERT_FALSE(dejavu.full.empty());
  const wchar_t* fonts = kFontsKey;
  const HKEY hklm = HKEY_LOCAL_MACHINE;
  key.SetText(hklm, fonts, dejavu.full + L" (TrueType)", kDejaVu);
  // The suffix is never compared with the outlines: a CFF font under "(TrueType)" matches.
  key.SetText(hklm, fonts, cantarell.full + L" (TrueType)", kCantarell);
  key.SetText(hklm, fonts, L"Someone Else (OpenType)", kCantarell);
  key.SetText(hklm, fonts, L"Gone (TrueType)", L"gone.ttf");
  key.SetText(hklm, fonts, L"Empty (TrueType)", L"");
  key.SetText(hklm, fonts, L"Courier 10,12,15", L"COURE.FON");  // raster: not listed
  const DWORD number = 7;
  key.Set(hklm, fonts, L"Number (TrueType)", REG_DWORD, &number, sizeof(number));
  const std::wstring open = L"unterminated.ttf";
  key.Set(hklm, fonts, L"Unterminated (TrueType)", REG_SZ, open.data(), static_cast<DWORD>(open.size() * 2));
  key.Set(hklm, fonts, L"Odd (TrueType)", REG_SZ, L"x.ttf", 5);
  key.SetText(hklm, fonts, L"Expand (TrueType)", L"%WINDIR%\\x.ttf", REG_EXPAND_SZ);
  key.SetText(hklm, fonts, std::wstring(16000, L'n') + L" (TrueType)", std::wstring(30000, L'd') + L".ttf");
  key.SetText(hklm, fonts, L"Noto (TrueType)", kNotoCjk);

  RegisteredFontTable table;
  table.SetFontsFolder(kFontsFolder);
  table.ReadFontsKey(HKEY_CURRENT_USER, key.PathOf(hklm, fonts).c_str());

  struct Expected {
    std::wstring valueName;
    uint32_t flags;
    int image;
    std::wstring fullPath;
  };
  const Expected expected[] = {
      {dejavu.full + L" (TrueType)", kTrueType, 5, kDejaVu},
      {cantarell.full + L" (TrueType)", kOtherSfnt, 4, kCantarell},
      {L"Someone Else (OpenType)", kOtherSfnt | kNameMismatch, 4, kCantarell},
      {L"Gone (TrueType)", kUnreadable, -1, kFontsFolder + L"\\gone.ttf"},
      {L"Empty (TrueType)", kUnreadable, -1, L""},
      {L"Noto (TrueType)", kNameMismatch, 3, kNotoCjk},
      // Strings are read however they are stored, as the system reads them.
      {L"Unterminated (TrueType)", kUnreadable, -1, kFontsFolder + L"\\unterminated.ttf"},
      {L"Odd (TrueType)", kUnreadable, -1, L""},
      {L"Expand (TrueType)", kUnreadable, -1, L""},
  };
  for (const Expected& want : expected) {
    SCOPED_TRACE(testing::Message() << want.flags);
    const RegisteredFontEntry* row = FindRow(table, want.valueName);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->flags, want.flags);
    EXPECT_EQ(row->image, want.image);
    if (!want.fullPath.empty()) {
      EXPECT_TRUE(EqualsNoCase(row->fullPath, want.fullPath));
    }
  }
  EXPECT_EQ(FindRow(table, L"Courier 10,12,15"), nullptr);
  EXPECT_EQ(FindRow(table, L"Number (TrueType)"), nullptr);
  // The huge value is listed, unreadable, without harm.
  ASSERT_EQ(table.Rows().size(), std::size(expected) + 1);
  const RegisteredFontEntry* dejavuRow = FindRow(table, dejavu.full + L" (TrueType)");
  EXPECT_EQ(dejavuRow->name, dejavu.full);
  EXPECT_EQ(dejavuRow->expectedValueName, dejavu.registry + L" (TrueType)");
}

TEST(RegisteredFontTable, Type1ValuesOfEveryOddKind) {
  RegistryTestKey key(L"RegType1");
  const HKEY hklm = HKEY_LOCAL_MACHINE;
  const std::wstring gone(L"T\0gone.pfm\0gone.pfb\0", 20);
  key.SetText(hklm, kType1FontsKey, L"Gone", gone, REG_MULTI_SZ);
  const std::wstring unmarked(L"X\0a.pfm\0a.pfb\0", 14);
  key.SetText(hklm, kType1FontsKey, L"Unmarked", unmarked, REG_MULTI_SZ);
  key.SetText(hklm, kType1FontsKey, L"Flat", L"T|a.pfm|a.pfb");  // REG_SZ: not listed
  const std::wstring open(L"T\0a.pfm\0a.pfb", 13);
  key.Set(hklm, kType1FontsKey, L"Unterminated", REG_MULTI_SZ, open.data(), static_cast<DWORD>(open.size() * 2));
  key.Set(hklm, kType1FontsKey, L"Nothing", REG_MULTI_SZ, nullptr, 0);

  RegisteredFontTable table;
  table.SetFontsFolder(kFontsFolder);
  table.ReadType1Key(HKEY_CURRENT_USER, key.PathOf(hklm, kType1FontsKey).c_str(), KEY_WOW64_64KEY);
  ASSERT_EQ(table.Rows().size(), 4u);
  EXPECT_EQ(FindRow(table, L"Flat"), nullptr);
  for (const RegisteredFontEntry& row : table.Rows()) EXPECT_EQ(row.flags, kType1 | kUnreadable | kNameMismatch);
  EXPECT_EQ(FindRow(table, L"Unterminated")->fileRef, L"a.pfm|a.pfb");
  const RegisteredFontEntry* goneRow = FindRow(table, L"Gone");
  ASSERT_NE(goneRow, nullptr);
  EXPECT_EQ(goneRow->flags, kType1 | kUnreadable | kNameMismatch);
  EXPECT_EQ(goneRow->fileRef, L"gone.pfm|gone.pfb");
  EXPECT_EQ(goneRow->image, 6);
  const RegisteredFontEntry* unmarkedRow = FindRow(table, L"Unmarked");
  ASSERT_NE(unmarkedRow, nullptr);
  EXPECT_EQ(unmarkedRow->flags, kType1 | kUnreadable | kNameMismatch);
}

TEST(RegisteredFontTable, WholeRegistrationReadsUserKeysAfterRelease1808Only) {
  RegistryTestKey key(L"RegWhole");
  key.SetText(HKEY_LOCAL_MACHINE, kFontsKey, L"Machine (TrueType)", L"machine.ttf");
  key.SetText(HKEY_CURRENT_USER, kFontsKey, L"User (TrueType)", L"user.ttf");
  RegisteredFontTable table;
  table.SetFontsFolder(kFontsFolder);
  table.ReadSystemRegistration(1808);
  ASSERT_EQ(table.Rows().size(), 1u);
  EXPECT_EQ(table.Rows()[0].valueName, L"Machine (TrueType)");
  table.ReadSystemRegistration(1903);
  EXPECT_EQ(table.Rows().size(), 2u);
}

namespace {

RegisteredFontEntry FontsRow(const std::wstring& name, const std::wstring& path, uint32_t flags,
                             const std::wstring& expected) {
  RegisteredFontEntry row;
  row.name = name;
  row.registryName = name;
  row.fileRef = path;
  row.fullPath = path;
  row.flags = flags;
  row.expectedValueName = expected;
  return row;
}

RegisteredFontEntry Type1Row(const std::wstring& name, const std::wstring& ref, uint32_t flags = 0) {
  RegisteredFontEntry row;
  row.name = name;
  row.fileRef = ref;
  row.flags = kType1 | flags;
  row.expectedValueName = name;
  return row;
}

std::wstring FileNameOf(const std::wstring& ref) {
  const size_t slash = ref.find_last_of(L"\\/:");
  return slash == std::wstring::npos ? ref : ref.substr(slash + 1);
}

// Every pair, earlier row first, as the registration check defines the pass.
void MarkEveryPair(std::vector<RegisteredFontEntry>& rows) {
  const auto out = [](const RegisteredFontEntry& r) { return (r.flags & (kUnreadable | kDuplicateFile)) != 0; };
  for (size_t i = 0; i < rows.size(); ++i) {
    if (out(rows[i])) continue;
    for (size_t k = i + 1; k < rows.size(); ++k) {
      RegisteredFontEntry& a = rows[i];
      RegisteredFontEntry& b = rows[k];
      if (out(b)) continue;
      if (b.flags & kType1) {
        if (a.flags & kType1) {
          if (EqualsNoCase(a.fileRef, b.fileRef)) a.flags |= kDuplicateFile, b.flags |= kDuplicateFile;
        } else if (EqualsNoCase(a.name, b.name)) {
          a.flags |= kType1Namesake, b.flags |= kType1Namesake;
        }
      } else if (EqualsNoCase(a.fullPath, b.fullPath)) {
        const bool agree = b.name == a.name || b.name == a.registryName || b.registryName == a.name ||
                           b.registryName == a.registryName;
        if ((a.flags & 0x0FFFFFFF) < 0x1000 && (b.flags & 0x0FFFFFFF) < 0x1000 && agree)
          ((b.flags & kSecondaryName) ? b : a).flags |= 0x12000;
        else
          a.flags |= kDuplicateFile, b.flags |= kDuplicateFile;
      } else {
        if (EqualsNoCase(FileNameOf(a.fileRef), FileNameOf(b.fileRef))) a.flags |= kDuplicateFile, b.flags |= kDuplicateFile;
        if (EqualsNoCase(a.expectedValueName, b.expectedValueName)) a.flags |= kSameExpectedName, b.flags |= kSameExpectedName;
      }
    }
  }
}

}  // namespace

TEST(RegisteredFontCollisions, NamedCases) {
  struct Case {
    const char* what;
    std::vector<RegisteredFontEntry> rows;
    std::vector<uint32_t> flags;
  };
  const Case cases[] = {
      {"one file under two matching values: only the first is marked",
       {FontsRow(L"A", L"C:\\f\\a.ttf", kTrueType, L"A (TrueType)"),
        FontsRow(L"A", L"c:\\F\\A.TTF", kTrueType, L"A (TrueType)")},
       {kTrueType | 0x12000, kTrueType}},
      {"the later value matched through a secondary name: it is the redundant one",
       {FontsRow(L"A", L"C:\\f\\a.ttf", kTrueType, L"A (TrueType)"),
        FontsRow(L"A", L"C:\\f\\a.ttf", kTrueType | kSecondaryName, L"A (TrueType)")},
       {kTrueType, kTrueType | kSecondaryName | 0x12000}},
      {"one file name in two folders: both duplicates",
       {FontsRow(L"A", L"C:\\f\\a.ttf", kTrueType, L"A (TrueType)"),
        FontsRow(L"B", L"D:\\g\\a.ttf", kTrueType, L"B (TrueType)")},
       {kTrueType | kDuplicateFile, kTrueType | kDuplicateFile}},
      {"a Type 1 value named like a TrueType value",
       {FontsRow(L"Serif", L"C:\\f\\s.ttf", kTrueType, L"Serif (TrueType)"), Type1Row(L"serif", L"s.pfm|s.pfb")},
       {kTrueType | kType1Namesake, kType1 | kType1Namesake}},
      {"two files expecting one value name",
       {FontsRow(L"A", L"C:\\f\\a.ttf", kTrueType, L"A (TrueType)"),
        FontsRow(L"A", L"C:\\f\\b.ttf", kTrueType, L"A (TrueType)")},
       {kTrueType | kSameExpectedName, kTrueType | kSameExpectedName}},
      {"unreadable rows take no part",
       {FontsRow(L"", L"C:\\f\\a.ttf", kUnreadable, L""), FontsRow(L"", L"C:\\f\\a.ttf", kUnreadable, L"")},
       {kUnreadable, kUnreadable}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<RegisteredFontEntry> rows = c.rows;
    MarkRegistrationCollisions(rows);
    ASSERT_EQ(rows.size(), c.flags.size());
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].flags, c.flags[i]) << "row " << i;
  }
}

// Random tables over a few names, folders and files, so that collisions of every kind overlap:
// the pass gives what the walk over every pair gives.
TEST(RegisteredFontCollisions, SameAsTheWalkOverEveryPair) {
  std::mt19937 random(1234);
  const std::wstring names[] = {L"A", L"B", L"a", L"C"};
  const std::wstring folders[] = {L"C:\\f\\", L"c:\\F\\", L"D:\\g\\"};
  const std::wstring files[] = {L"a.ttf", L"b.ttf", L"A.TTF"};
  const uint32_t fontsFlags[] = {kTrueType, kOtherSfnt, kTrueType | kSecondaryName, kTrueType | kNameMismatch,
                                 kUnreadable};
  for (int round = 0; round < 400; ++round) {
    std::vector<RegisteredFontEntry> rows;
    const int fontsRows = static_cast<int>(random() % 7);
    const int type1Rows = static_cast<int>(random() % 4);
    for (int i = 0; i < fontsRows; ++i) {
      const std::wstring& name = names[random() % std::size(names)];
      RegisteredFontEntry row = FontsRow(name, folders[random() % std::size(folders)] + files[random() % std::size(files)],
                                         fontsFlags[random() % std::size(fontsFlags)], name + L" (TrueType)");
      if (random() % 3 == 0) row.registryName = names[random() % std::size(names)];
      rows.push_back(row);
    }
    for (int i = 0; i < type1Rows; ++i)
      rows.push_back(Type1Row(names[random() % std::size(names)], files[random() % std::size(files)],
                              random() % 5 == 0 ? kUnreadable : 0));
    std::vector<RegisteredFontEntry> walked = rows;
    MarkEveryPair(walked);
    MarkRegistrationCollisions(rows);
    for (size_t i = 0; i < rows.size(); ++i) ASSERT_EQ(rows[i].flags, walked[i].flags) << "round " << round << " row " << i;
  }
}

// A key of many values of different files: the two that share a file name are found, nothing
// else is marked.
TEST(RegisteredFontCollisions, ManyRegistrations) {
  std::vector<RegisteredFontEntry> rows;
  for (int i = 0; i < 10000; ++i) {
    const std::wstring name = L"F" + std::to_wstring(i);
    rows.push_back(FontsRow(name, L"C:\\f\\" + name + L".ttf", kTrueType, name + L" (TrueType)"));
  }
  rows.back().fileRef = rows.back().fullPath = L"D:\\g\\F0.ttf";
  MarkRegistrationCollisions(rows);
  EXPECT_EQ(rows.front().flags, kTrueType | kDuplicateFile);
  EXPECT_EQ(rows.back().flags, kTrueType | kDuplicateFile);
  EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const RegisteredFontEntry& r) { return r.flags != kTrueType; }), 2);
}
