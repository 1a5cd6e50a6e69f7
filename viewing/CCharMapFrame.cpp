#include "viewing/CCharMapFrame.h"

#include <algorithm>

#include "common/ClampRectToVirtualScreen.h"
#include "common/ResString.h"
#include "framework/Dpi.h"

namespace {

constexpr int kStatusPanes = 2;
constexpr int kTabMenuCommands[] = {ID_TAB_CLOSE};

// The work area of the monitor that holds most of `rc` (or is nearest to it).
bool WorkAreaOf(const RECT& rc, RECT& work) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (!::GetMonitorInfoW(::MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &monitor)) return false;
  work = monitor.rcWork;
  return work.right > work.left && work.bottom > work.top;
}

}  // namespace

CCharMapFrame::CCharMapFrame(HFONT tabFont, const RECT& savedRect)
    : CTabbedToolFrameImpl<CCharMapFrame>(tabFont, savedRect, ID_FONTS_CHARMAP, kRectValue) {}

HWND CCharMapFrame::CreateFrame() {
  const RECT rc = SavedRect();
  return CreateEx(IDR_CHARMAP_FRAME, nullptr, &rc, kStyle, kExStyle);
}

LRESULT CCharMapFrame::OnCreate(CREATESTRUCTW*) {
  CreateStatusBar();
  return CreateTabbedClient() ? 0 : -1;
}

void CCharMapFrame::CreateStatusBar() {
  if (!CreateSimpleStatusBar(orv::kIdDefaultStatusText)) return;
  int widths[kStatusPanes] = {0, -1};
  {
    orv::ScopedGetDC dc(m_hWndStatusBar);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(m_hWndStatusBar, WM_GETFONT, 0, 0));
    orv::ScopedSelectObject select(dc.Get(), font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc.Get(), kCodePaneSample, static_cast<int>(std::size(kCodePaneSample) - 1), &size);
    widths[0] = size.cx;
  }
  codePaneWidth_ = widths[0];
  ::SendMessageW(m_hWndStatusBar, SB_SETPARTS, kStatusPanes, reinterpret_cast<LPARAM>(widths));
}

LRESULT CCharMapFrame::OnSize(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  if (m_hWndStatusBar) {
    // The name pane ends where the size grip starts: a long name or the hint is cut at the
    // pane's edge rather than drawn under the grip.
    if (wParam != SIZE_MINIMIZED) {
      const int grip = ::GetSystemMetrics(SM_CXVSCROLL) + ::GetSystemMetrics(SM_CXEDGE);
      int widths[kStatusPanes] = {codePaneWidth_, std::max(codePaneWidth_, LOWORD(lParam) - grip)};
      ::SendMessageW(m_hWndStatusBar, SB_SETPARTS, kStatusPanes, reinterpret_cast<LPARAM>(widths));
    }
    const std::wstring hint = LoadResString(IDS_CHARMAP_HINT);
    ::SendMessageW(m_hWndStatusBar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(hint.c_str()));
  }
  handled = FALSE;  // the shared layout
  return 0;
}

SIZE CCharMapFrame::MinFrameSize() const {
  SIZE min = ViewFrameSize();
  // Never more than the work area: on a small screen at a high density the grid gets shorter.
  RECT frame{}, work{};
  GetWindowRect(&frame);
  if (WorkAreaOf(frame, work)) {
    min.cx = std::min<LONG>(min.cx, work.right - work.left);
    min.cy = std::min<LONG>(min.cy, work.bottom - work.top);
  }
  return min;
}

SIZE CCharMapFrame::ViewFrameSize() const {
  SIZE min{orv::ScaleToScreenDpi(kMinWidthWithoutTab), orv::ScaleToScreenDpi(kMinHeightWithoutTab)};
  CCharMapChildFrame* child = GetCharMapChild(-1);
  if (!child || !m_hWndMDIClient) return min;
  // The view's smallest size, its child frame around it, and everything of this frame that is
  // not the MDI client's inside (tab row, status bar, borders, caption, menu).
  const SIZE view = child->View().MinClientSize();
  RECT childRect{0, 0, view.cx, view.cy};
  ::AdjustWindowRectEx(&childRect, orv::kMDIChildStyle, FALSE, WS_EX_MDICHILD);
  RECT frame{}, client{};
  GetWindowRect(&frame);
  ::GetClientRect(m_hWndMDIClient, &client);
  min.cx = (childRect.right - childRect.left) + (frame.right - frame.left) - client.right + 2 * ::GetSystemMetrics(SM_CXEDGE);
  min.cy = (childRect.bottom - childRect.top) + (frame.bottom - frame.top) - client.bottom + 2 * ::GetSystemMetrics(SM_CYEDGE);
  return min;
}

void CCharMapFrame::OnGetMinMaxInfo(MINMAXINFO* info) {
  DefWindowProc();
  const SIZE min = MinFrameSize();
  info->ptMinTrackSize.x = std::max(info->ptMinTrackSize.x, min.cx);
  info->ptMinTrackSize.y = std::max(info->ptMinTrackSize.y, min.cy);
}

void CCharMapFrame::GrowToShowView() {
  if (IsZoomed() || IsIconic()) return;
  const SIZE min = MinFrameSize();
  RECT rc{};
  GetWindowRect(&rc);
  if (rc.right - rc.left >= min.cx && rc.bottom - rc.top >= min.cy) return;  // the user's size wins
  rc.right = std::max(rc.right, rc.left + min.cx);
  rc.bottom = std::max(rc.bottom, rc.top + min.cy);
  // Grown to the right and down, then moved back onto the monitor's work area (min is never
  // larger than that area).
  RECT work{};
  if (WorkAreaOf(rc, work))
    ClampRectToArea(rc, work.left, work.top, work.right - work.left, work.bottom - work.top);
  SetWindowPos(nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

CCharMapChildFrame* CCharMapFrame::AddFontTab(const FontItem& font, bool installed) {
  const std::optional<NewTab> tab = PrepareNewTab(font);
  if (!tab) return nullptr;
  auto* child = new CCharMapChildFrame(font, installed, m_hWndStatusBar, CreateTabIcon(font));
  const std::wstring caption = CCharMapChildFrame::BuildCaption(font);
  if (!child->CreateEx(m_hWndMDIClient, nullptr, caption.c_str(), tab->style, WS_EX_CLIENTEDGE)) {
    delete child;
    return nullptr;
  }
  ShowNewTab(*child, font, *tab);
  // A frame opened at a stored or default size too small for the view grows to show all of it.
  if (tab->first) GrowToShowView();
  return child;
}

bool CCharMapFrame::RouteTabKey(const MSG& msg) {
  CCharMapChildFrame* child = GetCharMapChild(-1);
  if (!child || !child->View().IsWindow()) return false;
  // The compose box keeps its keys for its own caret.
  if (msg.hwnd == child->View().ComposeBox()) return false;
  CCharMapGrid& grid = child->View().Grid();
  switch (msg.wParam) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      grid.ScrollByKey(static_cast<UINT>(msg.wParam));
      return true;
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      grid.SendMessage(WM_KEYDOWN, msg.wParam, msg.lParam);
      return true;
    default:
      return false;
  }
}

void CCharMapFrame::ShowTabMenu(POINT screen) {
  const std::wstring texts[] = {LoadResString(IDS_TAB_CLOSE)};
  TrackTabMenu(screen, kTabMenuCommands, texts);
}
