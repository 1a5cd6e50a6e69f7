// Installs and uninstalls, by hand and by group, read back from the real registry after every
// step: the HKLM Fonts values and the HKCU FontsInstalled markers of the test's fonts, and which
// of their families GDI knows. One table of cases, each a run of steps with the state it must
// leave; the cases are the ones where a registration the program did not write, or a count a
// group holds, is easy to lose.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/RegistryKey.h"
#include "common/RegistryValue.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "fonts/FontInstaller.h"
#include "fonts/InstalledFontRecords.h"
#include "fonts/InstalledMarkers.h"
#include "fonts/RegistryValueEnumerator.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;
using testing_support::Boxes;
using testing_support::Narrow;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";
// Every value and marker of these tests starts so; nothing else is read or removed.
const std::wstring kPrefix = L"OrvR";

// Files that no RemoveFontResourceW unloads: the system holds them.
std::set<std::wstring>& Stuck() {
  static std::set<std::wstring> files;
  return files;
}
int Add(const wchar_t* path) { return ::AddFontResourceW(path); }
BOOL Remove(const wchar_t* path) { return Stuck().count(path) ? FALSE : ::RemoveFontResourceW(path); }
LSTATUS Set(HKEY key, const wchar_t* name, DWORD type, const BYTE* data, DWORD size) {
  return ::RegSetValueExW(key, name, 0, type, data, size);
}
LSTATUS Delete(HKEY key, const wchar_t* name) { return ::RegDeleteValueW(key, name); }
int FileOperation(SHFILEOPSTRUCTW* op) {
  op->fFlags |= FOF_NOERRORUI | FOF_SILENT;
  return ::SHFileOperationW(op);
}
const seams::SystemCalls kCalls{&Add, &Remove, &Set, &Delete, &FileOperation};

enum class Act {
  ListInstall,     // 21002 over the fonts
  ListUninstall,   // 21003
  GroupInstall,    // 21004 over the fonts as one group
  GroupUninstall,  // 21005
  ValueGoesOutside,  // another program removes the font's value; after a restart it is not loaded
  UserValue,       // the user registered "<first font> (TrueType)" for the second font's file
  StaleMarker,     // a marker counts the font, which is not installed
  Stick,           // nothing unloads the font's file any more
  Unstick,
  FileAway,        // the font's file is moved away; after a restart it is not loaded
  FileBack,        // and back; the system loads it again
};

struct Step {
  Act act;
  std::vector<std::wstring> fonts;
  bool result = true;  // what the command returns (steps that are no command: ignored)
  // After the step: "V <value>=<file name>", "M <marker>=<hex>", "L <family GDI knows>".
  std::vector<std::wstring> state;
  // The lines of the report box, "<font>: <reason id>"; empty: no box.
  std::vector<std::pair<std::wstring, UINT>> named = {};
};

struct Case {
  const char* what;
  std::vector<Step> steps;
};

// The test fonts: full name, family and file name; "OrvRtc" is a collection of two faces.
struct TestFont {
  std::wstring name, family, file;
};
const TestFont kFonts[] = {
    {L"OrvRha Sans", L"OrvRha Sans", L"ha.ttf"}, {L"OrvRun Sans", L"OrvRun Sans", L"un.ttf"},
    {L"OrvRco Sans", L"OrvRco Sans", L"co.ttf"}, {L"OrvRus Sans", L"OrvRus Sans", L"us.ttf"},
    {L"OrvRgd Sans", L"OrvRgd Sans", L"gd.ttf"}, {L"OrvRtc Sans", L"OrvRtc Sans", L"tc.ttc"},
    {L"OrvRtc Sans Bold", L"OrvRtc Sans", L"tc.ttc"}, {L"OrvRdl Sans", L"OrvRdl Sans", L"dl.ttf"},
    {L"OrvRhh Sans", L"OrvRhh Sans", L"hh.ttf"}, {L"OrvRst Sans", L"OrvRst Sans", L"st.ttf"},
};
const std::wstring kCollectionValue = L"OrvRtc Sans & OrvRtc Sans Bold (TrueType)";

