#include "framework/DialogResize.h"

#include <algorithm>

namespace orv {

void CDialogResize::DlgResizeInit(HWND dialog, const DlgResizeRule* rules, size_t count) {
  dialog_ = dialog;
  RECT client{};
  ::GetClientRect(dialog, &client);
  minClient_ = SIZE{client.right, client.bottom};
  items_.clear();
  for (size_t i = 0; i < count; ++i) {
    HWND ctl = ::GetDlgItem(dialog, rules[i].controlId);
    if (!ctl) continue;
    RECT rc{};
    ::GetWindowRect(ctl, &rc);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
    items_.push_back(Item{rules[i].controlId, rules[i].flags, rc});
  }
}

SIZE CDialogResize::MinWindowSize() const {
  RECT rc{0, 0, minClient_.cx, minClient_.cy};
  if (dialog_) {
    ::AdjustWindowRectEx(&rc, static_cast<DWORD>(::GetWindowLongPtrW(dialog_, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(dialog_, GWL_EXSTYLE)));
  }
  return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

void CDialogResize::DlgResizeUpdateLayout(int cx, int cy) {
  if (!dialog_ || items_.empty()) return;
  const int dx = std::max(0, cx - static_cast<int>(minClient_.cx));
  const int dy = std::max(0, cy - static_cast<int>(minClient_.cy));
  HDWP batch = ::BeginDeferWindowPos(static_cast<int>(items_.size()));
  for (const Item& item : items_) {
    HWND ctl = ::GetDlgItem(dialog_, item.controlId);
    if (!ctl) continue;
    RECT rc = item.initial;
    if (item.flags & DLSZ_MOVE_X) ::OffsetRect(&rc, dx, 0);
    if (item.flags & DLSZ_MOVE_Y) ::OffsetRect(&rc, 0, dy);
    if (item.flags & DLSZ_SIZE_X) rc.right += dx;
    if (item.flags & DLSZ_SIZE_Y) rc.bottom += dy;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (batch) {
      batch = ::DeferWindowPos(batch, ctl, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, flags);
    } else {
      ::SetWindowPos(ctl, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, flags);
    }
  }
  if (batch) ::EndDeferWindowPos(batch);
  ::InvalidateRect(dialog_, nullptr, TRUE);
}

LRESULT CDialogResize::OnResizeSize(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  handled = FALSE;
  if (wParam != SIZE_MINIMIZED) DlgResizeUpdateLayout(LOWORD(lParam), HIWORD(lParam));
  return 0;
}

LRESULT CDialogResize::OnResizeGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  if (!dialog_) {
    handled = FALSE;
    return 0;
  }
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  const SIZE min = MinWindowSize();
  info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, min.cx);
  info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, min.cy);
  return 0;
}

}  // namespace orv
