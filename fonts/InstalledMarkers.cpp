#include "fonts/InstalledMarkers.h"

#include "common/RegistryValue.h"
#include "fonts/FontItem.h"

namespace {

constexpr REGSAM kMarkerAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

DWORD CountOf(int32_t count) { return count > 0 ? static_cast<DWORD>(count) : 1; }

}  // namespace

DWORD AddInstalledMarker(const FontItem& item, int32_t count, bool& load) {
  const bool installed = item.IsInstalled();
  HKEY raw = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kFontsInstalledKey, 0, nullptr, 0, kMarkerAccess, nullptr, &raw,
                        nullptr) != ERROR_SUCCESS)
    return 0;
  const orv::ScopedKey key(raw);
  const std::wstring name = item.InstalledMarkerName();
  DWORD value = 0;
  DWORD next = 0;
  if (ReadRegDword(key.Get(), name.c_str(), value)) {
    if (installed) {
      load = false;
      // The count stays within its word: a wrapped count would free the font too early.
      const DWORD counted = (value & kGroupCountMask) + CountOf(count);
      next = (value & ~kGroupCountMask) | (counted > kGroupCountMask ? kGroupCountMask : counted);
    } else {
      next = 1;
    }
  } else if (installed && !item.IsGdiOnly()) {
    load = false;
    next = kInstalledBeforeMark | 1;
  } else {
    next = CountOf(count);
  }
  if (!WriteRegDword(key.Get(), name.c_str(), next)) return 0;
  return next;
}

DWORD RemoveInstalledMarker(FontItem& item, int32_t count, bool& unload) {
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kFontsInstalledKey, kMarkerAccess);
  const std::wstring name = item.InstalledMarkerName();
  DWORD value = 0;
  if (!key || !ReadRegDword(key.Get(), name.c_str(), value)) {
    item.flags &= ~font_flags::kGroupInstalled;
    return 0;
  }
  const DWORD counted = value & kGroupCountMask;
  const DWORD low = counted > CountOf(count) ? counted - CountOf(count) : 0;
  const DWORD next = low | (value & ~kGroupCountMask);
  if (low != 0) (void)WriteRegDword(key.Get(), name.c_str(), next);
  else ::RegDeleteValueW(key.Get(), name.c_str());
  if (next != 0) {
    unload = false;
  } else {
    item.flags &= ~font_flags::kGroupInstalled;
  }
  return next;
}
