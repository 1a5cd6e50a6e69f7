// Small helpers the install and uninstall halves of FontInstaller share.
#pragma once

#include <windows.h>
#include <string>
#include <unordered_map>
#include <vector>

#include "fonts/FontItem.h"
#include "lists/FontItemList.h"

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

// The files of a command's entries by font name (folded), read or not yet, left out or not.
using FilesByName = std::unordered_map<std::wstring, std::vector<std::wstring>>;
FilesByName FilesOfEntriesByName(const FontItemList& items);
// Unloads the private loads of the item's files and of its namesakes' before the font is
// loaded or unloaded for the system: some GDIs (Wine's) keep one face per name, and take the
// one call for the other. A list that still draws one of them loads it again.
void DropPrivateLoads(const FilesByName& files, const FontItem& item);

}  // namespace installer_detail
