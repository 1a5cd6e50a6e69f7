// The main window's command table driven through the real window: the view toggles, help, the
// window brought onto the screen, the refresh, the folder pane's buttons and menu, and the
// restart with administrator rights. Every command it offers is swept in CommandSweep_test.cpp.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/Preferences.h"
#include "app/SingleInstance.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "fonts/RegisteredFontTable.h"
#include "tests/fonts/RegistryTestKey.h"
#include "tests/support/ModalScript.h"
#include "framework/ImageListPixels.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

std::vector<std::pair<UINT, DWORD_PTR>> g_help;
std::vector<std::wstring> g_starts;  // verb, file, show, current directory, whether the mutex was free
bool g_startSucceeds = true;

bool RecordStart(const SHELLEXECUTEINFOW& info) {
  wchar_t cwd[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, cwd);
  // What the new instance does first: it must not find the mutex held by this one.
  HANDLE probe = ::CreateMutexW(nullptr, FALSE, kSingleInstanceName);
  const bool free = probe && ::GetLastError() != ERROR_ALREADY_EXISTS;
  if (probe) ::CloseHandle(probe);
  g_starts.push_back(std::wstring(info.lpVerb) + L"|" + info.lpFile + L"|" + std::to_wstring(info.nShow) + L"|" + cwd +
                     (free ? L"|free" : L"|held"));
  return g_startSucceeds;
}

