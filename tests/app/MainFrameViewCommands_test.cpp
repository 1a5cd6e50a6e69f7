// The options sheet and the properties command run from the real main window: the pages load
// the stored values, OK writes exactly what changed and the lists follow it, Cancel writes
// nothing, the Folders page refuses unusable folders and reports a folder it cannot create;
// command 157 opens the sheet of a list's row, from the list, the toolbar and the menu, and
// ignores what is neither a list of the window nor a window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/CPreferences.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "common/Seams.h"
#include "common/ResString.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

using Values = std::map<std::wstring, std::string>;

// Every value of the Prefs key: name and type with the raw data.
Values StoredValues() {
  Values out;
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  for (DWORD i = 0; key; ++i) {
    wchar_t name[256];
    BYTE data[2048];
    DWORD nameLength = 256, size = sizeof(data), type = 0;
    if (::RegEnumValueW(key.Get(), i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    out[name] = std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), size);
  }
  return out;
}

std::vector<std::wstring> ChangedNames(const Values& before, const Values& after) {
  std::vector<std::wstring> names;
  for (const auto& [name, value] : after)
    if (!before.count(name) || before.at(name) != value) names.push_back(name);
  return names;
}

HWND Page(HWND sheet, int index) { return ShowSheetPage(sheet, index); }
bool Checked(HWND page, int id) { return ::IsDlgButtonChecked(page, id) == BST_CHECKED; }
std::wstring Text(HWND page, int id) {
  wchar_t text[300] = {};
  ::GetDlgItemTextW(page, id, text, 300);
  return text;
}
void Type(HWND page, int id, const std::wstring& text) { ::SetDlgItemTextW(page, id, text.c_str()); }
bool SheetUp(HWND& sheet) {
  sheet = TopDialogOfThread();
  return sheet && ::GetDlgItem(sheet, CTreePropertySheet::kPageTreeId);
}

constexpr COLORREF kStoredColors[kColorCount] = {0x112233, 0x223344, 0x334455, 0x445566, 0x556677, 0x667788};

class ViewCommands : public ::testing::Test {
protected:
  void SetUp() override {
    ResetRecords();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    orv::ScopedKey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr);
    WriteRegDword(key.Get(), L"StyleFlags", 0x72);
    WriteRegDword(key.Get(), L"FontPointSize", 14);
    WriteRegDword(key.Get(), L"FontInstallFlags", 0x31);
    WriteRegDword(key.Get(), L"InstallThreshold", 7);
    WriteRegBinary(key.Get(), L"Colors", kStoredColors, sizeof(kStoredColors));
    WriteRegString(key.Get(), L"FontCaseRoot", scratch_.Path());
    LoadPreferences();
  }
  void TearDown() override {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    LoadPreferences();
    ResetRecords();
  }
  CMainFrame& Frame() {
    frame_ = std::make_unique<CMainFrame>();
    EXPECT_TRUE(frame_->CreateMainWindow());
    frame_->ShowWindow(SW_SHOWNORMAL);
    return *frame_;
  }
  // Command 141 with `steps` played on the sheet (the last one closes it).
  void RunOptions(std::vector<std::function<bool()>> steps) {
    ModalScript::Run(std::move(steps), [&] { frame_->SendMessage(WM_COMMAND, ID_TOOLS_OPTIONS, 0); });
  }

  ScratchDir scratch_;
  std::unique_ptr<CMainFrame> frame_;
  HWND sheet_ = nullptr;
};

TEST_F(ViewCommands, PagesLoadTheStoredValuesAndCancelWritesNothing) {
  Frame();
  const Values before = StoredValues();
  RunOptions({[&] {
                if (!SheetUp(sheet_)) return false;
                SaveWindowImage(sheet_, ArtifactsDir() + L"\\options_sheet.bmp");
                return true;
              },
              [&] {
                HWND view = Page(sheet_, 0);
                EXPECT_FALSE(Checked(view, IDC_PREF_NAMES_ONLY));
                EXPECT_TRUE(Checked(view, IDC_PREF_GRID_LINES));
                EXPECT_TRUE(Checked(view, IDC_PREF_HIDE_RASTER) && Checked(view, IDC_PREF_HIDE_EUDC) &&
                            Checked(view, IDC_PREF_HIDE_VERTICAL));
                EXPECT_EQ(Text(view, IDC_PREF_POINT_SIZE), L"14");
                ::CheckDlgButton(view, IDC_PREF_NAMES_ONLY, BST_CHECKED);
                HWND colors = Page(sheet_, 1);
                EXPECT_TRUE(Checked(colors, IDC_PREF_COLOR_FIRST));
                HWND install = Page(sheet_, 2);
                EXPECT_TRUE(Checked(install, IDC_PREF_REMOTE_DRIVES) && Checked(install, IDC_PREF_CONFIRM_LIST) &&
                            Checked(install, IDC_PREF_CONFIRM_GROUP));
                EXPECT_EQ(Text(install, IDC_PREF_THRESHOLD), L"7");
                EXPECT_EQ(Text(Page(sheet_, 3), IDC_PREF_FONT_CASE), scratch_.Path());
                ::PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                return true;
              }});
  EXPECT_EQ(StoredValues(), before);
  EXPECT_EQ(g_Preferences.StyleFlags, 0x72u);
  EXPECT_FALSE(g_AppState.FolderFonts.m_namesOnly);
}

