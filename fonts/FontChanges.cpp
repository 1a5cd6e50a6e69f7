#include "fonts/FontChanges.h"

#include "common/Seams.h"
#include "framework/Handles.h"

namespace {
constexpr REGSAM kValueAccess = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY;
}  // namespace

int RemoveFontResourceRepeatedly(const std::wstring& path, int most) {
  int count = 0;
  while (count < most && seams::RemoveFontResource(path.c_str())) ++count;
  return count;
}

LSTATUS SetRegistryValueState(HKEY root, const wchar_t* key, const std::wstring& name, const RegValueState& state) {
  orv::ScopedKey open;
  if (state.exists) {
    // A per-user Fonts key, and the markers' key, may not exist before the first install.
    const LSTATUS created = ::RegCreateKeyExW(root, key, 0, nullptr, 0, kValueAccess | KEY_CREATE_SUB_KEY, nullptr,
                                              open.Receive(), nullptr);
    if (created != ERROR_SUCCESS) return created;
    return seams::SetRegValue(open.Get(), name.c_str(), state.type, state.data.data(),
                              static_cast<DWORD>(state.data.size()));
  }
  const LSTATUS opened = ::RegOpenKeyExW(root, key, 0, kValueAccess, open.Receive());
  if (opened == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;  // no key, no value
  if (opened != ERROR_SUCCESS) return opened;
  const LSTATUS deleted = seams::DeleteRegValue(open.Get(), name.c_str());
  return deleted == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : deleted;
}

LSTATUS FontChanges::BeforeValueChange(HKEY, const wchar_t*, const std::wstring&, const RegValueState&) {
  return ERROR_SUCCESS;
}

LSTATUS FontChanges::BeforeFontChange(const std::wstring&, bool) { return ERROR_SUCCESS; }

LSTATUS FontChanges::SetValue(HKEY root, const wchar_t* key, const std::wstring& name, const RegValueState& after) {
  if (Stopped()) return ERROR_CANCELLED;
  if (const LSTATUS refused = BeforeValueChange(root, key, name, after); refused != ERROR_SUCCESS) return refused;
  return SetRegistryValueState(root, key, name, after);
}

int FontChanges::Load(const std::wstring& file) {
  const LSTATUS refused = Stopped() ? ERROR_CANCELLED : BeforeFontChange(file, true);
  if (refused != ERROR_SUCCESS) {
    ::SetLastError(static_cast<DWORD>(refused));
    return 0;
  }
  ::SetLastError(0);
  return seams::AddFontResource(file.c_str());
}

int FontChanges::Unload(const std::wstring& file, const std::wstring& alsoAs, int most) {
  if (Stopped() || BeforeFontChange(file, false) != ERROR_SUCCESS) return 0;
  int unloads = 0;
  if (!alsoAs.empty() && alsoAs != file) unloads += RemoveFontResourceRepeatedly(alsoAs, most);
  return unloads + RemoveFontResourceRepeatedly(file, most);
}