std::vector<Case> Cases() {
  const std::wstring ha = L"OrvRha Sans", un = L"OrvRun Sans", co = L"OrvRco Sans", us = L"OrvRus Sans",
                     gd = L"OrvRgd Sans", tc = L"OrvRtc Sans", tcb = L"OrvRtc Sans Bold", dl = L"OrvRdl Sans",
                     hh = L"OrvRhh Sans", st = L"OrvRst Sans";
  const std::wstring vHa = L"V OrvRha Sans (TrueType)=ha.ttf", vUn = L"V OrvRun Sans (TrueType)=un.ttf";
  const std::wstring vTc = L"V " + kCollectionValue + L"=tc.ttc";
  std::vector<Case> cases;
  cases.push_back({"hand install, then a group with a font nothing unloads: two group uninstalls",
                   {{Act::ListInstall, {ha}, true, {vHa, L"L " + ha}},
                    {Act::GroupInstall, {ha, un}, true,
                     {vHa, vUn, L"M 2|" + ha + L"=10001", L"M 2|" + un + L"=1", L"L " + ha, L"L " + un}},
                    {Act::Stick, {un}, true, {vHa, vUn, L"M 2|" + ha + L"=10001", L"M 2|" + un + L"=1", L"L " + ha, L"L " + un}},
                    {Act::GroupUninstall, {ha, un}, false,
                     {vHa, vUn, L"M 2|" + ha + L"=10000", L"M 2|" + un + L"=1", L"L " + ha, L"L " + un},
                     {{un, IDS_REASON_NOT_UNLOADED}}},
                    {Act::GroupUninstall, {ha, un}, false,
                     {vHa, vUn, L"M 2|" + ha + L"=10000", L"M 2|" + un + L"=1", L"L " + ha, L"L " + un},
                     {{un, IDS_REASON_NOT_UNLOADED}}},
                    {Act::Unstick, {un}, true, {vHa, vUn, L"M 2|" + ha + L"=10000", L"M 2|" + un + L"=1", L"L " + ha, L"L " + un}},
                    {Act::GroupUninstall, {ha, un}, true, {vHa, L"M 2|" + ha + L"=10000", L"L " + ha}},
                    {Act::ListUninstall, {ha}, true, {}}}});
  cases.push_back({"a group font whose value name the user registered for another file",
                   {{Act::UserValue, {co, us}, true, {L"V OrvRco Sans (TrueType)=us.ttf"}},
                    {Act::GroupInstall, {co, gd}, true,
                     {L"V OrvRco Sans (TrueType)=us.ttf", L"V OrvRgd Sans (TrueType)=gd.ttf", L"M 2|" + gd + L"=1",
                      L"L " + gd},
                     {{co, IDS_REASON_NAME_TAKEN}}},
                    {Act::GroupUninstall, {co, gd}, true, {L"V OrvRco Sans (TrueType)=us.ttf"}}}});
  for (bool firstGoesFirst : {true, false}) {
    const std::wstring first = firstGoesFirst ? tc : tcb, second = firstGoesFirst ? tcb : tc;
    cases.push_back({firstGoesFirst ? "faces 1 and 2 of a collection in two groups, the first uninstalled first"
                                    : "faces 1 and 2 of a collection in two groups, the second uninstalled first",
                     {{Act::GroupInstall, {tc}, true, {vTc, L"M 2|" + tc + L"=1", L"L " + tc}},
                      {Act::GroupInstall, {tcb}, true, {vTc, L"M 2|" + tc + L"=1", L"M 2|" + tcb + L"=1", L"L " + tc}},
                      {Act::GroupUninstall, {first}, true, {vTc, L"M 2|" + second + L"=1", L"L " + tc}},
                      {Act::GroupUninstall, {second}, true, {}}}});
  }
  cases.push_back({"a group font whose value went outside the program, installed by hand later",
                   {{Act::GroupInstall, {dl, hh}, true,
                     {L"V OrvRdl Sans (TrueType)=dl.ttf", L"V OrvRhh Sans (TrueType)=hh.ttf", L"M 2|" + dl + L"=1",
                      L"M 2|" + hh + L"=1", L"L " + dl, L"L " + hh}},
                    {Act::ValueGoesOutside, {dl}, true,
                     {L"V OrvRhh Sans (TrueType)=hh.ttf", L"M 2|" + dl + L"=1", L"M 2|" + hh + L"=1", L"L " + hh}},
                    {Act::GroupUninstall, {dl, hh}, true, {}, {{dl, IDS_REASON_MARKER_DROPPED}}},
                    {Act::ListInstall, {dl}, true, {L"V OrvRdl Sans (TrueType)=dl.ttf", L"L " + dl}},
                    {Act::ListUninstall, {dl}, true, {}}}});
  cases.push_back({"a group font whose file went away, and came back",
                   {{Act::GroupInstall, {hh}, true, {L"V OrvRhh Sans (TrueType)=hh.ttf", L"M 2|" + hh + L"=1", L"L " + hh}},
                    {Act::FileAway, {hh}, true, {L"V OrvRhh Sans (TrueType)=hh.ttf", L"M 2|" + hh + L"=1"}},
                    {Act::GroupUninstall, {hh}, false, {L"V OrvRhh Sans (TrueType)=hh.ttf", L"M 2|" + hh + L"=1"},
                     {{hh, IDS_REASON_FILE_MISSING}}},
                    {Act::FileBack, {hh}, true, {L"V OrvRhh Sans (TrueType)=hh.ttf", L"M 2|" + hh + L"=1", L"L " + hh}},
                    {Act::GroupUninstall, {hh}, true, {}}}});
  cases.push_back({"a stale marker, then a hand install and a list uninstall",
                   {{Act::StaleMarker, {st}, true, {L"M 2|" + st + L"=1"}},
                    {Act::ListInstall, {st}, true, {L"V OrvRst Sans (TrueType)=st.ttf", L"L " + st}},
                    {Act::ListUninstall, {st}, true, {}}}});
  return cases;
}

