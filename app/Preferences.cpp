#include "app/Preferences.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "common/RegistryValue.h"
#include "groups/FontGroup.h"

Preferences g_Preferences;

namespace {
// The option values as the registry holds them: loaded, or last written.
Preferences g_storedOptions;

const COLORREF kDefaultColors[kColorCount - 1] = {0xFF8000, 0x8040B8, 0x40A8FF, 0x4000FF, 0x40B800};

bool IsFontPointSize(int32_t points) { return points >= kMinFontPointSize && points <= kMaxFontPointSize; }

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
  g_storedOptions = p;
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  if (!key) return;

  std::wstring root;
  if (ReadRegString(key.Get(), L"FontCaseRoot", kPathMax, root)) p.FontCaseRoot = NormalizeFolder(root);
  p.GroupsFolder = GetAppDataFolder(L"Font Groups");

  DWORD value = 0;
  if (ReadRegDword(key.Get(), L"TreeViewFlags", value)) p.TreeViewFlags = value;
  // A size the options sheet cannot give would draw invisible samples, empty lists or overflow.
  if (ReadRegDword(key.Get(), L"FontPointSize", value) && IsFontPointSize(static_cast<int32_t>(value)))
    p.FontPointSize = static_cast<int32_t>(value);
  if (ReadRegDword(key.Get(), L"StyleFlags", value)) p.StyleFlags = value;
  if (ReadRegDword(key.Get(), L"FontInstallFlags", value)) p.FontInstallFlags = value;
  if (ReadRegDword(key.Get(), L"InstallThreshold", value)) p.InstallThreshold = value;
  if (ReadRegDword(key.Get(), L"FontCacheSize", value)) p.FontCacheSize = static_cast<int32_t>(value);

  // A "Colors" value of the wrong size or with non-RGB entries leaves the defaults.
  COLORREF colors[kColorCount];
  if (ReadRegBinaryExact(key.Get(), L"Colors", colors, sizeof(colors)) && AreValidColors(colors))
    std::copy(std::begin(colors), std::end(colors), p.Colors);
  g_storedOptions = p;
}

void SaveOptionPreferences() {
  Preferences& p = g_Preferences;
  if (!p.Changed) return;
  p.Changed = false;
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_WRITE);
  if (!key) return;
  // Only what differs from the stored values is written: a value never stored keeps its default
  // out of the registry, and a value applied earlier but not yet stored is written now.
  Preferences& s = g_storedOptions;
  if (p.FontInstallFlags != s.FontInstallFlags) WriteRegDword(key.Get(), L"FontInstallFlags", p.FontInstallFlags);
  if (p.InstallThreshold != s.InstallThreshold) WriteRegDword(key.Get(), L"InstallThreshold", p.InstallThreshold);
  if (!std::equal(std::begin(p.Colors), std::end(p.Colors), std::begin(s.Colors)))
    WriteRegBinary(key.Get(), L"Colors", p.Colors, sizeof(p.Colors));
  if (p.FontPointSize != s.FontPointSize)
    WriteRegDword(key.Get(), L"FontPointSize", static_cast<DWORD>(p.FontPointSize));
  if (p.StyleFlags != s.StyleFlags) WriteRegDword(key.Get(), L"StyleFlags", p.StyleFlags);
  if (p.TreeViewFlags != s.TreeViewFlags) WriteRegDword(key.Get(), L"TreeViewFlags", p.TreeViewFlags);
  if (p.FontCaseRoot != s.FontCaseRoot) WriteRegString(key.Get(), L"FontCaseRoot", p.FontCaseRoot);
  if (p.FontCacheSize != s.FontCacheSize)
    WriteRegDword(key.Get(), L"FontCacheSize", static_cast<DWORD>(p.FontCacheSize));
  s = p;
}

bool IsFullyQualifiedFolder(const std::wstring& folder) {
  if (folder.size() >= 3 && folder[1] == L':' && folder[2] == L'\\') return true;  // "C:\..."
  return folder.size() > 2 && folder[0] == L'\\' && folder[1] == L'\\';          // "\\server\share"
}
