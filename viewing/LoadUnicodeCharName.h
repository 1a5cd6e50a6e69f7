// The name of one character from the string table of the system library getuname, where the
// string whose identifier is a code point holds that character's name. Used by the character
// map's status and the glyph list of the search filter. Any thread; the module stays loaded
// by the caller.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/Handles.h"

inline constexpr wchar_t kCharNameLibrary[] = L"getuname.dll";

// The system's getuname library (never one of that name beside the program), or the stand-in
// a test names through seams::SetCharNameLibrary; empty when it cannot be loaded.
[[nodiscard]] orv::ScopedModule LoadCharNameLibrary();

// Sets `out` to the name of `codePoint` in the loaded getuname module and returns true; false,
// with `out` unchanged, when the module is null or holds no name for it. String identifiers
// are 16-bit, so a code point above U+FFFF has no name there (taking its block number as 16
// bits would give another character's name).
[[nodiscard]] bool LoadUnicodeCharName(std::wstring& out, HMODULE getuname, uint32_t codePoint);
