// Small string routines shared by the subsystems.
#pragma once

#include <windows.h>
#include <string>
#include <string_view>

// Ordinal comparison ignoring case with the system's upper-case table (CompareStringOrdinal), as
// file names compare; msvcrt's _wcsicmp folds ASCII only.
[[nodiscard]] bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
[[nodiscard]] bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix);
[[nodiscard]] bool EndsWithNoCase(std::wstring_view s, std::wstring_view suffix);
// The key under which EqualsNoCase-equal strings meet in a hash set.
[[nodiscard]] std::wstring FoldCase(std::wstring_view s);

// The text of a dialog control: GetWindowTextW's result, the text in `out`. A missing control
// empties `out` and gives 0.
int GetDlgItemString(HWND dialog, int controlId, std::wstring& out);

// Drops the last component of a path, the way PathRemoveFileSpecW does ("C:\a\b" -> "C:\a",
// "C:\a" -> "C:\"). True when something was removed.
bool CutLastPathComponent(std::wstring& path);

// Text for XML or HTML: &, <, >, " and ' as entities, appended to `out`.
void AppendMarkupEscaped(std::wstring& out, std::wstring_view text);

// Removes spaces, tabs and line breaks at both ends.
void TrimWhiteSpace(std::wstring& s);
