// What several font property pages do alike: the single Close button of the sheet, file
// details (size, attributes, dates), text of a control.
#pragma once

#include <windows.h>

#include <string>

// Done by the first page of a font property sheet when it initialises: Cancel becomes Close
// (PSM_CANCELTOCLOSE) and is hidden, OK takes its place, the sheet is centred over its owner.
void ArrangeCloseOnlySheet(HWND page);

// Opens `path` for reading and shows its size (FormatByteSize) in sizeControl; with
// withDetails also the read-only, hidden, system and archive boxes and the creation, last
// write and last access dates in local time. False, showing nothing, when the file cannot be
// opened.
bool ShowFileDetails(HWND page, const std::wstring& path, int sizeControl, bool withDetails);

// Sets ShownText(text). Name strings of fonts often end lines with a bare line feed, which an
// edit control would not break at; and a name string may be 32,767 characters long, which an
// edit control takes many seconds to lay out.
void SetControlText(HWND page, int controlId, const std::wstring& text);
std::wstring WithCrLf(const std::wstring& text);

// The most characters of one string a page shows, line ends counted as CR LF.
constexpr size_t kMaxShownTextLength = 3000;
// The text with every line end made CR LF; past kMaxShownTextLength characters cut (never inside
// a CR LF or a surrogate pair) and ended with an ellipsis.
std::wstring ShownText(const std::wstring& text);

// "C:\a\b.ttf" -> "b.ttf" and "C:\a".
std::wstring FileNameOf(const std::wstring& path);
std::wstring FolderOf(const std::wstring& path);
