#include "viewing/CCharMapChildFrame.h"

#include <algorithm>

#include "common/ResString.h"

CCharMapChildFrame::CCharMapChildFrame(const FontItem& font, bool installed, HWND statusBar, HICON icon)
    : view_(font, installed, statusBar), icon_(icon) {}

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
  if (icon_) {
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Get()));
  }
  ownedByWindow_ = true;
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
  const SIZE min = MinWindowSize();
  info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, min.cx);
  info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, min.cy);
}

LRESULT CCharMapChildFrame::OnMDIActivate(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  ::PostMessageW(GetMDIFrame(), CTabbedToolFrame::kMsgChildActivated, wParam, lParam);
  handled = FALSE;  // the default processing changes the active child
  return 0;
}

LRESULT CCharMapChildFrame::OnSysCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if ((wParam & 0xFFF0) == SC_CLOSE)
    ::SendMessageW(GetMDIFrame(), CTabbedToolFrame::kMsgChildClosing, 0, reinterpret_cast<LPARAM>(m_hWnd));
  handled = FALSE;
  return 0;
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

LRESULT CCharMapChildFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  // However the child goes, its tab goes with it (nothing happens when the tab is gone already).
  ::SendMessageW(GetMDIFrame(), CTabbedToolFrame::kMsgChildClosing, 0, reinterpret_cast<LPARAM>(m_hWnd));
  handled = FALSE;
  return 0;
}

void CCharMapChildFrame::OnFinalMessage(HWND) {
  if (ownedByWindow_) delete this;
}
