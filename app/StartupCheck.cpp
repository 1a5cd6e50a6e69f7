#include "app/StartupCheck.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "app/AppState.h"
#include "app/CCreateFontCaseDlg.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"

namespace {

bool CreateKey(const wchar_t* path) {
  orv::ScopedKey key;
  return ::RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr, key.Receive(),
                           nullptr) == ERROR_SUCCESS;
}

bool MakeFolder(const std::wstring& path) {
  if (path.empty()) return false;
  if (::CreateDirectoryW(path.c_str(), nullptr)) return true;
  return ::GetLastError() == ERROR_ALREADY_EXISTS && ::PathIsDirectoryW(path.c_str());
}

}  // namespace

int32_t WindowsReleaseFromVersion(unsigned major, unsigned build) {
  if (major < 10) return 700;
  if (major > 10) return 2000;
  if (build == 15063 || build == 16299 || build == 17134 || build == 17763) return 1809;
  if (build <= 17763) return 0;
  return 1903;
}

int32_t ReadWindowsRelease() {
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(L"kernel32.dll", &handle);
  if (!size) return 0;
  std::vector<BYTE> block(size, 0);
  if (!::GetFileVersionInfoW(L"kernel32.dll", 0, size, block.data())) return 0;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info ||
      len < sizeof(VS_FIXEDFILEINFO))
    return 0;
  return WindowsReleaseFromVersion(HIWORD(info->dwProductVersionMS), HIWORD(info->dwProductVersionLS));
}

bool EnsureAppDataFolders() {
  const std::wstring data = GetAppDataFolder();
  if (!MakeFolder(data)) return false;
  return MakeFolder(GetAppDataFolder(L"Font Groups"));
}

bool StartupCheck(StartupCheckRecord& record) {
  bool ok = true;
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  if (!key) {
    record.FirstStart = true;
    ok = CreateKey(kAppKeyPath) && CreateKey(kPrefsKeyPath);
  }
  if (ok) {
    key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
    ok = static_cast<bool>(key);
  }
  if (ok) {
    if (!ReadRegString(key.Get(), L"FontCaseRoot", kPathMax, record.FontCaseRoot)) record.FontCaseRoot.clear();
    if (record.FontCaseRoot.empty()) {
      CCreateFontCaseDlg dlg;
      dlg.DoModal(::GetActiveWindow());
      record.FontCaseRoot = dlg.Folder();
    }
    // Missing data folders are made on every start, not only the first: a user may have
    // deleted them, and an existing one is fine.
    ok = EnsureAppDataFolders();
  }
  g_AppState.WindowsRelease = ReadWindowsRelease();
  return ok;
}
