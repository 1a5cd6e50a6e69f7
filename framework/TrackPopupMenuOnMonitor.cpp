#include "framework/TrackPopupMenuOnMonitor.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/MenuPictures.h"

namespace orv {

namespace {

constexpr UINT_PTR kMenuPictureSubclass = 0x4F4D5043;  // the owner's subclass while a menu is open

LRESULT CALLBACK MenuPictureOwnerProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  LRESULT result = 0;
  if (HandleMenuPictureMessage(message, wParam, lParam, result)) return result;
  return ::DefSubclassProc(wnd, message, wParam, lParam);
}

}  // namespace

POINT ClampPointToMonitor(POINT pt) {
  MONITORINFO mi{sizeof(mi)};
  if (!::GetMonitorInfoW(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &mi)) return pt;
  const RECT& work = mi.rcWork;
  if (work.right <= work.left || work.bottom <= work.top) return pt;
  return POINT{std::clamp(pt.x, work.left, work.right - 1), std::clamp(pt.y, work.top, work.bottom - 1)};
}

BOOL TrackPopupMenuOnMonitor(HMENU menu, UINT flags, POINT pt, HWND owner, const RECT* exclude) {
  if (!menu) return FALSE;
  ArrangeMenuPictures(menu);
  // The owner draws the pictures while the menu is open, those of submenus arranged before too
  // (TPM_RETURNCMD or not, it is the window the menu sends WM_MEASUREITEM and WM_DRAWITEM to).
  const bool subclassed = owner && ::SetWindowSubclass(owner, &MenuPictureOwnerProc, kMenuPictureSubclass, 0);
  const POINT at = ClampPointToMonitor(pt);
  TPMPARAMS params{sizeof(params), {}};
  if (exclude) params.rcExclude = *exclude;
  const BOOL result = ::TrackPopupMenuEx(menu, flags, at.x, at.y, owner, exclude ? &params : nullptr);
  if (subclassed && ::IsWindow(owner)) ::RemoveWindowSubclass(owner, &MenuPictureOwnerProc, kMenuPictureSubclass);
  return result;
}

}  // namespace orv
