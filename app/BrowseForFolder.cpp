#include "app/BrowseForFolder.h"

#include <shlobj.h>

namespace {
int CALLBACK SelectStart(HWND wnd, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data) ::SendMessageW(wnd, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}
}  // namespace

bool BrowseForFolder(HWND owner, const std::wstring& start, std::wstring& chosen) {
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = &SelectStart;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  PIDLIST_ABSOLUTE pidl = ::SHBrowseForFolderW(&info);
  if (!pidl) return false;
  wchar_t path[MAX_PATH] = {};
  const bool ok = ::SHGetPathFromIDListW(pidl, path) && path[0];
  ::CoTaskMemFree(pidl);
  if (ok) chosen = path;
  return ok;
}
