// The installed fonts list: the namesake rules of the GDI pass, the counters and the rows it
// hides, and the fill from the Wine prefix's own registry with registrations the test adds
// (per-user, malformed, missing and hostile files, Type 1 and EUDC values).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "fonts/EnsureFontItemLoaded.h"
#include "fonts/InstalledFontRecords.h"
#include "fonts/RegistryValueEnumerator.h"
#include "lists/CLVFolderFonts.h"
#include "lists/CLVInstalledFonts.h"
#include "tests/lists/ListTestHost.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;
using namespace font_flags;
using testing_support::ScratchDir;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";
const std::wstring kNimbusT1 = L"Z:\\usr\\share\\fonts\\type1\\urw-base35\\NimbusSans-Regular.t1";
const wchar_t kFontsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

FontItem Registered(const std::wstring& fullName, uint32_t type, const std::wstring& postScript = {}) {
  FontItem item;
  item.names.English(NameSlot::FullName) = fullName;
  item.displayName = fullName;
  item.postScriptName = postScript.empty() ? fullName : postScript;
  item.flags = kRead | type;
  return item;
}

// The rows of the list whose full name or display name is `name`, in the order they were added.
std::vector<const FontItem*> Rows(const CLVInstalledFonts& list, const std::wstring& name) {
  std::vector<const FontItem*> found;
  for (const auto& row : list.Rows())
    if (row->record && (row->record->FullName() == name || row->record->displayName == name))
      found.push_back(row->record.get());
  return found;
}

struct StyleFlagsGuard {
  uint32_t saved = g_Preferences.StyleFlags;
  ~StyleFlagsGuard() { g_Preferences.StyleFlags = saved; }
};

}  // namespace