class CommandTable : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    ResetRecords();
    g_AppState.FolderTree.SetTargetFolder(std::wstring());
    g_Preferences.FontCaseRoot = LongPath(start_.Path());
    wchar_t cwd[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    cwd_ = cwd;
  }
  void TearDown() override {
    seams::SetHelpSink(nullptr);
    seams::SetProgramStartSink(nullptr);
    g_AppState.UserIsAdmin = g_AppState.IsElevated = false;
    SingleInstance::Release();
    Close();
    ::SetCurrentDirectoryW(cwd_.c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    LoadPreferences();
  }
  CMainFrame& Open() {
    frame_ = std::make_unique<CMainFrame>();
    EXPECT_TRUE(frame_->CreateMainWindow());
    frame_->ShowWindow(SW_SHOWNORMAL);
    PumpMessages(100);
    // The idle passes that start the views and push the states into the toolbars.
    for (int i = 0; i < 6 && frame_->RunIdleJob() != IdleJob::None; ++i) {
    }
    return *frame_;
  }
  void Close() {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  void Send(UINT id) { frame_->SendMessage(WM_COMMAND, id, 0); }
  bool Checked(UINT id) const { return (frame_->UIGetState(static_cast<int>(id)) & orv::UPDUI_CHECKED) != 0; }

  std::unique_ptr<CMainFrame> frame_;
  std::wstring cwd_;
  ScratchDir start_;  // the folder the tree starts in; it outlives the window, which makes it current
};

// What the View commands change, and their check marks, which must follow.
struct View {
  int main, trees, lists, sample;
  bool toolbar, statusBar, sampleInList;
  bool operator==(const View&) const = default;
};

TEST_F(CommandTable, ViewCommandsShowAndHideThePanesAndBarsWithTheirChecks) {
  constexpr int B = orv::SPLIT_PANE_NONE;  // both panes; 0 the first alone, 1 the second
  const std::pair<std::vector<UINT>, View> cases[] = {
      {{ID_VIEW_FOLDER_TREE}, {B, 1, B, B, true, true, false}},
      // Hiding the last tree hides the whole side; a tree shown again comes back alone.
      {{ID_VIEW_FOLDER_TREE, ID_VIEW_GROUPS_TREE}, {1, 1, B, B, true, true, false}},
      {{ID_VIEW_FOLDER_TREE, ID_VIEW_GROUPS_TREE, ID_VIEW_FOLDER_TREE}, {B, 0, B, B, true, true, false}},
      {{ID_VIEW_GROUPS_TREE, ID_VIEW_FOLDER_TREE, ID_VIEW_GROUPS_TREE}, {B, 1, B, B, true, true, false}},
      {{ID_VIEW_GROUPS_TREE, ID_VIEW_GROUPS_TREE}, {B, B, B, B, true, true, false}},
      {{ID_VIEW_FOLDER_LISTS}, {B, B, 1, B, true, true, false}},
      {{ID_VIEW_FOLDER_LISTS, ID_VIEW_FOLDER_LISTS}, {B, B, B, B, true, true, false}},
      {{ID_VIEW_SAMPLE_PANE}, {B, B, B, 0, true, true, false}},
      {{ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_SAMPLE_IN_LIST}, {B, B, B, B, false, false, true}},
  };
  for (const auto& [commands, expected] : cases) {
    g_Preferences.ShowSampleInList = false;
    CMainFrame& f = Open();
    MainPanes& p = f.Panes();
    p.m_listsSplitter.SetSplitterPos(123);
    for (UINT id : commands) Send(id);
    REBARBANDINFOW band{sizeof(band)};
    band.fMask = RBBIM_STYLE;
    ::SendMessageW(f.m_hWndToolBar, RB_GETBANDINFOW, 1, reinterpret_cast<LPARAM>(&band));
    const View seen{p.m_mainSplitter.GetSinglePaneMode(),  p.m_treesSplitter.GetSinglePaneMode(),
                    p.m_listsSplitter.GetSinglePaneMode(), p.m_sampleSplitter.GetSinglePaneMode(),
                    !(band.fStyle & RBBS_HIDDEN) && f.Layout().ToolbarShown,
                    ::IsWindowVisible(f.m_hWndStatusBar) && f.Layout().StatusBarShown,
                    g_Preferences.ShowSampleInList};
    SCOPED_TRACE(commands.size() * 1000 + commands.back());
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(Checked(ID_VIEW_FOLDER_TREE), seen.main != 1 && seen.trees != 1);
    EXPECT_EQ(Checked(ID_VIEW_GROUPS_TREE), seen.main != 1 && seen.trees != 0);
    EXPECT_EQ(Checked(ID_VIEW_FOLDER_LISTS), seen.lists != 1);
    EXPECT_EQ(Checked(ID_VIEW_SAMPLE_PANE), seen.sample != 0);
    EXPECT_EQ(Checked(ID_VIEW_TOOLBAR), seen.toolbar);
    EXPECT_EQ(Checked(ID_VIEW_STATUS_BAR), seen.statusBar);
    EXPECT_EQ(Checked(ID_VIEW_SAMPLE_IN_LIST), seen.sampleInList);
    if (commands.size() == 2 && commands[0] == ID_VIEW_FOLDER_LISTS) {
      EXPECT_NE(p.m_listsSplitter.GetSplitterPos(), 123) << "back at its default place";
    }
    Close();
  }
  // Names only: there is no sample to show in the lists.
  g_Preferences.StyleFlags |= Preferences::kStyleNamesOnly;
  EXPECT_FALSE(Open().UIIsEnabled(ID_VIEW_SAMPLE_IN_LIST));
}

TEST_F(CommandTable, HelpRefreshAndTheWindowBroughtToTheCorner) {
  CMainFrame& f = Open();
  seams::SetHelpSink([](HWND, const std::wstring&, UINT command, DWORD_PTR data) { g_help.emplace_back(command, data); });
  constexpr UINT kToc = 1, kIndex = 2, kContext = 0xF;
  for (UINT id : {ID_HELP_TOPIC_MAIN, ID_HELP_CONTENTS, ID_HELP_INDEX}) Send(id);
  EXPECT_EQ(g_help, (std::vector<std::pair<UINT, DWORD_PTR>>{{kToc, 0}, {kContext, 128}, {kToc, 0}, {kIndex, 0}}));

  f.SetWindowPos(nullptr, -3000, 4000, 640, 480, SWP_NOZORDER);
  Send(ID_WINDOW_TO_SCREEN);
  RECT rc{};
  f.GetWindowRect(&rc);
  const RECT corner{0, 0, 640, 480};
  EXPECT_TRUE(::EqualRect(&rc, &corner));

  // A rebuild of the tree is left out while a pre-fill runs.
  for (int i = 0; i < 200 && g_AppState.FolderTree.IsPrefillRunning(); ++i) PumpMessages(20);
  g_AppState.FolderFonts.m_refreshPending = false;
  Send(ID_FONTS_REFRESH);
  EXPECT_TRUE(g_AppState.FolderFonts.m_refreshPending) << "the folder tree was rebuilt";
  EXPECT_EQ(f.RunIdleJob(), IdleJob::InstalledRefresh) << "then the fonts are refreshed";
}

// Command 700 starts the launcher beside the program, with the mutex already let go, and closes
// the window; otherwise nothing changes.
TEST_F(CommandTable, RestartWithAdministratorRightsStartsTheLauncherAndLetsTheMutexGo) {
  struct Case {
    bool admin, elevated, startSucceeds, buttonEnabled, launched, closed;
  };
  const Case cases[] = {
      {false, false, true, false, false, false},
      {true, true, true, false, false, false},
      {true, false, false, true, true, false},
      {true, false, true, true, true, true},
  };
  seams::SetProgramStartSink(&RecordStart);
  wchar_t program[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, program, MAX_PATH);
  ::PathRemoveFileSpecW(program);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.admin * 100 + c.elevated * 10 + c.startSucceeds);
    g_starts.clear();
    g_AppState.UserIsAdmin = c.admin;
    g_AppState.IsElevated = c.elevated;
    g_startSucceeds = c.startSucceeds;
    ASSERT_TRUE(SingleInstance::Claim());
    CMainFrame& f = Open();
    const HWND wnd = f.m_hWnd;
    const LRESULT state = ::SendMessageW(f.Panes().m_hWndToolBar, TB_GETSTATE, ID_RESTART_ELEVATED, 0);
    EXPECT_EQ((state & TBSTATE_ENABLED) != 0, c.buttonEnabled);
    Send(ID_RESTART_ELEVATED);
    const std::wstring expected = std::wstring(L"open|OrvelRunAs.exe|0|") + program + L"|free";
    EXPECT_EQ(g_starts, c.launched ? std::vector<std::wstring>{expected} : std::vector<std::wstring>{});
    EXPECT_EQ(!::IsWindow(wnd), c.closed);
    EXPECT_EQ(SingleInstance::Held(), !c.closed) << "a failed start keeps this instance the only one";
    SingleInstance::Release();
    Close();
  }
}

