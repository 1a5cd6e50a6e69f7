// Installed status of font records: the walk over the installed fonts, the type comparison,
// the FontsInstalled marker in the real registry, and the lazy completion of listed records
// from real files (single fonts, collection faces by name, variable-font instances).
#include "fonts/EnsureFontItemLoaded.h"

#include <gtest/gtest.h>

#include "common/ResString.h"
#include "common/ResourceIdsFonts.h"
#include "fonts/FontFileWalk.h"
#include "fonts/FontInstaller.h"
#include "fonts/FontItem.h"
#include "common/RegistryValue.h"
#include "fonts/InstalledFontRecords.h"
#include "fonts/InstalledMarkers.h"
#include "tests/fonts/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;

namespace {

const wchar_t* const kMarkerKey = kFontsInstalledKey;

FontItem Record(const std::wstring& fullName, uint32_t flags, const std::wstring& path = L"C:\\Fonts\\a.ttf",
                const std::wstring& version = L"Version 1.000") {
  FontItem item;
  item.names.English(NameSlot::FullName) = fullName;
  item.displayName = fullName;
  item.flags = flags;
  item.fullPath = path;
  item.version = version;
  return item;
}

// Resolves a copy of `item` by walking every installed record, and another through the index
// by name that the program uses: both must give the same flags.
uint32_t Resolve(const FontItem& item, const std::vector<const FontItem*>& installed) {
  FontItem walked = item;
  walked.ResolveInstallStatus(installed);
  FontItem indexed = item;
  indexed.ResolveInstallStatus(InstalledFontIndex(installed));
  EXPECT_EQ(indexed.flags, walked.flags) << std::hex << "index and walk differ for flags " << item.flags;
  return walked.flags;
}

// The bits the resolution sets.
constexpr uint32_t kResolutionBits = 0x400 | 0x2000 | 0x4000 | 0x8000 | 0x20000 | 0x100000 | 0x200000;

TEST(ResolveInstallStatus, NamesakesOfTheSameType) {
  const FontItem installed = Record(L"Foo Bold", 0x1, L"C:\\Windows\\Fonts\\foo.ttf");
  const std::vector<const FontItem*> list = {&installed};
  // Same path (in other letter case): this very file is the installed one.
  EXPECT_EQ(Resolve(Record(L"foo bold", 0x1, L"c:\\windows\\fonts\\FOO.TTF"), list) & kResolutionBits, 0x4400u);
  // Another path, same version: installed from another file.
  EXPECT_EQ(Resolve(Record(L"Foo Bold", 0x1, L"D:\\fonts\\foo.ttf"), list) & kResolutionBits, 0x400u);
  // Another version string (case counts).
  EXPECT_EQ(Resolve(Record(L"Foo Bold", 0x1, L"D:\\foo.ttf", L"version 1.000"), list) & kResolutionBits,
            0x100400u);
  // Non-ASCII letters fold too.
  const FontItem umlaut = Record(L"\u00C4rger Sans", 0x1);
  EXPECT_EQ(Resolve(Record(L"\u00E4rger sans", 0x1), {&umlaut}) & 0x400, 0x400u);
}

TEST(ResolveInstallStatus, NamesakesOfAnotherType) {
  const wchar_t* const path = L"C:\\Windows\\Fonts\\foo.ttf";
  const FontItem cff = Record(L"Foo", 0x5, path);
  const FontItem gdiOnly = Record(L"Foo", 0x10, path);
  const FontItem raster = Record(L"Foo", 0x8, path);
  const FontItem dsig = Record(L"Foo", 0x3, path);
  // A TrueType font named like an installed CFF font: another type, not installed.
  EXPECT_EQ(Resolve(Record(L"Foo", 0x1), {&cff}) & kResolutionBits, 0x200000u);
  // Only a GDI-only namesake of another type.
  EXPECT_EQ(Resolve(Record(L"Foo", 0x5), {&gdiOnly}) & kResolutionBits, 0x220000u);
  // A raster namesake of another type says nothing.
  EXPECT_EQ(Resolve(Record(L"Foo", 0x1), {&raster}) & kResolutionBits, 0u);
  // Two TrueType-outline fonts (one signed): another version of the same font, installed.
  EXPECT_EQ(Resolve(Record(L"Foo", 0x1), {&dsig, &cff}) & kResolutionBits, 0x100400u);
  // A GDI-only TrueType namesake (as GDI enumeration lists them) counts as another version.
  const FontItem gdiTrueType = Record(L"Foo", 0x11, path);
  EXPECT_EQ(Resolve(Record(L"Foo", 0x1), {&gdiTrueType}) & kResolutionBits, 0x120400u);
}

TEST(ResolveInstallStatus, EnglishNameCandidate) {
  // The installed face is listed under its system-language name; the folder font has only
  // its English name. The CFF namesake met first marks another type but does not stop the walk.
  const FontItem cff = Record(L"Foo", 0x5);
  FontItem localized = Record(L"Foo", 0x1, L"C:\\Windows\\Fonts\\foo.ttf");
  localized.names.System(NameSlot::FullName) = L"F\u00F6\u00F6";
  EXPECT_EQ(Resolve(Record(L"Foo", 0x1, L"C:\\Windows\\Fonts\\foo.ttf"), {&cff, &localized}) & kResolutionBits,
            0x204400u);
  // A candidate of another, non-TrueType type is not taken.
  FontItem localizedCff = localized;
  localizedCff.flags = 0x5;
  EXPECT_EQ(Resolve(Record(L"Foo", 0x1), {&localizedCff}) & kResolutionBits, 0x200000u);
  // The first candidate wins; a later one is not even compared.
  FontItem second = Record(L"Foo", 0x1, L"E:\\other.ttf", L"Version 2");
  second.names.System(NameSlot::FullName) = L"Phoo";
  EXPECT_EQ(Resolve(Record(L"Foo", 0x1, L"C:\\Windows\\Fonts\\foo.ttf"), {&localized, &second}) & kResolutionBits,
            0x4400u);
}

TEST(ResolveInstallStatus, EmptyNamesAreNotNamesakes) {
  // Two records with system-language names only have equal (empty) English names.
  FontItem installed = Record(L"", 0x1);
  installed.names.System(NameSlot::FullName) = L"\u30D5\u30A9\u30F3\u30C8";
  FontItem item = Record(L"", 0x1);
  item.names.System(NameSlot::FullName) = L"\u5225\u306E\u66F8\u4F53";
  EXPECT_EQ(Resolve(item, {&installed}) & kResolutionBits, 0u);
  FontItem unnamed = Record(L"", 0x1);
  EXPECT_EQ(Resolve(Record(L"", 0x1), {&unnamed}) & kResolutionBits, 0u);
}

TEST(ResolveInstallStatus, FlagsTakenFromTheInstalledRecord) {
  // Per-user and protected come from the installed record; they are set, never cleared.
  const FontItem perUser = Record(L"Foo", 0x1 | 0x2000 | 0x8000, L"X:\\foo.ttf");
  EXPECT_EQ(Resolve(Record(L"Foo", 0x1), {&perUser}) & kResolutionBits, 0xA400u);
  const FontItem plain = Record(L"Foo", 0x1, L"X:\\foo.ttf");
  EXPECT_EQ(Resolve(Record(L"Foo", 0x1 | 0x2000 | 0x8000), {&plain}) & kResolutionBits, 0xA400u);
  // The installed record's own "other version" and "other type" marks carry over.
  const FontItem marked = Record(L"Foo", 0x1 | 0x100000 | 0x200000, L"X:\\foo.ttf");
  EXPECT_EQ(Resolve(Record(L"Foo", 0x1), {&marked}) & kResolutionBits, 0x300400u);
  // A GDI-only record is never "this very file".
  const FontItem gdi = Record(L"Foo", 0x11);
  EXPECT_EQ(Resolve(Record(L"Foo", 0x11), {&gdi}) & kResolutionBits, 0x400u);
  // Nothing of the status it had is cleared by a walk that finds nothing.
  EXPECT_EQ(Resolve(Record(L"Foo", 0x1 | 0x4400), {}) & kResolutionBits, 0x4400u);
}

TEST(ResolveInstallStatus, WalkStopsAtTheRecordItself) {
  FontItem cff = Record(L"Foo", 0x5);
  FontItem self = Record(L"Foo", 0x1, L"C:\\Windows\\Fonts\\foo.ttf");
  const FontItem later = Record(L"Foo", 0x1, L"D:\\foo.ttf", L"Version 9");
  const std::vector<const FontItem*> list = {nullptr, &cff, &self, &later};
  const InstalledFontIndex index(list);
  const uint32_t before = self.flags;
  self.ResolveInstallStatus(index);
  const uint32_t indexed = self.flags;
  self.flags = before;
  self.ResolveInstallStatus(list);
  // The CFF namesake before it marks another type; the walk stops at itself before the later
  // namesake with another version.
  EXPECT_EQ(self.flags & kResolutionBits, 0x204400u);
  EXPECT_EQ(indexed, self.flags);
  // A null position is skipped without harm.
  EXPECT_EQ(Resolve(Record(L"Foo", 0x5), list) & kResolutionBits, 0x4400u);
}

TEST(ResolveInstallStatus, PublishedRecordsAreWalked) {
  const FontItem installed = Record(L"Published Sans", 0x1, L"C:\\Windows\\Fonts\\p.ttf");
  FontItem item = Record(L"Published Sans", 0x1, L"C:\\Windows\\Fonts\\p.ttf");
  ASSERT_TRUE(InstalledFontRecords().empty());
  item.ResolveInstallStatus();
  EXPECT_FALSE(item.IsInstalled());
  SetInstalledFontRecords({&installed});
  ASSERT_EQ(InstalledFontRecords().size(), 1u);
  item.ResolveInstallStatus();
  SetInstalledFontRecords({});
  EXPECT_EQ(item.flags & kResolutionBits, 0x4400u);
}

TEST(MergeInstalledType, Table) {
  struct Case {
    uint32_t itemFlags;
    uint32_t installedFlags;
    bool result;
    uint32_t flagsAfter;
  } cases[] = {
      {0x1, 0x1, true, 0x1},
      {0x1, 0x1 | 0x300000, true, 0x300001},   // set only, from the installed record
      {0x1 | 0x100000, 0x1, true, 0x100001},   // never cleared
      {0x1, 0x3, true, 0x100001},              // both TrueType outlines
      {0x1, 0x11, true, 0x120001},             // GDI-only TrueType
      {0x5, 0x10, false, 0x220005},            // GDI-only of another kind
      {0x1, 0x5, false, 0x200001},
      {0x1, 0x8, false, 0x1},                  // raster: no other-type mark
      {0x4, 0x1, false, 0x200004},
  };
  for (const Case& c : cases) {
    FontItem item;
    item.flags = c.itemFlags;
    EXPECT_EQ(item.MergeInstalledType(c.installedFlags), c.result) << std::hex << c.itemFlags << " " << c.installedFlags;
    EXPECT_EQ(item.flags, c.flagsAfter) << std::hex << c.itemFlags << " " << c.installedFlags;
  }
}

// Values written under the real FontsInstalled key for one test; the key is deleted again when
// the test created it, and only the test's own values otherwise.
class MarkerValues {
public:
  MarkerValues() {
    HKEY probe = nullptr;
    existed_ = ::RegOpenKeyExW(HKEY_CURRENT_USER, kMarkerKey, 0, KEY_READ, &probe) == ERROR_SUCCESS;
    if (probe) ::RegCloseKey(probe);
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kMarkerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
  }
  ~MarkerValues() {
    for (const std::wstring& name : written_) ::RegDeleteValueW(key_, name.c_str());
    ::RegCloseKey(key_);
    if (!existed_) ::RegDeleteKeyW(HKEY_CURRENT_USER, kMarkerKey);
  }
  void Dword(const std::wstring& name, DWORD value) {
    ASSERT_EQ(::RegSetValueExW(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4),
              ERROR_SUCCESS);
    written_.push_back(name);
  }
  void Text(const std::wstring& name, const std::wstring& text) {
    ::RegSetValueExW(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * 2));
    written_.push_back(name);
  }
  // A value the code under test writes.
  void Track(const std::wstring& name) { written_.push_back(name); }

private:
  HKEY key_ = nullptr;
  bool existed_ = false;
  std::vector<std::wstring> written_;
};