bool StartsWithPrefix(std::wstring_view name, const std::wstring& prefix) {
  return name.substr(0, prefix.size()) == prefix;
}

}  // namespace

class InstallRegistryStates : public testing::Test {
protected:
  void SetUp() override {
    testing_support::ResetRecords();
    seams::SetSystemCalls(&kCalls);
    saved_ = {g_AppState.SystemFontsFolder, g_AppState.UserFontsFolder};
    savedElevated_ = g_AppState.IsElevated;
    savedRelease_ = g_AppState.WindowsRelease;
    savedFlags_ = g_Preferences.FontInstallFlags;
    g_AppState.SystemFontsFolder = testing_support::LongPath(systemFonts_.Path());
    g_AppState.UserFontsFolder = testing_support::LongPath(userFonts_.Path());
    g_AppState.IsElevated = true;
    g_AppState.WindowsRelease = 1903;
    g_Preferences.FontInstallFlags = 0;  // no count question
    Clean();
  }
  void TearDown() override {
    Stuck().clear();
    Clean();
    SetInstalledFontRecords({});
    seams::SetSystemCalls(nullptr);
    g_AppState.SystemFontsFolder = saved_.first;
    g_AppState.UserFontsFolder = saved_.second;
    g_AppState.IsElevated = savedElevated_;
    g_AppState.WindowsRelease = savedRelease_;
    g_Preferences.FontInstallFlags = savedFlags_;
  }

  // Removes the test's values and markers, and unloads its files.
  void Clean() {
    for (const auto& [root, key, prefix] : {std::tuple{HKEY_LOCAL_MACHINE, kFontsKey, kPrefix},
                                            std::tuple{HKEY_CURRENT_USER, kFontsInstalledKey, L"2|" + kPrefix}}) {
      std::vector<std::wstring> names;
      {
        RegistryValueEnumerator values(root, key, KEY_WOW64_64KEY);
        while (values.IsOpen() && values.Next())
          if (StartsWithPrefix(values.Name(), prefix)) names.emplace_back(values.Name());
      }
      const orv::ScopedKey open = OpenRegKey(root, key, KEY_SET_VALUE | KEY_WOW64_64KEY);
      for (const std::wstring& name : names) ::RegDeleteValueW(open.Get(), name.c_str());
    }
    for (const auto& [name, path] : files_)
      while (::RemoveFontResourceW(path.c_str())) {
      }
  }

  void MakeFonts() {
    for (const TestFont& font : kFonts) {
      const std::wstring path = source_.File(font.file);
      files_[font.name] = path;
      if (::PathFileExistsW(path.c_str())) continue;
      if (font.file == L"tc.ttc") {
        WriteFile(path, BuildCollection({ReadFile(kDejaVu + L"DejaVuSans.ttf"), ReadFile(kDejaVu + L"DejaVuSans-Bold.ttf")}));
        ASSERT_TRUE(WriteTaggedDejaVu(path, path, "OrvRtc"));
      } else {
        ASSERT_TRUE(WriteTaggedDejaVu(kDejaVu + L"DejaVuSans.ttf", path, Narrow(font.name.substr(0, 6))));
      }
    }
  }