TEST_F(ViewCommands, OkWritesExactlyTheChangedValuesAndTheListsFollow) {
  Frame();
  COrvelListView& list = g_AppState.FolderFonts;
  const int rowHeight = list.RowHeight();
  Values before = StoredValues();
  // A bigger point size: only "FontPointSize" is written and the rows grow.
  RunOptions({[&] { return SheetUp(sheet_); },
              [&] {
                Type(Page(sheet_, 0), IDC_PREF_POINT_SIZE, L"30");
                ::PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0);
                return true;
              }});
  EXPECT_EQ(ChangedNames(before, StoredValues()), std::vector<std::wstring>{L"FontPointSize"});
  EXPECT_GT(list.RowHeight(), rowHeight);
  // Names only and the default colours: "StyleFlags" and "Colors".
  before = StoredValues();
  RunOptions({[&] { return SheetUp(sheet_); },
              [&] {
                HWND view = Page(sheet_, 0);
                ::CheckDlgButton(view, IDC_PREF_NAMES_ONLY, BST_CHECKED);
                ClickButton(view, IDC_PREF_NAMES_ONLY);
                HWND colors = Page(sheet_, 1);
                ClickButton(colors, IDC_PREF_DEFAULT_COLORS);
                for (int i = 0; i < kColorCount; ++i) EXPECT_FALSE(Checked(colors, IDC_PREF_COLOR_FIRST + i));
                ::PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0);
                return true;
              }});
  EXPECT_EQ(ChangedNames(before, StoredValues()), (std::vector<std::wstring>{L"Colors", L"StyleFlags"}));
  EXPECT_EQ(g_Preferences.StyleFlags, 0x73u);
  EXPECT_TRUE(list.m_namesOnly);
  RECT dirty{};
  EXPECT_TRUE(::GetUpdateRect(list.m_hWnd, &dirty, FALSE)) << "the list redraws in the new colours";
  Preferences defaults;
  SetDefaultPreferences(defaults);
  EXPECT_EQ(list.GetItemTextColor(font_flags::kUnreadable, IDC_FOLDER_FONTS_LIST), defaults.Colors[kColorUnreadable]);
}

TEST_F(ViewCommands, EachControlMarksItsPageChangedAndAppliedGridLinesRepaintEveryList) {
  Frame();
  constexpr int kApplyButton = 0x3021;
  RunOptions({[&] { return SheetUp(sheet_); },
              [&] {
                const struct {
                  int page;
                  int id;
                  WORD code;
                } controls[] = {
                    {0, IDC_PREF_NAMES_ONLY, BN_CLICKED},       {0, IDC_PREF_GRID_LINES, BN_CLICKED},
                    {0, IDC_PREF_POINT_SIZE_LABEL, STN_CLICKED}, {0, IDC_PREF_HIDE_RASTER, BN_CLICKED},
                    {0, IDC_PREF_HIDE_EUDC, BN_CLICKED},        {0, IDC_PREF_HIDE_VERTICAL, BN_CLICKED},
                    {0, IDC_PREF_POINT_SIZE, EN_CHANGE},        {3, IDC_PREF_FONT_CASE_LABEL, STN_CLICKED},
                    {3, IDC_PREF_FONT_CASE_NOTE, STN_CLICKED},  {3, IDC_PREF_FONT_CASE, EN_CHANGE},
                };
                HWND apply = ::GetDlgItem(sheet_, kApplyButton);
                for (const auto& c : controls) {
                  SCOPED_TRACE(c.id);
                  HWND page = Page(sheet_, c.page);
                  HWND control = ::GetDlgItem(page, c.id);
                  EXPECT_TRUE(control) << "the page has the control";
                  for (const int shown : {0, 3})
                    ::SendMessageW(sheet_, PSM_UNCHANGED, reinterpret_cast<WPARAM>(Page(sheet_, shown)), 0);
                  page = Page(sheet_, c.page);
                  EXPECT_FALSE(::IsWindowEnabled(apply));
                  ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(c.id, c.code), reinterpret_cast<LPARAM>(control));
                  EXPECT_TRUE(::IsWindowEnabled(apply));
                }
                // Lines between the rows, applied without closing the sheet: every list shown
                // redraws, the group list and the folder list in turn in front.
                HWND view = Page(sheet_, 0);
                for (const int front : {2, 1}) {
                  frame_->SendMessage(WM_COMMAND, ID_SHOW_FONT_LIST, front);
                  HWND lists[] = {front == 1 ? g_AppState.FolderFonts.m_hWnd : g_AppState.GroupFonts.m_hWnd,
                                  g_AppState.InstalledFonts.m_hWnd};
                  for (HWND list : lists) ::ValidateRect(list, nullptr);
                  const bool lines = front == 1;
                  ::CheckDlgButton(view, IDC_PREF_GRID_LINES, lines ? BST_CHECKED : BST_UNCHECKED);
                  ClickButton(view, IDC_PREF_GRID_LINES);
                  ::SendMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
                  EXPECT_EQ((g_Preferences.StyleFlags & 0x10) != 0, lines);
                  for (HWND list : lists) {
                    RECT dirty{};
                    EXPECT_TRUE(::IsWindowVisible(list));
                    EXPECT_TRUE(::GetUpdateRect(list, &dirty, FALSE)) << ::GetDlgCtrlID(list);
                  }
                }
                ::PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                return true;
              }});
}

