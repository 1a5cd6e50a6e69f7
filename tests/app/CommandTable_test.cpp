// The main window's command table driven through the real window: every command it offers is
// disabled or reaches a handler, the view toggles, help, the command that brings the window back
// onto the screen, the refresh, and the restart with administrator rights through the seams.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

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
#include "framework/CommandProbe.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

// Whether a command sent to `target` meets a handler on its way; no handler runs.
bool ReachesHandler(HWND target, UINT id, LPARAM lParam = 0) {
  orv::CommandProbe probe;
  ::SendMessageW(target, WM_COMMAND, MAKEWPARAM(id, 0), lParam);
  return probe.Matched();
}

struct HelpCall {
  UINT command;
  DWORD_PTR data;
  bool operator==(const HelpCall&) const = default;
};
std::vector<HelpCall> g_help;
void RecordHelp(HWND, const std::wstring&, UINT command, DWORD_PTR data) { g_help.push_back({command, data}); }

struct Start {
  std::wstring verb, file, directory;
  int show = -1;
  HWND owner = nullptr;
  bool mutexFree = false;
};
std::vector<Start> g_starts;
bool g_startSucceeds = true;
bool RecordStart(const SHELLEXECUTEINFOW& info) {
  Start s{info.lpVerb ? info.lpVerb : L"", info.lpFile ? info.lpFile : L"", {}, info.nShow, info.hwnd};
  wchar_t cwd[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, cwd);
  s.directory = cwd;
  // What the new instance does first: it must not find the mutex held by this one.
  HANDLE probe = ::CreateMutexW(nullptr, FALSE, kSingleInstanceName);
  s.mutexFree = probe && ::GetLastError() != ERROR_ALREADY_EXISTS;
  if (probe) ::CloseHandle(probe);
  g_starts.push_back(s);
  return g_startSucceeds;
}

class CommandTable : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    ResetRecords();
    g_help.clear();
    g_starts.clear();
    g_AppState.FolderTree.SetTargetFolder(std::wstring());
    wchar_t cwd[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    cwd_ = cwd;
  }
  void TearDown() override {
    seams::SetHelpSink(nullptr);
    seams::SetProgramStartSink(nullptr);
    g_AppState.UserIsAdmin = g_AppState.IsElevated = false;
    SingleInstance::Release();
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    frame_.reset();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
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
  void Send(UINT id) { frame_->SendMessage(WM_COMMAND, id, 0); }
  bool Checked(UINT id) const { return (frame_->UIGetState(static_cast<int>(id)) & orv::UPDUI_CHECKED) != 0; }

  std::unique_ptr<CMainFrame> frame_;
  std::wstring cwd_;
  ScratchDir start_;  // the folder the tree starts in; it outlives the window, which makes it current
};

