#include "app/CFolderTVContainer.h"

#include <shellapi.h>

#include <iterator>
#include <string>

#include "app/AppState.h"
#include "app/PaneMenus.h"
#include "common/IconPopupMenu.h"
#include "common/LoadImageListFromResource.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "framework/ImageListPixels.h"
#include "framework/TrackPopupMenuOnMonitor.h"
#include "framework/ToolbarResource.h"

namespace {
constexpr int kLastReleaseWithoutUserFonts = 1808;
// Images of the Fonts-folder buttons: the open icon while the list shows that folder.
constexpr int kSystemFontsOpen = 0, kSystemFontsClosed = 1, kUserFontsOpen = 2, kUserFontsClosed = 3;
void PutShellIcon(HIMAGELIST list, int index, const std::wstring& folder, UINT openFlag) {
  if (folder.empty()) return;
  SHFILEINFOW info{};
  if (!::SHGetFileInfoW(folder.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON | openFlag)) return;
  orv::ScopedIcon icon(info.hIcon);
  if (icon) ::ImageList_ReplaceIcon(list, index, icon.Get());
}

// A small figure of a person, drawn over the bottom-right corner of the per-user Fonts folder's
// pictures when the shell gives both Fonts folders the same icon ('#' body, 'o' white outline).
constexpr const char* kUserMark[] = {
    "..ooo..",
    ".o###o.",
    ".o###o.",
    ".o###o.",
    "..ooo..",
    ".o###o.",
    "o#####o",
    "o#####o",
};
constexpr uint32_t kUserMarkBody = 0xFF1F4E9C;
constexpr uint32_t kUserMarkOutline = 0xFFFFFFFF;

void PutUserMark(HIMAGELIST list, int index) {
  orv::ImagePixels image = orv::ReadImagePixels(list, index);
  const int rows = static_cast<int>(std::size(kUserMark));
  const int columns = static_cast<int>(std::char_traits<char>::length(kUserMark[0]));
  if (image.Empty() || image.Width < columns || image.Height < rows) return;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x) {
      const char c = kUserMark[y][x];
      if (c == '.') continue;
      const size_t at = static_cast<size_t>(image.Height - rows + y) * static_cast<size_t>(image.Width) +
                        static_cast<size_t>(image.Width - columns + x);
      image.Pixels[at] = c == '#' ? kUserMarkBody : kUserMarkOutline;
    }
  orv::ScopedBitmap bitmap = orv::MakeStraightAlphaBitmap(image);
  if (bitmap) ::ImageList_Replace(list, index, bitmap.Get(), nullptr);
}

bool SamePicture(HIMAGELIST list, int a, int b) {
  const orv::ImagePixels first = orv::ReadImagePixels(list, a);
  return !first.Empty() && first.Pixels == orv::ReadImagePixels(list, b).Pixels;
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
    if (SamePicture(images_.Get(), kSystemFontsClosed, kUserFontsClosed)) {
      PutUserMark(images_.Get(), kUserFontsOpen);
      PutUserMark(images_.Get(), kUserFontsClosed);
    }
    disabledImages_ = orv::SetToolbarImages(m_hWndToolBar, images_.Get());
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

void CFolderTVContainer::SetFontsFolderButton(int command, const std::wstring& folder, int openImage,
                                              int closedImage) {
  if (!m_hWndToolBar) return;
  const bool shown = !folder.empty() && EqualsNoCase(g_AppState.FolderFonts.m_folder, folder);
  ::SendMessageW(m_hWndToolBar, TB_CHECKBUTTON, command, MAKELPARAM(shown ? TRUE : FALSE, 0));
  ::SendMessageW(m_hWndToolBar, TB_CHANGEBITMAP, command, MAKELPARAM(shown ? openImage : closedImage, 0));
}

void CFolderTVContainer::UpdateFontsFolderButtons() {
  SetFontsFolderButton(ID_PANE_SYSTEM_FONTS_DIR, g_AppState.SystemFontsFolder, kSystemFontsOpen, kSystemFontsClosed);
  if (HasUserFontsButton())
    SetFontsFolderButton(ID_PANE_USER_FONTS_DIR, g_AppState.UserFontsFolder, kUserFontsOpen, kUserFontsClosed);
}

void CFolderTVContainer::OnFontsFolderButton(UINT, int id, HWND) {
  const bool system = id == ID_PANE_SYSTEM_FONTS_DIR;
  if (!system && !HasUserFontsButton()) return;
  if (g_AppState.GroupListShown && g_AppState.MainWindow)
    ::SendMessageW(g_AppState.MainWindow, WM_COMMAND, ID_SHOW_FONT_LIST, 1);
  CFolderTreeView& tree = g_AppState.FolderTree;
  const std::wstring& fonts = system ? g_AppState.SystemFontsFolder : g_AppState.UserFontsFolder;
  const std::wstring& other = system ? g_AppState.UserFontsFolder : g_AppState.SystemFontsFolder;
  const std::wstring& shown = g_AppState.FolderFonts.m_folder;
  const bool checked = m_hWndToolBar && ::SendMessageW(m_hWndToolBar, TB_ISBUTTONCHECKED, id, 0) != 0;
  if (checked) {
    // From one Fonts folder to the other, the way back stays the folder shown before both.
    if (other.empty() || !EqualsNoCase(shown, other)) returnFolder_ = shown;
    if (HTREEITEM item = tree.IsWindow() ? tree.FindItemByIdList(fonts, true) : nullptr) tree.SelectItem(item);
  } else {
    if (HTREEITEM item = tree.IsWindow() && !returnFolder_.empty() ? tree.FindItemByIdList(returnFolder_, true) : nullptr) {
      tree.SelectItem(item);
      tree.SelectItem(item, TVGN_FIRSTVISIBLE);
    }
    returnFolder_.clear();
  }
  UpdateFontsFolderButtons();
}

void CFolderTVContainer::OnPaneMenu(UINT, int, HWND from) {
  CFolderTreeView& tree = g_AppState.FolderTree;
  if (!tree.IsWindow()) return;
  const HTREEITEM item = tree.GetSelectedItem();
  FolderTreeMenuItems items;
  items.zip = tree.IsZipItem(item);
  // The target folder as it was: asking whether the item can be renamed makes it the target.
  items.noTarget = !item || tree.TargetFolder().empty();
  items.canRename = tree.SetTargetFolderFromItem(item);
  items.canDelete = tree.CanDeleteSelectedFolder();

  IconPopupMenu menu(::CreatePopupMenu());
  if (!menu.Get()) return;
  FillFolderTreeMenu(menu, items);

  // The tree owns the menu: the chosen command goes to it.
  POINT pt{};
  UINT flags = TPM_RIGHTBUTTON;
  if (from == tree.m_hWnd) {
    ::GetCursorPos(&pt);
    flags |= TPM_LEFTALIGN;
  } else {
    RECT rc{};
    ::GetWindowRect(tree, &rc);
    pt = {rc.right, rc.top};
    flags |= TPM_RIGHTALIGN;
  }
  orv::TrackPopupMenuOnMonitor(menu.Get(), flags, pt, tree);
}
