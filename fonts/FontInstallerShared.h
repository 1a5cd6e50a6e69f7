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
// The name the user knows a font by: its full name, else the name a list or group gave it, else
// its file name.
std::wstring NameForUser(const FontItem& item);

}  // namespace installer_detail
