#include "framework/SplitterWindow.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/Handles.h"

namespace orv {

int CSplitterWindowBase::Extent() const {
  return vertical_ ? rect_.right - rect_.left : rect_.bottom - rect_.top;
}

int CSplitterWindowBase::Clamp(int pos) const {
  const int room = Extent() - bar_ - minPane_[1];
  if (room < minPane_[0]) return std::max(0, (Extent() - bar_) / 2);
  return std::clamp(pos, minPane_[0], room);
}

void CSplitterWindowBase::SetMinPaneSizes(int first, int second) {
  minPane_[0] = std::max(0, first);
  minPane_[1] = std::max(0, second);
}

int CSplitterWindowBase::EffectivePos() const {
  if (Extent() <= bar_) return pos_ < 0 ? 0 : pos_;
  return Clamp(pos_ < 0 ? (Extent() - bar_) / 2 : pos_);
}

int CSplitterWindowBase::GetSplitterPos() const {
  if (!sized_ || Extent() <= bar_) return pos_;
  return EffectivePos();
}

void CSplitterWindowBase::SetSplitterPanes(HWND first, HWND second, bool update) {
  panes_[0] = first;
  panes_[1] = second;
  if (update) UpdateSplitterLayout();
}

bool CSplitterWindowBase::SetSplitterPane(int pane, HWND wnd, bool update) {
  if (pane != 0 && pane != 1) return false;
  panes_[pane] = wnd;
  if (update) UpdateSplitterLayout();
  return true;
}

HWND CSplitterWindowBase::GetSplitterPane(int pane) const {
  return pane == 0 || pane == 1 ? panes_[pane] : nullptr;
}

bool CSplitterWindowBase::SetSplitterPos(int pos, bool update) {
  pos_ = pos < 0 ? -1 : pos;
  if (update) UpdateSplitterLayout();
  return true;
}

bool CSplitterWindowBase::SetSinglePaneMode(int mode) {
  if (mode != SPLIT_PANE_NONE && mode != 0 && mode != 1) return false;
  if (mode == singlePane_) return true;
  if (mode != SPLIT_PANE_NONE) {
    HWND hidden = panes_[1 - mode];
    HWND focus = ::GetFocus();
    if (hidden && focus && (focus == hidden || ::IsChild(hidden, focus)) && panes_[mode]) ::SetFocus(panes_[mode]);
  }
  singlePane_ = mode;
  UpdateSplitterLayout();
  return true;
}

DWORD CSplitterWindowBase::SetSplitterExtendedStyle(DWORD exStyle, DWORD mask) {
  const DWORD old = exStyle_;
  exStyle_ = mask == 0 ? exStyle : ((exStyle_ & ~mask) | (exStyle & mask));
  return old;
}

void CSplitterWindowBase::SetSplitterBarWidth(int width) {
  bar_ = width > 0 ? width : 0;
  UpdateSplitterLayout();
}

void CSplitterWindowBase::SetSplitterRect(const RECT* rc, bool update) {
  RECT next{};
  if (rc) next = *rc;
  else if (m_hWnd) ::GetClientRect(m_hWnd, &next);
  const int oldExtent = Extent();
  const bool hadSize = sized_ && oldExtent > bar_;
  // Where the bar was in the old size: a stored position beyond the panes' room counts as the
  // position the bar was shown at.
  const int oldPos = hadSize && pos_ >= 0 ? EffectivePos() : pos_;
  rect_ = next;
  const int newExtent = Extent();
  if (newExtent > bar_) {
    // An explicit position follows the resize as the style asks; the default one stays centred.
    if (hadSize && pos_ >= 0 && newExtent != oldExtent) {
      if (exStyle_ & SPLIT_PROPORTIONAL) {
        const int oldRoom = oldExtent - bar_;
        pos_ = static_cast<int>(static_cast<long long>(std::min(oldPos, oldRoom)) * (newExtent - bar_) / oldRoom);
      } else if (exStyle_ & SPLIT_RIGHTALIGNED) {
        pos_ = std::max(0, oldPos + (newExtent - oldExtent));
      }
    }
    sized_ = true;
  }
  if (update) UpdateSplitterLayout();
}

bool CSplitterWindowBase::GetSplitterBarRect(RECT* rc) const {
  if (!rc || singlePane_ != SPLIT_PANE_NONE || Extent() <= 0) return false;
  const int pos = EffectivePos();
  *rc = rect_;
  if (vertical_) {
    rc->left = rect_.left + pos;
    rc->right = rc->left + bar_;
  } else {
    rc->top = rect_.top + pos;
    rc->bottom = rc->top + bar_;
  }
  return true;
}

bool CSplitterWindowBase::IsOverSplitterBar(int x, int y) const {
  RECT bar{};
  if (!GetSplitterBarRect(&bar)) return false;
  const POINT pt{x, y};
  return ::PtInRect(&bar, pt) != FALSE;
}

void CSplitterWindowBase::SetActivePane(int pane) {
  if (pane != 0 && pane != 1) return;
  if (singlePane_ != SPLIT_PANE_NONE && pane != singlePane_) return;
  if (panes_[pane]) ::SetFocus(panes_[pane]);
  activePane_ = pane;
}

int CSplitterWindowBase::GetActivePane() const {
  HWND focus = ::GetFocus();
  for (int i = 0; i < 2; ++i)
    if (panes_[i] && focus && (focus == panes_[i] || ::IsChild(panes_[i], focus))) return i;
  return SPLIT_PANE_NONE;
}

void CSplitterWindowBase::UpdateSplitterLayout() {
  if (!m_hWnd) return;
  RECT paneRects[2] = {rect_, rect_};
  bool shown[2] = {true, true};
  if (singlePane_ != SPLIT_PANE_NONE) {
    shown[1 - singlePane_] = false;
  } else {
    const int pos = EffectivePos();
    if (vertical_) {
      paneRects[0].right = rect_.left + pos;
      paneRects[1].left = rect_.left + pos + bar_;
    } else {
      paneRects[0].bottom = rect_.top + pos;
      paneRects[1].top = rect_.top + pos + bar_;
    }
    for (RECT& r : paneRects) {
      if (r.right < r.left) r.right = r.left;
      if (r.bottom < r.top) r.bottom = r.top;
    }
  }
  for (int i = 0; i < 2; ++i) {
    if (!panes_[i]) continue;
    if (shown[i]) {
      const RECT& r = paneRects[i];
      ::SetWindowPos(panes_[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else {
      ::ShowWindow(panes_[i], SW_HIDE);
    }
  }
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CSplitterWindowBase::DrawSplitter(HDC dc) const {
  RECT bar{};
  if (GetSplitterBarRect(&bar)) ::FillRect(dc, &bar, ::GetSysColorBrush(COLOR_3DFACE));
  // A missing pane leaves an empty area: paint it like an empty workspace.
  for (int i = 0; i < 2; ++i) {
    if (panes_[i]) continue;
    if (singlePane_ != SPLIT_PANE_NONE && singlePane_ != i) continue;
    RECT r = rect_;
    if (singlePane_ == SPLIT_PANE_NONE) {
      const int pos = EffectivePos();
      if (vertical_) (i == 0 ? r.right : r.left) = rect_.left + pos + (i == 0 ? 0 : bar_);
      else (i == 0 ? r.bottom : r.top) = rect_.top + pos + (i == 0 ? 0 : bar_);
    }
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_APPWORKSPACE));
  }
}

LRESULT CSplitterWindowBase::OnSplitterSize(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != SIZE_MINIMIZED) SetSplitterRect(nullptr, true);
  handled = FALSE;
  return 0;
}

LRESULT CSplitterWindowBase::OnSplitterPaint(UINT msg, WPARAM wParam, LPARAM, BOOL&) {
  if (msg == WM_PRINTCLIENT || wParam) {
    DrawSplitter(reinterpret_cast<HDC>(wParam));
  } else {
    ScopedPaint paint(m_hWnd);
    DrawSplitter(paint.Get());
  }
  return 0;
}

LRESULT CSplitterWindowBase::OnSplitterEraseBackground(UINT, WPARAM, LPARAM, BOOL&) {
  return 1;  // the bar and any empty pane area are painted in WM_PAINT; panes paint themselves
}

LRESULT CSplitterWindowBase::OnSplitterSetCursor(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  if (reinterpret_cast<HWND>(wParam) == m_hWnd && LOWORD(lParam) == HTCLIENT && !(exStyle_ & SPLIT_NONINTERACTIVE)) {
    POINT pt{};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    if (IsOverSplitterBar(pt.x, pt.y) && cursor_) {
      ::SetCursor(cursor_);
      return TRUE;
    }
  }
  handled = FALSE;
  return 0;
}

LRESULT CSplitterWindowBase::OnSplitterMouseMove(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  if (!dragging_ || ::GetCapture() != m_hWnd) {
    handled = FALSE;
    return 0;
  }
  const int mouse = vertical_ ? GET_X_LPARAM(lParam) - rect_.left : GET_Y_LPARAM(lParam) - rect_.top;
  const int next = Clamp(mouse - dragOffset_);
  if (next != EffectivePos()) {
    pos_ = next;
    UpdateSplitterLayout();
    ::UpdateWindow(m_hWnd);
  }
  return 0;
}

LRESULT CSplitterWindowBase::OnSplitterLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  if ((exStyle_ & SPLIT_NONINTERACTIVE) || !IsOverSplitterBar(x, y)) {
    handled = FALSE;
    return 0;
  }
  dragging_ = true;
  dragOffset_ = (vertical_ ? x - rect_.left : y - rect_.top) - EffectivePos();
  ::SetCapture(m_hWnd);
  if (cursor_) ::SetCursor(cursor_);
  return 0;
}

LRESULT CSplitterWindowBase::OnSplitterLButtonUp(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (!dragging_) {
    handled = FALSE;
    return 0;
  }
  dragging_ = false;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  return 0;
}

LRESULT CSplitterWindowBase::OnSplitterLButtonDoubleClick(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  if ((exStyle_ & SPLIT_NONINTERACTIVE) || !IsOverSplitterBar(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
    handled = FALSE;
    return 0;
  }
  SetSplitterPos(-1);
  return 0;
}

LRESULT CSplitterWindowBase::OnSplitterCaptureChanged(UINT, WPARAM, LPARAM, BOOL& handled) {
  dragging_ = false;
  handled = FALSE;
  return 0;
}

LRESULT CSplitterWindowBase::OnSplitterSetFocus(UINT, WPARAM, LPARAM, BOOL&) {
  int pane = activePane_;
  if (singlePane_ != SPLIT_PANE_NONE) pane = singlePane_;
  if (pane != 0 && pane != 1) pane = panes_[0] ? 0 : 1;
  if (panes_[pane]) ::SetFocus(panes_[pane]);
  return 0;
}

}  // namespace orv