// The folder pane's Fonts-folder buttons jump to the system or the per-user Fonts folder and
// back to the folder shown before either; they show which one the list shows.
TEST_F(CommandTable, FontsFolderButtonsJumpToTheFontsFoldersAndBack) {
  ::SHCreateDirectoryExW(nullptr, g_AppState.UserFontsFolder.c_str(), nullptr);
  const int32_t savedRelease = g_AppState.WindowsRelease;
  g_AppState.WindowsRelease = 1903;  // a release with per-user fonts: button 187 exists
  CFolderTVContainer& pane = Open().Panes().m_folderPane;
  HWND toolbar = pane.m_hWndToolBar;
  const std::wstring& shown = g_AppState.FolderFonts.m_folder;
  // Each click: the folder shown, then the check and image of 188 and of 187.
  const std::pair<int, std::wstring> clicks[] = {{ID_PANE_USER_FONTS_DIR, g_AppState.UserFontsFolder},
                                                 {ID_PANE_SYSTEM_FONTS_DIR, g_AppState.SystemFontsFolder},
                                                 {ID_PANE_SYSTEM_FONTS_DIR, g_Preferences.FontCaseRoot}};
  const int states[][4] = {{0, 1, 1, 2}, {1, 0, 0, 3}, {0, 1, 0, 3}};
  for (size_t i = 0; i < 3; ++i) {
    const int id = clicks[i].first;  // a check button flips, then sends its command
    ::SendMessageW(toolbar, TB_CHECKBUTTON, id, !::SendMessageW(toolbar, TB_ISBUTTONCHECKED, id, 0));
    ::SendMessageW(pane, WM_COMMAND, id, reinterpret_cast<LPARAM>(toolbar));
    EXPECT_TRUE(EqualsNoCase(shown, clicks[i].second)) << i << " " << Narrow(shown);
    int seen[4];
    for (int b = 0; b < 2; ++b) {
      const int button = b ? ID_PANE_USER_FONTS_DIR : ID_PANE_SYSTEM_FONTS_DIR;
      seen[2 * b] = ::SendMessageW(toolbar, TB_ISBUTTONCHECKED, button, 0) != 0;
      seen[2 * b + 1] = static_cast<int>(::SendMessageW(toolbar, TB_GETBITMAP, button, 0));
    }
    EXPECT_TRUE(std::equal(seen, seen + 4, states[i])) << i;
  }
  // The two Fonts folders' pictures can be told apart, open and closed, whatever icons the shell
  // gives them.
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
  for (const auto& [system, user] : {std::pair{0, 2}, std::pair{1, 3}}) {
    const orv::ImagePixels a = orv::ReadImagePixels(images, system), b = orv::ReadImagePixels(images, user);
    ASSERT_FALSE(a.Empty() || b.Empty());
    EXPECT_NE(a.Pixels, b.Pixels) << system << " and " << user;
  }
  g_AppState.WindowsRelease = savedRelease;
}

