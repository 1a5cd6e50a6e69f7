#include "common/ClampRectToVirtualScreen.h"

#include <algorithm>

void ClampRectToArea(RECT& rc, int vx, int vy, int vw, int vh) {
  rc.right = std::min<LONG>(rc.right, rc.left + vw);
  rc.bottom = std::min<LONG>(rc.bottom, rc.top + vh);
  LONG dy = 0;
  if (rc.top < vy) dy = vy - rc.top;
  else if (rc.bottom > vy + vh) dy = vy + vh - rc.bottom;
  LONG dx = 0;
  if (rc.left < vx) dx = vx - rc.left;
  else if (rc.right > vx + vw) dx = vx + vw - rc.right;
  ::OffsetRect(&rc, dx, dy);
}

void ClampRectToVirtualScreen(RECT& rc) {
  ClampRectToArea(rc, ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                  ::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
}
