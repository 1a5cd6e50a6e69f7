// The FontsInstalled markers that FontInstaller keeps for group installs and uninstalls.
#include "fonts/InstalledMarkers.h"

#include "common/RegistryValue.h"
#include "fonts/FontInstaller.h"
#include "fonts/FontInstallerShared.h"

using namespace font_flags;

namespace {

constexpr REGSAM kMarkerAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

DWORD CountOf(int32_t count) { return count > 0 ? static_cast<DWORD>(count) : 1; }

}  // namespace

DWORD FontInstaller::AddInstalledMarker(FontItemListEntry& entry) {
  lastMarker_.reset();
  const FontItem& item = entry.record;
  // A namesake only GDI knows (loaded by some program, or by this one to draw it) is no
  // install: the group installs the font for real.
  const bool installed =
      item.IsInstalled() && !(item.HasFlag(kNamesakeGdiOnly) && !installer_detail::InstalledRecordOf(item));
  HKEY raw = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kFontsInstalledKey, 0, nullptr, 0, kMarkerAccess, nullptr, &raw,
                        nullptr) != ERROR_SUCCESS)
    return 0;  // the font is installed as usual, uncounted
  const orv::ScopedKey key(raw);
  MarkerBefore before{item.InstalledMarkerName(), false, 0};
  before.existed = ReadRegDword(key.Get(), before.name.c_str(), before.value);
  DWORD next = 0;
  if (before.existed) {
    if (installed) {
      entry.marked = false;
      // The count stays within its word: a wrapped count would free the font too early.
      const DWORD counted = (before.value & kGroupCountMask) + CountOf(entry.count);
      next = (before.value & ~kGroupCountMask) | (counted > kGroupCountMask ? kGroupCountMask : counted);
    } else {
      next = 1;  // the font went since: this group loads it again
    }
  } else if (installed && !item.IsGdiOnly()) {
    entry.marked = false;
    next = kInstalledBeforeMark | 1;
  } else {
    next = CountOf(entry.count);
  }
  if (!WriteRegDword(key.Get(), before.name.c_str(), next)) return 0;
  lastMarker_ = std::move(before);
  return next;
}

DWORD FontInstaller::RemoveInstalledMarker(FontItemListEntry& entry) {
  lastMarker_.reset();
  FontItem& item = entry.record;
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kFontsInstalledKey, kMarkerAccess);
  MarkerBefore before{item.InstalledMarkerName(), true, 0};
  if (!key || !ReadRegDword(key.Get(), before.name.c_str(), before.value)) {
    item.flags &= ~kGroupInstalled;
    return 0;
  }
  const DWORD counted = before.value & kGroupCountMask;
  const DWORD low = counted > CountOf(entry.count) ? counted - CountOf(entry.count) : 0;
  const DWORD next = low | (before.value & ~kGroupCountMask);
  const bool changed = low != 0 ? WriteRegDword(key.Get(), before.name.c_str(), next)
                                : ::RegDeleteValueW(key.Get(), before.name.c_str()) == ERROR_SUCCESS;
  if (changed) lastMarker_ = std::move(before);
  if (next != 0) entry.marked = false;  // still counted, or installed before the groups
  else item.flags &= ~kGroupInstalled;
  return next;
}

void FontInstaller::PutBackMarker(const MarkerBefore& marker) {
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kFontsInstalledKey, kMarkerAccess);
  if (!key) return;
  if (marker.existed) (void)WriteRegDword(key.Get(), marker.name.c_str(), marker.value);
  else ::RegDeleteValueW(key.Get(), marker.name.c_str());
}
