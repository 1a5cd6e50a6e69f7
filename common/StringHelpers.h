// Small string routines shared by the dialogs.
#pragma once

#include <windows.h>
#include <string>

// The text of a dialog control: GetWindowTextW's result, the text in `out`. A missing control
// empties `out` and gives 0.
int GetDlgItemString(HWND dialog, int controlId, std::wstring& out);

// Drops the last component of a path, the way PathRemoveFileSpecW does ("C:\a\b" -> "C:\a",
// "C:\a" -> "C:\"). True when something was removed.
bool CutLastPathComponent(std::wstring& path);

// Removes spaces, tabs and line breaks at both ends.
void TrimWhiteSpace(std::wstring& s);
