#include "search/CLvSearchContainer.h"

#include <commctrl.h>

#include <iterator>

#include "app/AppState.h"
#include "common/IconPopupMenu.h"
#include "common/LoadImageListFromResource.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "framework/TrackPopupMenuOnMonitor.h"
#include "lists/FontListImages.h"
#include "lists/FontListParent.h"
#include "search/CLVSearchFonts.h"
#include "framework/ToolbarResource.h"

namespace {

const int kToolbarIcons[] = {ID_FONTS_INSTALL, ID_FONTS_UNINSTALL, ID_FONTS_PROPERTIES, ID_PANE_MENU};

}  // namespace

void CLvSearchContainer::SetList(CLVSearchFonts* list) {
  list_ = list;
  SetClient(list ? list->m_hWnd : nullptr);
}

void CLvSearchContainer::AddButtons() {
  if (LoadImageListFromResource(images_, static_cast<int>(std::size(kToolbarIcons)), kToolbarIcons))
    disabledImages_ = orv::SetToolbarImages(m_hWndToolBar, images_.Get());
  AddToolbarButton(0, ID_FONTS_INSTALL, BTNS_BUTTON, 0);
  AddToolbarButton(1, ID_FONTS_UNINSTALL, BTNS_BUTTON, 0);
  AddToolbarButton(2, ID_FONTS_PROPERTIES, BTNS_BUTTON, 0);
  AddToolbarButton(3, ID_PANE_MENU, BTNS_BUTTON, TBSTATE_ENABLED, 0, m_cxImage / 2);
}

void CLvSearchContainer::DrawCaptionContent(HDC dc, const RECT& band) {
  const HIMAGELIST images = FontListImages::Get().small;
  if (!images || !list_) return;
  int cx = 16, cy = 16;
  ::ImageList_GetIconSize(images, &cx, &cy);
  const int right = m_hWndToolBar ? band.right - m_cxToolBar - 4 : band.right;
  const int x = band.left + (right - band.left - cx) / 2;
  const int y = band.top + (band.bottom - band.top - cy) / 2;
  ::ImageList_Draw(images, list_->m_sortAscending ? kAscendingArrow : kDescendingArrow, dc, x, y, ILD_TRANSPARENT);
}

void CLvSearchContainer::ToggleSortOrder() {
  if (!list_ || !list_->m_hWnd || g_AppState.Busy) return;
  list_->m_sortAscending = list_->m_sortAscending ? 0 : 1;
  RECT strip{};
  GetClientRect(&strip);
  strip.bottom = m_cyCaption;
  ::InvalidateRect(m_hWnd, &strip, TRUE);
  HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  list_->Sort();
  ::SetCursor(previous);
}

void CLvSearchContainer::FillContextMenu(IconPopupMenu& menu, const COrvelListView& list) {
  const bool selection = list.GetFirstSelected() >= 0;
  const UINT state = selection ? MFS_ENABLED : MFS_DISABLED;
  const std::wstring captions = LoadResString(IDS_SEARCH_RESULT_MENU);
  menu.InsertItem(ID_SEARCH_OPEN_FOLDER, FieldAt(captions, 0).c_str(), state);
  menu.InsertItem(ID_FONTS_COPY_TO_FOLDER, FieldAt(captions, 1).c_str(), state);
  list.AppendContextMenuItems(menu.Get(), selection ? 0 : MF_GRAYED);
  ::DeleteMenu(menu.Get(), ID_FONTS_REFRESH, MF_BYCOMMAND);
  const int count = ::GetMenuItemCount(menu.Get());
  for (int i = 0; !selection && i < count; ++i) ::EnableMenuItem(menu.Get(), i, MF_BYPOSITION | MF_GRAYED);
  menu.ShowItemIcons();
}

void CLvSearchContainer::ShowContextMenu(bool atCursor) {
  if (!list_ || !list_->m_hWnd) return;
  IconPopupMenu menu(::CreatePopupMenu());
  if (!menu.Get()) return;
  FillContextMenu(menu, *list_);
  POINT pt{};
  UINT flags = TPM_RIGHTBUTTON;
  if (atCursor) {
    ::GetCursorPos(&pt);
    flags |= TPM_LEFTALIGN;
  } else {
    RECT rc{};
    list_->GetWindowRect(&rc);
    pt = {rc.right, rc.top};
    flags |= TPM_RIGHTALIGN;
  }
  // The list owns the menu: the chosen command reaches it.
  orv::TrackPopupMenuOnMonitor(menu.Get(), flags, pt, list_->m_hWnd);
}

LRESULT CLvSearchContainer::OnListMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  LRESULT result = 0;
  // The search dialog's buttons and the main window's states follow the result list's selection.
  if (list_ && list_->m_hWnd && IsSelectionChangeNotice(msg, lParam) &&
      reinterpret_cast<NMHDR*>(lParam)->hwndFrom == list_->m_hWnd && g_AppState.MainWindow)
    ::SendMessageW(g_AppState.MainWindow, kMsgFontListSelectionChanged, kSelectionChangeNotice, 0);
  if (list_ && HandleFontListParentMessage(*list_, msg, wParam, lParam, result)) return result;
  handled = FALSE;
  return 0;
}

LRESULT CLvSearchContainer::OnNotify(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (header->code == TTN_GETDISPINFOW && m_hWndToolBar) {
    // The button's tooltip: its command's string after the first line break.
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    const std::wstring text = LoadResString(static_cast<UINT>(header->idFrom));
    const size_t lineBreak = text.find(L'\n');
    tooltip_ = lineBreak == std::wstring::npos ? std::wstring() : text.substr(lineBreak + 1);
    info->lpszText = tooltip_.data();
    info->hinst = nullptr;
    return 0;
  }
  return OnListMessage(msg, wParam, lParam, handled);
}

LRESULT CLvSearchContainer::OnCaptionClick(UINT, WPARAM, LPARAM, BOOL&) {
  ToggleSortOrder();
  return 0;
}

LRESULT CLvSearchContainer::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  if (!list_ || !list_->m_hWnd) {
    handled = FALSE;
    return 0;
  }
  switch (LOWORD(wParam)) {
    case ID_FONTS_INSTALL:
      list_->InstallSelection(!CtrlAlone());
      return 0;
    case ID_FONTS_UNINSTALL:
      list_->UninstallSelection(CtrlAlone() ? 0 : 1);
      return 0;
    case ID_FONTS_PROPERTIES:
      if (HWND main = g_AppState.MainWindow)
        ::PostMessageW(main, WM_COMMAND, ID_FONTS_PROPERTIES, reinterpret_cast<LPARAM>(static_cast<COrvelListView*>(list_)));
      return 0;
    case ID_FONTS_COPY_TO_FOLDER:
      list_->CopySelectionToFolder();
      return 0;
    case ID_PANE_MENU:
      ShowContextMenu(reinterpret_cast<HWND>(lParam) == list_->m_hWnd);
      return 0;
    default:
      handled = FALSE;
      return 0;
  }
}