// Each face GDI reports meets the rows listed before it: a namesake of a shared type means the
// face is listed already; one of another type is marked (a new raster row takes the mark
// itself); device faces meet Type 1 fonts by PostScript name; "@" faces copy their horizontal
// face; the counters and the hidden rows follow.
TEST(InstalledFontsList, NamesakeRulesCountersAndHiddenRows) {
  CLVInstalledFonts list;
  list.AddRegisteredRecord(Registered(L"Foo", kSfnt));
  list.AddRegisteredRecord(Registered(L"Bar", kSfnt | kCffOrType1));
  list.AddRegisteredRecord(Registered(L"Baz", kCffOrType1, L"Baz-Regular"));

  list.AddGdiFace(L"Foo", TRUETYPE_FONTTYPE);        // registered TrueType: nothing new
  list.AddGdiFace(L"Bar", TRUETYPE_FONTTYPE);        // CFF OpenType shares the sfnt bit
  list.AddGdiFace(L"Baz", TRUETYPE_FONTTYPE);        // a Type 1 namesake: marked, GDI-only row added
  list.AddGdiFace(L"Baz-Regular", DEVICE_FONTTYPE);  // the Type 1 font by its PostScript name
  list.AddGdiFace(L"Qux-Bold", DEVICE_FONTTYPE);     // a device face of its own
  list.AddGdiFace(L"Foo", RASTER_FONTTYPE);          // the new raster row takes the mark
  list.AddGdiFace(L"Small Fonts", RASTER_FONTTYPE);
  list.AddGdiFace(L"Small Fonts", RASTER_FONTTYPE);  // once only
  list.AddGdiFace(L"Roman", 0);                      // a vector font
  list.AddGdiFace(L"@Foo", TRUETYPE_FONTTYPE);       // vertical face of a listed font
  list.AddGdiFace(L"Loaded By Someone", TRUETYPE_FONTTYPE);
  list.AddGdiFace(L"Loaded By Someone", TRUETYPE_FONTTYPE);
  list.AddGdiFace(L"Marlett", TRUETYPE_FONTTYPE);

  ASSERT_EQ(Rows(list, L"Foo").size(), 3u);  // registered, raster, and the "@" copy by full name
  const std::vector<const FontItem*> baz = Rows(list, L"Baz");
  ASSERT_EQ(baz.size(), 2u);
  EXPECT_EQ(baz[0]->flags, kRead | kCffOrType1 | kOtherType);
  EXPECT_EQ(baz[1]->flags, 0x40000011u);
  EXPECT_EQ(baz[1]->names.English(NameSlot::FullName), L"Baz") << "starts from a copy of the namesake";
  const std::vector<const FontItem*> qux = Rows(list, L"Qux Bold");
  ASSERT_EQ(qux.size(), 1u);
  EXPECT_EQ(qux[0]->flags, kRead | kGdiOnly | kCffOrType1);
  EXPECT_EQ(qux[0]->postScriptName, L"Qux-Bold");
  const std::vector<const FontItem*> raster = Rows(list, L"Small Fonts");
  ASSERT_EQ(raster.size(), 1u);
  EXPECT_EQ(raster[0]->flags, kResolved | kProtected | kRaster);
  EXPECT_EQ(raster[0]->fileRef, LoadResString(IDS_RASTER_FONT_FILE));
  bool foundRasterFoo = false, foundVertical = false;
  for (const FontItem* r : Rows(list, L"Foo")) {
    if (r->displayName == L"Foo" && !r->IsRaster()) {
      EXPECT_EQ(r->flags, kRead | kSfnt) << "the raster row takes the mark, not Foo";
    }
    if (r->IsRaster()) {
      foundRasterFoo = true;
      EXPECT_EQ(r->flags, kResolved | kProtected | kRaster | kOtherType);
    }
    if (r->displayName == L"@Foo") {
      foundVertical = true;
      EXPECT_EQ(r->names.System(NameSlot::Family), L"@Foo");
      EXPECT_TRUE(r->IsType(kSfnt));
    }
  }
  EXPECT_TRUE(foundRasterFoo);
  EXPECT_TRUE(foundVertical);
  EXPECT_EQ(Rows(list, L"Roman")[0]->fileRef, LoadResString(IDS_VECTOR_FONT_FILE));
  ASSERT_EQ(Rows(list, L"Loaded By Someone").size(), 1u);
  EXPECT_EQ(Rows(list, L"Loaded By Someone")[0]->flags, 0x40000011u);
  ASSERT_EQ(Rows(list, L"Marlett").size(), 1u);

  const CLVInstalledFonts::Counts& c = list.Counters();
  EXPECT_EQ(c.registered, 3);
  EXPECT_EQ(c.gdiOnly, 3) << "Baz, Qux Bold and the font loaded by someone; Marlett is not counted";
  EXPECT_EQ(c.raster, 3);
  EXPECT_EQ(c.vertical, 1);
  EXPECT_EQ(list.CountShown(true), 10);

  StyleFlagsGuard guard;
  struct Case {
    uint32_t style;
    int shown;
  };
  for (const Case& k : {Case{0x72, 6}, Case{0, 10}, Case{0x2, 7}, Case{0x40, 9}, Case{0x20, 10}}) {
    g_Preferences.StyleFlags = k.style;
    EXPECT_EQ(list.CountShown(false), k.shown) << std::hex << k.style;
    int visible = 0;
    for (const auto& row : list.Rows()) visible += !list.IsHidden(*row);
    // Marlett is never shown and never counted.
    EXPECT_EQ(visible, k.shown) << std::hex << k.style;
  }
  g_Preferences.StyleFlags = 0;
  EXPECT_TRUE(list.IsHidden(*list.Rows()[0]) == false);
  FontListRow empty;
  EXPECT_TRUE(list.IsHidden(empty)) << "a row without record";
  FontListRow eudc;
  eudc.record = std::make_unique<FontItem>(Registered(L"EUDC", kSfnt | kEudc));
  EXPECT_FALSE(list.IsHidden(eudc));
  g_Preferences.StyleFlags = Preferences::kStyleHideEudc;
  EXPECT_TRUE(list.IsHidden(eudc));
}

