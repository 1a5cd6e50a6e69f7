// CSearchFilterPageImpl<T>: what the three pages of the search filter sheet share: the sheet's
// filter record they edit (their apply handlers write their own fields into it), their item in
// the sheet's page tree, and the tree mark, the item drawn bold while the page's part of the
// filter has content (T::PartHasContent). A page whose window does not exist yet stays
// unmarked. Main thread only; the pages live as members of their sheet for one modal run.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "common/CHelpPropertyPage.h"
#include "search/SearchFilter.h"

template <typename T>
class CSearchFilterPageImpl : public CHelpPropertyPage<T> {
public:
  explicit CSearchFilterPageImpl(SearchFilter* filter) noexcept : filter_(filter) {}

  void SetTreeItem(HWND tree, HTREEITEM item) {
    tree_ = tree;
    item_ = item;
    RefreshTreeMark();
  }

  void RefreshTreeMark() {
    if (!this->m_hWnd || !tree_ || !item_) return;
    TVITEMW tvi{};
    tvi.mask = TVIF_HANDLE | TVIF_STATE;
    tvi.hItem = item_;
    tvi.stateMask = TVIS_BOLD;
    tvi.state = static_cast<T*>(this)->PartHasContent() ? TVIS_BOLD : 0;
    ::SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
  }

  bool IsTreeMarked() const {
    if (!tree_ || !item_) return false;
    return (::SendMessageW(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_BOLD) & TVIS_BOLD) != 0;
  }

protected:
  SearchFilter* filter_;

private:
  HWND tree_ = nullptr;
  HTREEITEM item_ = nullptr;
};
