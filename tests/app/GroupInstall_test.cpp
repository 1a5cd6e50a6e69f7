// Whole groups installed and uninstalled through the real main window under Wine: the groups
// pane's buttons, the count question, the real registry (Fonts values and the FontsInstalled
// markers), the fonts GDI enumerates, and the installed list's Ctrl+U afterwards. Groups A and B
// share a font; A also holds a font the user had installed by hand before.
#include "tests/app/GroupsMainFrame.h"

#include <shlwapi.h>

#include <map>

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "fonts/FontInstaller.h"
#include "fonts/InstalledMarkers.h"
#include "tests/support/SfntBuilder.h"

using namespace testing_support;

namespace {

const std::wstring kDejaVuSans = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";

// Every font the program loads, in order; the system does the loading.
std::vector<std::wstring> g_loads;
int RecordLoad(const wchar_t* path) {
  g_loads.emplace_back(path);
  return ::AddFontResourceW(path);
}
const seams::SystemCalls kRecordLoads{&RecordLoad};

// The Fonts value of a font under HKLM (the process runs elevated), or "-" when there is none.
std::wstring FontsValue(const std::wstring& valueName) {
  wchar_t data[MAX_PATH] = {};
  DWORD size = sizeof(data) - sizeof(wchar_t);
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, kFontsKey, valueName.c_str(), RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr,
                     data, &size) != ERROR_SUCCESS)
    return L"-";
  return data;
}

void SetFontsValue(const std::wstring& valueName, const std::wstring* data) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kFontsKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
    return;
  if (data)
    ::RegSetValueExW(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data->c_str()),
                     static_cast<DWORD>((data->size() + 1) * sizeof(wchar_t)));
  else
    ::RegDeleteValueW(key, valueName.c_str());
  ::RegCloseKey(key);
}

// Every FontsInstalled value, by name.
std::map<std::wstring, DWORD> Markers() {
  std::map<std::wstring, DWORD> markers;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kFontsInstalledKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return markers;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256] = {};
    DWORD nameSize = 256, type = 0, value = 0, size = sizeof(value);
    if (::RegEnumValueW(key, i, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS)
      break;
    markers[name] = type == REG_DWORD ? value : 0xBAD;
  }
  ::RegCloseKey(key);
  return markers;
}

struct TestFont {
  const char* tag;    // six letters: the family is "<tag> Sans"
  std::wstring path;  // where the file lies
  std::wstring Name() const { return std::wstring(tag, tag + 6) + L" Sans"; }
  std::wstring ValueName() const { return Name() + L" (TrueType)"; }
  std::wstring Marker() const { return L"2|" + Name(); }
};

class GroupInstall : public GroupsMainFrame {
protected:
  void SetUp() override {
    GroupsMainFrame::SetUp();
    saved_ = {g_AppState.IsElevated, g_AppState.UserIsAdmin};
    savedPrefs_ = {g_Preferences.FontInstallFlags, g_Preferences.InstallThreshold};
    // Under Wine the user is an administrator in an elevated process; every group command asks.
    g_AppState.IsElevated = g_AppState.UserIsAdmin = true;
    g_Preferences.FontInstallFlags = 0x30;
    g_Preferences.InstallThreshold = 0;
    g_loads.clear();
    seams::SetSystemCalls(&kRecordLoads);
  }
  void TearDown() override {
    seams::SetSystemCalls(nullptr);
    for (TestFont* font : {&x_, &y_, &z_, &w_}) {
      SetFontsValue(font->ValueName(), nullptr);
      while (::RemoveFontResourceW(font->path.c_str())) {
      }
    }
    ::DeleteFileW(w_.path.c_str());
    GroupsMainFrame::TearDown();
    g_AppState.IsElevated = saved_.first;
    g_AppState.UserIsAdmin = saved_.second;
    g_Preferences.FontInstallFlags = savedPrefs_.first;
    g_Preferences.InstallThreshold = savedPrefs_.second;
    ::SetCurrentDirectoryW(BinDir().c_str());
  }

  HWND Toolbar() { return frame_->Panes().m_groupsPane.m_hWndToolBar; }
  bool Enabled(int id) { return ::SendMessageW(Toolbar(), TB_ISBUTTONENABLED, id, 0) != 0; }
  bool Hidden(int id) { return ::SendMessageW(Toolbar(), TB_ISBUTTONHIDDEN, id, 0) != 0; }