TEST_F(CommandTable, EveryOfferedCommandIsDisabledOrReachesAHandler) {
  CMainFrame& f = Open();
  MainPanes& p = f.Panes();
  // The probe tells the two apart without running anything.
  EXPECT_TRUE(ReachesHandler(f, ID_APP_EXIT));
  EXPECT_FALSE(ReachesHandler(f, 0x7FFF));
  EXPECT_TRUE(ReachesHandler(p.m_folderPane, ID_PANE_FAVORITES, reinterpret_cast<LPARAM>(p.m_folderPane.m_hWndToolBar)));
  PumpMessages(50);
  ASSERT_TRUE(f.IsWindow()) << "the exit command ran";
  EXPECT_FALSE(p.m_folderPane.FavoritesShown());

  std::vector<std::string> failures;
  int offered = 0;
  auto check = [&](const char* where, UINT id, bool enabled, HWND target, LPARAM lParam) {
    ++offered;
    if (enabled && !ReachesHandler(target, id, lParam)) failures.push_back(where + std::to_string(id));
  };
  HMENU menu = f.CommandBar().GetMenu();
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    HMENU popup = ::GetSubMenu(menu, i);
    f.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), i);  // as the popup opens
    for (int j = 0; j < ::GetMenuItemCount(popup); ++j) {
      const UINT id = ::GetMenuItemID(popup, j);
      if (id == 0 || id == static_cast<UINT>(-1)) continue;
      check("menu ", id, !(::GetMenuState(popup, j, MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED)), f, 0);
    }
  }
  ACCEL accels[64];
  const int count = ::CopyAcceleratorTableW(f.m_hAccel, accels, 64);
  for (int i = 0; i < count; ++i) check("accelerator ", accels[i].cmd, f.UIIsEnabled(accels[i].cmd), f, 0);
  for (HWND toolbar : {p.m_hWndToolBar, p.m_folderPane.m_hWndToolBar}) {
    // The main toolbar's commands reach the frame through the rebar, a pane's through the pane.
    HWND target = toolbar == p.m_hWndToolBar ? f.m_hWnd : p.m_folderPane.m_hWnd;
    for (int i = 0; i < ::SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0); ++i) {
      TBBUTTON button{};
      ::SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
      if (button.fsStyle & BTNS_SEP) continue;
      const bool enabled = (button.fsState & TBSTATE_ENABLED) && !(button.fsState & TBSTATE_HIDDEN);
      check("toolbar ", button.idCommand, enabled, target, reinterpret_cast<LPARAM>(toolbar));
    }
  }
  EXPECT_GE(offered, 50);
  std::string list;
  for (const std::string& failure : failures) list += failure + "; ";
  EXPECT_TRUE(failures.empty()) << "enabled without a handler: " << list;
  // A command without its window is swallowed as an accelerator.
  EXPECT_FALSE(f.UIIsEnabled(ID_FONTS_SEARCH));
  EXPECT_TRUE(f.UIIsSwallowedAccelerator(MAKEWPARAM(ID_FONTS_SEARCH, 1), 0));
}

TEST_F(CommandTable, PaneTogglesShowAndHideTheTreesListsAndSample) {
  struct Case {
    std::vector<UINT> commands;
    int main, trees, lists, sample;
  };
  constexpr int kBoth = orv::SPLIT_PANE_NONE, kFirst = 0, kSecond = 1;
  const Case cases[] = {
      {{ID_VIEW_FOLDER_TREE}, kBoth, kSecond, kBoth, kBoth},
      // Hiding the last tree hides the whole side; a tree shown again comes back alone.
      {{ID_VIEW_FOLDER_TREE, ID_VIEW_GROUPS_TREE}, kSecond, kSecond, kBoth, kBoth},
      {{ID_VIEW_FOLDER_TREE, ID_VIEW_GROUPS_TREE, ID_VIEW_FOLDER_TREE}, kBoth, kFirst, kBoth, kBoth},
      {{ID_VIEW_GROUPS_TREE, ID_VIEW_FOLDER_TREE, ID_VIEW_GROUPS_TREE}, kBoth, kSecond, kBoth, kBoth},
      {{ID_VIEW_GROUPS_TREE, ID_VIEW_GROUPS_TREE}, kBoth, kBoth, kBoth, kBoth},
      {{ID_VIEW_FOLDER_LISTS}, kBoth, kBoth, kSecond, kBoth},
      {{ID_VIEW_FOLDER_LISTS, ID_VIEW_FOLDER_LISTS}, kBoth, kBoth, kBoth, kBoth},
      {{ID_VIEW_SAMPLE_PANE}, kBoth, kBoth, kBoth, kFirst},
      {{ID_VIEW_SAMPLE_PANE, ID_VIEW_SAMPLE_PANE}, kBoth, kBoth, kBoth, kBoth},
  };
  for (const Case& c : cases) {
    CMainFrame& f = Open();
    MainPanes& p = f.Panes();
    p.m_listsSplitter.SetSplitterPos(123);
    std::string trace;
    for (UINT id : c.commands) trace += std::to_string(id) + " ";
    SCOPED_TRACE(trace);
    for (UINT id : c.commands) Send(id);
    EXPECT_EQ(p.m_mainSplitter.GetSinglePaneMode(), c.main);
    EXPECT_EQ(p.m_treesSplitter.GetSinglePaneMode(), c.trees);
    EXPECT_EQ(p.m_listsSplitter.GetSinglePaneMode(), c.lists);
    EXPECT_EQ(p.m_sampleSplitter.GetSinglePaneMode(), c.sample);
    EXPECT_EQ(Checked(ID_VIEW_FOLDER_TREE), c.main != kSecond && c.trees != kSecond);
    EXPECT_EQ(Checked(ID_VIEW_GROUPS_TREE), c.main != kSecond && c.trees != kFirst);
    EXPECT_EQ(Checked(ID_VIEW_FOLDER_LISTS), c.lists != kSecond);
    EXPECT_EQ(Checked(ID_VIEW_SAMPLE_PANE), c.sample != kFirst);
    // Back to both lists, the bar is at its default place again.
    if (c.commands == std::vector<UINT>{ID_VIEW_FOLDER_LISTS, ID_VIEW_FOLDER_LISTS})
      EXPECT_NE(p.m_listsSplitter.GetSplitterPos(), 123);
    frame_->DestroyWindow();
  }
}

