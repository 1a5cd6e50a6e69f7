// Strings of the resource library, by identifier.
#pragma once

#include <windows.h>
#include <string>

// The string with this identifier; empty when there is none.
std::wstring LoadResString(UINT id);

// Field `index` of the string with this identifier, counted as TokenAt counts (empty fields
// skipped); empty when the string has fewer fields.
std::wstring ResourceStringField(UINT id, size_t index);

// The string with this identifier formatted by wsprintf rules (%s takes a wide string, %d an
// int); at most 1024 characters, as wsprintfW allows.
std::wstring FormatResString(UINT id, ...);

// printf-style formatting of a wide format string with wsprintf rules.
std::wstring FormatWide(const wchar_t* format, ...);
