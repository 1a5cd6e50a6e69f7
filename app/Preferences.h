// The user's preferences: one process-wide record, loaded from HKCU SOFTWARE\OrvelManager\Prefs
// at start-up and written back after the options sheet. Read by every subsystem on the main
// thread; workers read fields without locks.
#pragma once

#include <windows.h>
#include <cstdint>
#include <string>

inline constexpr wchar_t kAppKeyPath[] = L"SOFTWARE\\OrvelManager";
inline constexpr wchar_t kPrefsKeyPath[] = L"SOFTWARE\\OrvelManager\\Prefs";
inline constexpr size_t kPathMax = 260;
inline constexpr size_t kFavoriteFoldersMax = 1300;
inline constexpr int kColorCount = 6;
// The point sizes at which the font lists may draw their samples (the options sheet's range).
inline constexpr int kMinFontPointSize = 4;
inline constexpr int kMaxFontPointSize = 240;

// Indexes into Preferences::Colors.
enum PrefColor { kColorInstalled, kColorOtherVersion, kColorNotInstalled, kColorUnreadable, kColorGroup, kColorBack };

struct Preferences {
  bool ShowSampleInList = false;      // command 193; never stored
  std::wstring SampleText;
  std::wstring FavoriteFolders;       // "|"-separated
  int32_t FontCacheSize = 2000;
  std::wstring FontCaseRoot;
  std::wstring GroupsFolder;          // never stored; empty when the Prefs key is missing
  uint32_t TreeViewFlags = 0;
  int32_t FontPointSize = 0;
  uint32_t StyleFlags = 0;            // bit 0: names only in every font list
  COLORREF Colors[kColorCount] = {};
  uint32_t FontInstallFlags = 0;
  uint32_t InstallThreshold = 0;
  bool Changed = false;

  static constexpr uint32_t kStyleNamesOnly = 0x1;
  // The installed list leaves out raster and vector faces, EUDC fonts, vertical "@" faces.
  static constexpr uint32_t kStyleHideRaster = 0x2;
  static constexpr uint32_t kStyleHideEudc = 0x20;
  static constexpr uint32_t kStyleHideVertical = 0x40;
};

extern Preferences g_Preferences;

// The built-in defaults of the stored options (applied by LoadPreferences before it reads).
void SetDefaultPreferences(Preferences& prefs);

// Sets the defaults and reads the stored options.
void LoadPreferences();

// Writes the options after the options sheet, when they changed: the values that differ from
// those loaded or last written. Clears the changed flag.
void SaveOptionPreferences();

// A path that names one folder wherever the program runs: a drive letter with a root ("C:\x")
// or a server share ("\\server\share"); not "Fonts", "C:" or "\Fonts".
bool IsFullyQualifiedFolder(const std::wstring& folder);

// A folder without a trailing backslash, except at a drive root ("D:\").
std::wstring NormalizeFolder(const std::wstring& folder);

// The per-user data folder: application data + "Orvel Font Manager" (+ `sub` when given).
std::wstring GetAppDataFolder(const wchar_t* sub = nullptr);
