// Installing and uninstalling fonts under Wine: files in a Fonts folder, registration values
// under HKLM or HKCU, the faces GDI knows; and, with failures injected at each step, that every
// font ends either fully installed or fully uninstalled. The Fonts folders are scratch folders,
// so that no test touches the prefix's own fonts.
#include "fonts/FontInstaller.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <tuple>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/RegistryKey.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "common/StatusProgressBar.h"
#include "fonts/InstalledFontRecords.h"
#include "fonts/InstalledMarkers.h"
#include "fonts/RegistryValueEnumerator.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;
using testing_support::Boxes;
using testing_support::GdiKnows;
using testing_support::ScratchDir;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";
const std::wstring kNimbusT1 = L"Z:\\usr\\share\\fonts\\type1\\urw-base35\\NimbusSans-Regular.t1";

void WriteTagged(const std::wstring& source, const std::wstring& target, const std::string& tag) {
  ASSERT_TRUE(WriteTaggedDejaVu(source, target, tag));
}

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

bool ReadValue(HKEY root, const wchar_t* key, const std::wstring& name, std::wstring& data, DWORD* type = nullptr) {
  wchar_t buffer[1024] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  DWORD valueType = 0;
  if (::RegGetValueW(root, key, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND | RRF_SUBKEY_WOW6464KEY, &valueType, buffer,
                     &size) != ERROR_SUCCESS)
    return false;
  data.assign(buffer, size / sizeof(wchar_t));
  while (valueType != REG_MULTI_SZ && !data.empty() && data.back() == L'\0') data.pop_back();
  if (type) *type = valueType;
  return true;
}

void WriteValue(HKEY root, const wchar_t* key, const std::wstring& name, const std::wstring& data) {
  HKEY opened = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &opened, nullptr),
            ERROR_SUCCESS);
  orv::ScopedKey owner(opened);
  ASSERT_EQ(RegistryKey(opened).SetString(name.c_str(), data), ERROR_SUCCESS);
}

void DeleteValue(HKEY root, const wchar_t* key, const std::wstring& name) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, key, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &opened) != ERROR_SUCCESS) return;
  ::RegDeleteValueW(opened, name.c_str());
  ::RegCloseKey(opened);
}

// Injected failures: each counter says how many calls of that kind still succeed (-1 always).
struct Faults {
  static inline int addFonts = -1, setValues = -1, deleteValues = -1, fileOperations = -1;
  static inline int addCalls = 0, removeCalls = 0;
  static inline bool type1Loads = false;  // Wine's GDI cannot load Type 1: pretend it can
  static bool Take(int& budget) { return budget < 0 || budget-- > 0; }
  static int Add(const wchar_t* path) {
    ++addCalls;
    if (!Take(addFonts)) {
      ::SetLastError(ERROR_ACCESS_DENIED);
      return 0;
    }
    if (type1Loads && wcschr(path, L'|')) return 1;
    return ::AddFontResourceW(path);
  }
  static BOOL Remove(const wchar_t* path) {
    ++removeCalls;
    if (type1Loads && wcschr(path, L'|')) return FALSE;
    return ::RemoveFontResourceW(path);
  }
  static LSTATUS Set(HKEY key, const wchar_t* name, DWORD type, const BYTE* data, DWORD size) {
    if (!Take(setValues)) return ERROR_ACCESS_DENIED;
    return ::RegSetValueExW(key, name, 0, type, data, size);
  }
  static LSTATUS Delete(HKEY key, const wchar_t* name) {
    if (!Take(deleteValues)) return ERROR_ACCESS_DENIED;
    return ::RegDeleteValueW(key, name);
  }
  static int FileOperation(SHFILEOPSTRUCTW* op) {
    if (!Take(fileOperations)) return ERROR_ACCESS_DENIED;
    // No test may meet one of the shell's questions or its error boxes.
    op->fFlags |= FOF_NOERRORUI | FOF_SILENT;
    return ::SHFileOperationW(op);
  }
  static void Reset() {
    addFonts = setValues = deleteValues = fileOperations = -1;
    addCalls = removeCalls = 0;
    type1Loads = false;
  }
};

const seams::SystemCalls kFaults{&Faults::Add, &Faults::Remove, &Faults::Set, &Faults::Delete, &Faults::FileOperation};

}  // namespace