  // Lets the font change reach the main window and the idle passes refresh what shows fonts.
  void Settle() {
    for (int i = 0; i < 150 && g_AppState.FontChangePending; ++i) PumpMessages(20);
    for (int i = 0; i < 10 && frame_->RunIdleJob() != IdleJob::None; ++i) {
    }
  }
  // A group selected, then its pane's install (150) or uninstall (151) button, as a click posts it.
  void PressGroupButton(const std::wstring& file, int id) {
    Tree().SelectItem(Tree().FindChildByFile(Tree().GetRootItem(), file));
    frame_->RunIdleJob();
    ASSERT_TRUE(Enabled(id)) << "button " << id;
    ASSERT_FALSE(Hidden(id));
    ResetRecords();
    g_loads.clear();
    ::PostMessageW(frame_->Panes().m_groupsPane, WM_COMMAND, id, reinterpret_cast<LPARAM>(Toolbar()));
    PumpMessages(20);
    Settle();
  }
  // The count question was asked once, for `count` fonts, and nothing else was said but the
  // fonts that stay installed, each with its reason.
  static void ExpectCountQuestion(UINT command, int count, const std::vector<std::pair<std::wstring, UINT>>& staying = {}) {
    ASSERT_EQ(Boxes().size(), staying.empty() ? 1u : 2u);
    for (const auto& [font, reason] : staying)
      EXPECT_NE(Boxes()[1].text.find(font + L": " + LoadResString(reason)), std::wstring::npos) << Narrow(Boxes()[1].text);
    const UINT text = command == kInstallGroup ? IDS_ASK_INSTALL_COUNT : IDS_ASK_UNINSTALL_COUNT;
    EXPECT_EQ(Boxes()[0].text, FormatResString(text, count, count == 1 ? L"." : L"s."));
    EXPECT_EQ(Boxes()[0].caption, LoadResString(command));
  }
  bool GroupLooksInstalled(const std::wstring& file) {
    FontGroup group;
    return group.Load(file) && group.Installed && Tree().IsItemInstalled(Tree().FindChildByFile(Tree().GetRootItem(), file));
  }
  // Ctrl+U on a font's row of the installed list.
  void UninstallFromInstalledList(const TestFont& font) {
    CLVInstalledFonts& list = g_AppState.InstalledFonts;
    const int row = list.FindNextByName(font.Name(), -1, false);
    ASSERT_GE(row, 0) << Narrow(font.Name()) << " is not in the installed list";
    list.SelectAll(false);
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    ResetRecords();
    INPUT ctrl{};
    ctrl.type = INPUT_KEYBOARD;
    ctrl.ki.wVk = VK_CONTROL;
    ::SendInput(1, &ctrl, sizeof(INPUT));
    PumpMessages(50);
    const bool ctrlSeen = (::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
    ::SendMessageW(list.m_hWnd, WM_KEYDOWN, 'U', 0);
    ctrl.ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, &ctrl, sizeof(INPUT));
    PumpMessages(50);
    ASSERT_TRUE(ctrlSeen) << "the display gave no Ctrl key state";
    Settle();
  }

  ScratchDir source_;
  TestFont x_{"OrvGiX", {}}, y_{"OrvGiY", {}}, z_{"OrvGiZ", {}}, w_{"OrvGiW", {}};
  std::pair<bool, bool> saved_;
  std::pair<uint32_t, uint32_t> savedPrefs_;
};

}  // namespace

