#include "common/StatusProgressBar.h"

#include <commctrl.h>

#include <algorithm>

namespace {
constexpr int kStatusParts = 5;
constexpr int kInsetX = 12;
constexpr int kInsetY = 6;
}  // namespace

StatusProgressBar::StatusProgressBar(HWND statusBar) : parent_(statusBar) {
  if (!parent_) return;
  ::GetClientRect(parent_, &rect_);
  rect_.left += (kStatusParts - 1) * (rect_.right - rect_.left) / kStatusParts;
  ::InflateRect(&rect_, -kInsetX, -kInsetY);
}

StatusProgressBar::~StatusProgressBar() { Destroy(); }

void StatusProgressBar::Create(int count) {
  if (!parent_ || !::IsWindow(parent_) || count <= 0) return;
  if (!bar_) {
    bar_ = ::CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, rect_.left, rect_.top,
                             std::max<int>(rect_.right - rect_.left, 1), std::max<int>(rect_.bottom - rect_.top, 1),
                             parent_, nullptr, reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent_, GWLP_HINSTANCE)),
                             nullptr);
    if (!bar_) return;
  }
  maximum_ = count;
  position_ = 0;
  shownPixels_ = 0;
  width_ = std::max<int>(rect_.right - rect_.left, 1);
  ::SendMessageW(bar_, PBM_SETRANGE32, 0, count);
  ::SendMessageW(bar_, PBM_SETSTEP, 1, 0);
  ::SendMessageW(bar_, PBM_SETPOS, 0, 0);
}

void StatusProgressBar::Step(bool eatOneMessage) {
  if (bar_ && position_ < maximum_) {
    ++position_;
    // The bar repaints at every move: it is moved only when its filled part grows by a pixel,
    // not once per font of a list of thousands.
    const int pixels = ::MulDiv(position_, width_, maximum_);
    if (pixels != shownPixels_ || position_ == maximum_) {
      shownPixels_ = pixels;
      ::SendMessageW(bar_, PBM_SETPOS, position_, 0);
    }
  }
  if (eatOneMessage) {
    // Input only: a command, timer or quit posted to the program during the work must survive it.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT);
  }
}

void StatusProgressBar::Destroy() {
  if (!bar_) return;
  if (parent_ && ::IsWindow(parent_)) {
    RECT rect{};
    ::GetWindowRect(bar_, &rect);
    ::MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&rect), 2);
    ::InvalidateRect(parent_, &rect, TRUE);
  }
  ::DestroyWindow(bar_);
  bar_ = nullptr;
  maximum_ = position_ = 0;
}