  // What the installed list's fill would publish: a record for every face of a file a test
  // value names.
  void Publish() {
    records_.clear();
    std::set<std::wstring> registered;
    for (const std::wstring& line : State())
      if (line[0] == L'V') registered.insert(line.substr(line.find(L'=') + 1));
    for (const TestFont& font : kFonts) {
      if (!registered.count(font.file)) continue;
      FontItemList read;
      read.AddGroupFont(font.name, files_[font.name]);
      FontItem& record = records_.emplace_back(read.Entries().front().record);
      EnsureFontItemLoaded(read, record);
      record.flags = (record.flags & ~font_flags::kInstalledFile) | font_flags::kInstalled;
      record.fullPath = files_[font.name];
    }
    std::vector<const FontItem*> published;
    for (const FontItem& record : records_) published.push_back(&record);
    SetInstalledFontRecords(published);
  }

  // The registry and GDI as the table writes them, sorted.
  std::vector<std::wstring> State() {
    std::vector<std::wstring> lines;
    {
      RegistryValueEnumerator values(HKEY_LOCAL_MACHINE, kFontsKey, KEY_WOW64_64KEY);
      while (values.IsOpen() && values.NextString())
        if (StartsWithPrefix(values.Name(), kPrefix))
          lines.push_back(L"V " + std::wstring(values.Name()) + L"=" + ::PathFindFileNameW(std::wstring(values.Text()).c_str()));
    }
    {
      RegistryValueEnumerator markers(HKEY_CURRENT_USER, kFontsInstalledKey, 0);
      while (markers.IsOpen() && markers.Next()) {
        DWORD value = 0;
        if (!StartsWithPrefix(markers.Name(), L"2|" + kPrefix) || !markers.GetDword(value)) continue;
        wchar_t hex[16];
        swprintf(hex, 16, L"%lx", static_cast<unsigned long>(value));
        lines.push_back(L"M " + std::wstring(markers.Name()) + L"=" + hex);
      }
    }
    std::set<std::wstring> families;
    for (const TestFont& font : kFonts) families.insert(font.family);
    for (const std::wstring& family : families)
      if (testing_support::GdiKnows(family)) lines.push_back(L"L " + family);
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  bool Run(const Step& step) {
    FontItemList items;
    for (const std::wstring& font : step.fonts) items.AddGroupFont(font, files_[font]);
    const std::wstring& first = files_[step.fonts.front()];
    switch (step.act) {
      case Act::ListInstall:
        return FontInstaller(&items, nullptr, false).InstallSelected(kInstallFromList);
      case Act::ListUninstall:
        return FontInstaller(&items, nullptr, false).UninstallSelected(kUninstallFromList);
      case Act::GroupInstall:
        return FontInstaller(&items, nullptr, false).InstallSelected(kInstallGroup);
      case Act::GroupUninstall:
        return FontInstaller(&items, nullptr, false).UninstallSelected(kUninstallGroup);
      case Act::ValueGoesOutside: {
        const orv::ScopedKey key = OpenRegKey(HKEY_LOCAL_MACHINE, kFontsKey, KEY_SET_VALUE | KEY_WOW64_64KEY);
        ::RegDeleteValueW(key.Get(), (step.fonts.front() + L" (TrueType)").c_str());
        while (::RemoveFontResourceW(first.c_str())) {
        }
        return true;
      }
      case Act::UserValue: {
        const orv::ScopedKey key = OpenRegKey(HKEY_LOCAL_MACHINE, kFontsKey, KEY_SET_VALUE | KEY_WOW64_64KEY);
        return RegistryKey(key.Get()).SetString((step.fonts.front() + L" (TrueType)").c_str(), files_[step.fonts[1]]) ==
               ERROR_SUCCESS;
      }
      case Act::StaleMarker: {
        HKEY raw = nullptr;
        ::RegCreateKeyExW(HKEY_CURRENT_USER, kFontsInstalledKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr);
        const orv::ScopedKey key(raw);
        return WriteRegDword(key.Get(), (L"2|" + step.fonts.front()).c_str(), 1);
      }
      case Act::Stick:
        Stuck().insert(first);
        return true;
      case Act::Unstick:
        Stuck().erase(first);
        return true;
      case Act::FileAway:
        while (::RemoveFontResourceW(first.c_str())) {
        }
        return ::MoveFileW(first.c_str(), (first + L".away").c_str()) != FALSE;
      case Act::FileBack:
        return ::MoveFileW((first + L".away").c_str(), first.c_str()) && ::AddFontResourceW(first.c_str()) > 0;
    }
    return false;
  }

  testing_support::ScratchDir systemFonts_, userFonts_, source_;
  std::map<std::wstring, std::wstring> files_;
  std::vector<FontItem> records_;
  std::pair<std::wstring, std::wstring> saved_;
  bool savedElevated_ = false;
  int32_t savedRelease_ = 0;
  uint32_t savedFlags_ = 0;
};

TEST_F(InstallRegistryStates, EveryStepLeavesTheRegistryAsTheTableSays) {
  MakeFonts();
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.what);
    Clean();
    Publish();
    int n = 0;
    for (const Step& step : c.steps) {
      SCOPED_TRACE("step " + std::to_string(++n));
      testing_support::ResetRecords();
      const bool result = Run(step);
      if (step.act <= Act::GroupUninstall) {
        EXPECT_EQ(result, step.result);
      }
      std::vector<std::wstring> expected = step.state;
      std::sort(expected.begin(), expected.end());
      const std::vector<std::wstring> state = State();
      EXPECT_EQ(state, expected) << "got:\n" << [&] {
        std::string text;
        for (const std::wstring& line : state) text += "  " + Narrow(line) + "\n";
        return text;
      }();
      if (step.named.empty()) {
        EXPECT_TRUE(Boxes().empty()) << (Boxes().empty() ? "" : Narrow(Boxes()[0].text));
      } else {
        ASSERT_EQ(Boxes().size(), 1u);
        for (const auto& [font, reason] : step.named)
          EXPECT_NE(Boxes()[0].text.find(font + L": " + LoadResString(reason)), std::wstring::npos)
              << Narrow(Boxes()[0].text);
      }
      Publish();  // the font change: the installed list is filled again
    }
  }
}