TEST(ReadInstalledMarker, GroupCountInTheRealRegistry) {
  MarkerValues values;
  values.Dword(L"2|Marker High Word", 0x10000);
  values.Dword(L"2|Marker Counted", 0x10001);
  values.Dword(L"2|Marker Two Groups", 2);
  values.Text(L"2|Marker Text", L"1");
  values.Dword(L"1|Marker Type One", 1);
  values.Dword(L"0|Marker Raster", 1);
  struct Case {
    const wchar_t* name;
    uint32_t flags;
    bool found;
    bool marked;
  } cases[] = {
      {L"Marker High Word", 0x1, true, false},  // installed before any group: count 0
      {L"Marker Counted", 0x1, true, true},
      {L"marker counted", 0x1, true, true},     // value names fold case in the registry
      {L"Marker Two Groups", 0x5, true, true},
      {L"Marker Text", 0x1, false, false},      // not a REG_DWORD
      {L"Marker Missing", 0x1, false, false},
      {L"Marker Type One", 0x4, true, true},    // "1|" for Type 1
      {L"Marker Type One", 0x1, false, false},
      {L"Marker Raster", 0x8, true, true},      // "0|" for raster
      {L"Marker Raster", 0x1, false, false},
  };
  for (const Case& c : cases) {
    FontItem item = Record(c.name, c.flags);
    EXPECT_EQ(item.ReadInstalledMarker(), c.found) << testing_support::Narrow(c.name);
    EXPECT_EQ(item.HasFlag(0x10000), c.marked) << testing_support::Narrow(c.name);
  }
  // The system-language full name is the one in the value name.
  FontItem localized = Record(L"Other", 0x1);
  localized.names.System(NameSlot::FullName) = L"Marker Counted";
  localized.ReadInstalledMarker();
  EXPECT_TRUE(localized.HasFlag(0x10000));
}

