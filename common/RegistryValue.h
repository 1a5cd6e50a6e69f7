// Reading single registry values of an open key, with their type checked and strings always
// terminated. A value that is missing, of another type or of the wrong size leaves the output
// unchanged and gives false, so the caller's default stays in force.
#pragma once

#include <windows.h>
#include <string>

#include "framework/Handles.h"

// REG_SZ or REG_EXPAND_SZ (not expanded), at most maxChars characters.
[[nodiscard]] bool ReadRegString(HKEY key, const wchar_t* name, size_t maxChars, std::wstring& out);

[[nodiscard]] bool ReadRegDword(HKEY key, const wchar_t* name, DWORD& out);

// REG_BINARY of exactly `size` bytes.
[[nodiscard]] bool ReadRegBinaryExact(HKEY key, const wchar_t* name, void* data, DWORD size);

bool WriteRegString(HKEY key, const wchar_t* name, const std::wstring& value);
bool WriteRegDword(HKEY key, const wchar_t* name, DWORD value);
bool WriteRegBinary(HKEY key, const wchar_t* name, const void* data, DWORD size);

// Opens a key; an empty owner when that fails.
orv::ScopedKey OpenRegKey(HKEY root, const wchar_t* path, REGSAM access);