TEST_F(ViewCommands, PageRulesOfInstallViewAndColors) {
  g_Preferences.StyleFlags |= 0xFF00;
  CPreferences sheet;
  ModalScript::Run({[&] { return SheetUp(sheet_); },
                    [&] {
                      HWND view = Page(sheet_, 0);
                      HWND spin = ::GetDlgItem(view, IDC_PREF_POINT_SIZE_SPIN);
                      ::SendMessageW(spin, UDM_SETPOS32, 0, 240);
                      ::SendMessageW(::GetDlgItem(view, IDC_PREF_POINT_SIZE), WM_KEYDOWN, VK_UP, 0);
                      EXPECT_EQ(Text(view, IDC_PREF_POINT_SIZE), L"240") << "the arrows stop at 240";
                      Type(view, IDC_PREF_POINT_SIZE, L"999");
                      HWND install = Page(sheet_, 2);
                      ::CheckDlgButton(install, IDC_PREF_CONFIRM_GROUP, BST_UNCHECKED);
                      ClickButton(install, IDC_PREF_CONFIRM_GROUP);
                      EXPECT_TRUE(Checked(install, IDC_PREF_CONFIRM_GROUP)) << "a list confirmation implies the group one";
                      Type(install, IDC_PREF_THRESHOLD, L"x");
                      HWND colors = Page(sheet_, 1);
                      ::CheckDlgButton(colors, IDC_PREF_COLOR_FIRST, BST_UNCHECKED);
                      ::CheckDlgButton(colors, IDC_PREF_COLOR_FIRST + 3, BST_CHECKED);
                      ClickButton(colors, IDC_PREF_COLOR_FIRST + 3);
                      EXPECT_EQ(sheet.m_pageColors.WindowSample().TextColor(), kStoredColors[3]);
                      ClickButton(colors, IDC_PREF_CHOOSE_COLOR);  // opens the picker: the next step
                      return true;
                    },
                    [&] {
                      HWND picker = TopDialogOfThread();
                      if (!picker || picker == sheet_) return false;
                      wchar_t caption[200] = {};
                      ::InternalGetWindowText(picker, caption, 200);
                      EXPECT_EQ(caption, LoadResString(IDS_COLOR_PICKER_FIRST + 3));
                      ::PostMessageW(picker, WM_COMMAND, IDOK, 0);
                      return true;
                    },
                    [&] {
                      if (TopDialogOfThread() != sheet_) return false;
                      // Help on a page opens the topic of its template.
                      static std::vector<DWORD_PTR> topics;
                      topics.clear();
                      seams::SetHelpSink([](HWND, const std::wstring&, UINT, DWORD_PTR data) { topics.push_back(data); });
                      Page(sheet_, 3);
                      ::SendMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_HELP, 0);
                      seams::SetHelpSink(nullptr);
                      EXPECT_EQ(topics.back(), DWORD_PTR{IDD_PREF_FOLDERS});
                      ::PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0);
                      return true;
                    }},
                   [&] { EXPECT_GT(sheet.DoModal(nullptr), 0); });
  EXPECT_EQ(g_Preferences.FontPointSize, 240);
  EXPECT_EQ(g_Preferences.StyleFlags, 0x72u) << "bits the page does not edit are cleared";
  EXPECT_EQ(g_Preferences.FontInstallFlags, 0x31u);
  EXPECT_EQ(g_Preferences.InstallThreshold, 0u);
  EXPECT_EQ(g_Preferences.Colors[3], kStoredColors[3]);
  EXPECT_TRUE(g_Preferences.Changed);
}

