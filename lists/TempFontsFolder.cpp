#include "lists/TempFontsFolder.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "framework/Handles.h"

std::wstring TempFontsFolderPath() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, path)) || !path[0]) return {};
  if (!::PathAppendW(path, L"Orvel Font Manager") || !::PathAppendW(path, L"Temp")) return {};
  return path;
}

std::wstring GetTempFontsFolder() {
  const std::wstring path = TempFontsFolderPath();
  if (!path.empty() && !::PathFileExistsW(path.c_str())) {
    // The program's data folder is made at the first start; make it here too when it is gone.
    std::wstring parent = path.substr(0, path.find_last_of(L'\\'));
    if (!::PathFileExistsW(parent.c_str())) ::CreateDirectoryW(parent.c_str(), nullptr);
    ::CreateDirectoryW(path.c_str(), nullptr);
  }
  return path;
}

bool TempFontsFolderExists() {
  const std::wstring path = TempFontsFolderPath();
  return !path.empty() && ::PathIsDirectoryW(path.c_str());
}

void EmptyTempFontsFolder() {
  const std::wstring folder = TempFontsFolderPath();
  if (folder.empty() || ::PathIsRelativeW(folder.c_str()) || !::PathIsDirectoryW(folder.c_str())) return;
  WIN32_FIND_DATAW found{};
  orv::ScopedFindHandle find(::FindFirstFileW((folder + L"\\*.*").c_str(), &found));
  if (!find) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::wstring file = folder + L"\\" + found.cFileName;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
      ::SetFileAttributesW(file.c_str(), found.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
    ::DeleteFileW(file.c_str());
  } while (::FindNextFileW(find.Get(), &found));
}
