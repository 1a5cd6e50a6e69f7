// Asks the user for a folder, starting at `start`; true with the chosen folder on OK.
#pragma once

#include <windows.h>
#include <string>

bool BrowseForFolder(HWND owner, const std::wstring& start, std::wstring& chosen);
