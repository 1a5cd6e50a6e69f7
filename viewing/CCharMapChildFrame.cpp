#include "viewing/CCharMapChildFrame.h"

#include <algorithm>

#include "common/ResString.h"

CCharMapChildFrame::CCharMapChildFrame(const FontItem& font, bool installed, HWND statusBar, HICON icon)
    : CToolFrameChildImpl(icon), view_(font, installed, statusBar) {}

std::wstring CCharMapChildFrame::BuildCaption(const FontItem& font) {
  using namespace font_flags;
  if (!font.HasFlag(kUnreadable | kOtherVersion | kOtherType)) return font.FullName();
  std::wstring caption = LoadResString(IDS_NOT_THE_INSTALLED_FONT);
  if (font.HasFlag(kGdiOnly | kNamesakeGdiOnly)) caption += L" (Temp.)";
  return caption + L" - " + font.FullName();
}

LRESULT CCharMapChildFrame::OnCreate(CREATESTRUCTW*) {
  if (!view_.Create(m_hWnd)) return -1;
  m_hWndClient = view_.m_hWnd;
  view_.ShowWindow(SW_SHOW);
  // Big enough for the view at its template size.
  const SIZE size = MinWindowSize();
  SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateLayout();
  TakeOwnership();
  return 0;
}

SIZE CCharMapChildFrame::MinWindowSize() const {
  const SIZE view = view_.MinClientSize();
  RECT rc{0, 0, view.cx, view.cy};
  ::AdjustWindowRectEx(&rc, GetStyle(), FALSE, GetExStyle());
  return SIZE{rc.right - rc.left + 2 * ::GetSystemMetrics(SM_CXEDGE),
              rc.bottom - rc.top + 2 * ::GetSystemMetrics(SM_CYEDGE)};
}

void CCharMapChildFrame::OnGetMinMaxInfo(MINMAXINFO* info) {
  DefWindowProc();
  SIZE min = MinWindowSize();
  // Maximised, the child has the MDI client's room and no more, also when a small screen keeps
  // the frame smaller than the whole view: the view's grid gets shorter, the rest stays in sight.
  if (IsZoomed()) {
    RECT room{};
    ::GetClientRect(GetParent(), &room);
    ::AdjustWindowRectEx(&room, GetStyle(), FALSE, GetExStyle());
    min.cx = std::min<LONG>(min.cx, room.right - room.left);
    min.cy = std::min<LONG>(min.cy, room.bottom - room.top);
  }
  info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, min.cx);
  info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, min.cy);
}

LRESULT CCharMapChildFrame::OnForwardMsg(UINT, WPARAM, LPARAM lParam, BOOL&) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (!msg || !view_.IsWindow()) return FALSE;
  if (msg->message == WM_MOUSEWHEEL) {
    if (::GetActiveWindow() != ::GetAncestor(m_hWnd, GA_ROOT)) return FALSE;
    view_.Grid().SendMessage(WM_MOUSEWHEEL, msg->wParam, msg->lParam);
    return TRUE;
  }
  return view_.IsDialogMessage(msg);
}