// The items of the popup menu that is open, "+" enabled or "-" disabled followed by the caption;
// the menu is closed. False while no menu is open.
bool ReadAndCloseMenu(std::vector<std::wstring>& items) {
  HWND popup = ::FindWindowW(L"#32768", nullptr);
  HMENU menu = popup ? reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0)) : nullptr;
  if (!menu) return false;
  items.clear();
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[100] = {};
    ::GetMenuStringW(menu, i, text, 100, MF_BYPOSITION);
    const bool off = ::GetMenuState(menu, i, MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED);
    items.push_back((off ? L"-" : L"+") + std::wstring(text));
  }
  ::EndMenu();
  return true;
}

// A right click on the selected folder asks the pane for the folder menu (at the cursor); what
// it offers for an empty folder, and its commands reach the tree.
TEST_F(CommandTable, RightClickOnTheSelectedFolderOpensTheFolderMenu) {
  CMainFrame& f = Open();
  CFolderTVContainer& pane = f.Panes().m_folderPane;
  HWND tree = f.Panes().m_folderTree;
  RECT rc{};
  const HTREEITEM selected = g_AppState.FolderTree.GetSelectedItem();
  std::memcpy(&rc, &selected, sizeof(selected));  // the item goes in, its rectangle comes out
  ::SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rc));
  POINT pt{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  ::ClientToScreen(tree, &pt);
  ::SetCursorPos(pt.x, pt.y);
  std::vector<std::wstring> items;
  ModalScript::Run({[&] { return ReadAndCloseMenu(items); }},
                   [&] {
                     NMHDR click{tree, static_cast<UINT_PTR>(IDC_FOLDER_TREE), static_cast<UINT>(NM_RCLICK)};
                     ::SendMessageW(pane, WM_NOTIFY, IDC_FOLDER_TREE, reinterpret_cast<LPARAM>(&click));
                     PumpMessages(400);
                   });
  EXPECT_EQ(items, (std::vector<std::wstring>{L"+Make &Groups from This Folder", L"+&New Folder", L"+Rena&me", L"+&Delete",
                                              L"+&Open in Explorer", L"+&Refresh"}));
  static std::wstring opened;
  seams::SetShellOpenSink([](HWND, const std::wstring& target) { opened = target; });
  ::SendMessageW(tree, WM_COMMAND, ID_FOLDER_OPEN, 0);
  seams::SetShellOpenSink(nullptr);
  EXPECT_TRUE(EqualsNoCase(opened, g_Preferences.FontCaseRoot)) << Narrow(opened);
}

// DejaVu font files copied into a folder.
bool CopyDejaVuFonts(const ScratchDir& folder, std::initializer_list<const wchar_t*> names) {
  for (const wchar_t* name : names)
    if (!::CopyFileW((L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\" + std::wstring(name)).c_str(),
                     folder.File(name).c_str(), FALSE))
      return false;
  return true;
}

// A right click on a row that is not selected selects it and opens the list's menu at once, in
// the font-lists pane and in the installed fonts pane.
TEST_F(CommandTable, RightClickOnAnUnselectedRowSelectsItAndOpensTheMenu) {
  ASSERT_TRUE(CopyDejaVuFonts(start_, {L"DejaVuSans.ttf", L"DejaVuSerif.ttf"}));
  CMainFrame& f = Open();
  f.RunIdleJob();  // the folder list's fill
  for (COrvelListView* list : {static_cast<COrvelListView*>(&g_AppState.FolderFonts),
                               static_cast<COrvelListView*>(&g_AppState.InstalledFonts)}) {
    SCOPED_TRACE(list == &g_AppState.FolderFonts ? "folder list" : "installed list");
    int rows = 0;
    list->GetCounts(&rows, nullptr);
    ASSERT_GE(rows, 2);
    list->SelectAll(false);
    f.RunIdleJob();  // the selection taken in: nothing is selected
    RECT row{LVIR_BOUNDS};
    ASSERT_TRUE(::SendMessageW(list->m_hWnd, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)));
    const LPARAM at = MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2);
    POINT screen{row.left + 20, (row.top + row.bottom) / 2};
    ::ClientToScreen(list->m_hWnd, &screen);
    ::SetCursorPos(screen.x, screen.y);
    std::vector<std::wstring> items;
    ModalScript::Run({[&] { return ReadAndCloseMenu(items); }},
                     [&] {
                       ::PostMessageW(list->m_hWnd, WM_RBUTTONUP, 0, at);
                       ::SendMessageW(list->m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON, at);
                       PumpMessages(400);
                     });
    EXPECT_EQ(list->GetSelectedIndices(), std::vector<int>{1});
    ASSERT_FALSE(items.empty()) << "no menu after one right click";
    EXPECT_EQ(items.front().front(), L'+') << "its first item acts on the row just selected";
  }
}