TEST(ReadInstalledMarker, MissingKeySetsNothing) {
  HKEY probe = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kMarkerKey, 0, KEY_READ, &probe) == ERROR_SUCCESS) {
    ::RegCloseKey(probe);
    GTEST_SKIP() << "the FontsInstalled key exists in this prefix";
  }
  FontItem item = Record(L"Anything", 0x1);
  EXPECT_FALSE(item.ReadInstalledMarker());
  EXPECT_FALSE(item.HasFlag(0x10000));
}

// Font files built for the loader tests.
Bytes Face(const std::wstring& family, const std::wstring& sub, const std::wstring& full,
           const std::wstring& version = L"Version 1.000") {
  std::vector<NameRecord> names = WindowsNames(family, sub, full);
  names.push_back({3, 1, 0x409, 5, version});
  return BuildSfnt({{"head", BuildHead()}, {"OS/2", BuildOs2(4)}, {"name", BuildNameTable(names)}});
}

FontItem Listed(const std::wstring& fullName, const std::wstring& fileRef) {
  FontItem item;
  item.names.English(NameSlot::FullName) = fullName;
  item.displayName = fullName;
  item.fileRef = fileRef;
  return item;
}

TEST(EnsureFontItemLoaded, ReadsAndResolvesOnce) {
  testing_support::ScratchDir dir;
  WriteFile(dir.File(L"once.ttf"), Face(L"Once", L"Bold", L"Once Bold"));
  FontItem item = Listed(L"Once Bold", L"once.ttf");
  EXPECT_FALSE(EnsureFontItemLoaded(dir.Path(), item));  // no marker
  EXPECT_EQ(item.flags & 0xC0000000, 0xC0000000u);
  EXPECT_EQ(item.fullPath, dir.File(L"once.ttf"));
  EXPECT_EQ(item.folder, dir.Path());
  EXPECT_EQ(item.version, L"Version 1.000");
  EXPECT_EQ(item.names.English(NameSlot::Family), L"Once");
  EXPECT_FALSE(item.IsUnreadable());
  // Neither read nor resolved again, even with the file gone and an installed namesake known.
  ASSERT_TRUE(::DeleteFileW(dir.File(L"once.ttf").c_str()));
  const FontItem installed = Record(L"Once Bold", 0x1);
  SetInstalledFontRecords({&installed});
  EXPECT_TRUE(EnsureFontItemLoaded(dir.Path(), item));
  SetInstalledFontRecords({});
  EXPECT_FALSE(item.IsUnreadable());
  EXPECT_FALSE(item.IsInstalled());
}

