#include "fonts/RegistryValueEnumerator.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace {

constexpr REGSAM kViewBits = KEY_WOW64_32KEY | KEY_WOW64_64KEY;
// The registry's own limit for value names is 16,383 characters; data is bounded here so that
// a hostile value cannot make the reader ask for unbounded memory.
constexpr DWORD kNameLengthLimit = 16384;
constexpr DWORD kDataBytesLimit = 64u * 1024 * 1024;
constexpr int kMaxRetries = 8;

}  // namespace

RegistryValueEnumerator::RegistryValueEnumerator(HKEY root, const wchar_t* subKey, REGSAM extraAccess) {
  if (::RegOpenKeyExW(root, subKey, 0, KEY_READ | extraAccess, key.Receive()) == ERROR_SUCCESS) {
    viewFlags = extraAccess & kViewBits;
    opened = QuerySizes();
    return;
  }
  key.Reset();
  if (subKey && std::wcscmp(subKey, kType1FontsKey) == 0) {
    HKEY created = nullptr;
    if (::RegCreateKeyExW(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | extraAccess | KEY_WOW64_64KEY,
                          nullptr, &created, nullptr) == ERROR_SUCCESS) {
      key.Reset(created);
      viewFlags = KEY_WOW64_64KEY;
      opened = true;
    }
  }
}

RegistryValueEnumerator::~RegistryValueEnumerator() {
  nameBuffer.clear();
  nameBuffer.shrink_to_fit();
  dataBuffer.clear();
  dataBuffer.shrink_to_fit();
  key.Reset();
  viewFlags = 0;
}

bool RegistryValueEnumerator::QuerySizes() {
  DWORD nameMax = 0;
  DWORD dataMax = 0;
  if (::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &nameMax, &dataMax,
                         nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  // Never shrink: the buffers only grow while the key is read.
  maxNameLength = std::max(maxNameLength, std::min(nameMax, kNameLengthLimit - 1) + 1);
  maxDataLength = std::max(maxDataLength, (std::min(dataMax, kDataBytesLimit) + 2) / 2);
  return true;
}

bool RegistryValueEnumerator::Grow(DWORD neededDataBytes) {
  const DWORD oldName = maxNameLength;
  const DWORD oldData = maxDataLength;
  if (!QuerySizes()) return false;
  if (neededDataBytes > kDataBytesLimit) return false;
  maxDataLength = std::max(maxDataLength, (neededDataBytes + 2) / 2);
  // The key's figures may lag behind a value written since; then grow on our own (the name is
  // the likelier culprit when the data size reported fits).
  if (maxNameLength == oldName && maxDataLength == oldData) {
    if (maxNameLength < kNameLengthLimit) {
      maxNameLength = std::min(kNameLengthLimit, maxNameLength * 2 + 16);
    } else if (maxDataLength < kDataBytesLimit / 2) {
      maxDataLength = maxDataLength * 2 + 16;
    } else {
      return false;
    }
  }
  return true;
}

bool RegistryValueEnumerator::Next() {
  nameLength_ = 0;
  type_ = REG_NONE;
  dataSize_ = 0;
  textLength_ = 0;
  if (!opened) {
    lastError_ = ERROR_NO_MORE_ITEMS;
    return false;
  }
  for (int attempt = 0;; ++attempt) {
    nameBuffer.assign(maxNameLength, L'\0');
    // One character beyond the data the registry may write: the terminator of last resort.
    dataBuffer.assign(static_cast<size_t>(maxDataLength) + 1, L'\0');
    DWORD nameChars = maxNameLength;
    DWORD dataBytes = maxDataLength * static_cast<DWORD>(sizeof(wchar_t));
    DWORD type = REG_NONE;
    const LSTATUS rc = ::RegEnumValueW(key.Get(), nextIndex, nameBuffer.data(), &nameChars, nullptr, &type,
                                       reinterpret_cast<BYTE*>(dataBuffer.data()), &dataBytes);
    if (rc == ERROR_MORE_DATA && attempt < kMaxRetries) {
      const DWORD needed = dataBytes > maxDataLength * sizeof(wchar_t) ? dataBytes : 0;
      if (Grow(needed)) continue;
    }
    lastError_ = rc;
    if (rc != ERROR_SUCCESS) {
      opened = false;
      return false;
    }
    ++nextIndex;
    nameLength_ = std::min<size_t>(nameChars, maxNameLength - 1);
    type_ = type;
    dataSize_ = std::min<DWORD>(dataBytes, maxDataLength * sizeof(wchar_t));
    // A trailing half character is no text: clear it so the text ends at the last whole one.
    const size_t wholeChars = dataSize_ / sizeof(wchar_t);
    if (IsString()) {
      if (dataSize_ % sizeof(wchar_t)) dataBuffer[wholeChars] = L'\0';
      textLength_ = ::wcsnlen(dataBuffer.data(), wholeChars);
    }
    return true;
  }
}

bool RegistryValueEnumerator::NextString() {
  while (Next()) {
    if (IsString()) return true;
  }
  return false;
}

std::wstring_view RegistryValueEnumerator::Text() const noexcept {
  if (!IsString()) return {};
  return {dataBuffer.data(), textLength_};
}

bool RegistryValueEnumerator::GetDword(DWORD& out) const noexcept {
  if (type_ != REG_DWORD || dataSize_ != sizeof(DWORD)) return false;
  std::memcpy(&out, dataBuffer.data(), sizeof(DWORD));
  return true;
}

bool RegistryValueEnumerator::GetMultiString(std::wstring& out, wchar_t separator) const {
  out.clear();
  if (type_ != REG_MULTI_SZ) return false;
  // Odd bytes and a missing last terminator are cut off, as for single strings.
  const std::wstring_view data(dataBuffer.data(), dataSize_ / sizeof(wchar_t));
  for (size_t at = 0; at < data.size() && data[at] != L'\0';) {
    const size_t end = std::min(data.find(L'\0', at), data.size());
    if (at) out += separator;
    out.append(data.substr(at, end - at));
    at = end + 1;
  }
  return true;
}
