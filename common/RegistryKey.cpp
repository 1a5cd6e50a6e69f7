#include "common/RegistryKey.h"

#include "common/Seams.h"

LSTATUS RegistryKey::SetMultiString(const wchar_t* name, const std::wstring& text) const {
  std::wstring data = text;
  for (wchar_t& ch : data)
    if (ch == L'|') ch = L'\0';
  // The last string's NUL and the empty string that ends the list.
  data.push_back(L'\0');
  data.push_back(L'\0');
  return seams::SetRegValue(key_, name, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(data.size() * sizeof(wchar_t)));
}

LSTATUS RegistryKey::SetString(const wchar_t* name, const std::wstring& text) const {
  return seams::SetRegValue(key_, name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}
