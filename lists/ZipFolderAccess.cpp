// The shell's zip folders as the folder fonts list reads them.
#include <windows.h>
#include <shldisp.h>
#include <shlwapi.h>

#include "lists/CLVFolderFonts.h"
#include "lists/CZipperImpl.h"
#include "lists/FolderFontFiles.h"

namespace {

// Names of the files directly inside the zip whose extension occurs in `extensions`.
int ListZipFontFilesThroughShell(const std::wstring& zip, const std::wstring& extensions, std::wstring& names) {
  using zip_detail::ScopedVariant;
  names.clear();
  orv::ComPtr<IShellDispatch> shell;
  if (FAILED(::CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_INPROC_SERVER, IID_IShellDispatch,
                                reinterpret_cast<void**>(shell.Receive()))))
    return 0;
  ScopedVariant where;
  where.v.vt = VT_BSTR;
  where.v.bstrVal = ::SysAllocString((zip + L"\\").c_str());
  orv::ComPtr<Folder> folder;
  if (FAILED(shell->NameSpace(where.v, folder.Receive())) || !folder) return 0;
  orv::ComPtr<FolderItems> items;
  long count = 0;
  if (FAILED(folder->Items(items.Receive())) || !items || FAILED(items->get_Count(&count))) return 0;
  int found = 0;
  for (long i = 0; i < count; ++i) {
    ScopedVariant index;
    index.v.vt = VT_I4;
    index.v.lVal = i;
    orv::ComPtr<FolderItem> item;
    if (FAILED(items->Item(index.v, item.Receive())) || !item) break;
    BSTR path = nullptr;
    if (FAILED(item->get_Path(&path)) || !path) continue;
    std::wstring name = path;
    ::SysFreeString(path);
    if (!ExtensionListed(::PathFindExtensionW(name.c_str()), extensions.c_str())) continue;
    if (!names.empty()) names += L"\t";
    names += ::PathFindFileNameW(name.c_str());
    ++found;
  }
  return found;
}

ZipFolderAccess& Access() {
  static ZipFolderAccess access{&ListZipFontFilesThroughShell, nullptr};
  return access;
}

}  // namespace

void SetZipFolderAccess(const ZipFolderAccess& access) {
  Access() = access;
  if (!Access().listFontFiles) Access().listFontFiles = &ListZipFontFilesThroughShell;
}

const ZipFolderAccess& GetZipFolderAccess() { return Access(); }
