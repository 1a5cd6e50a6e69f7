#include "lists/FontListParent.h"

#include <algorithm>

#include "lists/COrvelListView.h"

bool IsSelectionChangeNotice(UINT msg, LPARAM lParam) {
  if (msg != WM_NOTIFY || !lParam) return false;
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->code == LVN_ODSTATECHANGED) return true;
  if (header->code != LVN_ITEMCHANGED) return false;
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
  return (change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED);
}

bool HandleFontListParentMessage(const COrvelListView& list, UINT msg, WPARAM wParam, LPARAM lParam,
                                 LRESULT& result) {
  if (!list.m_hWnd) return false;
  switch (msg) {
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (static_cast<int>(measure->CtlID) != ::GetDlgCtrlID(list.m_hWnd)) return false;
      measure->itemHeight = std::max(list.RowHeight(), 1);
      result = TRUE;
      return true;
    }
    case WM_DRAWITEM:
      if (reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem != list.m_hWnd) return false;
      break;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lParam)->hwndFrom != list.m_hWnd) return false;
      break;
    default:
      return false;
  }
  result = ::SendMessageW(list.m_hWnd, orv::kReflectBase + msg, wParam, lParam);
  return true;
}
