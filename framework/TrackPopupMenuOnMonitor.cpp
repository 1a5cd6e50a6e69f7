#include "framework/TrackPopupMenuOnMonitor.h"

#include <algorithm>

#include "framework/MenuPictures.h"

namespace orv {

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
  const POINT at = ClampPointToMonitor(pt);
  TPMPARAMS params{sizeof(params), {}};
  if (exclude) params.rcExclude = *exclude;
  return ::TrackPopupMenuEx(menu, flags, at.x, at.y, owner, exclude ? &params : nullptr);
}

}  // namespace orv
