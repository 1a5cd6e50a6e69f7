// File lists on the clipboard as CF_HDROP (DROPFILES with wide paths), as Explorer reads and
// writes them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Puts the paths on the clipboard; false when the clipboard could not be opened or filled.
bool WriteFileDropToClipboard(HWND owner, const std::vector<std::wstring>& paths);
// The paths of a CF_HDROP on the clipboard (each up to 260 characters); empty when none.
std::vector<std::wstring> ReadFileDropFromClipboard(HWND owner);
