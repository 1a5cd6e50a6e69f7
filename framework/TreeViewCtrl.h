// CTreeViewCtrlT<TBase>: the calls of the system tree-view control that the program's trees
// make, over the window handle of TBase (CWindow, or CWindowImplRoot for a tree bound to an
// object of ours: `CWindowImpl<T, CTreeViewCtrlT<CWindowImplRoot>>`). Main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/AppModule.h"

namespace orv {

template <typename TBase>
class CTreeViewCtrlT : public TBase {
public:
  // Creates a tree-view control and binds it to this object (TBase must be a window class of
  // ours); null when either fails.
  HWND CreateTreeControl(HWND parent, DWORD style, DWORD exStyle, int id) {
    HWND wnd = ::CreateWindowExW(exStyle, WC_TREEVIEWW, nullptr, style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_Module.GetModuleInstance(),
                                 nullptr);
    if (!wnd) return nullptr;
    // In parentheses: windowsx.h has a macro of that name.
    if (!(this->SubclassWindow)(wnd)) {
      ::DestroyWindow(wnd);
      return nullptr;
    }
    return wnd;
  }

  HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
  HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
  HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
  HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
  HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
  HTREEITEM GetNextItem(HTREEITEM item, UINT code) const {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageW(this->m_hWnd, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
  }
  bool Expand(HTREEITEM item, UINT code) const {
    return ::SendMessageW(this->m_hWnd, TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)) != 0;
  }
  // Collapses a branch and deletes the items under it. When the first visible row lies under the
  // branch, the branch's own item becomes the first visible row beforehand: Wine's tree view lays
  // the rows out again from the first visible item after it has deleted it.
  bool CollapseReset(HTREEITEM item) const {
    const HTREEITEM first = GetFirstVisibleItem();
    for (HTREEITEM up = first ? GetParentItem(first) : nullptr; up; up = GetParentItem(up)) {
      if (up != item) continue;
      SelectItem(item, TVGN_FIRSTVISIBLE);
      break;
    }
    return Expand(item, TVE_COLLAPSE | TVE_COLLAPSERESET);
  }
  bool SelectItem(HTREEITEM item, UINT code = TVGN_CARET) const {
    return ::SendMessageW(this->m_hWnd, TVM_SELECTITEM, code, reinterpret_cast<LPARAM>(item)) != 0;
  }
  UINT GetItemState(HTREEITEM item, UINT mask) const {
    return static_cast<UINT>(::SendMessageW(this->m_hWnd, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask));
  }
  void SetItemState(HTREEITEM item, UINT state, UINT mask) const {
    TVITEMW tvi{};
    tvi.mask = TVIF_STATE;
    tvi.hItem = item;
    tvi.state = state;
    tvi.stateMask = mask;
    ::SendMessageW(this->m_hWnd, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
  }
  LPARAM GetItemData(HTREEITEM item) const {
    TVITEMW tvi{};
    tvi.mask = TVIF_PARAM;
    tvi.hItem = item;
    if (!item || !::SendMessageW(this->m_hWnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi))) return 0;
    return tvi.lParam;
  }
  void EnsureVisible(HTREEITEM item) const {
    ::SendMessageW(this->m_hWnd, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  }
  bool DeleteItem(HTREEITEM item) const {
    return ::SendMessageW(this->m_hWnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)) != 0;
  }
  void DeleteAllItems() const { DeleteItem(TVI_ROOT); }
};

}  // namespace orv