// The font the sample pane shows decides: saving font images (285) needs a font file to save,
// the search for similar fonts (340) a font whose properties can be shown (the sample pane's
// button 157).
TEST_F(CommandTable, SaveImagesAndSimilarFontsFollowTheSampleFont) {
  ASSERT_TRUE(CopyDejaVuFonts(start_, {L"DejaVuSans.ttf"}));
  CMainFrame& f = Open();
  f.RunIdleJob();  // the folder list's fill
  CLVFolderFonts& list = g_AppState.FolderFonts;
  auto add = [&](const wchar_t* name, uint32_t flags) {
    FontItem record;
    record.displayName = name;
    record.names.English(NameSlot::FullName) = name;
    record.fileRef = std::wstring(name) + L".fon";
    record.flags = flags | font_flags::kRead | font_flags::kResolved;
    list.AddItem(record, false);
  };
  add(L"Raster Serif", font_flags::kRaster);
  add(L"Broken Sans", font_flags::kSfnt | font_flags::kUnreadable);
  list.Repopulate();
  const struct {
    const wchar_t* row;  // null: nothing selected
    bool save, similar;
  } cases[] = {{nullptr, false, false},
               {L"DejaVu Sans", true, true},
               {L"Raster Serif", true, false},
               {L"Broken Sans", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row ? Narrow(c.row) : "no font");
    list.SelectAll(false);
    if (c.row) {
      const int row = list.FindNextByName(c.row, -1, false);
      ASSERT_GE(row, 0);
      LVITEMW select{};
      select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
      ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&select));
    }
    f.RunIdleJob();  // the sample pane takes the selection in
    EXPECT_EQ(f.UIIsEnabled(ID_FILE_SAVE_IMAGES), c.save);
    EXPECT_EQ(f.UIIsEnabled(ID_FONTS_SIMILAR), c.similar);
  }
}

}  // namespace

// Command 714 opens the registered fonts list once and brings it back on later requests; 228
// moves it to the corner before the main window; its closing empties the tool's slot.
TEST_F(CommandTable, RegisteredFontsListOpensOnceAndGoesWithItsClosing) {
  RegistryTestKey key(L"RegCommand");
  key.SetText(HKEY_LOCAL_MACHINE, kFontsKey, L"Gone (TrueType)", L"gone.ttf");
  CMainFrame& f = Open();
  Send(ID_TOOLS_REGISTRY_FONTS);
  CToolWindow* tool = f.Tools().Get(ToolWindowId::ListRegistryFontsDlg);
  ASSERT_NE(tool, nullptr);
  HWND dialog = tool->GetToolWindow();
  ASSERT_TRUE(::IsWindowVisible(dialog));
  EXPECT_EQ(::SendDlgItemMessageW(dialog, IDC_REGISTRY_FONTS_LIST, LVM_GETITEMCOUNT, 0, 0), 1);
  Send(ID_TOOLS_REGISTRY_FONTS);
  EXPECT_EQ(f.Tools().Get(ToolWindowId::ListRegistryFontsDlg)->GetToolWindow(), dialog);

  ::SetWindowPos(dialog, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT main{}, before{}, after{};
  f.GetWindowRect(&main);
  ::GetWindowRect(dialog, &before);
  Send(ID_WINDOW_TO_SCREEN);
  ::GetWindowRect(dialog, &after);
  EXPECT_EQ(after.left, 0);
  EXPECT_EQ(after.top, 0);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  RECT mainAfter{};
  f.GetWindowRect(&mainAfter);
  EXPECT_TRUE(::EqualRect(&main, &mainAfter)) << "the main window stays where it is";

  ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(::IsWindow(dialog));
  PumpMessages(50);  // the posted closing
  EXPECT_EQ(f.Tools().Get(ToolWindowId::ListRegistryFontsDlg), nullptr);
}
