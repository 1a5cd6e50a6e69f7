// Font drags in the real main window, driven the way the lists' own messages drive them: a drag
// started by the list's LVN_BEGINDRAG (sent to its pane, which reflects it), moved by the list's
// WM_MOUSEMOVE and ended by its WM_LBUTTONUP; places on the folder tree and the groups tree found
// by their items; the folder list filled from a folder by the main window's idle passes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "lists/COrvelListView.h"
#include "lists/FontDragSession.h"

namespace font_drag_driver {

// An item's rectangle in the tree's client area: its label only, or its whole row.
inline RECT ItemRect(HWND tree, HTREEITEM item, bool labelOnly) {
  RECT rect{};
  std::memcpy(&rect, &item, sizeof(item));
  ::SendMessageW(tree, TVM_GETITEMRECT, labelOnly, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

// The middle of an item's label, in screen coordinates.
inline POINT OnItem(HWND tree, HTREEITEM item) {
  const RECT rect = ItemRect(tree, item, true);
  POINT p{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ::ClientToScreen(tree, &p);
  return p;
}

inline POINT InWindow(HWND window, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(window, &p);
  return p;
}

// The folder's item in the main folder tree, brought into view.
inline HTREEITEM ItemOfFolder(const std::wstring& path) {
  HTREEITEM item = g_AppState.FolderTree.FindItemByIdList(path, true);
  if (item) g_AppState.FolderTree.EnsureVisible(item);
  return item;
}

// The group's item in the groups tree (its branch already open), brought into view.
inline HTREEITEM ItemOfGroup(const std::wstring& file) {
  HTREEITEM item = g_AppState.GroupsTree.FindItemByFile(file);
  if (item) g_AppState.GroupsTree.EnsureVisible(item);
  return item;
}

// LVN_BEGINDRAG as the list-view control sends it to its pane, which reflects it to the list.
inline FontDragSession* BeginDrag(COrvelListView& list) {
  NMLISTVIEW nm{};
  nm.hdr.hwndFrom = list.m_hWnd;
  nm.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(list.m_hWnd));
  nm.hdr.code = LVN_BEGINDRAG;
  nm.iItem = 0;
  ::SendMessageW(::GetParent(list.m_hWnd), WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
  return list.CurrentDrag();
}

inline void MoveTo(COrvelListView& list, POINT screen, WPARAM keys = 0) {
  ::ScreenToClient(list.m_hWnd, &screen);
  ::SendMessageW(list.m_hWnd, WM_MOUSEMOVE, keys, MAKELPARAM(screen.x, screen.y));
}

inline void Release(COrvelListView& list) {
  POINT p{};
  ::SendMessageW(list.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

// Selects the folder in the main folder tree and lets the idle passes fill the folder list from
// it; false when the tree has no item for the folder.
inline bool ShowFolderFonts(CMainFrame& frame, const std::wstring& folder) {
  for (int i = 0; i < 4 && g_AppState.FolderTree.IsInitPending(); ++i) frame.RunIdleJob();
  HTREEITEM item = ItemOfFolder(folder);
  if (!item || !g_AppState.FolderTree.SelectItem(item)) return false;
  g_AppState.FolderFonts.m_refreshPending = true;
  for (int i = 0; i < 6; ++i)
    if (frame.RunIdleJob() == IdleJob::FolderListFill) break;
  return true;
}

}  // namespace font_drag_driver