TEST(EnsureFontItemLoaded, ResolvedRecordWithoutReadFlagIsLeftAlone) {
  testing_support::ScratchDir dir;
  WriteFile(dir.File(L"r.ttf"), Face(L"Resolved", L"Regular", L"Resolved"));
  FontItem item = Listed(L"Resolved", L"r.ttf");
  item.flags = 0x80000000;
  EXPECT_TRUE(EnsureFontItemLoaded(dir.Path(), item));
  EXPECT_EQ(item.flags, 0x80000000u);
  EXPECT_TRUE(item.fullPath.empty());
  EXPECT_TRUE(item.version.empty());
}

TEST(EnsureFontItemLoaded, ResolvesAgainstInstalledFontsAndReadsTheMarker) {
  testing_support::ScratchDir dir;
  WriteFile(dir.File(L"inst.ttf"), Face(L"Inst", L"Regular", L"Inst", L"Version 2.000"));
  const FontItem installed = Record(L"Inst", 0x1 | 0x2000, L"C:\\elsewhere\\inst.ttf", L"Version 1.000");
  SetInstalledFontRecords({&installed});
  MarkerValues values;
  values.Dword(L"2|Inst", 1);
  FontItem item = Listed(L"Inst", L"inst.ttf");
  EXPECT_TRUE(EnsureFontItemLoaded(dir.Path(), item));
  SetInstalledFontRecords({});
  EXPECT_EQ(item.flags & (kResolutionBits | 0x10000), 0x400u | 0x2000u | 0x100000u | 0x10000u);
  // After a font change the record is read and resolved again.
  item.ResetInstallStatus();
  EXPECT_TRUE(EnsureFontItemLoaded(dir.Path(), item));
  EXPECT_EQ(item.flags & 0x400, 0u);
  EXPECT_EQ(item.flags & 0xC0000000, 0xC0000000u);
}