// A: x, y and w (installed by hand before); B: y and z.
TEST_F(GroupInstall, SharedAndHandInstalledFontsStayUntilNoGroupNeedsThem) {
  for (TestFont* font : {&x_, &y_, &z_}) {
    font->path = source_.File(std::wstring(font->tag, font->tag + 6) + L".ttf");
    ASSERT_TRUE(sfnt_test::WriteTaggedDejaVu(kDejaVuSans, font->path, font->tag)) << "DejaVu Sans is missing";
  }
  // w: its file in the Fonts folder, its value by bare file name, and loaded, as Windows has it.
  w_.path = g_AppState.SystemFontsFolder + L"\\orvgiw.ttf";
  ASSERT_TRUE(sfnt_test::WriteTaggedDejaVu(kDejaVuSans, w_.path, w_.tag));
  const std::wstring bareW = L"orvgiw.ttf";
  SetFontsValue(w_.ValueName(), &bareW);
  ASSERT_GT(::AddFontResourceW(w_.path.c_str()), 0);

  Make(kRootGroupFile, L"Root", L"", {{G(1), L"A"}, {G(2), L"B"}});
  Make(G(1), L"A", kRootGroupFile, {}, {{x_.Name(), x_.path}, {y_.Name(), y_.path}, {w_.Name(), w_.path}});
  Make(G(2), L"B", kRootGroupFile, {}, {{y_.Name(), y_.path}, {z_.Name(), z_.path}});
  UseFontInstallerForGroups();  // as the program does at start-up
  Open();
  Settle();

  // Install A: x and y loaded and registered in place; w counted as installed before, untouched.
  PressGroupButton(G(1), ID_GROUP_INSTALL);
  ExpectCountQuestion(kInstallGroup, 3);
  EXPECT_EQ(g_loads, (std::vector<std::wstring>{x_.path, y_.path}));
  EXPECT_EQ(FontsValue(x_.ValueName()), x_.path);
  EXPECT_EQ(FontsValue(y_.ValueName()), y_.path);
  EXPECT_EQ(FontsValue(w_.ValueName()), bareW);
  EXPECT_TRUE(GdiKnows(x_.Name()) && GdiKnows(y_.Name()) && GdiKnows(w_.Name()));
  EXPECT_FALSE(GdiKnows(z_.Name()));
  EXPECT_EQ(Markers(), (std::map<std::wstring, DWORD>{{x_.Marker(), 1}, {y_.Marker(), 1}, {w_.Marker(), 0x10001}}));
  EXPECT_TRUE(GroupLooksInstalled(G(1)));
  EXPECT_TRUE(Hidden(ID_GROUP_INSTALL) && Enabled(ID_GROUP_UNINSTALL));

  // A font a group installed is not the installed list's to uninstall.
  UninstallFromInstalledList(x_);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].text.find(LoadResString(IDS_NOTHING_TO_UNINSTALL)), std::wstring::npos);
  EXPECT_EQ(FontsValue(x_.ValueName()), x_.path);
  EXPECT_TRUE(GdiKnows(x_.Name()));

  // Install B: y counted twice and not loaded again, z loaded.
  PressGroupButton(G(2), ID_GROUP_INSTALL);
  ExpectCountQuestion(kInstallGroup, 2);
  EXPECT_EQ(g_loads, std::vector<std::wstring>{z_.path});
  EXPECT_EQ(FontsValue(z_.ValueName()), z_.path);
  EXPECT_TRUE(GdiKnows(z_.Name()));
  EXPECT_EQ(Markers(), (std::map<std::wstring, DWORD>{
                           {x_.Marker(), 1}, {y_.Marker(), 2}, {z_.Marker(), 1}, {w_.Marker(), 0x10001}}));
  EXPECT_TRUE(GroupLooksInstalled(G(2)));

  // Uninstall A: x goes; y stays for B; w stays as the user had it, its value gone with the
  // last group count.
  PressGroupButton(G(1), ID_GROUP_UNINSTALL);
  ExpectCountQuestion(kUninstallGroup, 3, {{y_.Name(), IDS_REASON_OTHER_GROUP}, {w_.Name(), IDS_REASON_INSTALLED_BEFORE}});
  EXPECT_EQ(FontsValue(x_.ValueName()), L"-");
  EXPECT_FALSE(GdiKnows(x_.Name()));
  EXPECT_EQ(FontsValue(y_.ValueName()), y_.path);
  EXPECT_TRUE(GdiKnows(y_.Name()));
  EXPECT_EQ(FontsValue(w_.ValueName()), bareW);
  EXPECT_TRUE(GdiKnows(w_.Name()));
  EXPECT_EQ(Markers(), (std::map<std::wstring, DWORD>{{y_.Marker(), 1}, {z_.Marker(), 1}}));
  EXPECT_FALSE(GroupLooksInstalled(G(1)));
  EXPECT_TRUE(::PathFileExistsW(x_.path.c_str())) << "a group uninstall never deletes a file";

  // Uninstall B: y and z go, no marker is left; w is still installed, the user's.
  PressGroupButton(G(2), ID_GROUP_UNINSTALL);
  ExpectCountQuestion(kUninstallGroup, 2);
  for (const TestFont* font : {&y_, &z_}) {
    EXPECT_EQ(FontsValue(font->ValueName()), L"-") << Narrow(font->Name());
    EXPECT_FALSE(GdiKnows(font->Name())) << Narrow(font->Name());
  }
  EXPECT_TRUE(Markers().empty());
  EXPECT_FALSE(GroupLooksInstalled(G(2)));
  EXPECT_EQ(FontsValue(w_.ValueName()), bareW);
  EXPECT_TRUE(GdiKnows(w_.Name()));

  // Ctrl+U on w's row is now a normal uninstall: unloaded and its value removed.
  UninstallFromInstalledList(w_);
  ExpectCountQuestion(kUninstallFromList, 1);
  EXPECT_EQ(FontsValue(w_.ValueName()), L"-");
  EXPECT_FALSE(GdiKnows(w_.Name()));
  EXPECT_TRUE(Markers().empty());
}