TEST_F(CommandTable, BarsAndTheSampleInTheListsFollowTheirCommands) {
  CMainFrame& f = Open();
  HWND rebar = f.m_hWndToolBar;
  auto bandHidden = [&] {
    REBARBANDINFOW band{sizeof(band)};
    band.fMask = RBBIM_STYLE;
    ::SendMessageW(rebar, RB_GETBANDINFOW, 1, reinterpret_cast<LPARAM>(&band));
    return (band.fStyle & RBBS_HIDDEN) != 0;
  };
  for (int round = 0; round < 2; ++round) {
    const bool shown = round == 1;
    Send(ID_VIEW_TOOLBAR);
    Send(ID_VIEW_STATUS_BAR);
    EXPECT_EQ(bandHidden(), !shown);
    EXPECT_EQ(::IsWindowVisible(f.m_hWndStatusBar) != FALSE, shown);
    EXPECT_EQ(f.Layout().ToolbarShown, shown ? 1 : 0);
    EXPECT_EQ(f.Layout().StatusBarShown, shown ? 1 : 0);
    EXPECT_EQ(Checked(ID_VIEW_TOOLBAR), shown);
    EXPECT_EQ(Checked(ID_VIEW_STATUS_BAR), shown);
  }
  g_Preferences.ShowSampleInList = false;
  Send(ID_VIEW_SAMPLE_IN_LIST);
  EXPECT_TRUE(g_Preferences.ShowSampleInList);
  EXPECT_TRUE(Checked(ID_VIEW_SAMPLE_IN_LIST));
  EXPECT_TRUE(::SendMessageW(f.Panes().m_hWndToolBar, TB_ISBUTTONCHECKED, ID_VIEW_SAMPLE_IN_LIST, 0));
  // Names only: there is no sample to show in the lists.
  g_Preferences.StyleFlags |= Preferences::kStyleNamesOnly;
  f.RunIdleJob();
  EXPECT_FALSE(f.UIIsEnabled(ID_VIEW_SAMPLE_IN_LIST));
}

TEST_F(CommandTable, WindowToScreenPutsTheMainWindowAtTheCornerWithItsSize) {
  CMainFrame& f = Open();
  f.SetWindowPos(nullptr, -3000, 4000, 640, 480, SWP_NOZORDER);
  Send(ID_WINDOW_TO_SCREEN);
  RECT rc{};
  f.GetWindowRect(&rc);
  EXPECT_EQ(rc.left, 0);
  EXPECT_EQ(rc.top, 0);
  EXPECT_EQ(rc.right - rc.left, 640);
  EXPECT_EQ(rc.bottom - rc.top, 480);
  EXPECT_EQ(f.Layout().WindowRect.left, 0);
}