TEST(EnsureFontItemLoaded, MissingFileBecomesUnreadableOnce) {
  testing_support::ScratchDir dir;
  FontItem item = Listed(L"Gone", L"gone.ttf");
  EnsureFontItemLoaded(dir.Path(), item);
  EXPECT_TRUE(item.IsUnreadable());
  EXPECT_EQ(item.flags & 0xC0000000, 0xC0000000u);
  EXPECT_EQ(item.displayName, LoadResString(IDS_UNREADABLE_FONT));
  // The resolution still ran: a namesake of the unreadable name would have been found.
  WriteFile(dir.File(L"gone.ttf"), Face(L"Gone", L"Regular", L"Gone"));
  EXPECT_TRUE(EnsureFontItemLoaded(dir.Path(), item));
  EXPECT_TRUE(item.IsUnreadable());
}

TEST(EnsureFontItemLoaded, CollectionFaceFoundByName) {
  testing_support::ScratchDir dir;
  const Bytes collection = BuildCollection({Face(L"A", L"Regular", L"A"), Face(L"B", L"Bold", L"B Bold", L"Version 2"),
                                            Face(L"C", L"Italic", L"C Italic")});
  WriteFile(dir.File(L"three.ttc"), collection);
  WriteFile(dir.File(L"three.otc"), collection);
  WriteFile(dir.File(L"THREE2.TTC"), collection);
  for (const wchar_t* file : {L"three.ttc", L"three.otc", L"THREE2.TTC"}) {
    FontItem item = Listed(L"B Bold", file);
    EnsureFontItemLoaded(dir.Path(), item);
    EXPECT_EQ(item.displayName, L"B Bold") << testing_support::Narrow(file);
    EXPECT_EQ(item.names.English(NameSlot::Family), L"B") << testing_support::Narrow(file);
    EXPECT_EQ(item.version, L"Version 2") << testing_support::Narrow(file);
    EXPECT_EQ(item.collectionName, L"A & B Bold & C Italic") << testing_support::Narrow(file);
    EXPECT_EQ(item.flags & 0x400800FF, 0x40000081u) << testing_support::Narrow(file);
  }
  // A record known as a collection face is looked up by name whatever its file is called.
  WriteFile(dir.File(L"faces.bin"), collection);
  FontItem renamed = Listed(L"C Italic", L"faces.bin");
  renamed.flags = 0x80;
  EnsureFontItemLoaded(dir.Path(), renamed);
  EXPECT_EQ(renamed.displayName, L"C Italic");
}

