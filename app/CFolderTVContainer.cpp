#include "app/CFolderTVContainer.h"

#include <shellapi.h>

#include "app/AppState.h"
#include "common/LoadImageListFromResource.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"

namespace {
constexpr int kLastReleaseWithoutUserFonts = 1808;

void PutShellIcon(HIMAGELIST list, int index, const std::wstring& folder, UINT openFlag) {
  if (folder.empty()) return;
  SHFILEINFOW info{};
  if (!::SHGetFileInfoW(folder.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON | openFlag)) return;
  orv::ScopedIcon icon(info.hIcon);
  if (icon) ::ImageList_ReplaceIcon(list, index, icon.Get());
}
}  // namespace

bool CFolderTVContainer::HasUserFontsButton() const {
  return g_AppState.WindowsRelease > kLastReleaseWithoutUserFonts;
}

void CFolderTVContainer::AddButtons() {
  // Images 0 to 3 are the Fonts folders' shell icons (open, closed; system, then per-user).
  const int ids[] = {0, 0, 0, 0, ID_PANE_MENU, ID_PANE_FAVORITES};
  if (LoadImageListFromResource(images_, 6, ids)) {
    PutShellIcon(images_.Get(), 0, g_AppState.SystemFontsFolder, SHGFI_OPENICON);
    PutShellIcon(images_.Get(), 1, g_AppState.SystemFontsFolder, 0);
    PutShellIcon(images_.Get(), 2, g_AppState.UserFontsFolder, SHGFI_OPENICON);
    PutShellIcon(images_.Get(), 3, g_AppState.UserFontsFolder, 0);
    ::SendMessageW(m_hWndToolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Get()));
  }
  AddToolbarButton(5, ID_PANE_FAVORITES, BTNS_CHECK, TBSTATE_ENABLED);
  AddToolbarButton(1, ID_PANE_SYSTEM_FONTS_DIR, BTNS_CHECK, TBSTATE_ENABLED);
  if (HasUserFontsButton()) AddToolbarButton(3, ID_PANE_USER_FONTS_DIR, BTNS_CHECK, TBSTATE_ENABLED);
  AddToolbarButton(4, ID_PANE_MENU, BTNS_BUTTON, TBSTATE_ENABLED, 0, m_cxImage / 2);
}

std::wstring CFolderTVContainer::CaptionText() const { return LoadResString(IDS_FOLDER_TREE_PANE); }

COLORREF CFolderTVContainer::CaptionColor() const {
  return ::GetSysColor(g_AppState.GroupListShown ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
}

void CFolderTVContainer::OnPaneCreated() {
  captionNoBand_ = m_cyCaption;
  favorites_.Create(m_hWnd);
}

bool CFolderTVContainer::FavoritesShown() const {
  return m_hWndToolBar && ::SendMessageW(m_hWndToolBar, TB_ISBUTTONCHECKED, ID_PANE_FAVORITES, 0) != 0;
}

void CFolderTVContainer::ShowFavorites(bool show) {
  if (show) {
    const int height = favorites_.Layout(m_hWnd, captionNoBand_);
    m_cyCaption = captionNoBand_ + (height > 0 ? height - ::GetSystemMetrics(SM_CXBORDER) : 0);
  } else {
    m_cyCaption = captionNoBand_;
    if (favorites_.m_hWnd) favorites_.ShowWindow(SW_HIDE);
  }
  UpdateLayout();
}

LRESULT CFolderTVContainer::OnFavoritesButton(WORD, WORD, HWND, BOOL&) {
  ShowFavorites(FavoritesShown());
  return 0;
}

LRESULT CFolderTVContainer::OnSize(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (FavoritesShown()) favorites_.Layout(m_hWnd, captionNoBand_);
  handled = FALSE;  // the template lays out the toolbar and the tree
  return 0;
}
