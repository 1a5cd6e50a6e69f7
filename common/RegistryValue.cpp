#include "common/RegistryValue.h"

#include <vector>

bool ReadRegString(HKEY key, const wchar_t* name, size_t maxChars, std::wstring& out) {
  if (!key) return false;
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  // Room for one more character than the data holds, so an unterminated value ends too.
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
  DWORD got = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
  const LSTATUS rc = ::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got);
  if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  size_t len = got / sizeof(wchar_t);
  while (len > 0 && buffer[len - 1] == L'\0') --len;
  std::wstring value(buffer.data(), len);
  const size_t nul = value.find(L'\0');
  if (nul != std::wstring::npos) value.resize(nul);
  if (value.size() > maxChars) value.resize(maxChars);
  out = std::move(value);
  return true;
}

bool ReadRegDword(HKEY key, const wchar_t* name, DWORD& out) {
  if (!key) return false;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
    return false;
  if (type != REG_DWORD || size != sizeof(value)) return false;
  out = value;
  return true;
}

bool ReadRegBinaryExact(HKEY key, const wchar_t* name, void* data, DWORD size) {
  if (!key) return false;
  DWORD type = 0;
  DWORD actual = 0;
  if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &actual) != ERROR_SUCCESS) return false;
  if (type != REG_BINARY || actual != size) return false;
  std::vector<BYTE> buffer(size);
  DWORD got = size;
  if (::RegQueryValueExW(key, name, nullptr, &type, buffer.data(), &got) != ERROR_SUCCESS || got != size) return false;
  std::copy(buffer.begin(), buffer.end(), static_cast<BYTE*>(data));
  return true;
}

bool WriteRegString(HKEY key, const wchar_t* name, const std::wstring& value) {
  return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool WriteRegDword(HKEY key, const wchar_t* name, DWORD value) {
  return ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
         ERROR_SUCCESS;
}

bool WriteRegBinary(HKEY key, const wchar_t* name, const void* data, DWORD size) {
  return ::RegSetValueExW(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

orv::ScopedKey OpenRegKey(HKEY root, const wchar_t* path, REGSAM access) {
  orv::ScopedKey key;
  if (::RegOpenKeyExW(root, path, 0, access, key.Receive()) != ERROR_SUCCESS) key.Reset();
  return key;
}

LSTATUS RegValueState::Read(HKEY root, const wchar_t* key, const std::wstring& name, RegValueState& out) {
  orv::ScopedKey open;
  LSTATUS status = ::RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, open.Receive());
  if (status == ERROR_FILE_NOT_FOUND) {
    out = RegValueState();
    return ERROR_SUCCESS;
  }
  if (status != ERROR_SUCCESS) return status;
  DWORD type = REG_NONE;
  DWORD size = 0;
  status = ::RegQueryValueExW(open.Get(), name.c_str(), nullptr, &type, nullptr, &size);
  if (status == ERROR_FILE_NOT_FOUND) {
    out = RegValueState();
    return ERROR_SUCCESS;
  }
  if (status != ERROR_SUCCESS) return status;
  if (size > kMaxBytes) return ERROR_MORE_DATA;
  // Room for the value growing up to the limit meanwhile: a read cut short is no value.
  std::vector<BYTE> data(kMaxBytes);
  size = kMaxBytes;
  status = ::RegQueryValueExW(open.Get(), name.c_str(), nullptr, &type, data.data(), &size);
  if (status == ERROR_FILE_NOT_FOUND) {
    out = RegValueState();
    return ERROR_SUCCESS;
  }
  if (status != ERROR_SUCCESS) return status;
  out = Bytes(type, data.data(), size);
  return ERROR_SUCCESS;
}

RegValueState RegValueState::Dword(DWORD value) {
  return Bytes(REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

RegValueState RegValueState::Bytes(DWORD type, const BYTE* data, size_t size) {
  RegValueState state;
  state.exists = true;
  state.type = type;
  state.data.assign(data, data + size);
  return state;
}
