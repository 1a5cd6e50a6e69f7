#include "app/COrvelFavWnd.h"

#include "app/AppState.h"
#include "app/FavoriteFolders.h"
#include "app/Preferences.h"
#include "common/Seams.h"
#include "framework/AppModule.h"
#include "framework/Dpi.h"
#include "framework/TrackPopupMenuOnMonitor.h"
#include "framework/ToolbarResource.h"

namespace {

constexpr DWORD kBandToolbarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_FLAT |
                                    TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE;
constexpr DWORD kBandToolbarLook = TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS;
constexpr DWORD kBandToolbarExStyle = TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS;
static_assert(kBandToolbarStyle == 0x5600094C && kBandToolbarLook == 0x1900 && kBandToolbarExStyle == 9);
constexpr int kImageSize = 16;   // of the strip, drawn for 96 DPI
constexpr int kButtonSize = 23;  // at 96 DPI
constexpr int kImageAdd = 1;
constexpr int kImageRemove = 2;
constexpr size_t kButtonTextMax = 260;

}  // namespace

bool GoToFolderInTree(const std::wstring& folder) {
  CFolderTreeView& tree = g_AppState.FolderTree;
  if (folder.empty() || !tree.m_hWnd) return false;
  HTREEITEM item = tree.FindItemByIdList(folder, true);
  if (!item) return false;
  tree.SelectItem(item, TVGN_CARET);
  tree.SelectItem(item, TVGN_FIRSTVISIBLE);
  return true;
}

HWND COrvelFavWnd::Create(HWND pane) {
  if (!orv::CWindowImpl<COrvelFavWnd>::Create(pane, nullptr, nullptr, WS_CHILD)) return nullptr;
  toolbar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, kBandToolbarStyle, 0, 0, 0, 0, m_hWnd, nullptr, nullptr,
                               nullptr);
  if (!toolbar_) return m_hWnd;
  ::SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ::SendMessageW(toolbar_, TB_SETSTYLE, 0, kBandToolbarStyle | kBandToolbarLook);
  ::SendMessageW(toolbar_, TB_SETEXTENDEDSTYLE, 0, kBandToolbarExStyle);
  ::SendMessageW(toolbar_, TB_SETDRAWTEXTFLAGS, DT_PATH_ELLIPSIS, DT_PATH_ELLIPSIS);
  // The pictures and buttons at the screen's density.
  const int image = orv::ScaleToScreenDpi(kImageSize), button = orv::ScaleToScreenDpi(kButtonSize);
  ::SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(image, image));
  ::SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(button, button));
  images_ = orv::ScaleImageList(
      orv::ScopedImageList(::ImageList_LoadImageW(orv::g_Module.GetResourceInstance(),
                                                  MAKEINTRESOURCEW(IDR_FAVORITES_TOOLBAR), kImageSize, 0, CLR_DEFAULT,
                                                  IMAGE_BITMAP, LR_CREATEDIBSECTION)),
      image, image);
  disabledImages_ = orv::SetToolbarImages(toolbar_, images_.Get());
  static wchar_t empty[] = L"";
  const TBBUTTON buttons[] = {
      {I_IMAGENONE, ID_FAV_CURRENT, TBSTATE_ENABLED, BTNS_SHOWTEXT | BTNS_NOPREFIX | BTNS_DROPDOWN, {}, 0,
       reinterpret_cast<INT_PTR>(empty)},
      {kImageAdd, ID_FAV_ADD, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
      {kImageRemove, ID_FAV_REMOVE, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
  };
  ::SendMessageW(toolbar_, TB_ADDBUTTONSW, std::size(buttons), reinterpret_cast<LPARAM>(buttons));
  SelectFavorite(ID_FAV_MENU_FIRST, false);
  return m_hWnd;
}

int COrvelFavWnd::Layout(HWND pane, int top) {
  if (!m_hWnd || !toolbar_) return 0;
  RECT client{};
  ::GetClientRect(pane, &client);
  const int border = ::GetSystemMetrics(SM_CXBORDER);
  const int height = HIWORD(::SendMessageW(toolbar_, TB_GETBUTTONSIZE, 0, 0)) + 2 - border;
  const int width = client.right - 2 * border;
  SetWindowPos(nullptr, border, top, width, height, SWP_NOACTIVATE | SWP_NOZORDER);
  ::SetWindowPos(toolbar_, nullptr, 0, 0, width, height, SWP_NOACTIVATE | SWP_NOZORDER);
  FitFavoriteButton();
  ShowWindow(SW_SHOWNA);
  return height;
}

void COrvelFavWnd::SelectFavorite(int command, bool navigate) {
  const std::wstring folder = FavoriteAt(g_Preferences.FavoriteFolders, command - ID_FAV_MENU_FIRST);
  if (folder.empty()) return;
  SetCurrentText(folder);
  if (!navigate) return;
  if (g_AppState.GroupListShown && g_AppState.MainWindow)
    ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, ID_SHOW_FONT_LIST, 1);
  GoToFolderInTree(folder);
}

