// The main frame's view commands: the pane toggles of the View menu (189 to 193), the toolbar
// band and the status bar (0xE800, 0xE801), the refresh of everything shown (143) and the
// command that brings a window back onto the screen (228).
#include "app/CMainFrame.h"

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ClampRectToVirtualScreen.h"
#include "search/CSearchDlg.h"

namespace {

// The tool windows command 228 brings back, after the search dialog and before the main window.
constexpr ToolWindowId kToolsBroughtOnScreen[] = {ToolWindowId::CensusDlg, ToolWindowId::ListRegistryFontsDlg};

void MoveOntoScreen(HWND wnd) {
  RECT rc{};
  ::GetWindowRect(wnd, &rc);
  ClampRectToVirtualScreen(rc);
  ::SetWindowPos(wnd, HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_SHOWWINDOW);
}

}  // namespace

void CMainFrame::OnRefresh(UINT, int, HWND) {
  if (g_AppState.FolderTree.IsWindow()) g_AppState.FolderTree.Refresh();
  if (g_AppState.GroupsTree.IsWindow()) g_AppState.GroupsTree.Reload();
  // The full font refresh is the first job of the next idle pass.
  Pending.InstalledRefresh = true;
}

void CMainFrame::OnWindowToScreen(UINT, int, HWND) {
  // The search dialog goes to the screen's origin, shown without being activated.
  if (CSearchDlg* search = SearchDialog()) {
    search->ShowOnScreen();
    return;
  }
  for (ToolWindowId id : kToolsBroughtOnScreen) {
    const CToolWindow* tool = tools_.Get(id);
    HWND wnd = tool ? tool->GetToolWindow() : nullptr;
    if (wnd && ::IsWindow(wnd)) {
      MoveOntoScreen(wnd);
      return;
    }
  }
  // The main window keeps its size, clamped to the screen, and goes to the top-left corner.
  if (IsIconic() || IsZoomed()) ShowWindow(SW_RESTORE);
  RECT& rc = panes_.m_layout.WindowRect;
  GetWindowRect(&rc);
  ClampRectToVirtualScreen(rc);
  ::OffsetRect(&rc, -rc.left, -rc.top);
  SetWindowPos(nullptr, 0, 0, rc.right, rc.bottom, SWP_SHOWWINDOW | SWP_NOZORDER);
}

// The sample pane: both panes of the sample splitter, or the lists alone.
void CMainFrame::OnViewSamplePane(UINT, int, HWND) {
  orv::CHorSplitterWindow& splitter = panes_.m_sampleSplitter;
  const bool shown = splitter.GetSinglePaneMode() != orv::SPLIT_PANE_TOP;
  splitter.SetSinglePaneMode(shown ? orv::SPLIT_PANE_TOP : orv::SPLIT_PANE_NONE);
  SetViewChecks();
  UpdateLayout();
}

// The folder fonts and group fonts lists: both panes of the lists splitter, or the installed
// fonts alone. Coming back, the bar returns to its default place.
void CMainFrame::OnViewFolderLists(UINT, int, HWND) {
  orv::CSplitterWindow& splitter = panes_.m_listsSplitter;
  if (splitter.GetSinglePaneMode() == orv::SPLIT_PANE_RIGHT) {
    splitter.SetSinglePaneMode(orv::SPLIT_PANE_NONE);
    splitter.SetSplitterPos(-1);
  } else {
    splitter.SetSinglePaneMode(orv::SPLIT_PANE_RIGHT);
  }
  SetViewChecks();
  UpdateLayout();
}

// The two trees share the trees splitter (folder tree first) on the left side of the main
// splitter. Hiding the last tree shown hides that whole side; showing a tree while the side is
// hidden brings the side back with that tree alone.
void CMainFrame::ToggleTree(int pane) {
  orv::CSplitterWindow& main = panes_.m_mainSplitter;
  orv::CHorSplitterWindow& trees = panes_.m_treesSplitter;
  const int alone = pane, withoutIt = 1 - pane;  // the trees splitter's modes
  const bool shown = trees.GetSinglePaneMode() != withoutIt && main.GetSinglePaneMode() != orv::SPLIT_PANE_RIGHT;
  if (shown) {
    if (trees.GetSinglePaneMode() == orv::SPLIT_PANE_NONE)
      trees.SetSinglePaneMode(withoutIt);
    else
      main.SetSinglePaneMode(orv::SPLIT_PANE_RIGHT);
  } else if (main.GetSinglePaneMode() == orv::SPLIT_PANE_NONE) {
    trees.SetSinglePaneMode(orv::SPLIT_PANE_NONE);
  } else {
    main.SetSinglePaneMode(orv::SPLIT_PANE_NONE);
    trees.SetSinglePaneMode(alone);
  }
  SetViewChecks();
  UpdateLayout();
}

void CMainFrame::OnViewFolderTree(UINT, int, HWND) { ToggleTree(orv::SPLIT_PANE_TOP); }

void CMainFrame::OnViewGroupsTree(UINT, int, HWND) { ToggleTree(orv::SPLIT_PANE_BOTTOM); }

void CMainFrame::OnViewSampleInList(UINT, int, HWND) {
  g_Preferences.ShowSampleInList = !g_Preferences.ShowSampleInList;
  UISetCheck(ID_VIEW_SAMPLE_IN_LIST, g_Preferences.ShowSampleInList);
  UIUpdateToolBar();
  SendMessage(WM_COMMAND, ID_LISTS_REDRAW, 1);
}

void CMainFrame::OnViewToolbar(UINT, int, HWND) {
  WindowLayout& layout = panes_.m_layout;
  layout.ToolbarShown = layout.ToolbarShown ? 0 : 1;
  ShowReBarBand(m_hWndToolBar, orv::kIdFirstReBarBand + 1, layout.ToolbarShown != 0);
  UISetCheck(ID_VIEW_TOOLBAR, layout.ToolbarShown != 0);
  UpdateLayout();
}

void CMainFrame::OnViewStatusBar(UINT, int, HWND) {
  WindowLayout& layout = panes_.m_layout;
  layout.StatusBarShown = layout.StatusBarShown ? 0 : 1;
  if (m_hWndStatusBar) ::ShowWindow(m_hWndStatusBar, layout.StatusBarShown ? SW_SHOWNOACTIVATE : SW_HIDE);
  UISetCheck(ID_VIEW_STATUS_BAR, layout.StatusBarShown != 0);
  UpdateLayout();
}
