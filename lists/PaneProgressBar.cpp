#include "lists/PaneProgressBar.h"

#include <commctrl.h>

#include <algorithm>

#include "app/AppState.h"
#include "framework/Window.h"

void PaneProgressBar::Create(HWND tree, int range) {
  Destroy();
  HWND parent = tree ? ::GetParent(tree) : nullptr;
  if (!parent || range <= 0) return;
  RECT rect{};
  ::GetClientRect(parent, &rect);
  const int height = g_AppState.FontListsCaptionHeight;
  if (height != 4 && height > 0) rect.bottom = height - 4;
  rect.right = rect.left + (rect.right - rect.left) / 2;
  ::InflateRect(&rect, -12, -6);
  if (rect.bottom <= rect.top) rect.bottom = rect.top + 8;
  bar_ = ::CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, nullptr, nullptr);
  if (!bar_) return;
  range_ = range;
  position_ = 0;
  filled_ = 0;
  moved_ = 0;
  RECT client{};
  ::GetClientRect(bar_, &client);
  width_ = std::max<int>(client.right - client.left, 1);
  ::SendMessageW(bar_, PBM_SETRANGE32, 0, range);
  ::SendMessageW(bar_, PBM_SETSTEP, 1, 0);
  ::SendMessageW(bar_, PBM_SETPOS, 0, 0);
}

void PaneProgressBar::Step() {
  if (!bar_ || position_ >= range_) return;
  ++position_;
  const int filled = ::MulDiv(position_, width_, range_);
  const bool last = position_ >= range_;
  if (filled == filled_ && !last) return;
  const ULONGLONG now = ::GetTickCount64();
  if (!last && moved_ != 0 && now - moved_ < kMoveInterval) return;
  moved_ = now;
  filled_ = filled;
  ::SendMessageW(bar_, PBM_SETPOS, position_, 0);
}

void PaneProgressBar::Destroy() {
  if (!bar_) return;
  HWND parent = ::GetParent(bar_);
  const RECT rect = orv::RectInParent(bar_);
  ::DestroyWindow(bar_);
  bar_ = nullptr;
  ::InvalidateRect(parent, &rect, TRUE);
  ::UpdateWindow(parent);
}
