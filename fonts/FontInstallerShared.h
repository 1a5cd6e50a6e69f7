// Small helpers the install and uninstall halves of FontInstaller share.
#pragma once

#include <windows.h>
#include <string>

#include "fonts/FontItem.h"

namespace installer_detail {

// The first Windows release with per-user font installs.
inline constexpr int kPerUserRelease = 1809;

bool PerUserInstallsAllowed();
std::wstring FileNameOf(const std::wstring& path);
void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to);
// Sends the font-change command to the main window.
void AnnounceFontChange();
// The registered record of the installed list that the item is installed through (never one
// known to GDI only): same full name and type first, then a TrueType namesake of a TrueType
// font, then the same English full name; null when none.
const FontItem* InstalledRecordOf(const FontItem& item);
// The name the user knows a font by: its full name; for a font that could not be read the name
// a list or group showed it under; else its file name.
std::wstring NameForUser(const FontItem& item);

}  // namespace installer_detail
