// The grid's mouse, keyboard and wheel handling and the placement of its zoom window.
#include "viewing/CCharMapGrid.h"

#include <richedit.h>

#include <algorithm>

namespace {

bool KeyDown(int key) { return ::GetKeyState(key) < 0; }

}  // namespace

POINT CCharMapGrid::PointerInClient() const {
  POINT pt{};
  ::GetCursorPos(&pt);
  ::ScreenToClient(m_hWnd, &pt);
  return pt;
}

void CCharMapGrid::OnMouseMove(UINT, POINT pt) {
  if (cell_ <= 0) return;
  if (trackArmed_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    ::TrackMouseEvent(&track);
    trackArmed_ = false;
    dropChar_ = hoverChar_ = 0;
    FocusIfActive();
  }
  const uint32_t before = hoverChar_;
  ShowCharAt(pt);
  if (zoomShown_ && hoverChar_ != 0 && hoverChar_ != before) PlaceZoom(pt);
}

LRESULT CCharMapGrid::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
  if (!dragging_) ResetHover(true);
  return 0;
}

void CCharMapGrid::HitTestAtPointer() {
  const POINT pt = PointerInClient();
  const uint32_t before = hoverChar_;
  ShowCharAt(pt);
  if (zoomShown_ && hoverChar_ != 0 && hoverChar_ != before) PlaceZoom(pt);
}

void CCharMapGrid::OnLButtonDown(UINT keys, POINT pt) { StartCharDrag(keys, pt); }

void CCharMapGrid::OnLButtonDblClk(UINT, POINT) {
  if (cell_ <= 0 || !font_.installed || dropChar_ == 0 || !composeBox_) return;
  const std::wstring text = CodePointText(dropChar_);
  SETTEXTEX how{ST_SELECTION, 1200};
  ::SendMessageW(composeBox_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(text.c_str()));
}

void CCharMapGrid::OnRButtonDown(UINT, POINT pt) {
  if (hoverChar_ != 0) ToggleZoom(pt);
}

void CCharMapGrid::ChangeZoomFactor(int step, POINT client) {
  zoomFactor_ = std::clamp(zoomFactor_ + step, kZoomFactorMin, kZoomFactorMax);
  PlaceZoom(client);
}

void CCharMapGrid::OnKeyDown(UINT key, UINT, UINT flags) {
  const bool ctrl = KeyDown(VK_CONTROL), shift = KeyDown(VK_SHIFT), alt = KeyDown(VK_MENU);
  if (zoomShown_ && ctrl && !shift && !alt && (key == VK_UP || key == VK_DOWN)) {
    ChangeZoomFactor(key == VK_UP ? 1 : -1, PointerInClient());
    return;
  }
  if (zoomShown_ && key == VK_SPACE) {
    zoomAlpha_ = zoomAlpha_ == kZoomAlphaOpaque ? kZoomAlphaDefault : kZoomAlphaOpaque;
    ::SetLayeredWindowAttributes(zoomWnd_, 0, zoomAlpha_, LWA_ALPHA);
    zoomWnd_.Invalidate();
    return;
  }
  switch (key) {
    case VK_DOWN:
    case VK_UP:
      if (key == VK_DOWN) ScrollLineDown();
      else ScrollLineUp();
      HitTestAtPointer();
      break;
    case VK_SHIFT:
      // Once per press: a held Shift repeats its key-down.
      if (!(flags & KF_REPEAT)) ToggleZoom(PointerInClient());
      break;
    default:
      break;
  }
}

void CCharMapGrid::ScrollByKey(UINT key) {
  switch (key) {
    case VK_PRIOR: ScrollPageUp(); break;
    case VK_NEXT: ScrollPageDown(); break;
    case VK_HOME: ScrollTop(); break;
    case VK_END: ScrollBottom(); break;
    default: return;
  }
  HitTestAtPointer();
}

LRESULT CCharMapGrid::OnMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  const short delta = GET_WHEEL_DELTA_WPARAM(wParam);
  if ((GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) && zoomShown_) {
    ChangeZoomFactor(delta >= 1 ? 1 : -1, PointerInClient());
    return 0;
  }
  if (delta > kWheelDeltaLimit || delta < -kWheelDeltaLimit) {
    const short cut = static_cast<short>(delta > 0 ? kWheelDeltaLimit : -kWheelDeltaLimit);
    return SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(GET_KEYSTATE_WPARAM(wParam), cut), lParam);
  }
  const LRESULT result = OnScrollWheel(msg, wParam, lParam, handled);
  HitTestAtPointer();
  UpdateWindow();
  return result;
}

void CCharMapGrid::ToggleZoom(POINT pt) {
  if (!zoomWnd_.IsWindow()) return;
  if (zoomWnd_.IsWindowVisible() || hoverChar_ == 0) {
    zoomWnd_.ShowWindow(SW_HIDE);
    zoomWnd_.ModifyStyleEx(WS_EX_LAYERED, 0);
    zoomShown_ = false;
    return;
  }
  zoomWnd_.SetContent(CZoomCharWnd::Content{font_.installed, font_.fontPath, font_.logFont, cell_, hoverChar_});
  zoomShown_ = true;
  PlaceZoom(pt);
  zoomWnd_.ShowWindow(SW_SHOWNOACTIVATE);
  zoomWnd_.ModifyStyleEx(0, WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(zoomWnd_, 0, zoomAlpha_, LWA_ALPHA);
}

void CCharMapGrid::PlaceZoom(POINT pt) {
  if (hoverChar_ == 0 || cell_ <= 0) return;
  zoomWnd_.SetCodePoint(hoverChar_);
  RECT client{};
  GetClientRect(&client);
  if (::PtInRect(&client, pt)) {
    // The centre of the cell under the point.
    pt.x = cell_ / 2 + cell_ * ((pt.x / cell_) % kColumns);
    pt.y = cell_ / 2 + pt.y - ((GetScrollOffset().y % cell_) + pt.y) % cell_;
  }
  ::ClientToScreen(m_hWnd, &pt);
  const int side = zoomFactor_ * cell_;
  RECT rc{pt.x - side / 2, pt.y - side / 2, 0, 0};
  if (rc.left < 1) rc.left = 0;
  if (rc.top < 1) rc.top = 0;
  rc.right = rc.left + side - 1;
  rc.bottom = rc.top + side - 1;
  zoomWnd_.SetWindowPos(HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOACTIVATE);
  zoomWnd_.Invalidate();
}
