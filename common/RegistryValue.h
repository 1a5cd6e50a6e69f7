// Reading single registry values of an open key, with their type checked and strings always
// terminated. A value that is missing, of another type or of the wrong size leaves the output
// unchanged and gives false, so the caller's default stays in force.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

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

// What a registry value holds: nothing, or a type and its bytes.
struct RegValueState {
  bool exists = false;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;

  // Registration values and markers are short: a value longer than this is none of them.
  static constexpr DWORD kMaxBytes = 64 * 1024;
  // The value as it is now (in the 64-bit view) into `out`, which holds nothing when the value
  // or its key does not exist: ERROR_SUCCESS. A value that cannot be read is never taken as
  // absent: the error (ERROR_MORE_DATA for one longer than kMaxBytes), `out` unchanged.
  [[nodiscard]] static LSTATUS Read(HKEY root, const wchar_t* key, const std::wstring& name, RegValueState& out);
  static RegValueState Dword(DWORD value);
  static RegValueState Bytes(DWORD type, const BYTE* data, size_t size);
  bool operator==(const RegValueState& other) const = default;
};
