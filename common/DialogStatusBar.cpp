#include "common/DialogStatusBar.h"

#include <commctrl.h>

#include "framework/AppModule.h"
#include "framework/FrameWindowImpl.h"

static_assert(kDialogStatusBarStyle == (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SBARS_TOOLTIPS));

HWND CreateDialogStatusBar(HWND dialog) {
  HWND bar = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, kDialogStatusBarStyle, 0, 0, 0, 0, dialog,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(orv::kIdStatusBar)),
                               orv::g_Module.GetModuleInstance(), nullptr);
  if (!bar) return nullptr;
  RECT barRect{}, window{};
  ::GetWindowRect(bar, &barRect);
  ::GetWindowRect(dialog, &window);
  ::SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left,
                 window.bottom - window.top + (barRect.bottom - barRect.top),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(bar, WM_SIZE, 0, 0);
  return bar;
}
