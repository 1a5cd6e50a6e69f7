// The main frame's side of the groups: the groups pane's buttons and the group list's fill and
// caption in the idle pass.
#include "app/CMainFrame.h"

#include "app/AppState.h"

void CMainFrame::UpdateGroupsPaneButtons() {
  CGroupsTVContainer& pane = panes_.m_groupsPane;
  const CGroupsTreeView& tree = g_AppState.GroupsTree;
  if (!pane.m_hWndToolBar || !tree.m_hWnd) return;
  HTREEITEM item = tree.GetSelectedItem();
  const bool marked = item && (tree.GetItemState(item) & 1) != 0;
  pane.EnableButton(ID_PANE_MENU, item != nullptr);
  // Without an installer, groups cannot be installed: the buttons stay disabled.
  pane.EnableButton(ID_GROUP_INSTALL, tree.CanInstallGroup(true));
  pane.EnableButton(ID_GROUP_UNINSTALL, tree.CanInstallGroup(false));
  pane.ShowButton(ID_GROUP_UNINSTALL, marked);
  pane.ShowButton(ID_GROUP_INSTALL, !marked);
}

void CMainFrame::ShowGroupList() {
  CLVGroupFonts& list = g_AppState.GroupFonts;
  const CGroupsTreeView& tree = g_AppState.GroupsTree;
  const bool refresh = list.m_refreshPending || Pending.GroupListRefresh;
  Pending.GroupListRefresh = false;
  Pending.GroupCaption = false;
  list.m_captionPending = false;
  if (list.m_hWnd) list.SelectAll(false);
  HTREEITEM item = tree.m_hWnd ? tree.GetSelectedItem() : nullptr;
  int count = 0;
  if (!item) {
    list.Clear();
  } else if (refresh && list.m_hWnd) {
    count = list.Fill();
  } else {
    count = list.CountRecords();
  }
  list.m_refreshPending = false;
  panes_.m_fontListsPane.SetGroupListCaption(tree.GetItemName(item), count);
}
