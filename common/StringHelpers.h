// Small string routines shared by the subsystems.
#pragma once

#include <windows.h>
#include <string>
#include <string_view>
#include <vector>

// Ordinal comparison ignoring case with the system's upper-case table (CompareStringOrdinal), as
// file names compare; msvcrt's _wcsicmp folds ASCII only.
[[nodiscard]] bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
[[nodiscard]] bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix);
[[nodiscard]] bool EndsWithNoCase(std::wstring_view s, std::wstring_view suffix);
// The key under which EqualsNoCase-equal strings meet in a hash set.
[[nodiscard]] std::wstring FoldCase(std::wstring_view s);

// A window's whole text, however long; empty for a missing window.
[[nodiscard]] std::wstring GetWindowTextString(HWND window);
// The text of a dialog control: GetWindowTextW's result, the text in `out`. A missing control
// empties `out` and gives 0.
int GetDlgItemString(HWND dialog, int controlId, std::wstring& out);
// The text of a list-view cell (item, subitem), however long: the buffer doubles from 256
// characters until the text leaves room to spare, since the list cuts what does not fit.
[[nodiscard]] std::wstring GetListViewItemText(HWND list, int item, int subItem);
// Where `part` first occurs in `text` without regard to case, or -1 (an empty part is at 0).
[[nodiscard]] int FindNoCase(std::wstring_view text, std::wstring_view part);

// Drops the last component of a path, the way PathRemoveFileSpecW does ("C:\a\b" -> "C:\a",
// "C:\a" -> "C:\"). True when something was removed.
bool CutLastPathComponent(std::wstring& path);
// The folder a file lies in ("C:\a\b.ttf" -> "C:\a", "C:\b.ttf" -> "C:\"); empty for a root,
// which lies in no folder, and for a bare file name.
[[nodiscard]] std::wstring ParentFolder(std::wstring path);
// A file reference without drive or folder ("a.ttf"), to be taken in a known folder.
[[nodiscard]] bool IsBareFileName(std::wstring_view ref);
// `name` appended to `folder` as PathAppendW does ("C:\" + "a.ttf" -> "C:\a.ttf", "..\" steps
// up), and joined with a backslash when the result is too long for it: a folder never drops
// out, so nothing is opened relative to the current directory by mistake. With no folder,
// `name` as given.
[[nodiscard]] std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
// A folder as the program keeps it: without trailing backslashes, except at a root ("C:\").
[[nodiscard]] std::wstring WithoutTrailingBackslash(std::wstring folder);

// Text for XML or HTML: &, <, >, " and ' as entities, appended to `out`.
void AppendMarkupEscaped(std::wstring& out, std::wstring_view text);

// A text from outside made fit for a message: control characters (line breaks among them)
// become spaces, and a text longer than `maxChars` keeps its start and its end around "...".
[[nodiscard]] std::wstring ShortenedForDisplay(std::wstring_view text, size_t maxChars);

// Removes spaces, tabs and line breaks at both ends.
void TrimWhiteSpace(std::wstring& s);

// The fields of a "|"-separated list (resource strings of names read by position): every field,
// empty ones included; an empty text gives one empty field.
[[nodiscard]] std::vector<std::wstring> SplitFields(std::wstring_view text, wchar_t separator = L'|');
// Field `index` of such a list; empty past its end.
[[nodiscard]] std::wstring FieldAt(std::wstring_view text, size_t index, wchar_t separator = L'|');
// Field `index` of a "|"-separated list read the way a tokenizer reads it: a run of separators
// counts as one and a leading one is skipped, so empty fields are never counted; empty past the
// last field.
[[nodiscard]] std::wstring TokenAt(std::wstring_view text, size_t index, wchar_t separator = L'|');