class FontInstallerTest : public testing::Test {
protected:
  void SetUp() override {
    testing_support::ResetRecords();
    Faults::Reset();
    seams::SetSystemCalls(&kFaults);
    saved_ = {g_AppState.SystemFontsFolder, g_AppState.UserFontsFolder};
    savedFlags_ = {g_AppState.IsElevated, g_AppState.UserIsAdmin};
    savedRelease_ = g_AppState.WindowsRelease;
    savedPrefs_ = {g_Preferences.FontInstallFlags, g_Preferences.InstallThreshold};
    g_AppState.SystemFontsFolder = testing_support::LongPath(systemFonts_.Path());
    g_AppState.UserFontsFolder = testing_support::LongPath(userFonts_.Path());
    g_AppState.IsElevated = true;
    g_AppState.UserIsAdmin = true;
    g_AppState.WindowsRelease = 1903;
    g_Preferences.FontInstallFlags = 0;  // no count question
    HKEY markers = nullptr;
    markersExisted_ = ::RegOpenKeyExW(HKEY_CURRENT_USER, kFontsInstalledKey, 0, KEY_READ, &markers) == ERROR_SUCCESS;
    if (markers) ::RegCloseKey(markers);
  }
  void TearDown() override {
    for (const auto& [root, key, name] : written_) DeleteValue(root, key, name);
    for (const std::wstring& file : loaded_)
      while (::RemoveFontResourceW(file.c_str())) {
      }
    SetInstalledFontRecords({});
    if (!markersExisted_) ::RegDeleteKeyW(HKEY_CURRENT_USER, kFontsInstalledKey);
    seams::SetSystemCalls(nullptr);
    g_AppState.SystemFontsFolder = saved_.first;
    g_AppState.UserFontsFolder = saved_.second;
    g_AppState.IsElevated = savedFlags_.first;
    g_AppState.UserIsAdmin = savedFlags_.second;
    g_AppState.WindowsRelease = savedRelease_;
    g_Preferences.FontInstallFlags = savedPrefs_.first;
    g_Preferences.InstallThreshold = savedPrefs_.second;
  }

  // A tagged DejaVu Sans in the source folder; its full name is "<tag> Sans".
  std::wstring MakeFont(const std::string& tag, const std::wstring& file, const std::wstring& folder = {}) {
    const std::wstring path = (folder.empty() ? source_.Path() : folder) + L"\\" + file;
    WriteTagged(kDejaVu + L"DejaVuSans.ttf", path, tag);
    return path;
  }
  // Forgets the values and loads a test made, whatever happens to it.
  void Track(HKEY root, const wchar_t* key, const std::wstring& name) { written_.push_back({root, key, name}); }
  void TrackLoad(const std::wstring& file) { loaded_.push_back(file); }

  // The installed list's record of a font installed from sourceFile into installedFile, as its
  // fill would publish it.
  static FontItem InstalledRecord(const std::wstring& name, const std::wstring& sourceFile,
                                  const std::wstring& installedFile) {
    FontItemList read;
    read.AddGroupFont(name, sourceFile);
    FontItem record = read.Entries().front().record;
    EnsureFontItemLoaded(read, record);
    record.flags = (record.flags & ~font_flags::kInstalledFile) | font_flags::kInstalled;
    record.fullPath = installedFile;
    return record;
  }

  bool Install(FontItemList& items, bool copy) {
    FontInstaller installer(&items, nullptr, copy);
    return installer.InstallSelected(kInstallFromList);
  }
  bool Uninstall(FontItemList& items, bool copy) {
    FontInstaller installer(&items, nullptr, copy);
    return installer.UninstallSelected(kUninstallFromList);
  }

  ScratchDir systemFonts_, userFonts_, source_;
  std::vector<std::tuple<HKEY, const wchar_t*, std::wstring>> written_;
  std::vector<std::wstring> loaded_;
  std::pair<std::wstring, std::wstring> saved_;
  std::pair<bool, bool> savedFlags_;
  int32_t savedRelease_ = 0;
  std::pair<uint32_t, uint32_t> savedPrefs_;
  bool markersExisted_ = false;
};

// A TrueType font installed with copy files goes to the Fonts folder of its scope and is
// registered there: the bare file name under HKLM when elevated, the full per-user path under
// HKCU when not (release 1809 and later); GDI knows it. The uninstall takes all of it back and
// leaves the source file alone.
TEST_F(FontInstallerTest, CopyInstallAndUninstallForMachineAndUser) {
  struct Case {
    bool elevated;
    std::string tag;
  };
  for (const Case& c : {Case{true, "OrvMa1"}, Case{false, "OrvUs1"}}) {
    SCOPED_TRACE(c.tag);
    g_AppState.IsElevated = c.elevated;
    const std::wstring file = Wide(c.tag) + L".ttf";
    const std::wstring name = Wide(c.tag) + L" Sans";
    const std::wstring valueName = name + L" (TrueType)";
    const HKEY root = c.elevated ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    const std::wstring fontsFolder = c.elevated ? g_AppState.SystemFontsFolder : g_AppState.UserFontsFolder;
    const std::wstring installedFile = fontsFolder + L"\\" + file;
    Track(root, kFontsKey, valueName);
    TrackLoad(installedFile);
    const std::wstring sourceFile = MakeFont(c.tag, file);

    FontItemList items;
    items.AddGroupFont(name, sourceFile);
    ASSERT_TRUE(Install(items, true));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(::PathFileExistsW(installedFile.c_str()));
    std::wstring data;
    ASSERT_TRUE(ReadValue(root, kFontsKey, valueName, data));
    EXPECT_EQ(data, c.elevated ? file : installedFile);
    EXPECT_TRUE(GdiKnows(name));

    // The installed list's record of the font, as its fill would publish it.
    FontItem installed = InstalledRecord(name, sourceFile, installedFile);
    SetInstalledFontRecords({&installed});

    FontItemList again;
    again.AddGroupFont(name, sourceFile);
    ASSERT_TRUE(Uninstall(again, true));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(::PathFileExistsW(installedFile.c_str()));
    EXPECT_TRUE(::PathFileExistsW(sourceFile.c_str()));
    EXPECT_FALSE(ReadValue(root, kFontsKey, valueName, data));
    EXPECT_FALSE(GdiKnows(name));
    SetInstalledFontRecords({});
  }
}

