// Every command the main window offers, sent as the user's click or key sends it in the real
// main window: the menu bar, the accelerators, the main toolbar, the pane toolbars and the panes'
// context menus, each with a font selected (in the folder list, the group list or the installed
// list) and with none. Each one is disabled or not offered, or does what it says: the dialog or
// tool window it opens (closed again at once), the pane it shows or hides, the list it fills
// again, the question it asks before it changes anything (answered no), the help topic or folder
// it opens. The table of what each must do is CommandSweepTable.cpp.
#include <windows.h>
#include <commctrl.h>

#include "tests/app/CommandSweepFixture.h"

using namespace command_sweep;
using namespace testing_support;

namespace {

const State kFolderFont{"a font selected in the folder list", false, At::FolderList, kTaggedFont};
const State kCopyOfInstalled{"an installed face's copy selected in the folder list", false, At::FolderList,
                             kInstalledCopy};
const State kNoFont{"no font selected", false};
const State kGroupFont{"a font selected in the group list", true, At::GroupList, kTaggedFont};
const State kGroupNoFont{"the group list in front, no font selected", true};
const State kInstalledListFont{"a font selected in the installed list", false, At::InstalledList, kInstalledFont};

class CommandSweepTest : public CommandSweep {
protected:
  // The surfaces a state is swept on.
  void SweepAll(const State& s) {
    Apply(s);
    SweepFrame();
    SweepPanes(s);
  }
  void SweepPanes(const State& s) {
    MainPanes& p = Panes();
    Apply(s);
    SweepToolbar(At::FolderPane, p.m_folderPane.m_hWndToolBar);
    SweepToolbar(At::GroupsPane, p.m_groupsPane.m_hWndToolBar);
    SweepLists(s);
    SweepInstalled(s);
    SweepToolbar(At::SamplePane, p.m_samplePane.m_hWndToolBar, {ID_FONTS_SHEET, ID_FONTS_CHARMAP, ID_FONTS_PROPERTIES});
    SweepContextMenu(p.m_folderPane, At::FolderTree, p.m_folderTree);
    SweepContextMenu(p.m_groupsPane, At::GroupsTree, p.m_groupsTree);
  }
  void SweepLists(const State& s) {
    MainPanes& p = Panes();
    Apply(s);
    SweepToolbar(At::ListsPane, p.m_fontListsPane.m_hWndToolBar);
    if (s.groupList) SweepContextMenu(p.m_fontListsPane, At::GroupList, p.m_groupList);
    else SweepContextMenu(p.m_fontListsPane, At::FolderList, p.m_folderList);
  }
  void SweepInstalled(const State& s) {
    MainPanes& p = Panes();
    Apply(s);
    SweepToolbar(At::InstalledPane, p.m_installedPane.m_hWndToolBar);
    SweepContextMenu(p.m_installedPane, At::InstalledList, p.m_installedList);
  }
};

TEST_F(CommandSweepTest, EveryOfferedCommandIsDisabledOrDoesWhatItSays) {
  OpenWindow();
  SweepAll(kFolderFont);
  SweepAll(kNoFont);
  SweepLists(kCopyOfInstalled);
  SweepLists(kGroupFont);
  SweepToolbar(At::GroupsPane, Panes().m_groupsPane.m_hWndToolBar);
  SweepContextMenu(Panes().m_groupsPane, At::GroupsTree, Panes().m_groupsTree);
  SweepLists(kGroupNoFont);
  SweepInstalled(kInstalledListFont);
  SweepToolbar(At::SamplePane, Panes().m_samplePane.m_hWndToolBar, {ID_FONTS_SHEET, ID_FONTS_CHARMAP, ID_FONTS_PROPERTIES});
  EXPECT_EQ(Failures(), "");
}

// The commands other windows post to the main window: the list in front (216), the lists'
// redraw (217), a font change (215) and a closing tool window (339); and Exit closes the window.
TEST_F(CommandSweepTest, CommandsPostedByOtherWindowsAndExit) {
  OpenWindow();
  Apply(kFolderFont);
  MainPanes& p = Panes();
  Frame().SendMessage(WM_COMMAND, ID_SHOW_FONT_LIST, 2);
  EXPECT_TRUE(g_AppState.GroupListShown);
  EXPECT_TRUE(::IsWindowVisible(p.m_groupList) && !::IsWindowVisible(p.m_folderList));
  Frame().SendMessage(WM_COMMAND, ID_SHOW_FONT_LIST, 1);
  EXPECT_FALSE(g_AppState.GroupListShown);
  EXPECT_TRUE(::IsWindowVisible(p.m_folderList) && !::IsWindowVisible(p.m_groupList));

  // While the lists do not redraw, what is painted over them stays; switched on, they repaint.
  Frame().SendMessage(WM_COMMAND, ID_LISTS_REDRAW, 0);
  for (HWND list : {p.m_folderList, p.m_installedList}) {
    ::InvalidateRect(list, nullptr, TRUE);
    EXPECT_TRUE(::GetUpdateRect(list, nullptr, FALSE));
  }
  Frame().SendMessage(WM_COMMAND, ID_LISTS_REDRAW, 1);
  for (HWND list : {p.m_folderList, p.m_installedList}) {
    EXPECT_FALSE(::GetUpdateRect(list, nullptr, FALSE)) << "painted at once";
  }

  // A font change refills the installed list once the broadcast comes back.
  const int installed = Items(At::InstalledList);
  ::SendMessageW(p.m_installedList, LVM_DELETEALLITEMS, 0, 0);
  ::PostMessageW(Frame(), WM_COMMAND, ID_FONT_CHANGE, 0);
  PumpMessages(300);
  EXPECT_FALSE(g_AppState.FontChangePending);
  EXPECT_EQ(Items(At::InstalledList), installed);

  // A tool whose window still exists keeps its slot; once its window is gone, its closing frees it.
  Frame().SendMessage(WM_COMMAND, ID_FONTS_CENSUS, 0);
  CToolWindow* census = Frame().Tools().Get(ToolWindowId::CensusDlg);
  ASSERT_NE(census, nullptr);
  Frame().SendMessage(WM_COMMAND, ID_TOOL_WINDOW_CLOSED, static_cast<LPARAM>(ToolWindowId::CensusDlg));
  EXPECT_EQ(Frame().Tools().Get(ToolWindowId::CensusDlg), census);
  ::SendMessageW(census->GetToolWindow(), WM_CLOSE, 0, 0);
  PumpMessages(100);
  EXPECT_EQ(Frame().Tools().Get(ToolWindowId::CensusDlg), nullptr);

  const HWND window = Frame();
  Frame().SendMessage(WM_COMMAND, ID_APP_EXIT, 0);
  PumpMessages(100);
  EXPECT_FALSE(::IsWindow(window)) << "Exit closes the main window";
}

}  // namespace