// What the file holds decides how a record is read again, not its name: a ".ttc" holding one
// font, a "ttcf" collection named ".ttf" or ".otf", listed as a registry value lists them.
TEST(EnsureFontItemLoaded, FileTagDecidesNotItsName) {
  testing_support::ScratchDir dir;
  const Bytes pair = BuildCollection({Face(L"A", L"Regular", L"A"), Face(L"B", L"Bold", L"B Bold", L"Version 2")});
  WriteFile(dir.File(L"single.ttc"), Face(L"Solo", L"Regular", L"Solo"));
  WriteFile(dir.File(L"single.otc"), Face(L"Solo", L"Regular", L"Solo"));
  WriteFile(dir.File(L"pair.ttf"), pair);
  WriteFile(dir.File(L"pair.otf"), pair);
  const struct {
    const wchar_t* file;
    const wchar_t* fullName;
    const wchar_t* version;
    uint32_t kind;  // flags & (collection face | sfnt)
  } table[] = {
      {L"single.ttc", L"Solo", L"Version 1.000", 0x1},
      {L"single.otc", L"Solo", L"Version 1.000", 0x1},
      {L"pair.ttf", L"B Bold", L"Version 2", 0x81},
      {L"pair.otf", L"B Bold", L"Version 2", 0x81},
      {L"pair.ttf", L"A", L"Version 1.000", 0x81},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(testing_support::Narrow(row.file) + " " + testing_support::Narrow(row.fullName));
    FontItem item = Listed(row.fullName, row.file);
    EnsureFontItemLoaded(dir.Path(), item);
    EXPECT_FALSE(item.IsUnreadable());
    EXPECT_EQ(item.displayName, row.fullName);
    EXPECT_EQ(item.version, row.version);
    EXPECT_EQ(item.flags & 0x81, row.kind);
    EXPECT_EQ(ForEachFontItem(dir.Path(), row.file, [](const FontItem& r) { EXPECT_FALSE(r.IsUnreadable()); }),
              row.kind == 0x81 ? 2u : 1u);
  }
}

TEST(EnsureFontItemLoaded, CollectionWithoutTheFaceKeepsTheListedNames) {
  testing_support::ScratchDir dir;
  WriteFile(dir.File(L"two.ttc"), BuildCollection({Face(L"A", L"Regular", L"A"), Face(L"B", L"Bold", L"B Bold")}));
  FontItem item = Listed(L"Z Light", L"two.ttc");
  item.names.English(NameSlot::Family) = L"Z";
  EnsureFontItemLoaded(dir.Path(), item);
  EXPECT_EQ(item.FullName(), L"Z Light");
  EXPECT_EQ(item.names.English(NameSlot::Family), L"Z");
  EXPECT_EQ(item.displayName, L"Z Light");
  EXPECT_TRUE(item.IsUnreadable());
  EXPECT_EQ(item.flags & 0xC0000000, 0xC0000000u);
}

TEST(EnsureFontItemLoaded, ListedKindBitsReachTheReader) {
  testing_support::ScratchDir dir;
  // An end-user-defined-character font calls itself "EUDC"; it keeps the name it was listed
  // under, and the list's per-user mark stays.
  WriteFile(dir.File(L"eudc.ttf"), Face(L"EUDC", L"Regular", L"EUDC"));
  FontItem item = Listed(L"Orvel Private Characters", L"eudc.ttf");
  item.flags = 0x20 | 0x2000;
  EnsureFontItemLoaded(dir.Path(), item);
  EXPECT_EQ(item.FullName(), L"Orvel Private Characters");
  EXPECT_EQ(item.flags & 0x400820FF, 0x40002021u);
}

std::wstring Fixture(const wchar_t* name) { return testing_support::SourceDir() + L"\\tests\\fonts\\data\\" + name; }