// A font the lists drew before it was installed (loaded privately to draw it) is installed for
// real and can be uninstalled again: in place and as a copy, its value goes and GDI forgets it.
TEST_F(FontInstallerTest, FontDrawnBeforeItsInstallIsUninstalledLater) {
  for (bool copy : {false, true}) {
    SCOPED_TRACE(copy ? "copy" : "in place");
    const std::string tag = copy ? "OrvDrC" : "OrvDrP";
    const std::wstring name = Wide(tag) + L" Sans";
    const std::wstring valueName = name + L" (TrueType)";
    const std::wstring sourceFile = MakeFont(tag, Wide(tag) + L".ttf");
    const std::wstring installedFile = copy ? g_AppState.SystemFontsFolder + L"\\" + Wide(tag) + L".ttf" : sourceFile;
    Track(HKEY_LOCAL_MACHINE, kFontsKey, valueName);
    TrackLoad(installedFile);
    ASSERT_TRUE(g_AppState.FontCache.Add(sourceFile));

    FontItemList items;
    items.AddGroupFont(name, sourceFile);
    ASSERT_TRUE(Install(items, copy));
    EXPECT_TRUE(Boxes().empty());
    FontItem installed = InstalledRecord(name, sourceFile, installedFile);
    SetInstalledFontRecords({&installed});

    FontItemList again;
    again.AddGroupFont(name, sourceFile);
    ASSERT_TRUE(Uninstall(again, copy));
    std::wstring data;
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, valueName, data)) << "still registered: " << testing_support::Narrow(data);
    g_AppState.FontCache.RemoveFile(sourceFile);
    EXPECT_FALSE(GdiKnows(name));
    SetInstalledFontRecords({});
  }
}

// Without elevation before release 1809 nothing can be installed: message 22501 (with the offer
// to restart with administrator rights) and nothing copied, loaded or written.
TEST_F(FontInstallerTest, NoPerUserInstallBeforeRelease1809) {
  g_AppState.IsElevated = false;
  g_AppState.WindowsRelease = 0;
  const std::wstring sourceFile = MakeFont("OrvOld", L"old.ttf");
  FontItemList items;
  items.AddGroupFont(L"OrvOld Sans", sourceFile);
  EXPECT_FALSE(Install(items, true));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].text.find(LoadResString(IDS_NOTHING_TO_INSTALL)), std::wstring::npos);
  EXPECT_EQ(Faults::addCalls, 0);
  EXPECT_FALSE(::PathFileExistsW((g_AppState.UserFontsFolder + L"\\old.ttf").c_str()));
}

