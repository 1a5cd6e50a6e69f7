// CExplorerTreeImpl<T>: a tree-view control of our own for trees of the shell namespace. The
// window is a system tree view ("SysTreeView32") bound to the object when CreateTreeWindow
// makes it; its parent must reflect notifications (REFLECT_NOTIFICATIONS) so that they come
// back here.
//
// The map takes destruction, expansion, item deletion, label edits, drag start and
// the shell change notification message, and calls T's handlers, which hide the defaults here:
//   void OnTreeCreate()                          after the control exists and is bound
//   void OnTreeDestroy()                         before the control goes (items still exist)
//   LRESULT OnItemExpanding(NMTREEVIEWW*)        TVN_ITEMEXPANDING (result: 1 refuses)
//   void OnDeleteItem(NMTREEVIEWW*)              TVN_DELETEITEM
//   LRESULT OnBeginLabelEdit(NMTVDISPINFOW*)     TVN_BEGINLABELEDIT (default: refused)
//   LRESULT OnEndLabelEdit(NMTVDISPINFOW*)       TVN_ENDLABELEDIT (default: label not kept)
//   void OnBeginDrag(NMTREEVIEWW*)               TVN_BEGINDRAG
// T also implements CSHChangeNotifyHandler, which gets each shell change notification once
// RegisterShellNotifications has run. Reflected notifications nobody takes get the default
// result. Main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include "framework/AppModule.h"
#include "framework/TreeViewCtrl.h"
#include "framework/WindowImpl.h"
#include "lists/CSHChangeNotifyHandler.h"

// The message that shell change notifications arrive with, and the events the tree follows:
// renames, creations and deletions of items and folders, media and drives coming and going,
// shares, folder and item updates, server disconnects.
constexpr UINT kShellChangeMessage = WM_USER + 222;
constexpr LONG kShellChangeEvents = SHCNE_RENAMEITEM | SHCNE_CREATE | SHCNE_DELETE | SHCNE_MKDIR | SHCNE_RMDIR |
                                    SHCNE_MEDIAINSERTED | SHCNE_MEDIAREMOVED | SHCNE_DRIVEREMOVED |
                                    SHCNE_DRIVEADD | SHCNE_NETSHARE | SHCNE_NETUNSHARE | SHCNE_UPDATEDIR |
                                    SHCNE_UPDATEITEM | SHCNE_SERVERDISCONNECT | SHCNE_RENAMEFOLDER;
static_assert(kShellChangeMessage == 0x4DE);
static_assert(kShellChangeEvents == 0x277FF);

// Registers `wnd` for the shell's notifications on the whole namespace (the desktop,
// recursively), delivered as kShellChangeMessage; 0 when the shell refuses.
[[nodiscard]] ULONG RegisterDesktopChangeNotify(HWND wnd);

// Opens one delivered notification and calls the handler for events the tree follows; the
// notification is released in every case.
void DispatchShellChange(WPARAM wParam, LPARAM lParam, CSHChangeNotifyHandler& handler);

template <typename T>
class CExplorerTreeImpl : public orv::CWindowImpl<T, orv::CTreeViewCtrlT<orv::CWindowImplRoot>> {
public:
  ~CExplorerTreeImpl() { DeregisterShellNotifications(); }

  // Creates the tree-view control and binds it to this object; null when either fails.
  HWND CreateTreeWindow(HWND parent, DWORD style, DWORD exStyle, int id) {
    if (this->m_hWnd) return nullptr;
    HWND wnd = this->CreateTreeControl(parent, style, exStyle, id);
    if (wnd) Self()->OnTreeCreate();
    return wnd;
  }

  void RegisterShellNotifications() {
    DeregisterShellNotifications();
    m_notifyId = RegisterDesktopChangeNotify(this->m_hWnd);
  }
  void DeregisterShellNotifications() {
    if (m_notifyId) ::SHChangeNotifyDeregister(m_notifyId);
    m_notifyId = 0;
  }
  ULONG NotifyRegistration() const { return m_notifyId; }

  // Defaults of T's handlers.
  void OnTreeCreate() {}
  void OnTreeDestroy() {}
  LRESULT OnItemExpanding(NMTREEVIEWW*) { return 0; }
  void OnDeleteItem(NMTREEVIEWW*) {}
  LRESULT OnBeginLabelEdit(NMTVDISPINFOW*) { return TRUE; }
  LRESULT OnEndLabelEdit(NMTVDISPINFOW*) { return FALSE; }
  void OnBeginDrag(NMTREEVIEWW*) {}

  BEGIN_MSG_MAP(CExplorerTreeImpl)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroyMessage)
    MESSAGE_HANDLER(kShellChangeMessage, OnShellChangeMessage)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_ITEMEXPANDINGW, OnItemExpandingNotify)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_DELETEITEMW, OnDeleteItemNotify)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_BEGINLABELEDITW, OnBeginLabelEditNotify)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_ENDLABELEDITW, OnEndLabelEditNotify)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_BEGINDRAGW, OnBeginDragNotify)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

private:
  T* Self() { return static_cast<T*>(this); }

  LRESULT OnDestroyMessage(UINT, WPARAM, LPARAM, BOOL& handled) {
    Self()->OnTreeDestroy();
    DeregisterShellNotifications();
    handled = FALSE;  // the control frees its items
    return 0;
  }
  LRESULT OnShellChangeMessage(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    DispatchShellChange(wParam, lParam, *Self());
    return 0;
  }
  LRESULT OnItemExpandingNotify(int, NMHDR* hdr, BOOL&) {
    return Self()->OnItemExpanding(reinterpret_cast<NMTREEVIEWW*>(hdr));
  }
  LRESULT OnDeleteItemNotify(int, NMHDR* hdr, BOOL&) {
    Self()->OnDeleteItem(reinterpret_cast<NMTREEVIEWW*>(hdr));
    return 0;
  }
  LRESULT OnBeginLabelEditNotify(int, NMHDR* hdr, BOOL&) {
    return Self()->OnBeginLabelEdit(reinterpret_cast<NMTVDISPINFOW*>(hdr));
  }
  LRESULT OnEndLabelEditNotify(int, NMHDR* hdr, BOOL&) {
    return Self()->OnEndLabelEdit(reinterpret_cast<NMTVDISPINFOW*>(hdr));
  }
  LRESULT OnBeginDragNotify(int, NMHDR* hdr, BOOL&) {
    Self()->OnBeginDrag(reinterpret_cast<NMTREEVIEWW*>(hdr));
    return 0;
  }

  ULONG m_notifyId = 0;
};
