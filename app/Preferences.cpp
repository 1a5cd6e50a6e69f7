#include "app/Preferences.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "common/RegistryValue.h"
#include "groups/FontGroup.h"

Preferences g_Preferences;

namespace {
const COLORREF kDefaultColors[kColorCount - 1] = {0xFF8000, 0x8040B8, 0x40A8FF, 0x4000FF, 0x40B800};

// Colours are plain RGB values: the top byte is never used.
bool AreValidColors(const COLORREF (&colors)[kColorCount]) {
  for (COLORREF c : colors)
    if (c & 0xFF000000) return false;
  return true;
}
}  // namespace

std::wstring NormalizeFolder(const std::wstring& folder) {
  if (folder.empty() || folder.size() >= kPathMax) return folder;
  wchar_t buffer[kPathMax + 1] = {};
  folder.copy(buffer, folder.size());
  ::PathAddBackslashW(buffer);
  if (!::PathIsRootW(buffer)) ::PathRemoveBackslashW(buffer);
  return buffer;
}

std::wstring GetAppDataFolder(const wchar_t* sub) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, path)) || !path[0]) return {};
  if (!::PathAppendW(path, L"Orvel Font Manager")) return {};
  if (sub && !::PathAppendW(path, sub)) return {};
  return NormalizeFolder(path);
}

void SetDefaultPreferences(Preferences& prefs) {
  prefs.FontPointSize = 12;
  prefs.StyleFlags = 0x72;
  prefs.FontInstallFlags = 0x30;
  prefs.InstallThreshold = 0;
  prefs.TreeViewFlags = 0;
  for (int i = 0; i < kColorCount - 1; ++i) prefs.Colors[i] = kDefaultColors[i];
  prefs.Colors[kColorBack] = ::GetSysColor(COLOR_3DLIGHT);
}

void LoadPreferences() {
  Preferences& p = g_Preferences;
  FontGroup::SetGroupsFolderSource(&p.GroupsFolder);
  SetDefaultPreferences(p);
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  if (!key) return;

  std::wstring root;
  if (ReadRegString(key.Get(), L"FontCaseRoot", kPathMax, root)) p.FontCaseRoot = NormalizeFolder(root);
  p.GroupsFolder = GetAppDataFolder(L"Font Groups");

  DWORD value = 0;
  if (ReadRegDword(key.Get(), L"TreeViewFlags", value)) p.TreeViewFlags = value;
  if (ReadRegDword(key.Get(), L"FontPointSize", value)) p.FontPointSize = static_cast<int32_t>(value);
  if (ReadRegDword(key.Get(), L"StyleFlags", value)) p.StyleFlags = value;
  if (ReadRegDword(key.Get(), L"FontInstallFlags", value)) p.FontInstallFlags = value;
  if (ReadRegDword(key.Get(), L"InstallThreshold", value)) p.InstallThreshold = value;
  if (ReadRegDword(key.Get(), L"FontCacheSize", value)) p.FontCacheSize = static_cast<int32_t>(value);

  // A "Colors" value of the wrong size or with non-RGB entries leaves the defaults.
  COLORREF colors[kColorCount];
  if (ReadRegBinaryExact(key.Get(), L"Colors", colors, sizeof(colors)) && AreValidColors(colors))
    std::copy(std::begin(colors), std::end(colors), p.Colors);
}

void SaveOptionPreferences() {
  Preferences& p = g_Preferences;
  if (!p.Changed) return;
  p.Changed = false;
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_WRITE);
  if (!key) return;
  WriteRegDword(key.Get(), L"FontInstallFlags", p.FontInstallFlags);
  WriteRegDword(key.Get(), L"InstallThreshold", p.InstallThreshold);
  WriteRegBinary(key.Get(), L"Colors", p.Colors, sizeof(p.Colors));
  WriteRegDword(key.Get(), L"FontPointSize", static_cast<DWORD>(p.FontPointSize));
  WriteRegDword(key.Get(), L"StyleFlags", p.StyleFlags);
  WriteRegDword(key.Get(), L"TreeViewFlags", p.TreeViewFlags);
  WriteRegString(key.Get(), L"FontCaseRoot", p.FontCaseRoot);
  WriteRegDword(key.Get(), L"FontCacheSize", static_cast<DWORD>(p.FontCacheSize));
}
