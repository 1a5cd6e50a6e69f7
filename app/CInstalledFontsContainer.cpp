#include "app/CInstalledFontsContainer.h"

#include <cwchar>

#include "app/AppState.h"
#include "app/PaneMenus.h"
#include "app/PaneSortOrder.h"
#include "common/LoadImageListFromResource.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "framework/ToolbarResource.h"

void CInstalledFontsContainer::AddButtons() {
  const int ids[] = {ID_FONTS_UNINSTALL, ID_PANE_MENU};
  if (LoadImageListFromResource(images_, 2, ids))
    disabledImages_ = orv::SetToolbarImages(m_hWndToolBar, images_.Get());
  AddToolbarButton(0, ID_FONTS_UNINSTALL, BTNS_BUTTON, 0);
  AddToolbarButton(1, ID_PANE_MENU, BTNS_BUTTON, TBSTATE_ENABLED, 0, m_cxImage / 2);
}

namespace {

std::wstring Counts(int shown, int total) {
  wchar_t counts[48]{};
  if (shown == total)
    std::swprintf(counts, std::size(counts), L" [%d]", shown);
  else
    std::swprintf(counts, std::size(counts), L" [%d / %d]", shown, total);
  return counts;
}

}  // namespace

std::wstring CInstalledFontsContainer::CaptionText() const {
  return LoadResString(IDS_INSTALLED_FONTS_PANE) + Counts(shown_, total_);
}

size_t CInstalledFontsContainer::CaptionTail() const { return Counts(shown_, total_).size(); }

COLORREF CInstalledFontsContainer::CaptionColor() const {
  const HWND focus = ::GetFocus();
  const bool focused = m_hWndClient && focus && (focus == m_hWndClient || ::IsChild(m_hWndClient, focus));
  return ::GetSysColor(focused ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
}

void CInstalledFontsContainer::DrawSortIcon(HDC dc, int left, int top) {
  DrawSortOrderIcon(dc, left, top, g_AppState.InstalledFonts);
}

void CInstalledFontsContainer::OnCaptionClick(UINT, POINT at) {
  (void)ResortFromCaptionClick(m_hWnd, at, m_cyCaption, ToolbarLeft(), g_AppState.InstalledFonts);
  DefWindowProc();
}

void CInstalledFontsContainer::SetCounts(int shown, int total) {
  shown_ = shown;
  total_ = total;
  if (m_hWnd) Invalidate();
}

void CInstalledFontsContainer::OnUninstallCommand(UINT, int, HWND) {
  g_AppState.InstalledFonts.UninstallSelection(CtrlAlone() ? 0 : 1);
}

void CInstalledFontsContainer::OnCopyCommand(UINT, int, HWND) { g_AppState.InstalledFonts.CopySelectionToFolder(); }

void CInstalledFontsContainer::OnMenuCommand(UINT, int, HWND source) {
  COrvelListView& list = g_AppState.InstalledFonts;
  if (!list.m_hWnd) return;  // the selection as it is now, also when a right click just made it
  IconPopupMenu menu(::CreatePopupMenu());
  FillInstalledListMenu(menu, list);
  TrackClientMenu(menu.Get(), source);
}
