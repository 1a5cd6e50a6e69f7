#include "lists/FolderFontFiles.h"

#include <cwchar>

#include "common/StringHelpers.h"
#include "framework/Handles.h"
#include "lists/ShellIdList.h"

namespace {
constexpr const wchar_t* kFontPatterns[] = {L"*.ttf", L"*.otf", L"*.ttc", L"*.pfm"};
}  // namespace

bool FolderHoldsFontFiles(const std::wstring& folder) {
  if (folder.empty()) return false;
  std::wstring base = folder;
  if (base.back() != L'\\') base += L'\\';
  for (const wchar_t* pattern : kFontPatterns) {
    WIN32_FIND_DATAW found{};
    orv::ScopedFindHandle find(::FindFirstFileW((base + pattern).c_str(), &found));
    if (find) return true;
  }
  return false;
}

std::wstring LowerCaseExtension(const std::wstring& name) {
  const size_t dot = name.rfind(L'.');
  if (dot == std::wstring::npos) return {};
  std::wstring ext = name.substr(dot);
  if (!ext.empty()) ::CharLowerBuffW(ext.data(), static_cast<DWORD>(ext.size()));
  return ext;
}

bool ExtensionListed(const std::wstring& extension, const wchar_t* extensions) {
  if (extension.size() < 2 || !extensions) return false;
  return FindNoCase(extensions, L"|" + extension + L"|") >= 0;
}

int ListFontFilesInFolder(IShellFolder* folder, HWND owner, bool includeHidden, std::wstring* names,
                          const wchar_t* extensions, bool stopAtFirst) {
  if (!folder) return -1;
  orv::ComPtr<IEnumIDList> items;
  const SHCONTF flags = SHCONTF_NONFOLDERS | (includeHidden ? SHCONTF_INCLUDEHIDDEN : 0);
  // S_FALSE with no enumerator is an empty folder, not a failure.
  const HRESULT hr = folder->EnumObjects(owner, flags, items.Receive());
  if (FAILED(hr)) return -1;
  if (!items) return stopAtFirst ? -1 : 0;
  int count = 0;
  for (;;) {
    LPITEMIDLIST raw = nullptr;
    if (items->Next(1, &raw, nullptr) != S_OK) break;
    ScopedIdList child(raw);
    std::wstring name;
    if (!GetShellDisplayName(folder, child.Get(), SHGDN_INFOLDER | SHGDN_FORPARSING, name)) continue;
    if (!ExtensionListed(LowerCaseExtension(name), extensions)) continue;
    if (stopAtFirst) return 1;
    if (names) {
      *names += name;
      *names += L'\t';
    }
    ++count;
  }
  return stopAtFirst ? -1 : count;
}