// The three faces of a collection are loaded once and registered once, under their names
// joined by " & "; a Type 1 font is registered as three strings under the Type 1 key.
TEST_F(FontInstallerTest, CollectionOnceAndType1AsThreeStrings) {
  const std::wstring ttc = source_.File(L"trio.ttc");
  WriteFile(ttc, BuildCollection({ReadFile(kDejaVu + L"DejaVuSans.ttf"), ReadFile(kDejaVu + L"DejaVuSans-Bold.ttf"),
                                  ReadFile(kDejaVu + L"DejaVuSansMono.ttf")}));
  // Renamed after the build, so that the faces are nobody else's fonts.
  WriteTagged(ttc, ttc, "OrvTri");
  const std::wstring valueName = L"OrvTri Sans & OrvTri Sans Bold & OrvTri Sans Mono (TrueType)";
  Track(HKEY_LOCAL_MACHINE, kFontsKey, valueName);
  TrackLoad(ttc);
  FontItemList items;
  for (const wchar_t* face : {L"OrvTri Sans", L"OrvTri Sans Bold", L"OrvTri Sans Mono"}) items.AddGroupFont(face, ttc);
  ASSERT_TRUE(Install(items, false));
  EXPECT_EQ(Faults::addCalls, 1);
  std::wstring data;
  ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, valueName, data));
  EXPECT_EQ(data, ttc);  // installed in place: the full path

  const Bytes t1 = ReadFile(kNimbusT1);
  if (t1.empty()) GTEST_SKIP() << "fonts-urw-base35 missing";
  Faults::type1Loads = true;
  WriteFile(source_.File(L"OrvT1.pfm"), MinimalPfm());
  WriteFile(source_.File(L"OrvT1.pfb"), BuildPfb(t1.substr(0, t1.find("eexec") + 6)));
  FontItemList type1;
  type1.AddGroupFont(L"", source_.File(L"OrvT1.pfm"));
  FontItem& record = type1.Entries().front().record;
  EnsureFontItemLoaded(type1, record);
  ASSERT_TRUE(record.IsType1());
  Track(HKEY_LOCAL_MACHINE, kType1FontsKey, record.FullName());
  ASSERT_TRUE(Install(type1, false));
  DWORD type = 0;
  ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kType1FontsKey, record.FullName(), data, &type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(data, L"T" + std::wstring(1, L'\0') + source_.File(L"OrvT1.pfm") + L'\0' + source_.File(L"OrvT1.pfb") +
                      L'\0' + L'\0');
}

// A file name already taken in the Fonts folder: the copy gets a free name, without any
// question of the shell, and that copy is what is registered; the file that was there stays.
// The shell's own name mappings (which Wine never returns) go through the same pairs.
TEST_F(FontInstallerTest, CollidingFileNameRegistersTheRenamedCopy) {
  const std::wstring taken = g_AppState.SystemFontsFolder + L"\\same.ttf";
  WriteFile(taken, "someone else's font");
  const std::wstring sourceFile = MakeFont("OrvCol", L"same.ttf");
  const std::wstring valueName = L"OrvCol Sans (TrueType)";
  Track(HKEY_LOCAL_MACHINE, kFontsKey, valueName);
  TrackLoad(g_AppState.SystemFontsFolder + L"\\same (2).ttf");
  FontItemList items;
  items.AddGroupFont(L"OrvCol Sans", sourceFile);
  ASSERT_TRUE(Install(items, true));
  std::wstring data;
  ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, valueName, data));
  EXPECT_EQ(data, L"same (2).ttf");
  EXPECT_EQ(ReadFile(taken), "someone else's font");
  EXPECT_TRUE(GdiKnows(L"OrvCol Sans"));

  SHNAMEMAPPINGW pairs[2] = {};
  wchar_t old1[] = L"C:\\src\\a.ttf", new1[] = L"C:\\Windows\\Fonts\\a (2).ttf";
  wchar_t old2[] = L"C:\\src\\b.pfb", new2[] = L"C:\\Windows\\Fonts\\b (3).pfb";
  pairs[0] = {old1, new1, static_cast<int>(wcslen(old1)), static_cast<int>(wcslen(new1))};
  pairs[1] = {old2, new2, static_cast<int>(wcslen(old2)), static_cast<int>(wcslen(new2))};
  struct {
    UINT count;
    LPSHNAMEMAPPINGW mappings;
  } handle{2, pairs};
  FontInstaller installer(nullptr, nullptr, true);
  EXPECT_TRUE(installer.ApplyNameMappings(&handle));
  const std::vector<std::pair<std::wstring, std::wstring>> expected{{L"a.ttf", L"a (2).ttf"}, {L"b.pfb", L"b (3).pfb"}};
  EXPECT_EQ(installer.NameMappings(), expected);
}

// A Fonts value names a file by its bare name only when the file lies in the system Fonts
// folder (folders compared without case); a full path matches without case anywhere. So the
// values of an in-place font never take a system font's value of the same file name along.
TEST_F(FontInstallerTest, FontsValuesMatchTheFileNotItsName) {
  std::wstring systemUpper = g_AppState.SystemFontsFolder;
  ::CharUpperBuffW(systemUpper.data(), static_cast<DWORD>(systemUpper.size()));
  const std::wstring elsewhere = source_.File(L"same.ttf");
  const std::vector<std::pair<std::wstring, std::wstring>> values{
      {L"OrvVal Bare (TrueType)", L"same.ttf"},
      {L"OrvVal Fonts (TrueType)", g_AppState.SystemFontsFolder + L"\\SAME.TTF"},
      {L"OrvVal Else (TrueType)", elsewhere},
  };
  struct Case {
    std::wstring path;
    std::vector<bool> removed;
  };
  for (const Case& c : {Case{elsewhere, {false, false, true}},
                        Case{systemUpper + L"\\same.ttf", {true, true, false}},
                        Case{L"same.ttf", {true, true, false}}}) {
    SCOPED_TRACE(testing_support::Narrow(c.path));
    for (const auto& [name, data] : values) {
      WriteValue(HKEY_LOCAL_MACHINE, kFontsKey, name, data);
      Track(HKEY_LOCAL_MACHINE, kFontsKey, name);
    }
    FontInstaller installer(nullptr, nullptr, false);
    FontItem item;
    EXPECT_TRUE(installer.DeleteFontsValue(item, c.path));
    for (size_t i = 0; i < values.size(); ++i) {
      std::wstring data;
      EXPECT_EQ(!ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, values[i].first, data), c.removed[i])
          << testing_support::Narrow(values[i].first);
    }
  }
}

