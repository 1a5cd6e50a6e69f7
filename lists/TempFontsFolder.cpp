#include "lists/TempFontsFolder.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "common/ResourceIds.h"
#include "framework/Handles.h"
#include "common/StringHelpers.h"
#include "fonts/FontFileCommand.h"

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
  // A font copied out of a read-only source keeps that attribute, and the shell's delete
  // leaves such files behind.
  WIN32_FIND_DATAW found{};
  if (orv::ScopedFindHandle find(::FindFirstFileW(JoinPath(folder, L"*.*").c_str(), &found)); find) {
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        ::SetFileAttributesW(JoinPath(folder, found.cFileName).c_str(), found.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
    } while (::FindNextFileW(find.Get(), &found));
  }
  // The files of the folder alone, quietly: no question, no error box, no recycle bin, no
  // subfolders.
  FontFileCommand command(nullptr, FontFileCommand::kDelete, IDS_DELETE_FONTS_CAPTION);
  command.AddFlags(FOF_SILENT | FOF_NOCONFIRMATION | FOF_FILESONLY | FOF_NOERRORUI | FOF_NORECURSION);
  if (command.SetSourcePaths(JoinPath(folder, L"*.*") + L"||", L'|')) (void)command.Execute();
}
