#include "viewing/CFontSheetFrame.h"

#include <algorithm>
#include <optional>

#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "printing/CPrintFontSet.h"

namespace {

constexpr int kTabMenuCommands[] = {ID_SHEETS_PRINT, 0, ID_TAB_CLOSE};

}  // namespace

CFontSheetFrame::CFontSheetFrame(HFONT tabFont, const RECT& savedRect)
    : CTabbedToolFrameImpl<CFontSheetFrame>(tabFont, savedRect, ID_FONTS_SHEET, kRectValue) {}

HWND CFontSheetFrame::CreateFrame() {
  const RECT rc = SavedRect();
  return CreateEx(IDR_FONTSHEET_FRAME, nullptr, &rc, kStyle, kExStyle);
}

LRESULT CFontSheetFrame::OnCreate(CREATESTRUCTW*) { return CreateTabbedClient() ? 0 : -1; }

void CFontSheetFrame::OnGetMinMaxInfo(MINMAXINFO* info) {
  DefWindowProc();
  info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, kMinWidth);
  info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, kMinHeight);
}

CFontSheetChildFrame* CFontSheetFrame::AddFontTab(const FontItem& font) {
  const std::optional<NewTab> tab = PrepareNewTab(font);
  if (!tab) return nullptr;
  auto* child = new CFontSheetChildFrame(font, pageMode_, CreateTabIcon(font));
  if (!child->CreateEx(m_hWndMDIClient, nullptr, font.FullName().c_str(), tab->style, WS_EX_CLIENTEDGE)) {
    delete child;
    return nullptr;
  }
  UpdateWindowMenu();
  ShowNewTab(*child, font, *tab);
  return child;
}

HMENU CFontSheetFrame::GetWindowSubMenu() const {
  // Found by its commands: a maximised child puts its system menu in front of the others.
  HMENU bar = ::GetMenu(m_hWnd);
  const int count = bar ? ::GetMenuItemCount(bar) : 0;
  for (int i = 0; i < count; ++i) {
    HMENU sub = ::GetSubMenu(bar, i);
    if (sub && ::GetMenuState(sub, ID_WINDOW_CASCADE, MF_BYCOMMAND) != static_cast<UINT>(-1)) return sub;
  }
  return nullptr;
}

void CFontSheetFrame::UpdateWindowMenu() {
  HMENU windowMenu = GetWindowSubMenu();
  if (!windowMenu || !m_hWndMDIClient) return;
  ::SendMessageW(m_hWndMDIClient, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(windowMenu));
  ::DrawMenuBar(m_hWnd);
}

void CFontSheetFrame::RefreshAllSheets(bool invalidate) {
  const int count = TabCount();
  for (int i = 0; i < count; ++i)
    if (CFontSheetChildFrame* child = GetSheetChild(i)) child->View().RefreshPage(!pageMode_, invalidate);
}

void CFontSheetFrame::AddFontsToJob(CPrintFontSet& job) const {
  const int count = TabCount(), current = CurrentTab();
  for (int i = 0; i < count; ++i)
    if (const CToolFrameChild* child = GetTabChild(i)) job.AddFont(child->GetTabFont(), i == current);
}

void CFontSheetFrame::OnPrint(UINT, int, HWND) {
  CPrintFontSet job;
  AddFontsToJob(job);
  job.PrintFontSheets(m_hWnd);
}

void CFontSheetFrame::OnPageMode(UINT, int, HWND) {
  pageMode_ = !pageMode_;
  ::CheckMenuItem(::GetMenu(m_hWnd), ID_SHEET_PAGE_MODE, MF_BYCOMMAND | (pageMode_ ? MF_CHECKED : MF_UNCHECKED));
  RefreshAllSheets(true);
}

bool CFontSheetFrame::RouteTabKey(const MSG& msg) {
  CFontSheetChildFrame* child = GetSheetChild(-1);
  if (!child || !child->View().IsWindow()) return false;
  CFontSheetView& view = child->View();
  switch (msg.wParam) {
    case VK_PRIOR: view.ScrollPageUp(); return true;
    case VK_NEXT: view.ScrollPageDown(); return true;
    case VK_HOME: view.ScrollTop(); return true;
    case VK_END: view.ScrollBottom(); return true;
    case VK_UP: view.ScrollLineUp(); return true;
    case VK_DOWN: view.ScrollLineDown(); return true;
    case VK_LEFT: view.ScrollLineLeft(); return true;
    case VK_RIGHT: view.ScrollLineRight(); return true;
    default: return false;
  }
}

void CFontSheetFrame::ShowTabMenu(POINT screen) {
  std::vector<std::wstring> texts = SplitFields(LoadResString(IDS_SHEET_TAB_MENU));
  texts.resize(2);  // a short string gives empty captions rather than missing items
  const std::wstring items[] = {texts[0], L"", texts[1]};
  TrackTabMenu(screen, kTabMenuCommands, items);
}