// The fill under Wine, from the prefix's registry plus per-user values this test writes.
class InstalledFill : public testing::Test {
protected:
  void SetUp() override {
    testing_support::ResetRecords();
    savedRelease_ = g_AppState.WindowsRelease;
    g_AppState.WindowsRelease = 1903;
    host_.Attach(list_, IDC_INSTALLED_FONTS_LIST);
    wchar_t eudcKey[32]{};
    swprintf_s(eudcKey, L"EUDC\\%u", ::GetACP());
    eudcKey_ = eudcKey;
  }
  void TearDown() override {
    for (const auto& [root, name] : written_) {
      HKEY key = nullptr;
      if (::RegOpenKeyExW(root, kFontsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        ::RegDeleteValueW(key, name.c_str());
        ::RegCloseKey(key);
      }
    }
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kType1FontsKey);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, eudcKey_.c_str());
    g_AppState.WindowsRelease = savedRelease_;
  }
  void WriteValue(HKEY root, const wchar_t* subKey, const std::wstring& name, DWORD type, const void* data,
                  DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(root, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    ::RegCloseKey(key);
    if (std::wstring(subKey) == kFontsKey) written_.emplace_back(root, name);
  }
  void WriteFontValue(HKEY root, const std::wstring& name, const std::wstring& file) {
    WriteValue(root, kFontsKey, name, REG_SZ, file.c_str(), static_cast<DWORD>((file.size() + 1) * sizeof(wchar_t)));
  }
  std::vector<const FontItem*> RowsWithPath(const std::wstring& path) const {
    std::vector<const FontItem*> found;
    for (const FontItem* r : InstalledFontRecords())
      if (r && EqualsNoCase(r->fullPath, path)) found.push_back(r);
    return found;
  }

  ListTestHost host_;
  CLVInstalledFonts list_;
  ScratchDir dir_;
  std::wstring eudcKey_;
  int32_t savedRelease_ = 0;
  std::vector<std::pair<HKEY, std::wstring>> written_;
};

