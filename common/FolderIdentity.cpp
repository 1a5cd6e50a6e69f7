#include "common/FolderIdentity.h"

#include "common/StringHelpers.h"
#include "framework/Handles.h"

std::wstring FullPathOf(const std::wstring& path) {
  if (path.empty()) return {};
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return {};
    if (length < full.size()) {
      full.resize(length);
      return WithoutTrailingBackslash(std::move(full));
    }
    full.assign(length, L'\0');  // the size needed, terminator included
  }
}

bool ReadFileIdentity(const std::wstring& path, FileIdentity& id) {
  orv::ScopedHandle handle(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle || !::GetFileInformationByHandle(handle.Get(), &info)) return false;
  id = {info.dwVolumeSerialNumber, (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  return true;
}

bool IsSameFolder(const std::wstring& a, const std::wstring& b) {
  const std::wstring fullA = FullPathOf(a);
  const std::wstring fullB = FullPathOf(b);
  if (fullA.empty() || fullB.empty()) return false;
  if (EqualsNoCase(fullA, fullB)) return true;
  FileIdentity idA, idB;
  return ReadFileIdentity(fullA, idA) && ReadFileIdentity(fullB, idB) && idA == idB;
}

bool IsSameOrInsideFolder(const std::wstring& path, const std::wstring& folder) {
  const std::wstring fullPath = FullPathOf(path);
  const std::wstring fullFolder = FullPathOf(folder);
  if (fullPath.empty() || fullFolder.empty()) return false;
  if (EqualsNoCase(fullPath, fullFolder)) return true;
  // In whole components: "C:\Fonts" holds "C:\Fonts\x" but not "C:\FontsOld".
  const std::wstring prefix = fullFolder.back() == L'\\' ? fullFolder : fullFolder + L'\\';
  if (StartsWithNoCase(fullPath, prefix)) return true;
  // Another name of the folder: it, or a folder that holds it, is an existing part of the path.
  FileIdentity target;
  if (!ReadFileIdentity(fullFolder, target)) return false;
  std::wstring part = fullPath;
  do {
    FileIdentity id;
    if (ReadFileIdentity(part, id) && id == target) return true;
  } while (CutLastPathComponent(part));
  return false;
}
