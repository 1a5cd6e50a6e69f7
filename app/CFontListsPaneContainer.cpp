#include "app/CFontListsPaneContainer.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "app/AppState.h"
#include "app/PaneMenus.h"
#include "app/PaneSortOrder.h"
#include "common/LoadImageListFromResource.h"
#include "framework/ToolbarResource.h"

void CFontListsPaneContainer::AddButtons() {
  const int ids[] = {ID_FONTS_SHOW_INSTALLED, ID_FONTS_INSTALL,  ID_FONTS_UNINSTALL,     ID_GROUP_REMOVE_FONTS,
                     ID_PANE_MENU,            ID_PANE_PARENT_FOLDER, ID_GROUP_LIST_INSTALL, ID_GROUP_LIST_UNINSTALL};
  if (LoadImageListFromResource(images_, 8, ids))
    disabledImages_ = orv::SetToolbarImages(m_hWndToolBar, images_.Get());
  AddToolbarButton(1, ID_FONTS_INSTALL, BTNS_BUTTON, 0);
  AddToolbarButton(2, ID_FONTS_UNINSTALL, BTNS_BUTTON, 0);
  AddToolbarButton(6, ID_GROUP_LIST_INSTALL, BTNS_BUTTON, 0);
  AddToolbarButton(7, ID_GROUP_LIST_UNINSTALL, BTNS_BUTTON, 0);
  AddToolbarButton(3, ID_GROUP_REMOVE_FONTS, BTNS_BUTTON, 0);
  AddToolbarButton(5, ID_PANE_PARENT_FOLDER, BTNS_BUTTON, 0);
  AddToolbarButton(4, ID_PANE_MENU, BTNS_BUTTON, TBSTATE_ENABLED, 0, m_cxImage / 2);
  // Each mode hides the buttons of the other: two in group mode, four in folder mode.
  groupModeWidth_ = m_cxToolBar - 2 * (m_cxImage + 7);
  folderModeWidth_ = m_cxToolBar - 4 * (m_cxImage + 7);
}