// Uninstalling a font installed in place, whose file name equals a system font's: the in-place
// font's value goes and its file stays (even with copy files); the system font's file and value
// are never touched. When nothing of the in-place font is loaded, nothing is touched at all.
TEST_F(FontInstallerTest, InPlaceUninstallNeverTouchesANamesake) {
  const std::wstring systemFile = g_AppState.SystemFontsFolder + L"\\same.ttf";
  WriteFile(systemFile, "the system's font");
  WriteValue(HKEY_LOCAL_MACHINE, kFontsKey, L"OrvSys Font (TrueType)", L"same.ttf");
  Track(HKEY_LOCAL_MACHINE, kFontsKey, L"OrvSys Font (TrueType)");
  const std::wstring inPlace = MakeFont("OrvInP", L"same.ttf");
  const std::wstring valueName = L"OrvInP Sans (TrueType)";
  Track(HKEY_LOCAL_MACHINE, kFontsKey, valueName);
  TrackLoad(inPlace);

  for (bool loaded : {false, true}) {
    SCOPED_TRACE(loaded ? "loaded" : "not loaded");
    WriteValue(HKEY_LOCAL_MACHINE, kFontsKey, valueName, inPlace);
    if (loaded) {
      ASSERT_GT(::AddFontResourceW(inPlace.c_str()), 0);
    }
    FontItemList items;
    items.AddGroupFont(L"OrvInP Sans", inPlace);
    FontItem& record = items.Entries().front().record;
    EnsureFontItemLoaded(items, record);
    // The installed list's record is the in-place file itself.
    FontItem installed = record;
    SetInstalledFontRecords({&installed});
    record.ResetInstallStatus();
    EnsureFontItemLoaded(items, record);
    ASSERT_TRUE(record.IsInstalledFile());
    EXPECT_TRUE(Uninstall(items, true));
    std::wstring data;
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, valueName, data), !loaded);
    EXPECT_TRUE(::PathFileExistsW(inPlace.c_str()));
    EXPECT_EQ(ReadFile(systemFile), "the system's font");
    ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, L"OrvSys Font (TrueType)", data));
    EXPECT_EQ(data, L"same.ttf");
    EXPECT_FALSE(GdiKnows(L"OrvInP Sans"));
    SetInstalledFontRecords({});
  }
}

// A font without a name to register under is never registered: no value with an empty name
// (" (TrueType)"); the install loop drops such a font before loading it.
TEST_F(FontInstallerTest, FontWithoutRegistryNameIsNotRegistered) {
  FontItem item;
  item.flags = font_flags::kSfnt | font_flags::kRead | font_flags::kResolved;
  item.names.System(NameSlot::Subfamily) = L"Bold";  // a style, but neither full nor family name
  item.fileRef = L"noname.ttf";
  item.fullPath = source_.File(L"noname.ttf");
  Track(HKEY_LOCAL_MACHINE, kFontsKey, L" (TrueType)");
  FontInstaller installer(nullptr, nullptr, false);
  EXPECT_FALSE(installer.WriteFontsValue(item));
  EXPECT_EQ(installer.LastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
  std::wstring data;
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, L" (TrueType)", data));
}

// With copy files on, a font that already lies in the Fonts folder without a registration is
// installed in place there instead of being skipped.
TEST_F(FontInstallerTest, UnregisteredFontInTheFontsFolderIsInstalledInPlace) {
  const std::wstring file = MakeFont("OrvHer", L"here.ttf", g_AppState.SystemFontsFolder);
  Track(HKEY_LOCAL_MACHINE, kFontsKey, L"OrvHer Sans (TrueType)");
  TrackLoad(file);
  FontItemList items;
  items.AddGroupFont(L"OrvHer Sans", file);
  ASSERT_TRUE(Install(items, true));
  std::wstring data;
  ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, L"OrvHer Sans (TrueType)", data));
  EXPECT_EQ(data, L"here.ttf");
  EXPECT_TRUE(GdiKnows(L"OrvHer Sans"));
}

