#include "app/AppState.h"

#include <shlobj.h>
#include <shlwapi.h>

AppState g_AppState;

AppState::AppState() {
  RegisterAppShell(this);
  wchar_t path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n > 0 && n < MAX_PATH && ::PathRenameExtensionW(path, L".chm")) HelpFilePath = path;

  wchar_t fonts[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, fonts, CSIDL_FONTS, FALSE) || !fonts[0]) {
    fonts[0] = L'\0';
    if (::GetWindowsDirectoryW(fonts, MAX_PATH)) ::PathAppendW(fonts, L"Fonts");
  }
  SystemFontsFolder = fonts;

  wchar_t user[MAX_PATH] = {};
  if (::SHGetSpecialFolderPathW(nullptr, user, CSIDL_LOCAL_APPDATA, FALSE) && user[0] &&
      ::PathAppendW(user, L"Microsoft\\Windows\\Fonts")) {
    UserFontsFolder = user;
    if (!::PathFileExistsW(user)) ::CreateDirectoryW(user, nullptr);
  }
}
