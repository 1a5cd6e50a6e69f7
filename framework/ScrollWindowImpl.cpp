#include "framework/ScrollWindowImpl.h"

#include <algorithm>

namespace orv {

namespace {
constexpr int kLineDivisor = 100;
constexpr int kWheelDelta = WHEEL_DELTA;
}  // namespace

POINT CScrollWindowBase::ClampOffset(POINT pt) const {
  const LONG maxX = std::max<LONG>(0, all_.cx - client_.cx);
  const LONG maxY = std::max<LONG>(0, all_.cy - client_.cy);
  return POINT{std::clamp<LONG>(pt.x, 0, maxX), std::clamp<LONG>(pt.y, 0, maxY)};
}

void CScrollWindowBase::SetScrollSize(int cx, int cy, bool redraw, bool resetOffset) {
  all_ = SIZE{std::max(cx, 0), std::max(cy, 0)};
  if (resetOffset) offset_ = POINT{};
  offset_ = ClampOffset(offset_);
  UpdateBars();
  if (redraw && m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CScrollWindowBase::SetScrollLine(int cx, int cy) { line_ = SIZE{std::max(cx, 0), std::max(cy, 0)}; }

SIZE CScrollWindowBase::GetScrollLine() const {
  return SIZE{line_.cx > 0 ? line_.cx : std::max<LONG>(1, all_.cx / kLineDivisor),
              line_.cy > 0 ? line_.cy : std::max<LONG>(1, all_.cy / kLineDivisor)};
}

void CScrollWindowBase::SetScrollPage(int cx, int cy) {
  page_ = SIZE{std::max(cx, 0), std::max(cy, 0)};
  UpdateBars();
}

SIZE CScrollWindowBase::GetScrollPage() const {
  return SIZE{page_.cx > 0 ? page_.cx : std::max<LONG>(1, client_.cx),
              page_.cy > 0 ? page_.cy : std::max<LONG>(1, client_.cy)};
}

void CScrollWindowBase::SetScrollOffset(int x, int y, bool redraw) {
  const POINT next = ClampOffset(POINT{x, y});
  const int dx = offset_.x - next.x, dy = offset_.y - next.y;
  offset_ = next;
  UpdateBars();
  if (m_hWnd && (dx || dy)) {
    if (redraw) ::ScrollWindowEx(m_hWnd, dx, dy, nullptr, nullptr, nullptr, nullptr,
                                 SW_INVALIDATE | SW_ERASE | SW_SCROLLCHILDREN);
    else ::InvalidateRect(m_hWnd, nullptr, TRUE);
  }
}

void CScrollWindowBase::ScrollBy(int bar, int delta) {
  if (bar == SB_VERT) SetScrollOffset(offset_.x, offset_.y + delta);
  else SetScrollOffset(offset_.x + delta, offset_.y);
}

void CScrollWindowBase::UpdateBars() {
  if (!m_hWnd) return;
  SCROLLINFO si{sizeof(si)};
  si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = all_.cx > 0 ? all_.cx - 1 : 0;
  si.nPage = static_cast<UINT>(client_.cx > 0 ? client_.cx : 0);
  si.nPos = offset_.x;
  // A window made with one bar only keeps it that way: setting the other would add it.
  const DWORD style = GetStyle();
  if (style & WS_HSCROLL) ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);
  si.nMax = all_.cy > 0 ? all_.cy - 1 : 0;
  si.nPage = static_cast<UINT>(client_.cy > 0 ? client_.cy : 0);
  si.nPos = offset_.y;
  if (style & WS_VSCROLL) ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
}

LRESULT CScrollWindowBase::OnScrollSize(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  handled = FALSE;
  if (wParam == SIZE_MINIMIZED) return 0;
  client_ = SIZE{LOWORD(lParam), HIWORD(lParam)};
  // Growing the window past the content's end pulls the content back into view.
  const POINT clamped = ClampOffset(offset_);
  if (clamped.x != offset_.x || clamped.y != offset_.y) SetScrollOffset(clamped.x, clamped.y);
  UpdateBars();
  return 0;
}

LRESULT CScrollWindowBase::OnScrollBar(UINT msg, WPARAM wParam, LPARAM, BOOL&) {
  const int bar = msg == WM_VSCROLL ? SB_VERT : SB_HORZ;
  const LONG line = bar == SB_VERT ? GetScrollLine().cy : GetScrollLine().cx;
  const LONG page = bar == SB_VERT ? GetScrollPage().cy : GetScrollPage().cx;
  const LONG current = bar == SB_VERT ? offset_.y : offset_.x;
  LONG next = current;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: next -= line; break;
    case SB_LINEDOWN: next += line; break;
    case SB_PAGEUP: next -= page; break;
    case SB_PAGEDOWN: next += page; break;
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = bar == SB_VERT ? all_.cy : all_.cx; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit track position; the message's own one is only 16 bits.
      SCROLLINFO si{sizeof(si)};
      si.fMask = SIF_TRACKPOS;
      next = ::GetScrollInfo(m_hWnd, bar, &si) ? si.nTrackPos : HIWORD(wParam);
      break;
    }
    default: return 0;
  }
  if (next != current) ScrollBy(bar, static_cast<int>(next - current));
  return 0;
}

LRESULT CScrollWindowBase::OnScrollWheel(UINT, WPARAM wParam, LPARAM, BOOL&) {
  UINT lines = 3;
  ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wParam);
  const int notches = wheelRemainder_ / kWheelDelta;
  wheelRemainder_ -= notches * kWheelDelta;
  if (notches == 0) return 0;
  const int bar = all_.cy > client_.cy ? SB_VERT : SB_HORZ;
  if (lines == WHEEL_PAGESCROLL) {
    const LONG page = bar == SB_VERT ? GetScrollPage().cy : GetScrollPage().cx;
    ScrollBy(bar, static_cast<int>(-notches * page));
  } else {
    const LONG line = bar == SB_VERT ? GetScrollLine().cy : GetScrollLine().cx;
    ScrollBy(bar, static_cast<int>(-notches * static_cast<LONG>(lines) * line));
  }
  return 0;
}

}  // namespace orv