// A failure at any step leaves each font whole: installed (file, value, loaded) or not at all.
// Install steps: the shell's copy, AddFontResourceW, the registry write; uninstall steps: the
// value's removal, the shell's deletion. Each failure is reported.
TEST_F(FontInstallerTest, InterruptedStepsLeaveEachFontWhole) {
  struct Case {
    const char* step;
    int* fault;
    bool installStep;
  };
  const Case cases[] = {{"copy", &Faults::fileOperations, true},
                        {"load", &Faults::addFonts, true},
                        {"value", &Faults::setValues, true},
                        {"value removal", &Faults::deleteValues, false},
                        {"file deletion", &Faults::fileOperations, false}};
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    testing_support::ResetRecords();
    Faults::Reset();
    const std::string tag = "OrvFt" + std::to_string(n++);
    const std::wstring name = Wide(tag) + L" Sans";
    const std::wstring valueName = name + L" (TrueType)";
    const std::wstring file = Wide(tag) + L".ttf";
    const std::wstring installedFile = g_AppState.SystemFontsFolder + L"\\" + file;
    Track(HKEY_LOCAL_MACHINE, kFontsKey, valueName);
    TrackLoad(installedFile);
    const std::wstring sourceFile = MakeFont(tag, file);
    auto whole = [&](bool expectInstalled) {
      std::wstring data;
      const bool value = ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, valueName, data);
      const bool present = ::PathFileExistsW(installedFile.c_str()) != FALSE;
      const bool known = GdiKnows(name);
      EXPECT_EQ(value, expectInstalled);
      EXPECT_EQ(present, expectInstalled);
      EXPECT_EQ(known, expectInstalled);
    };
    FontItemList items;
    items.AddGroupFont(name, sourceFile);
    if (c.installStep) {
      *c.fault = 0;
      EXPECT_FALSE(Install(items, true));
      whole(false);
      // The shell reports its own failure; the installer reports the rest.
      EXPECT_EQ(Boxes().size(), c.fault == &Faults::fileOperations ? 0u : 1u);
      continue;
    }
    ASSERT_TRUE(Install(items, true));
    whole(true);
    FontItem installed = InstalledRecord(name, sourceFile, installedFile);
    SetInstalledFontRecords({&installed});
    *c.fault = 0;
    FontItemList again;
    again.AddGroupFont(name, sourceFile);
    Uninstall(again, true);
    whole(true);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].text.find(LoadResString(IDS_UNINSTALL_FAILED)), std::wstring::npos);
    EXPECT_NE(Boxes()[0].text.find(name), std::wstring::npos);
    SetInstalledFontRecords({});
  }
}

// The group count of a font (its FontsInstalled marker), or 0xDEAD when it has none.
DWORD Marker(const std::wstring& name) {
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (::RegGetValueW(HKEY_CURRENT_USER, kFontsInstalledKey, name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS)
    return 0xDEAD;
  return value;
}

// A group install counts the font in its marker only when the font ends installed, and a group
// uninstall whose step fails leaves the count as it was: the font stays whole, and so does the
// number of groups that need it.
TEST_F(FontInstallerTest, GroupStepsThatFailLeaveTheCountAsItWas) {
  const std::wstring name = L"OrvGrf Sans";
  const std::wstring marker = L"2|" + name;
  const std::wstring file = MakeFont("OrvGrf", L"grf.ttf");
  Track(HKEY_LOCAL_MACHINE, kFontsKey, name + L" (TrueType)");
  Track(HKEY_CURRENT_USER, kFontsInstalledKey, marker);
  TrackLoad(file);
  auto runGroup = [&](UINT command) {
    FontItemList items;
    items.AddGroupFont(name, file);
    FontInstaller installer(&items, nullptr, false);
    return command == kInstallGroup ? installer.InstallSelected(command) : installer.UninstallSelected(command);
  };

  Faults::addFonts = 0;
  EXPECT_FALSE(runGroup(kInstallGroup));
  EXPECT_EQ(Marker(marker), 0xDEADu) << "a font that was not installed is not counted";
  EXPECT_FALSE(GdiKnows(name));

  testing_support::ResetRecords();
  Faults::Reset();
  ASSERT_TRUE(runGroup(kInstallGroup));
  EXPECT_EQ(Marker(marker), 1u);
  EXPECT_TRUE(GdiKnows(name));
  FontItem installed = InstalledRecord(name, file, file);
  SetInstalledFontRecords({&installed});

  Faults::deleteValues = 0;
  runGroup(kUninstallGroup);
  EXPECT_EQ(Marker(marker), 1u) << "the value stayed, so the count stays";
  EXPECT_TRUE(GdiKnows(name));
  std::wstring data;
  EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, name + L" (TrueType)", data));

  Faults::Reset();
  EXPECT_TRUE(runGroup(kUninstallGroup));
  EXPECT_EQ(Marker(marker), 0xDEADu);
  EXPECT_FALSE(GdiKnows(name));
  EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, name + L" (TrueType)", data));
  SetInstalledFontRecords({});
}