namespace {
size_t g_boxesAtAnnounce = 0;
int g_announced = 0;
LRESULT CALLBACK RecordingMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == ID_FONT_CHANGE) {
    ++g_announced;
    g_boxesAtAnnounce = Boxes().size();
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

// The report of what failed comes before the font change is announced, so that the refresh the
// announcement starts never runs inside the box's modal loop; and the box stands in front of the
// top-level window of the window the command came from (a tree or list inside the main window).
TEST_F(InstallRegistryStates, FailuresAreToldBeforeTheFontChangeInFrontOfTheMainWindow) {
  MakeFonts();
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &RecordingMainProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"OrvRecordingMain";
  ::RegisterClassW(&windowClass);
  HWND main = ::CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
  ASSERT_NE(main, nullptr);
  HWND tree = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 50, 50, main, nullptr, nullptr, nullptr);
  const HWND saved = g_AppState.MainWindow;
  g_AppState.MainWindow = main;
  Publish();
  ASSERT_TRUE(Run({Act::UserValue, {L"OrvRco Sans", L"OrvRus Sans"}}));
  Publish();
  for (UINT command : {kInstallGroup, kUninstallGroup}) {
    SCOPED_TRACE(command);
    testing_support::ResetRecords();
    g_announced = 0;
    if (command == kUninstallGroup) Stuck().insert(files_[L"OrvRgd Sans"]);
    FontItemList items;
    for (const wchar_t* font : {L"OrvRco Sans", L"OrvRgd Sans"}) items.AddGroupFont(font, files_[font]);
    FontInstaller installer(&items, tree, false);
    command == kInstallGroup ? installer.InstallSelected(command) : installer.UninstallSelected(command);
    EXPECT_EQ(g_announced, 1);
    EXPECT_EQ(g_boxesAtAnnounce, 1u) << "the box was shown before the announcement";
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].owner, main);
    Publish();
  }
  g_AppState.MainWindow = saved;
  ::DestroyWindow(main);
}