TEST_F(CommandTable, HelpCommandsAskForTheirPartOfTheHelpFile) {
  CMainFrame& f = Open();
  seams::SetHelpSink(&RecordHelp);
  constexpr UINT kToc = 1, kIndex = 2, kContext = 0xF;
  const std::pair<UINT, std::vector<HelpCall>> cases[] = {
      {ID_HELP_TOPIC_MAIN, {{kToc, 0}, {kContext, 128}}},
      {ID_HELP_CONTENTS, {{kToc, 0}}},
      {ID_HELP_INDEX, {{kIndex, 0}}},
  };
  for (const auto& [id, expected] : cases) {
    g_help.clear();
    Send(id);
    EXPECT_EQ(g_help, expected) << id;
  }
  // F1 is the main window's help.
  ACCEL accels[64];
  const int count = ::CopyAcceleratorTableW(f.m_hAccel, accels, 64);
  bool f1 = false;
  for (int i = 0; i < count; ++i) f1 = f1 || (accels[i].key == VK_F1 && accels[i].cmd == ID_HELP_TOPIC_MAIN);
  EXPECT_TRUE(f1);
}

TEST_F(CommandTable, RefreshRebuildsTheFolderTreeThenRefreshesTheFonts) {
  CMainFrame& f = Open();
  g_AppState.FolderFonts.m_refreshPending = false;
  Send(ID_FONTS_REFRESH);
  EXPECT_TRUE(g_AppState.FolderFonts.m_refreshPending) << "the folder tree was rebuilt";
  EXPECT_EQ(f.RunIdleJob(), IdleJob::InstalledRefresh);
}

// Command 700 starts the launcher beside the program, with the mutex already let go, and closes
// the window; otherwise nothing changes.
TEST_F(CommandTable, RestartWithAdministratorRightsStartsTheLauncherAndLetsTheMutexGo) {
  struct Case {
    bool admin, elevated, startSucceeds;
    bool buttonEnabled, launched, closed;
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
    SCOPED_TRACE(std::to_string(c.admin) + std::to_string(c.elevated) + std::to_string(c.startSucceeds));
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
    ASSERT_EQ(g_starts.size(), c.launched ? 1u : 0u);
    if (c.launched) {
      const Start& s = g_starts[0];
      EXPECT_EQ(s.verb, L"open");
      EXPECT_EQ(s.file, L"OrvelRunAs.exe");
      EXPECT_EQ(s.show, SW_HIDE);
      EXPECT_EQ(s.owner, wnd);
      EXPECT_TRUE(EqualsNoCase(s.directory, program)) << Narrow(s.directory);
      EXPECT_TRUE(s.mutexFree) << "the new instance would find the mutex and end";
    }
    EXPECT_EQ(!::IsWindow(wnd), c.closed);
    EXPECT_EQ(SingleInstance::Held(), !c.closed) << "a failed start keeps this instance the only one";
    SingleInstance::Release();
    if (frame_->IsWindow()) frame_->DestroyWindow();
  }
}