TEST(EnsureFontItemLoaded, VariableInstanceKeepsItsNamesWhenReadAgain) {
  std::vector<FontItem> instances;
  ForEachFontItem(L"", Fixture(L"OrvelVarStat.ttf"),
                  [&](const FontItem& item) { instances.push_back(FontItem::CopyConstruct(item)); });
  ASSERT_EQ(instances.size(), 3u);
  for (const FontItem& original : instances) {
    FontItem item = original;
    EnsureFontItemLoaded(L"", item);
    item.ResetInstallStatus();
    ASSERT_FALSE(item.HasFlag(0x40000000));
    EnsureFontItemLoaded(L"", item);
    EXPECT_EQ(item.FullName(), original.FullName());
    EXPECT_EQ(item.displayName, original.displayName);
    EXPECT_EQ(item.postScriptName, original.postScriptName);
    EXPECT_EQ(item.instanceNumber, original.instanceNumber);
    EXPECT_FALSE(item.IsUnreadable());
    EXPECT_TRUE(item.IsVariable());
    EXPECT_EQ(item.flags & 0xC0000000, 0xC0000000u);
  }
  EXPECT_EQ(instances[1].FullName(), L"Orvel Var Bold");
  // An instance that the file no longer has keeps its names and is marked unreadable.
  FontItem stale = instances[1];
  stale.names.English(NameSlot::FullName) = L"Orvel Var Black";
  stale.displayName = L"Orvel Var Black";
  stale.ResetInstallStatus();
  EnsureFontItemLoaded(L"", stale);
  EXPECT_EQ(stale.FullName(), L"Orvel Var Black");
  EXPECT_EQ(stale.displayName, L"Orvel Var Black");
  EXPECT_TRUE(stale.IsUnreadable());
}

}  // namespace

// The index by name gives what the walk over every record gives, also for lists where names
// repeat in other letter case, other types, English names shared by several records, and the
// record itself among its namesakes.
TEST(ResolveInstallStatus, IndexAgreesWithTheFullWalk) {
  const wchar_t* names[] = {L"Alpha", L"alpha", L"Beta", L"ALPHA", L"Gamma"};
  const uint32_t types[] = {0x1, 0x5, 0x11, 0x8, 0x4, 0x3};
  std::vector<FontItem> records;
  for (int i = 0; i < 60; ++i) {
    FontItem r = Record(names[(i * 7) % 5], types[(i * 5) % 6], i % 4 ? L"C:\\f\\a.ttf" : L"C:\\f\\b.ttf",
                        i % 3 ? L"Version 1.000" : L"Version 2.000");
    if (i % 9 == 0) r.names.System(NameSlot::FullName) = L"Localized";
    if (i % 11 == 0) r.flags |= 0x2000 | 0x8000;
    if (i % 13 == 0) r.flags |= 0x100000;
    records.push_back(r);
  }
  std::vector<const FontItem*> list;
  for (const FontItem& r : records) list.push_back(&r);
  list.insert(list.begin() + 7, nullptr);
  // Every installed record against the list it belongs to, and outside records.
  for (const FontItem& r : records) {
    FontItem& self = const_cast<FontItem&>(r);
    const uint32_t before = self.flags;
    self.ResolveInstallStatus(list);
    const uint32_t walked = self.flags;
    self.flags = before;
    self.ResolveInstallStatus(InstalledFontIndex(list));
    EXPECT_EQ(self.flags, walked) << testing_support::Narrow(r.FullName()) << std::hex << " " << before;
    self.flags = before;
  }
  for (const wchar_t* name : {L"alpha", L"Beta", L"Localized", L"Delta"})
    for (uint32_t type : types) Resolve(Record(name, type, L"C:\\f\\a.ttf"), list);
}