// A registered font that no unload takes away (the system loaded it in a way this process cannot
// undo) stays installed: the uninstall says so by name, and a group keeps counting it.
TEST_F(FontInstallerTest, FontNothingCanUnloadIsReportedAndStaysCounted) {
  const std::wstring name = L"OrvStk Sans";
  const std::wstring marker = L"2|" + name;
  const std::wstring file = MakeFont("OrvStk", L"stk.ttf");
  Track(HKEY_LOCAL_MACHINE, kFontsKey, name + L" (TrueType)");
  Track(HKEY_CURRENT_USER, kFontsInstalledKey, marker);
  TrackLoad(file);
  FontItemList group;
  group.AddGroupFont(name, file);
  ASSERT_TRUE(FontInstaller(&group, nullptr, false).InstallSelected(kInstallGroup));
  ASSERT_EQ(Marker(marker), 1u);
  FontItem installed = InstalledRecord(name, file, file);
  SetInstalledFontRecords({&installed});
  while (::RemoveFontResourceW(file.c_str())) {
  }

  for (UINT command : {kUninstallGroup, kUninstallFromList}) {
    SCOPED_TRACE(command);
    testing_support::ResetRecords();
    FontItemList items;
    items.AddGroupFont(name, file);
    EXPECT_FALSE(FontInstaller(&items, nullptr, false).UninstallSelected(command)) << "the group stays installed";
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].text.find(LoadResString(command == kUninstallGroup ? IDS_UNINSTALL_FAILED
                                                                             : IDS_NOTHING_TO_UNINSTALL)),
              std::wstring::npos);
    EXPECT_TRUE(command != kUninstallGroup || Boxes()[0].text.find(name) != std::wstring::npos);
    std::wstring data;
    EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, name + L" (TrueType)", data));
    EXPECT_EQ(Marker(marker), 1u) << "still installed, so still counted";
  }
  SetInstalledFontRecords({});
}

// A Type 1 font in the Fonts folder whose Type 1 value is missing: nothing is unloaded, and with
// the copy option its two files still go, as for any uninstalled font; without the option, or
// for files outside the Fonts folders, nothing is touched.
TEST_F(FontInstallerTest, Type1FontWithoutItsValueStillLosesItsFontsFolderFiles) {
  Faults::type1Loads = true;
  struct Case {
    const char* what;
    bool copy;
    bool inFontsFolder;
    bool deleted;
  };
  for (const Case& c : {Case{"copy, Fonts folder", true, true, true}, Case{"no copy", false, true, false},
                        Case{"copy, elsewhere", true, false, false}}) {
    SCOPED_TRACE(c.what);
    testing_support::ResetRecords();
    const std::wstring folder = c.inFontsFolder ? g_AppState.SystemFontsFolder : source_.Path();
    const std::wstring pfm = folder + L"\\OrvNov.pfm";
    const std::wstring pfb = folder + L"\\OrvNov.pfb";
    WriteFile(pfm, MinimalPfm());
    WriteFile(pfb, BuildPfb(Type1ClearText("/FontName /OrvNov-Regular def")));
    FontItemList items;
    items.AddGroupFont(L"", pfm);
    FontItem installed = items.Entries().front().record;
    EnsureFontItemLoaded(items, installed);
    ASSERT_TRUE(installed.IsType1());
    installed.flags |= font_flags::kInstalled;
    SetInstalledFontRecords({&installed});
    Faults::removeCalls = 0;
    EXPECT_TRUE(Uninstall(items, c.copy));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Faults::removeCalls, 0) << "nothing is unloaded without the value";
    EXPECT_EQ(::PathFileExistsW(pfm.c_str()) == FALSE, c.deleted);
    EXPECT_EQ(::PathFileExistsW(pfb.c_str()) == FALSE, c.deleted);
    SetInstalledFontRecords({});
    ::DeleteFileW(pfm.c_str());
    ::DeleteFileW(pfb.c_str());
  }
}