TEST_F(InstalledFill, ListsEveryRegistrationOnceAndSkipsWhatCannotBeRead) {
  const std::wstring both = dir_.File(L"Both.ttf");
  ASSERT_TRUE(::CopyFileW((kDejaVu + L"DejaVuSansMono.ttf").c_str(), both.c_str(), FALSE));
  WriteFontValue(HKEY_LOCAL_MACHINE, L"Orvel Both Test (TrueType)", both);
  WriteFontValue(HKEY_CURRENT_USER, L"Orvel Both Test (TrueType)", both);
  // Malformed and unusable values: each is skipped, none is read past its end.
  const std::wstring unterminated = dir_.File(L"Unterminated.ttf");
  ASSERT_TRUE(::CopyFileW((kDejaVu + L"DejaVuSerif.ttf").c_str(), unterminated.c_str(), FALSE));
  // Without its terminator, cut inside the extension (Wine terminates what it gives back; the
  // file named up to the cut does not exist).
  WriteValue(HKEY_CURRENT_USER, kFontsKey, L"Orvel Unterminated (TrueType)", REG_SZ, unterminated.c_str(),
             static_cast<DWORD>((unterminated.size() - 1) * sizeof(wchar_t)));
  WriteValue(HKEY_CURRENT_USER, kFontsKey, L"Orvel Odd (TrueType)", REG_SZ, unterminated.c_str(),
             static_cast<DWORD>((unterminated.size() + 1) * sizeof(wchar_t) + 1));
  WriteValue(HKEY_CURRENT_USER, kFontsKey, L"Orvel Binary (TrueType)", REG_BINARY, unterminated.c_str(),
             static_cast<DWORD>((unterminated.size() + 1) * sizeof(wchar_t)));
  WriteFontValue(HKEY_CURRENT_USER, L"Orvel Missing (TrueType)", dir_.File(L"Missing.ttf"));
  const std::wstring hostile = dir_.File(L"Hostile.ttf");
  Bytes garbage = ReadFile(kDejaVu + L"DejaVuSans.ttf").substr(0, 300);
  SetU16(garbage, 4, 0xFFFF);  // a table count far beyond the file
  WriteFile(hostile, garbage);
  WriteFontValue(HKEY_CURRENT_USER, L"Orvel Hostile (TrueType)", hostile);

  // Type 1: one good value, one whose strings are not terminated, one of the wrong type.
  const Bytes t1 = ReadFile(kNimbusT1);
  ASSERT_FALSE(t1.empty());
  WriteFile(dir_.File(L"Nimbus.pfm"), MinimalPfm());
  WriteFile(dir_.File(L"Nimbus.pfb"), BuildPfb(t1.substr(0, t1.find("eexec") + 6)));
  const std::wstring good = L"T" + std::wstring(1, L'\0') + dir_.File(L"Nimbus.pfm") + std::wstring(1, L'\0') +
                            dir_.File(L"Nimbus.pfb") + std::wstring(2, L'\0');
  WriteValue(HKEY_CURRENT_USER, kType1FontsKey, L"Orvel Type 1 Test", REG_MULTI_SZ, good.data(),
             static_cast<DWORD>(good.size() * sizeof(wchar_t)));
  const std::wstring cut = good.substr(0, 2 + dir_.File(L"Nimbus.pfm").size() - 2);  // inside the ".pfm" name
  WriteValue(HKEY_CURRENT_USER, kType1FontsKey, L"Orvel Type 1 Cut", REG_MULTI_SZ, cut.data(),
             static_cast<DWORD>(cut.size() * sizeof(wchar_t)));
  WriteValue(HKEY_CURRENT_USER, kType1FontsKey, L"Orvel Type 1 Sz", REG_SZ, good.data(),
             static_cast<DWORD>(good.size() * sizeof(wchar_t)));

  // The system EUDC font: an sfnt file under its own extension.
  const std::wstring eudc = dir_.File(L"EUDC.tte");
  ASSERT_TRUE(::CopyFileW((kDejaVu + L"DejaVuSans-Bold.ttf").c_str(), eudc.c_str(), FALSE));
  WriteValue(HKEY_CURRENT_USER, eudcKey_.c_str(), L"SystemDefaultEUDCFont", REG_SZ, eudc.c_str(),
             static_cast<DWORD>((eudc.size() + 1) * sizeof(wchar_t)));

  StyleFlagsGuard guard;
  g_Preferences.StyleFlags = 0x72;
  list_.Fill();
  EXPECT_FALSE(list_.m_busy);
  EXPECT_FALSE(list_.m_refreshPending);

  const std::vector<const FontItem*>& records = InstalledFontRecords();
  EXPECT_EQ(records.size(), static_cast<size_t>(list_.CountRecords()));
  // Every row is counted but Marlett, which is never shown.
  const size_t marlettRows = Rows(list_, L"Marlett").size();
  EXPECT_EQ(static_cast<int>(records.size() - marlettRows), list_.CountShown(true));
  EXPECT_EQ(::SendMessageW(list_.m_hWnd, LVM_GETITEMCOUNT, 0, 0), list_.CountShown(false));
  EXPECT_GT(list_.Counters().registered, 100) << "the prefix registers the host's fonts";

  const std::vector<const FontItem*> twice = RowsWithPath(both);
  ASSERT_EQ(twice.size(), 2u);
  EXPECT_FALSE(twice[0]->IsPerUser()) << "the machine's registration comes first";
  EXPECT_TRUE(twice[1]->IsPerUser());
  for (const wchar_t* skipped : {L"Unterminated.ttf", L"Missing.ttf", L"Hostile.ttf"})
    EXPECT_TRUE(RowsWithPath(dir_.File(skipped)).empty()) << testing_support::Narrow(skipped);

  std::vector<const FontItem*> type1;
  for (const FontItem* r : records)
    if (r && r->IsType1() && EqualsNoCase(r->fullPath, dir_.File(L"Nimbus.pfm"))) type1.push_back(r);
  ASSERT_EQ(type1.size(), 1u) << "only the well-formed Type 1 value";
  EXPECT_TRUE(type1[0]->IsPerUser());
  EXPECT_EQ(list_.Counters().type1, 1);

  const std::wstring eudcName = LoadResString(IDS_SYSTEM_EUDC_FONT) + L" " + LoadResString(IDS_EUDC_FONT_SUFFIX);
  const std::vector<const FontItem*> eudcRows = Rows(list_, eudcName);
  ASSERT_EQ(eudcRows.size(), 1u);
  EXPECT_EQ(eudcRows[0]->flags & (kEudc | kProtected | kUnreadable), kEudc | kProtected);
  EXPECT_EQ(list_.Counters().eudc, 1);

  // Every row but the raster ones (resolved as they are added) is installed through itself.
  for (const auto& row : list_.Rows()) {
    FontItem& r = *row->record;
    if (r.IsRaster()) continue;
    EnsureFontItemLoaded(list_.m_folder, r);
    EXPECT_TRUE(r.IsInstalled()) << testing_support::Narrow(r.displayName);
  }
  // Marlett is listed, protected and hidden.
  const std::vector<const FontItem*> marlett = Rows(list_, L"Marlett");
  if (!marlett.empty()) {
    EXPECT_TRUE(marlett[0]->IsProtected());
    for (int i = 0; i < ::SendMessageW(list_.m_hWnd, LVM_GETITEMCOUNT, 0, 0); ++i)
      EXPECT_NE(list_.GetRecordAt(i)->FullName(), L"Marlett");
  }
  // The second fill gives the same rows and publishes them again.
  const size_t first = records.size();
  list_.Fill();
  EXPECT_EQ(InstalledFontRecords().size(), first);
}

