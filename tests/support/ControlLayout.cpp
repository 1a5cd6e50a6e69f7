#include "tests/support/ControlLayout.h"

#include <commctrl.h>

#include "common/StringHelpers.h"
#include "framework/Handles.h"
#include "framework/Window.h"

namespace testing_support {

std::vector<HWND> VisibleChildren(HWND parent) {
  std::vector<HWND> shown;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    if (::IsWindowVisible(child)) shown.push_back(child);
  return shown;
}

RECT ShownRect(HWND child) {
  RECT rc = orv::RectInParent(child);
  HWND combo = reinterpret_cast<HWND>(::SendMessageW(child, CBEM_GETCOMBOCONTROL, 0, 0));
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  // The closed part: the drop button's height and its margins above and below.
  if (::GetComboBoxInfo(combo ? combo : child, &info)) rc.bottom = rc.top + info.rcButton.bottom + info.rcButton.top;
  return rc;
}

bool LiesInside(HWND child, const RECT& area) {
  const RECT rc = ShownRect(child);
  if (::IsRectEmpty(&rc)) return true;
  RECT inside{};
  ::IntersectRect(&inside, &rc, &area);
  return ::EqualRect(&inside, &rc) != FALSE;
}

bool ShowsWholeText(HWND control) {
  wchar_t cls[32] = {};
  ::GetClassNameW(control, cls, 32);
  wchar_t text[256] = {};
  ::InternalGetWindowText(control, text, 256);
  const LONG style = ::GetWindowLongW(control, GWL_STYLE);
  const bool isStatic = EqualsNoCase(cls, WC_STATICW) && (style & SS_TYPEMASK) <= SS_RIGHT;
  const bool isButton = EqualsNoCase(cls, WC_BUTTONW) && (style & BS_TYPEMASK) != BS_GROUPBOX;
  if (!text[0] || (!isStatic && !isButton)) return true;
  RECT client{};
  ::GetClientRect(control, &client);
  orv::ScopedGetDC dc(control);
  orv::ScopedSelectObject font(dc.Get(), reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT need = client;
  if (isStatic) {
    // A label that ends its text with an ellipsis by its style shows what it can, by design.
    if (style & SS_ELLIPSISMASK) return true;
    const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    ::DrawTextW(dc.Get(), text, -1, &need, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | prefix);
    return need.bottom <= client.bottom && need.right <= client.right;
  }
  const LONG type = style & BS_TYPEMASK;
  const bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
  // A push button draws its text inside its edges; a box or a radio button beside its mark.
  const int edges = ::GetSystemMetrics(SM_CXEDGE) * 2;
  const int mark = push ? edges : ::GetSystemMetrics(SM_CXMENUCHECK) + edges;
  if (style & BS_MULTILINE) {
    need.right = client.right - mark;
    ::DrawTextW(dc.Get(), text, -1, &need, DT_CALCRECT | DT_WORDBREAK);
    return need.right - need.left + mark <= client.right && need.bottom <= client.bottom;
  }
  ::DrawTextW(dc.Get(), text, -1, &need, DT_CALCRECT | DT_SINGLELINE);
  return need.right - need.left + mark <= client.right;
}

}  // namespace testing_support
