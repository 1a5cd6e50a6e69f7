#include "lists/ShellIdList.h"

#include <shlwapi.h>

ScopedIdList CloneIdList(LPCITEMIDLIST list) {
  return ScopedIdList(list ? ::ILClone(list) : nullptr);
}

ScopedIdList CloneFirstId(LPCITEMIDLIST list) {
  return ScopedIdList(list ? ::ILCloneFirst(list) : nullptr);
}

ScopedIdList CombineIdLists(LPCITEMIDLIST parent, LPCITEMIDLIST child) {
  return ScopedIdList(::ILCombine(parent, child));
}

bool GetShellDisplayName(IShellFolder* folder, LPCITEMIDLIST child, SHGDNF flags, std::wstring& out) {
  out.clear();
  if (!folder) return false;
  STRRET ret{};
  if (FAILED(folder->GetDisplayNameOf(child, flags, &ret))) return false;
  wchar_t buffer[MAX_PATH] = {};
  // StrRetToBufW frees the string the shell allocated, whatever its form.
  if (FAILED(::StrRetToBufW(&ret, child, buffer, MAX_PATH))) return false;
  out = buffer;
  return true;
}

std::wstring PathOfIdList(LPCITEMIDLIST absolute) {
  wchar_t path[MAX_PATH] = {};
  if (!absolute || !::SHGetPathFromIDListW(absolute, path)) return {};
  return path;
}

orv::ComPtr<IShellFolder> BindAbsoluteFolder(LPCITEMIDLIST absolute) {
  orv::ComPtr<IShellFolder> desktop;
  if (FAILED(::SHGetDesktopFolder(desktop.Receive())) || !desktop) return {};
  if (!absolute || ILIsEmpty(absolute)) return desktop;
  orv::ComPtr<IShellFolder> folder;
  if (FAILED(desktop->BindToObject(absolute, nullptr, IID_IShellFolder, folder.ReceiveVoid()))) return {};
  return folder;
}

bool GetItemClassId(IShellFolder* parent, LPCITEMIDLIST child, CLSID& out) {
  if (!parent || !child) return false;
  SHDESCRIPTIONID description{};
  if (FAILED(::SHGetDataFromIDListW(parent, child, SHGDFIL_DESCRIPTIONID, &description, sizeof(description))))
    return false;
  out = description.clsid;
  return true;
}