// Command 172 (Ctrl+Plus) in a folder list scrolls the installed list to the selected font's
// installed row, as far from its top as the selected row is from the folder list's top.
TEST(InstalledFontsList, ShowInInstalledListScrollsToTheInstalledRow) {
  testing_support::ResetRecords();
  ListTestHost host;
  CLVInstalledFonts& installed = g_AppState.InstalledFonts;
  CLVFolderFonts& folder = g_AppState.FolderFonts;
  host.Attach(folder);
  host.Attach(installed, IDC_INSTALLED_FONTS_LIST);
  installed.Fill();
  ScratchDir dir;
  ASSERT_TRUE(::CopyFileW((kDejaVu + L"DejaVuSerif.ttf").c_str(), dir.File(L"DejaVuSerif.ttf").c_str(), FALSE));
  folder.m_folder = dir.Path();
  ASSERT_EQ(folder.Fill(), 1);
  ::SetCurrentDirectoryW(testing_support::BinDir().c_str());
  ASSERT_EQ(folder.CountRecords(), 1);
  LVITEMW item{};
  item.stateMask = item.state = LVIS_SELECTED;
  ::SendMessageW(folder.m_hWnd, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
  const int match = installed.FindMatchingRow(*folder.GetRecordAt(0));
  ASSERT_GE(match, 0) << "DejaVu Serif is registered in the prefix";
  EXPECT_EQ(installed.GetRecordAt(match)->FullName(), folder.GetRecordAt(0)->FullName());
  ::SendMessageW(folder.m_hWnd, WM_COMMAND, ID_FONTS_SHOW_INSTALLED, 0);
  const int top = static_cast<int>(::SendMessageW(installed.m_hWnd, LVM_GETTOPINDEX, 0, 0));
  const int count = static_cast<int>(::SendMessageW(installed.m_hWnd, LVM_GETITEMCOUNT, 0, 0));
  const int perPage = static_cast<int>(::SendMessageW(installed.m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0));
  // Row 0 of the folder list is at its top: the match comes to the installed list's top, or as
  // near as the end of the list lets it.
  EXPECT_EQ(top, std::min(match, std::max(count - perPage, 0)));
  g_AppState.FontCache.RemoveAll(false);
}
