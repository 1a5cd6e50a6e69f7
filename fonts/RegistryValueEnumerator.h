// Reader of all values of one registry key.
//
// Opens the key, learns its longest value name and value data, and owns the buffers the
// enumeration fills. `Next` steps through the values in the key's order; the current value's
// name, type and data stay valid until the next call. A key that cannot be opened yields no
// values (IsOpen false), which callers treat as an empty key. The Type 1 fonts key is the one
// exception: when it is missing it is created, so that the installer finds it afterwards.
//
// String values (REG_SZ, REG_EXPAND_SZ) are always read terminated, whatever the registry
// holds: the data buffer has room for one character more than the data, and data of an odd
// byte count or without a terminator is cut at its last whole character. A value that grew
// after the key was opened (ERROR_MORE_DATA) makes the buffers grow and the read repeat, it
// does not end the enumeration. One thread at a time.
#pragma once

#include <windows.h>
#include <string>
#include <string_view>

#include "framework/Handles.h"

// The key the Type 1 installer keeps its fonts in; created on first use.
inline constexpr wchar_t kType1FontsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Type 1 Installer\\Type 1 Fonts";

class RegistryValueEnumerator {
public:
  // extraAccess is added to KEY_READ; its KEY_WOW64_32KEY / KEY_WOW64_64KEY bits choose the view.
  RegistryValueEnumerator(HKEY root, const wchar_t* subKey, REGSAM extraAccess = 0);
  ~RegistryValueEnumerator();
  RegistryValueEnumerator(const RegistryValueEnumerator&) = delete;
  RegistryValueEnumerator& operator=(const RegistryValueEnumerator&) = delete;

  [[nodiscard]] bool IsOpen() const noexcept { return opened; }
  HKEY Key() const noexcept { return key.Get(); }
  DWORD ViewFlags() const noexcept { return viewFlags; }
  DWORD MaxNameLength() const noexcept { return maxNameLength; }
  DWORD MaxDataLength() const noexcept { return maxDataLength; }
  DWORD NextIndex() const noexcept { return nextIndex; }

  // Reads the next value. False at the end (LastError ERROR_NO_MORE_ITEMS) or when the read
  // failed (LastError says why); the enumeration is over then.
  [[nodiscard]] bool Next();
  // The next value of a string type, stepping over values of other types.
  [[nodiscard]] bool NextString();

  LSTATUS LastError() const noexcept { return lastError_; }

  // The current value.
  std::wstring_view Name() const noexcept { return {nameBuffer.data(), nameLength_}; }
  DWORD Type() const noexcept { return type_; }
  const BYTE* Data() const noexcept { return reinterpret_cast<const BYTE*>(dataBuffer.data()); }
  DWORD DataSize() const noexcept { return dataSize_; }
  [[nodiscard]] bool IsString() const noexcept { return type_ == REG_SZ || type_ == REG_EXPAND_SZ; }
  // A string value's text up to its first null (empty for other types); Text().data() is
  // terminated.
  std::wstring_view Text() const noexcept;
  // A REG_DWORD of exactly four bytes.
  [[nodiscard]] bool GetDword(DWORD& out) const noexcept;
  // A REG_MULTI_SZ's strings up to the first empty one, joined by `separator` (odd bytes and a
  // missing last terminator cut off); false for any other type.
  [[nodiscard]] bool GetMultiString(std::wstring& out, wchar_t separator) const;

private:
  [[nodiscard]] bool QuerySizes();
  [[nodiscard]] bool Grow(DWORD neededDataBytes);

  orv::ScopedKey key;
  DWORD viewFlags = 0;
  bool opened = false;
  DWORD nextIndex = 0;
  std::wstring nameBuffer;
  std::wstring dataBuffer;
  DWORD maxNameLength = 0;
  DWORD maxDataLength = 0;

  size_t nameLength_ = 0;
  DWORD type_ = REG_NONE;
  DWORD dataSize_ = 0;
  size_t textLength_ = 0;
  LSTATUS lastError_ = ERROR_SUCCESS;
};