void COrvelFavWnd::SetCurrentText(const std::wstring& folder) {
  current_ = folder.substr(0, kButtonTextMax);
  if (!toolbar_) return;
  TBBUTTONINFOW info{sizeof(info)};
  info.dwMask = TBIF_TEXT;
  info.pszText = current_.data();
  ::SendMessageW(toolbar_, TB_SETBUTTONINFOW, ID_FAV_CURRENT, reinterpret_cast<LPARAM>(&info));
  FitFavoriteButton();
}

std::wstring COrvelFavWnd::GetCurrentText() const {
  if (!toolbar_) return current_;
  wchar_t text[kButtonTextMax + 1] = {};
  TBBUTTONINFOW info{sizeof(info)};
  info.dwMask = TBIF_TEXT;
  info.pszText = text;
  info.cchText = static_cast<int>(std::size(text));
  if (::SendMessageW(toolbar_, TB_GETBUTTONINFOW, ID_FAV_CURRENT, reinterpret_cast<LPARAM>(&info)) < 0) return {};
  return text;
}

void COrvelFavWnd::FitFavoriteButton() {
  if (!toolbar_ || !m_hWnd) return;
  RECT client{}, second{};
  GetClientRect(&client);
  ::SendMessageW(toolbar_, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  const DWORD padding = static_cast<DWORD>(::SendMessageW(toolbar_, TB_GETPADDING, 0, 0));
  const int width = client.right - 2 * (second.right - second.left) - LOWORD(padding);
  if (width < 0) return;
  TBBUTTONINFOW info{sizeof(info)};
  info.dwMask = TBIF_SIZE;
  info.cx = static_cast<WORD>(width);
  ::SendMessageW(toolbar_, TB_SETBUTTONINFOW, ID_FAV_CURRENT, reinterpret_cast<LPARAM>(&info));
}

LRESULT COrvelFavWnd::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
  RECT client{};
  GetClientRect(&client);
  ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_3DFACE));
  return 1;
}

// The favourites menu: every favourite, the first 257 of them to choose.
LRESULT COrvelFavWnd::OnDropDown(int, NMHDR* hdr, BOOL& handled) {
  if (hdr->hwndFrom != toolbar_) {
    handled = FALSE;
    return 0;
  }
  orv::ScopedMenu menu(::CreatePopupMenu());
  if (!menu) return TBDDRET_DEFAULT;
  int command = ID_FAV_MENU_FIRST;
  for (const std::wstring& folder : SplitFavorites(g_Preferences.FavoriteFolders)) {
    const UINT state = command <= ID_FAV_MENU_LAST ? MF_ENABLED : MF_GRAYED;
    ::AppendMenuW(menu.Get(), MF_STRING | state, command <= ID_FAV_MENU_LAST ? command : 0, folder.c_str());
    ++command;
  }
  RECT rc{};
  ::GetWindowRect(toolbar_, &rc);
  orv::TrackPopupMenuOnMonitor(menu.Get(), TPM_LEFTBUTTON, POINT{rc.left, rc.bottom}, m_hWnd);
  return TBDDRET_DEFAULT;
}

LRESULT COrvelFavWnd::OnGoToCurrent(WORD, WORD, HWND, BOOL&) {
  GoToFolderInTree(GetCurrentText());
  return 0;
}

LRESULT COrvelFavWnd::OnAdd(WORD, WORD, HWND, BOOL&) {
  const std::wstring folder = g_AppState.FolderFonts.m_folder;
  switch (AddFavorite(g_Preferences.FavoriteFolders, folder)) {
    case FavoriteAdd::Added:
      SetCurrentText(folder);
      break;
    case FavoriteAdd::TooLong:
      seams::Beep(0);
      break;
    case FavoriteAdd::Unchanged:
      break;
  }
  return 0;
}

LRESULT COrvelFavWnd::OnRemove(WORD, WORD, HWND, BOOL&) {
  const std::wstring shown = GetCurrentText();
  if (shown.empty()) return 0;
  RemoveFavorite(g_Preferences.FavoriteFolders, shown);
  SetCurrentText(std::wstring());
  return 0;
}

LRESULT COrvelFavWnd::OnMenuChoice(WORD, WORD id, HWND, BOOL&) {
  SelectFavorite(id, true);
  return 0;
}