COLORREF CFontListsPaneContainer::CaptionColor() const {
  const HWND focus = ::GetFocus();
  const bool focused = m_hWndClient && focus && (focus == m_hWndClient || ::IsChild(m_hWndClient, focus));
  return ::GetSysColor(focused ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
}

void CFontListsPaneContainer::DrawSortIcon(HDC dc, int left, int top) {
  DrawSortOrderIcon(dc, left, top, ListInFront());
}

void CFontListsPaneContainer::OnCaptionClick(UINT, POINT at) {
  (void)ResortFromCaptionClick(m_hWnd, at, m_cyCaption, ToolbarLeft(), ListInFront());
  DefWindowProc();
}

void CFontListsPaneContainer::ShowFontList(LPARAM which) {
  const bool folder = which == 1;
  const ListCaption& caption = folder ? folderTitle_ : groupTitle_;
  CTbPaneContainerImpl<CFontListsPaneContainer>::SetCaption(caption.shortened, 0, caption.countLength);
  fullCaption_ = caption.full;
  if (folderList_) ::ShowWindow(folderList_, folder ? SW_SHOW : SW_HIDE);
  if (groupList_) ::ShowWindow(groupList_, folder ? SW_HIDE : SW_SHOW);
  ShowButton(ID_FONTS_INSTALL, folder);
  ShowButton(ID_FONTS_UNINSTALL, folder);
  for (int command : {ID_GROUP_LIST_INSTALL, ID_GROUP_LIST_UNINSTALL, ID_GROUP_REMOVE_FONTS, ID_PANE_PARENT_FOLDER})
    ShowButton(command, !folder);
  m_cxToolBar = folder ? folderModeWidth_ : groupModeWidth_;
  folderMode_ = folder;
  m_hWndClient = folder ? folderList_ : groupList_;
  g_AppState.GroupListShown = !folder;
  UpdateLayout();
  // No row keeps the focus mark of the list that was in front before.
  LVITEMW item{};
  item.stateMask = LVIS_FOCUSED;
  for (HWND list : {folderList_, groupList_})
    if (list) ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

void CFontListsPaneContainer::SetCaptionWithCount(const std::wstring& title, int count) {
  RECT rc{};
  if (m_hWnd) GetClientRect(&rc);
  // Measured and shortened off screen: the drawing itself happens in the next paint.
  orv::ScopedCreatedDC memory(::CreateCompatibleDC(nullptr));
  HDC dc = memory.Get();
  orv::ScopedSelectObject font(dc, GetTitleFont());
  // Laid out as the paint lays it out with the toolbar of that list's mode: the title shortened
  // to leave room for the count and the sort-order icon, the count whole.
  const int toolbar = folderMode_ ? folderModeWidth_ : groupModeWidth_;
  const int right = rc.right - 4 - (m_hWndToolBar ? toolbar + 4 : 0);
  wchar_t suffix[32]{};
  if (count != kNoCount) std::swprintf(suffix, std::size(suffix), L" [%d]", count);
  const std::wstring full = title + suffix, counts = suffix;
  const PaneCaptionLayout layout = LayOutPaneCaption(dc, full, 0, counts.size(), 4, right, SortOrderIconSize(),
                                                     SortOrderIconGap(),
                                                     SortOrderIconLeft(rc.right - rc.left, rc.right - toolbar - 3));
  CTbPaneContainerImpl<CFontListsPaneContainer>::SetCaption(layout.text, 0, counts.size());
  fullCaption_ = full;
}

void CFontListsPaneContainer::SetListCaption(bool folderList, const std::wstring& title, int count) {
  const bool mode = folderMode_;
  const ListCaption shown{fullCaption_, m_caption, m_captionTail};
  folderMode_ = folderList;  // measured with that list's buttons
  SetCaptionWithCount(title, count);
  (folderList ? folderTitle_ : groupTitle_) = {fullCaption_, m_caption, m_captionTail};
  folderMode_ = mode;
  if (mode != folderList) {
    CTbPaneContainerImpl<CFontListsPaneContainer>::SetCaption(shown.shortened, 0, shown.countLength);
    fullCaption_ = shown.full;
  }
  if (m_hWnd) Invalidate();
}

COrvelListView& CFontListsPaneContainer::ListInFront() const {
  if (folderMode_) return g_AppState.FolderFonts;
  return g_AppState.GroupFonts;
}

HWND CFontListsPaneContainer::DrivingTree() const {
  return folderMode_ ? g_AppState.FolderTree.m_hWnd : g_AppState.GroupsTree.m_hWnd;
}

void CFontListsPaneContainer::UpdateToolbarState() {
  int selected = 0;
  ListInFront().GetCounts(nullptr, &selected);
  const bool some = selected > 0;
  const bool install = some && COrvelListView::CanInstallFonts();
  if (folderMode_) {
    const bool act = install && !g_AppState.FolderFonts.m_zipFolder;
    EnableButton(ID_FONTS_INSTALL, act);
    EnableButton(ID_FONTS_UNINSTALL, act);
  } else {
    EnableButton(ID_GROUP_LIST_INSTALL, install);
    EnableButton(ID_GROUP_LIST_UNINSTALL, install);
    EnableButton(ID_GROUP_REMOVE_FONTS, some);
  }
  HWND tree = DrivingTree();
  const auto item = tree ? reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) : nullptr;
  const auto root = tree ? reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)) : nullptr;
  EnableButton(ID_PANE_PARENT_FOLDER, item && item != root);
}

void CFontListsPaneContainer::OnInstallCommand(UINT, int id, HWND) {
  const bool groupCommand = id == ID_GROUP_LIST_INSTALL || id == ID_GROUP_LIST_UNINSTALL;
  if (groupCommand == folderMode_) return;  // a button of the list that is not in front
  // The copy option: on unless Ctrl is held alone; never for the fonts of a group.
  const bool copy = folderMode_ && !CtrlAlone();
  COrvelListView& list = ListInFront();
  if (id == ID_FONTS_INSTALL || id == ID_GROUP_LIST_INSTALL) list.InstallSelection(copy);
  else list.UninstallSelection(copy ? 1 : 0);
}

void CFontListsPaneContainer::OnRemoveFromGroupCommand(UINT, int, HWND) {
  if (!folderMode_) g_AppState.GroupFonts.RemoveSelectionFromGroup();
}

void CFontListsPaneContainer::OnParentCommand(UINT, int, HWND) {
  HWND tree = DrivingTree();
  if (!tree) return;
  const auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  const auto parent = item ? reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_PARENT,
                                                                        reinterpret_cast<LPARAM>(item)))
                           : nullptr;
  if (parent) ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(parent));
}

void CFontListsPaneContainer::OnMenuCommand(UINT, int, HWND source) {
  COrvelListView& list = ListInFront();
  // The menu reads the list's selection as it is now: a right click that has just selected the
  // row shows the row's menu at once, before the idle pass has shown the row in the sample pane.
  if (!list.m_hWnd) return;
  IconPopupMenu menu(::CreatePopupMenu());
  if (folderMode_) FillFolderListMenu(menu, g_AppState.FolderFonts);
  else FillGroupListMenu(menu, g_AppState.GroupFonts);
  TrackClientMenu(menu.Get(), source);
}
