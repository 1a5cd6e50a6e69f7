#include "app/CFontListsPaneContainer.h"

#include <commctrl.h>

#include <cwchar>
#include <vector>

#include "app/AppState.h"
#include "common/LoadImageListFromResource.h"
#include "common/ResourceIds.h"
#include "lists/COrvelListView.h"

void CFontListsPaneContainer::AddButtons() {
  const int ids[] = {ID_FONTS_SHOW_INSTALLED, ID_FONTS_INSTALL,  ID_FONTS_UNINSTALL,     ID_GROUP_REMOVE_FONTS,
                     ID_PANE_MENU,            ID_PANE_PARENT_FOLDER, ID_GROUP_LIST_INSTALL, ID_GROUP_LIST_UNINSTALL};
  if (LoadImageListFromResource(images_, 8, ids))
    ::SendMessageW(m_hWndToolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Get()));
  AddToolbarButton(1, ID_FONTS_INSTALL, BTNS_BUTTON, 0);
  AddToolbarButton(2, ID_FONTS_UNINSTALL, BTNS_BUTTON, 0);
  AddToolbarButton(6, ID_GROUP_LIST_INSTALL, BTNS_BUTTON, 0);
  AddToolbarButton(7, ID_GROUP_LIST_UNINSTALL, BTNS_BUTTON, 0);
  AddToolbarButton(3, ID_GROUP_REMOVE_FONTS, BTNS_BUTTON, 0);
  AddToolbarButton(5, ID_PANE_PARENT_FOLDER, BTNS_BUTTON, 0);
  AddToolbarButton(4, ID_PANE_MENU, BTNS_BUTTON, TBSTATE_ENABLED, 0, m_cxImage / 2);
  // Each mode hides the buttons of the other: two in group mode, four in folder mode.
  groupModeWidth_ = m_cxToolBar - 2 * (m_cxImage + 7);
  folderModeWidth_ = m_cxToolBar - 4 * (m_cxImage + 7);
}

COLORREF CFontListsPaneContainer::CaptionColor() const {
  const HWND focus = ::GetFocus();
  const bool focused = m_hWndClient && focus && (focus == m_hWndClient || ::IsChild(m_hWndClient, focus));
  return ::GetSysColor(focused ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
}

void CFontListsPaneContainer::ShowButton(int command, bool show) const {
  if (m_hWndToolBar) ::SendMessageW(m_hWndToolBar, TB_HIDEBUTTON, command, MAKELPARAM(show ? FALSE : TRUE, 0));
}

void CFontListsPaneContainer::ShowFontList(LPARAM which) {
  const bool folder = which == 1;
  m_caption = folder ? folderTitle_ : groupTitle_;
  if (folderList_) ::ShowWindow(folderList_, folder ? SW_SHOW : SW_HIDE);
  if (groupList_) ::ShowWindow(groupList_, folder ? SW_HIDE : SW_SHOW);
  ShowButton(ID_FONTS_INSTALL, folder);
  ShowButton(ID_FONTS_UNINSTALL, folder);
  for (int command : {ID_GROUP_LIST_INSTALL, ID_GROUP_LIST_UNINSTALL, ID_GROUP_REMOVE_FONTS, ID_PANE_PARENT_FOLDER})
    ShowButton(command, !folder);
  m_cxToolBar = folder ? folderModeWidth_ : groupModeWidth_;
  folderMode_ = folder;
  m_hWndClient = folder ? folderList_ : groupList_;
  g_AppState.GroupListShown = !folder;
  UpdateLayout();
  // No row keeps the focus mark of the list that was in front before.
  LVITEMW item{};
  item.stateMask = LVIS_FOCUSED;
  for (HWND list : {folderList_, groupList_})
    if (list) ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

void CFontListsPaneContainer::SetCaptionWithCount(const std::wstring& title, int count) {
  RECT rc{};
  if (m_hWnd) GetClientRect(&rc);
  // Measured and shortened off screen: the drawing itself happens in the next paint.
  orv::ScopedCreatedDC memory(::CreateCompatibleDC(nullptr));
  HDC dc = memory.Get();
  orv::ScopedSelectObject font(dc, GetTitleFont());
  int room = rc.right - rc.left - (folderMode_ ? folderModeWidth_ : groupModeWidth_) - 8;
  wchar_t suffix[32]{};
  if (count != kNoCount) {
    std::swprintf(suffix, std::size(suffix), L" [%d] ", count);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, suffix, static_cast<int>(std::wcslen(suffix)), &extent);
    room -= extent.cx;
  }
  // DT_MODIFYSTRING may write up to four characters more than the text.
  std::vector<wchar_t> text(title.begin(), title.end());
  text.resize(title.size() + 5, L'\0');
  RECT fit{0, 0, room > 0 ? room : 0, 100};
  ::DrawTextW(dc, text.data(), -1, &fit, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  std::wstring caption(text.data());
  if (count != kNoCount) {
    std::swprintf(suffix, std::size(suffix), L" [%d]", count);
    caption += suffix;
  }
  SetCaption(caption);
}

void CFontListsPaneContainer::SetFolderListCaption(const std::wstring& title, int count) {
  const bool folderInFront = folderMode_;
  const std::wstring shown = m_caption;
  folderMode_ = true;  // measured with the folder list's buttons
  SetCaptionWithCount(title, count);
  folderTitle_ = m_caption;
  folderMode_ = folderInFront;
  if (!folderInFront) SetCaption(shown);
  if (m_hWnd) Invalidate();
}

void CFontListsPaneContainer::OnInstallCommand(UINT, int id, HWND) {
  if (!folderMode_) return;
  const bool copy = !CtrlAlone();
  if (id == ID_FONTS_INSTALL) g_AppState.FolderFonts.InstallSelection(copy);
  else g_AppState.FolderFonts.UninstallSelection(copy ? 1 : 0);
}
