#include "common/StatusProgressBar.h"

#include <commctrl.h>

#include "framework/AppModule.h"

namespace {
constexpr int kInsetX = 12;
constexpr int kInsetY = 6;
}  // namespace

StatusProgressBar::StatusProgressBar(HWND statusBar) : parent_(statusBar) {
  if (!parent_ || !::IsWindow(parent_)) return;
  ::GetClientRect(parent_, &rect_);
  const int width = rect_.right - rect_.left;
  rect_.left += (kStatusParts - 1) * width / kStatusParts;
  ::InflateRect(&rect_, -kInsetX, -kInsetY);
}

void StatusProgressBar::Create(int count) {
  if (!parent_ || !::IsWindow(parent_) || count <= 0) return;
  if (!bar_) {
    bar_ = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, rect_.left, rect_.top,
                             rect_.right - rect_.left, rect_.bottom - rect_.top, parent_, nullptr,
                             orv::g_Module.GetModuleInstance(), nullptr);
    if (!bar_) return;
  }
  maximum_ = count;
  ::SendMessageW(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, static_cast<WORD>(count)));
  ::SendMessageW(bar_, PBM_SETSTEP, 1, 0);
  ::SendMessageW(bar_, PBM_SETPOS, 0, 0);
}

void StatusProgressBar::Step() {
  if (bar_ && ::IsWindow(bar_) && static_cast<int>(::SendMessageW(bar_, PBM_GETPOS, 0, 0)) < maximum_)
    ::SendMessageW(bar_, PBM_STEPIT, 0, 0);
  // Input only: a command, timer or quit posted to the program during the work must survive it.
  MSG msg;
  ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT);
}

void StatusProgressBar::Destroy() {
  if (!bar_) return;
  if (parent_ && ::IsWindow(parent_)) {
    RECT rc{};
    ::GetWindowRect(bar_, &rc);
    ::MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&rc), 2);
    ::InvalidateRect(parent_, &rc, TRUE);
  }
  ::DestroyWindow(bar_);
  bar_ = nullptr;
}