// A group of a collection, three files of one font name and a file that is gone: drawn by the
// lists first (loaded privately, so GDI alone knows them), installed (the gone file is named),
// not uninstalled through the collection's face without a marker, and taken back whole.
TEST_F(FontInstallerTest, GroupInstallAndUninstallLeaveNothingBehind) {
  const std::wstring ttc = source_.File(L"duo.ttc");
  WriteFile(ttc, BuildCollection({ReadFile(kDejaVu + L"DejaVuSans.ttf"), ReadFile(kDejaVu + L"DejaVuSans-Bold.ttf")}));
  WriteTagged(ttc, ttc, "OrvDuo");
  using Fonts = std::vector<std::pair<std::wstring, std::wstring>>;
  Fonts group{{L"OrvDuo Sans", ttc}, {L"OrvDuo Sans Bold", ttc}, {L"OrvGon Sans", source_.File(L"gone.ttf")}};
  for (uint32_t i = 0; i < 3; ++i) {
    // Each a later revision (the head table's fontRevision) than the one before.
    const std::wstring file = MakeFont("OrvSam", L"same" + std::to_wstring(i) + L".ttf");
    Bytes bytes = ReadFile(file);
    for (const TableEntry& table : ReadDirectory(bytes))
      if (table.tag == "head") SetU32(bytes, table.offset + 4, 0x10000 + i);
    WriteFile(file, bytes);
    group.emplace_back(L"OrvSam Sans", file);
  }
  const std::wstring values[] = {L"OrvDuo Sans & OrvDuo Sans Bold (TrueType)", L"OrvSam Sans (TrueType)"};
  const std::wstring markers[] = {L"2|OrvDuo Sans", L"2|OrvSam Sans"};
  for (int i = 0; i < 2; ++i) Track(HKEY_LOCAL_MACHINE, kFontsKey, values[i]);
  for (int i = 0; i < 2; ++i) Track(HKEY_CURRENT_USER, kFontsInstalledKey, markers[i]);
  std::vector<FontItem> records;  // the installed list
  auto publish = [&] {
    std::vector<const FontItem*> published;
    for (const FontItem& record : records) published.push_back(&record);
    SetInstalledFontRecords(published);
  };
  for (const auto& [name, path] : group) {
    TrackLoad(path);
    if (!::PathFileExistsW(path.c_str()) || !g_AppState.FontCache.Add(path)) continue;
    FontItem& gdi = records.emplace_back();
    gdi.flags = font_flags::kRead | font_flags::kResolved | font_flags::kGdiOnly | font_flags::kSfnt;
    gdi.names.English(NameSlot::FullName) = gdi.displayName = name;
  }
  publish();
  auto run = [&](UINT command, const Fonts& fonts) {
    testing_support::ResetRecords();
    FontItemList items;
    for (const auto& [name, path] : fonts) items.AddGroupFont(name, path);
    FontInstaller installer(&items, nullptr, false);
    return command == kInstallGroup ? installer.InstallSelected(command) : installer.UninstallSelected(command);
  };
  std::wstring data;
  EXPECT_TRUE(run(kInstallGroup, group));
  EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, values[0], data) && data == ttc);
  EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, values[1], data) && data == group[3].second);
  EXPECT_TRUE(Marker(markers[0]) == 1u && Marker(markers[1]) == 1u);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].text.find(L"OrvGon Sans: " + LoadResString(IDS_REASON_FILE_MISSING)), std::wstring::npos);

  SetInstalledFontRecords({});
  records.clear();  // after the font change: the registered faces
  for (size_t i : {0, 1, 3}) records.push_back(InstalledRecord(group[i].first, group[i].second, group[i].second));
  publish();
  EXPECT_FALSE(run(kUninstallFromList, {group[1]}));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].text.find(LoadResString(IDS_NOTHING_TO_UNINSTALL)), std::wstring::npos);
  EXPECT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, values[0], data)) << "the group's collection went";

  EXPECT_TRUE(run(kUninstallGroup, group));
  EXPECT_TRUE(Boxes().empty());
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kFontsKey, values[i], data)) << testing_support::Narrow(values[i]);
    EXPECT_EQ(Marker(markers[i]), 0xDEADu);
  }
  g_AppState.FontCache.RemoveAll(false);
  SetInstalledFontRecords({});
}

// Each step of the progress bar drops one pending input message at most; what was posted to the
// program (commands, timers, quit) survives the install.
TEST(StatusProgressBar, StepKeepsPostedMessages) {
  HWND status = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_POPUP, 0, 0, 500, 24, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(status, nullptr);
  StatusProgressBar bar(status);
  RECT client{};
  ::GetClientRect(status, &client);
  EXPECT_EQ(bar.Placement().left, client.right * 4 / 5 + 12);
  EXPECT_EQ(bar.Placement().top, client.top + 6);
  bar.Create(3);
  ASSERT_NE(bar.Window(), nullptr);
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  ::PostMessageW(status, WM_COMMAND, 339, 0);
  ::PostMessageW(status, WM_COMMAND, 218, 0);
  ::PostMessageW(status, WM_TIMER, 4, 0);
  for (int i = 0; i < 3; ++i) bar.Step();
  EXPECT_EQ(::SendMessageW(bar.Window(), PBM_GETPOS, 0, 0), 3);
  int kept = 0;
  while (::PeekMessageW(&msg, status, 0, 0, PM_REMOVE)) kept += msg.message == WM_COMMAND || msg.message == WM_TIMER;
  EXPECT_EQ(kept, 3);
  bar.Destroy();
  EXPECT_EQ(bar.Window(), nullptr);
  ::DestroyWindow(status);
}