// Group installs and uninstalls counted in the real registry: 1, 2, 1, then the value goes; a
// font installed before the first group install is marked 0x10001 and stays installed, its value
// deleted with the last group count. The entry's mark says whether the installer goes on to load
// or unload the font.
TEST(InstalledMarkers, CountGroupInstallsAndKeepFontsInstalledBefore) {
  MarkerValues values;  // deletes the key afterwards when it did not exist
  for (const wchar_t* name : {L"2|Marker Sequence", L"2|Marker By Hand", L"2|Marker Gdi"}) values.Track(name);
  FontInstaller installer(nullptr, nullptr, false);
  auto entry = [](const std::wstring& name, uint32_t flags, int32_t count = 1) {
    return FontItemListEntry{Record(name, flags), true, 0, count};
  };
  auto stored = [](const std::wstring& name) {
    DWORD value = 0;
    const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kMarkerKey, KEY_QUERY_VALUE);
    return key && ReadRegDword(key.Get(), name.c_str(), value) ? value : 0xDEADu;
  };
  FontItemListEntry font = entry(L"Marker Sequence", 0x1);
  EXPECT_EQ(installer.AddInstalledMarker(font), 1u);  // not installed: loaded, counted once
  EXPECT_TRUE(font.marked);
  font.record.flags |= 0x400 | 0x10000;  // now installed by a group
  EXPECT_EQ(installer.AddInstalledMarker(font), 2u);  // a second group: not loaded again
  EXPECT_FALSE(font.marked);
  font.marked = true;
  EXPECT_EQ(installer.RemoveInstalledMarker(font), 1u);
  EXPECT_FALSE(font.marked) << "another group still counts it";
  EXPECT_EQ(stored(L"2|Marker Sequence"), 1u);
  EXPECT_TRUE(font.record.HasFlag(0x10000));
  font.marked = true;
  EXPECT_EQ(installer.RemoveInstalledMarker(font), 0u);
  EXPECT_TRUE(font.marked);
  EXPECT_EQ(stored(L"2|Marker Sequence"), 0xDEADu) << "the value is deleted";
  EXPECT_FALSE(font.record.HasFlag(0x10000));

  // Installed by hand before any group: 0x10001, never loaded, never removed by the group.
  FontItemListEntry byHand = entry(L"Marker By Hand", 0x1 | 0x400 | 0x10000);
  EXPECT_EQ(installer.AddInstalledMarker(byHand), 0x10001u);
  EXPECT_FALSE(byHand.marked);
  byHand.marked = true;
  EXPECT_EQ(installer.RemoveInstalledMarker(byHand), 0x10000u);
  EXPECT_FALSE(byHand.marked) << "the font stays installed";
  EXPECT_EQ(stored(L"2|Marker By Hand"), 0xDEADu) << "the value goes with the last group: the registry is as before";
  EXPECT_EQ(installer.AddInstalledMarker(byHand), 0x10001u) << "a later group counts it, still as the user's";
  byHand.marked = true;
  EXPECT_EQ(installer.RemoveInstalledMarker(byHand), 0x10000u);

  // A font collected three times in one group is counted three times; a GDI-only installed font
  // is counted, not taken as installed before.
  FontItemListEntry gdi = entry(L"Marker Gdi", 0x11 | 0x400, 3);
  EXPECT_EQ(installer.AddInstalledMarker(gdi), 3u);
  EXPECT_TRUE(gdi.marked);
  EXPECT_EQ(installer.RemoveInstalledMarker(gdi), 0u);
  EXPECT_TRUE(gdi.marked);

  // A marker whose font was uninstalled elsewhere since: the group loads it again and counts 1.
  values.Dword(L"2|Marker Stale", 5);
  FontItemListEntry stale = entry(L"Marker Stale", 0x1);
  EXPECT_EQ(installer.AddInstalledMarker(stale), 1u);
  EXPECT_TRUE(stale.marked);

  // No value at all, or one of another type: the flag goes and the font is uninstalled.
  values.Text(L"2|Marker Text", L"3");
  for (const wchar_t* name : {L"Marker None", L"Marker Text"}) {
    FontItemListEntry none = entry(name, 0x1 | 0x400 | 0x10000);
    EXPECT_EQ(installer.RemoveInstalledMarker(none), 0u);
    EXPECT_TRUE(none.marked);
    EXPECT_FALSE(none.record.HasFlag(0x10000));
  }
}

// EUDC fonts are TrueType files under their own extensions: the lazy loader reads them as such.
TEST(EnsureFontItemLoaded, EudcFontsAreReadAsSfnt) {
  testing_support::ScratchDir dir;
  WriteFile(dir.File(L"EUDC.TTE"), Face(L"EUDC", L"Regular", L"EUDC"));
  WriteFile(dir.File(L"private.euf"), Face(L"Private", L"Regular", L"Private Chars"));
  FontItem system = Listed(L"System EUDC", L"EUDC.TTE");
  system.flags = font_flags::kEudc;
  EnsureFontItemLoaded(dir.Path(), system);
  EXPECT_FALSE(system.IsUnreadable());
  EXPECT_TRUE(system.IsType(font_flags::kSfnt));
  EXPECT_EQ(system.FullName(), L"System EUDC") << "the file's \"EUDC\" gives way to the listed name";
  FontItem unflagged = Listed(L"Private Chars", L"private.euf");
  EnsureFontItemLoaded(dir.Path(), unflagged);
  EXPECT_FALSE(unflagged.IsUnreadable());
  EXPECT_EQ(unflagged.FullName(), L"Private Chars");
}
