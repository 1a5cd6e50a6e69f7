#include "app/CGroupsTVContainer.h"

#include "app/AppState.h"
#include "app/PaneMenus.h"
#include "common/LoadImageListFromResource.h"
#include "framework/ToolbarResource.h"

void CGroupsTVContainer::AddButtons() {
  const int ids[] = {ID_GROUP_INSTALL, ID_GROUP_UNINSTALL, ID_GROUPS_QUICK_SEARCH, ID_PANE_MENU};
  if (LoadImageListFromResource(images_, 4, ids))
    disabledImages_ = orv::SetToolbarImages(m_hWndToolBar, images_.Get());
  AddToolbarButton(2, ID_GROUPS_QUICK_SEARCH, BTNS_CHECK, TBSTATE_ENABLED);
  AddToolbarButton(0, ID_GROUP_INSTALL, BTNS_BUTTON, TBSTATE_ENABLED);
  AddToolbarButton(1, ID_GROUP_UNINSTALL, BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_HIDDEN);
  AddToolbarButton(3, ID_PANE_MENU, BTNS_BUTTON, TBSTATE_ENABLED, 0, m_cxImage / 2);
}

void CGroupsTVContainer::OnPaneCreated() {
  captionNoBand_ = m_cyCaption;
  search_.Create(m_hWnd);
}

COLORREF CGroupsTVContainer::CaptionColor() const {
  return ::GetSysColor(g_AppState.GroupListShown ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
}

bool CGroupsTVContainer::QuickSearchShown() const {
  return m_hWndToolBar && ::SendMessageW(m_hWndToolBar, TB_ISBUTTONCHECKED, ID_GROUPS_QUICK_SEARCH, 0) != 0;
}

void CGroupsTVContainer::LayOutBand(bool show) {
  if (show && search_.m_hWnd) {
    search_.Layout(m_hWnd, captionNoBand_);
    m_cyCaption = captionNoBand_ + search_.Height();
  } else {
    m_cyCaption = captionNoBand_;
    if (search_.m_hWnd) search_.ShowWindow(SW_HIDE);
  }
  UpdateLayout();
}

void CGroupsTVContainer::ShowQuickSearch(bool show) {
  if (m_hWndToolBar) ::SendMessageW(m_hWndToolBar, TB_CHECKBUTTON, ID_GROUPS_QUICK_SEARCH, MAKELPARAM(show, 0));
  LayOutBand(show);
  if (!show) return;
  search_.Reset();
  if (search_.Edit()) ::SetFocus(search_.Edit());
}

LRESULT CGroupsTVContainer::OnSize(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (QuickSearchShown() && search_.m_hWnd) search_.Layout(m_hWnd, captionNoBand_);
  handled = FALSE;  // the template lays out the toolbar and the tree
  return 0;
}

void CGroupsTVContainer::OnInstallCommand(UINT, int id, HWND) {
  g_AppState.GroupsTree.InstallGroup(id == ID_GROUP_INSTALL);
}

void CGroupsTVContainer::OnQuickSearchButton(UINT, int, HWND) { ShowQuickSearch(QuickSearchShown()); }

void CGroupsTVContainer::OnFindCommand(UINT, int, HWND) {
  if (QuickSearchShown()) search_.FindNext();
  else ShowQuickSearch(true);
}

void CGroupsTVContainer::OnFindNextCommand(UINT, int, HWND) {
  if (!QuickSearchShown()) ShowQuickSearch(true);
  search_.FindNext();
}

void CGroupsTVContainer::OnMenuCommand(UINT, int, HWND source) {
  CGroupsTreeView& tree = g_AppState.GroupsTree;
  if (!tree.m_hWnd || m_hWndClient != tree.m_hWnd) return;
  IconPopupMenu menu(::CreatePopupMenu());
  FillGroupsTreeMenu(menu, tree);
  TrackClientMenu(menu.Get(), source);
}
