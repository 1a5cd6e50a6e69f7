#include "common/RegistryKey.h"

#include "common/Seams.h"

RegValueState RegistryKey::MultiStringState(const std::wstring& text) {
  std::wstring data = text;
  for (wchar_t& ch : data)
    if (ch == L'|') ch = L'\0';
  // The last string's NUL and the empty string that ends the list.
  data.push_back(L'\0');
  data.push_back(L'\0');
  return RegValueState::Bytes(REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()), data.size() * sizeof(wchar_t));
}

RegValueState RegistryKey::StringState(const std::wstring& text) {
  return RegValueState::Bytes(REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

namespace {
LSTATUS Set(HKEY key, const wchar_t* name, const RegValueState& value) {
  return seams::SetRegValue(key, name, value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
}
}  // namespace

LSTATUS RegistryKey::SetMultiString(const wchar_t* name, const std::wstring& text) const {
  return Set(key_, name, MultiStringState(text));
}

LSTATUS RegistryKey::SetString(const wchar_t* name, const std::wstring& text) const {
  return Set(key_, name, StringState(text));
}
