#include "viewing/CCharMapFrame.h"

#include <algorithm>

#include "common/ResString.h"

namespace {

constexpr int kStatusPanes = 2;
constexpr int kTabMenuCommands[] = {ID_TAB_CLOSE};

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
  ::SendMessageW(m_hWndStatusBar, SB_SETPARTS, kStatusPanes, reinterpret_cast<LPARAM>(widths));
}

LRESULT CCharMapFrame::OnSize(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (m_hWndStatusBar) {
    const std::wstring hint = LoadResString(IDS_CHARMAP_HINT);
    ::SendMessageW(m_hWndStatusBar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(hint.c_str()));
  }
  handled = FALSE;  // the shared layout
  return 0;
}

void CCharMapFrame::OnGetMinMaxInfo(MINMAXINFO* info) {
  DefWindowProc();
  LONG minX = kMinWidthWithoutTab, minY = kMinHeightWithoutTab;
  if (CCharMapChildFrame* child = GetCharMapChild(-1); child && m_hWndMDIClient) {
    // The view's smallest size, its child frame around it, and everything of this frame that
    // is not the MDI client's inside (tab row, status bar, borders, caption, menu).
    const SIZE view = child->View().MinClientSize();
    RECT childRect{0, 0, view.cx, view.cy};
    ::AdjustWindowRectEx(&childRect, orv::kMDIChildStyle, FALSE, WS_EX_MDICHILD);
    RECT frame{}, client{};
    GetWindowRect(&frame);
    ::GetClientRect(m_hWndMDIClient, &client);
    minX = (childRect.right - childRect.left) + (frame.right - frame.left) - client.right +
           2 * ::GetSystemMetrics(SM_CXEDGE);
    minY = (childRect.bottom - childRect.top) + (frame.bottom - frame.top) - client.bottom +
           2 * ::GetSystemMetrics(SM_CYEDGE);
  }
  info->ptMinTrackSize.x = std::max(info->ptMinTrackSize.x, minX);
  info->ptMinTrackSize.y = std::max(info->ptMinTrackSize.y, minY);
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