// The folder pane's Fonts-folder buttons jump to the system or the per-user Fonts folder and
// back to the folder shown before either; they show which one the list shows.
TEST_F(CommandTable, FontsFolderButtonsJumpToTheFontsFoldersAndBack) {
  const std::wstring startPath = LongPath(start_.Path());
  ASSERT_EQ(::SHCreateDirectoryExW(nullptr, g_AppState.UserFontsFolder.c_str(), nullptr) == ERROR_SUCCESS ||
                ::PathIsDirectoryW(g_AppState.UserFontsFolder.c_str()),
            true);
  const int32_t savedRelease = g_AppState.WindowsRelease;
  g_AppState.WindowsRelease = 1903;  // a release with per-user fonts: button 187 exists
  g_Preferences.FontCaseRoot = startPath;
  CMainFrame& f = Open();
  CFolderTVContainer& pane = f.Panes().m_folderPane;
  HWND toolbar = pane.m_hWndToolBar;
  const std::wstring& shown = g_AppState.FolderFonts.m_folder;
  ASSERT_TRUE(EqualsNoCase(shown, startPath)) << Narrow(shown);
  auto click = [&](int id) {  // a check button flips, then sends its command
    const bool checked = ::SendMessageW(toolbar, TB_ISBUTTONCHECKED, id, 0) != 0;
    ::SendMessageW(toolbar, TB_CHECKBUTTON, id, MAKELPARAM(!checked, 0));
    ::SendMessageW(pane, WM_COMMAND, id, reinterpret_cast<LPARAM>(toolbar));
  };
  auto state = [&](int id) {
    return std::pair<bool, int>{::SendMessageW(toolbar, TB_ISBUTTONCHECKED, id, 0) != 0,
                                static_cast<int>(::SendMessageW(toolbar, TB_GETBITMAP, id, 0))};
  };
  click(ID_PANE_USER_FONTS_DIR);
  EXPECT_TRUE(EqualsNoCase(shown, g_AppState.UserFontsFolder)) << Narrow(shown);
  EXPECT_EQ(state(ID_PANE_USER_FONTS_DIR), (std::pair<bool, int>{true, 2}));
  click(ID_PANE_SYSTEM_FONTS_DIR);
  EXPECT_TRUE(EqualsNoCase(shown, g_AppState.SystemFontsFolder)) << Narrow(shown);
  EXPECT_EQ(state(ID_PANE_SYSTEM_FONTS_DIR), (std::pair<bool, int>{true, 0}));
  EXPECT_EQ(state(ID_PANE_USER_FONTS_DIR), (std::pair<bool, int>{false, 3}));
  click(ID_PANE_SYSTEM_FONTS_DIR);  // back to the folder shown before both
  EXPECT_TRUE(EqualsNoCase(shown, startPath)) << Narrow(shown);
  EXPECT_EQ(state(ID_PANE_SYSTEM_FONTS_DIR), (std::pair<bool, int>{false, 1}));
  g_AppState.WindowsRelease = savedRelease;
}

// The folder menu of the pane: what it offers for an empty folder, and its commands reach the tree.
TEST_F(CommandTable, FolderMenuOffersTheFolderCommands) {
  g_Preferences.FontCaseRoot = LongPath(start_.Path());
  CMainFrame& f = Open();
  CFolderTVContainer& pane = f.Panes().m_folderPane;
  std::vector<std::pair<UINT, std::wstring>> items;
  std::vector<UINT> disabled;
  ModalScript::Run({[&] {
                      HWND popup = ::FindWindowW(L"#32768", nullptr);
                      HMENU menu = popup ? reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0)) : nullptr;
                      if (!menu) return false;
                      for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
                        wchar_t text[100] = {};
                        ::GetMenuStringW(menu, i, text, 100, MF_BYPOSITION);
                        const UINT id = ::GetMenuItemID(menu, i);
                        items.emplace_back(id, text);
                        if (::GetMenuState(menu, i, MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED)) disabled.push_back(id);
                      }
                      ::EndMenu();
                      return true;
                    }},
                   [&] { ::SendMessageW(pane, WM_COMMAND, ID_PANE_MENU, reinterpret_cast<LPARAM>(pane.m_hWndToolBar)); });
  const std::vector<std::pair<UINT, std::wstring>> expected = {
      {ID_FOLDER_MAKE_GROUPS, L"Make &Groups from This Folder"}, {ID_FOLDER_NEW, L"&New Folder"},
      {ID_TREE_RENAME, L"Re&name"}, {ID_FOLDER_DELETE, L"&Delete"}, {ID_FOLDER_OPEN, L"&Open in Explorer"},
      {ID_FONTS_REFRESH, L"&Refresh"}};
  EXPECT_EQ(items, expected);
  EXPECT_EQ(disabled, std::vector<UINT>{ID_FOLDER_MAKE_GROUPS}) << "groups from folders are not there yet";
  static std::wstring opened;
  seams::SetShellOpenSink([](HWND, const std::wstring& target) { opened = target; });
  ::SendMessageW(f.Panes().m_folderTree, WM_COMMAND, ID_FOLDER_OPEN, 0);
  seams::SetShellOpenSink(nullptr);
  EXPECT_TRUE(EqualsNoCase(opened, LongPath(start_.Path()))) << Narrow(opened);
}

}  // namespace
