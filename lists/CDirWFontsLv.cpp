#include "lists/CDirWFontsLv.h"

#include "app/AppState.h"
#include "common/StringHelpers.h"
#include "lists/CCensusListView.h"

bool CDirWFontsLv::CreateList(HWND dialog, const RECT& rc, UINT id) {
  HWND list = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr, kStyle, rc.left, rc.top, rc.right - rc.left,
                                rc.bottom - rc.top, dialog, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                orv::g_Module.GetModuleInstance(), nullptr);
  if (!list || !SubclassWindow(list)) return false;
  ListView_SetExtendedListViewStyle(m_hWnd, kExStyle);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = rc.right - rc.left;
  ListView_InsertColumn(m_hWnd, 0, &column);
  ::SendMessageW(m_hWnd, WM_SETFONT, ::SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
  return true;
}

void CDirWFontsLv::AddFolder(const std::wstring& folder) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.pszText = const_cast<wchar_t*>(folder.c_str());
  ListView_InsertItem(m_hWnd, &item);
  ListView_SetColumnWidth(m_hWnd, 0, LVSCW_AUTOSIZE);
}

void CDirWFontsLv::DeleteAll() { ListView_DeleteAllItems(m_hWnd); }

int CDirWFontsLv::Count() const { return m_hWnd ? ListView_GetItemCount(m_hWnd) : 0; }

std::wstring CDirWFontsLv::FolderAt(int index) const { return GetListViewItemText(m_hWnd, index, 0); }

void CDirWFontsLv::OpenFolder(int index) {
  if (index < 0 || index >= Count()) return;
  ShowFolderInMainTree(FolderAt(index), {});
  if (g_AppState.MainWindow) ::SetFocus(g_AppState.MainWindow);
}

LRESULT CDirWFontsLv::OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (!busy_) {
    handled = FALSE;
    return 0;
  }
  ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
  return TRUE;
}

LRESULT CDirWFontsLv::OnClick(int, NMHDR* hdr, BOOL&) {
  const int index = reinterpret_cast<NMITEMACTIVATE*>(hdr)->iItem;
  // Posted, so that the click has ended before the main window takes the focus.
  if (index >= 0) ::PostMessageW(m_hWnd, WM_COMMAND, ID_CENSUS_OPEN_FOLDER, index);
  return 0;
}

LRESULT CDirWFontsLv::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  if (LOWORD(wParam) != ID_CENSUS_OPEN_FOLDER || HIWORD(wParam) != 0) {
    handled = FALSE;
    return 0;
  }
  OpenFolder(static_cast<int>(lParam));
  return 0;
}