TEST_F(ViewCommands, FoldersPageRefusesUnusableFoldersAndReportsAFailedCreation) {
  const std::wstring created = scratch_.File(L"New Case");
  CPreferences sheet;
  auto pressOk = [&](const std::wstring& folder) {
    return [&, folder] {
      Type(Page(sheet_, 3), IDC_PREF_FONT_CASE, folder);
      ::SendMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0);
      EXPECT_TRUE(::IsWindow(sheet_) && CurrentSheetPage(sheet_) == 3) << Narrow(folder);
      return true;
    };
  };
  ModalScript::Run({[&] { return SheetUp(sheet_); }, pressOk(L""), pressOk(L"Fonts"), pressOk(L"C:"),
                    pressOk(L"\\Fonts"), pressOk(g_AppState.SystemFontsFolder),
                    [&] {
                      EXPECT_EQ(Beeps().size(), 5u);
                      EXPECT_TRUE(Boxes().empty());
                      SetBoxAnswer(IDCANCEL);  // not created on Cancel
                      return pressOk(created)();
                    },
                    [&] {
                      EXPECT_EQ(Boxes().size(), 1u);
                      SetBoxAnswer(IDOK);  // one level only: a missing parent makes it fail
                      return pressOk(scratch_.File(L"missing\\deeper"))();
                    },
                    [&] {
                      EXPECT_EQ(Boxes().size(), 3u) << "asked, then the failure reported";
                      EXPECT_NE(Boxes().back().text.find(LoadResString(IDS_FOLDER_NOT_CREATED)), std::wstring::npos);
                      Type(Page(sheet_, 3), IDC_PREF_FONT_CASE, created + L"\\");
                      ::PostMessageW(sheet_, PSM_PRESSBUTTON, PSBTN_OK, 0);
                      return true;
                    }},
                   [&] { EXPECT_GT(sheet.DoModal(nullptr), 0); });
  EXPECT_EQ(g_Preferences.FontCaseRoot, created);
  EXPECT_NE(::GetFileAttributesW(created.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(sheet.FolderTreeNeedsRefresh());
}

// The title of the property sheet that `open` shows, read and the sheet closed; empty when none
// came up.
std::wstring SheetTitleOf(const std::function<void()>& open) {
  std::wstring title;
  ModalScript::Run({[&] {
                     HWND sheet = nullptr;
                     if (!SheetUp(sheet)) return false;
                     wchar_t text[100] = {};
                     ::InternalGetWindowText(sheet, text, 100);
                     title = text;
                     ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
                     return true;
                   }},
                   open);
  return title;
}

TEST_F(ViewCommands, PropertiesOfTheSelectedRowFromAListTheToolbarAndTheMenu) {
  const std::wstring dejavu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
  ASSERT_TRUE(::CopyFileW(dejavu.c_str(), scratch_.File(L"DejaVuSans.ttf").c_str(), FALSE));
  CMainFrame& frame = Frame();
  CLVFolderFonts& list = g_AppState.FolderFonts;
  list.m_folder = scratch_.Path();
  ASSERT_EQ(list.Fill(), 1);
  LVITEMW select{};
  select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&select));
  ::SetFocus(list.m_hWnd);

  // A list names itself.
  EXPECT_EQ(SheetTitleOf([&] {
              frame.SendMessage(WM_COMMAND, ID_FONTS_PROPERTIES, reinterpret_cast<LPARAM>(&list));
            }),
            L"DejaVu Sans");
  // A click on the main toolbar's button: the toolbar names no list, the focused one is meant.
  HWND toolbar = frame.Panes().m_hWndToolBar;
  RECT button{};
  ASSERT_TRUE(::SendMessageW(toolbar, TB_GETRECT, ID_FONTS_PROPERTIES, reinterpret_cast<LPARAM>(&button)));
  const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  EXPECT_EQ(SheetTitleOf([&] {
              ::SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
              ::SendMessageW(toolbar, WM_LBUTTONUP, 0, at);
            }),
            L"DejaVu Sans");
  // The menu and Alt+Enter send nothing.
  EXPECT_EQ(SheetTitleOf([&] { frame.SendMessage(WM_COMMAND, ID_FONTS_PROPERTIES, 0); }), L"DejaVu Sans");

  // Anything but a list or a window opens nothing (a sheet would be cancelled and counted).
  static bool opened;
  opened = false;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 40, [](HWND, UINT, UINT_PTR, DWORD) {
    if (HWND sheet = TopDialogOfThread()) {
      opened = true;
      ::PostMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    }
  });
  frame.SendMessage(WM_COMMAND, ID_FONTS_PROPERTIES, 1);
  frame.SendMessage(WM_COMMAND, ID_FONTS_PROPERTIES, reinterpret_cast<LPARAM>(&frame));
  ::KillTimer(nullptr, timer);
  EXPECT_FALSE(opened);
}

}  // namespace
