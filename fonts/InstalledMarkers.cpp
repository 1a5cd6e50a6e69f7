// The FontsInstalled markers that FontInstaller keeps for group installs and uninstalls.
#include "fonts/InstalledMarkers.h"

#include <vector>

#include "common/RegistryValue.h"
#include "common/StringHelpers.h"
#include "fonts/FontFileReader.h"
#include "fonts/FontInstaller.h"
#include "fonts/FontInstallerShared.h"

using namespace font_flags;

namespace {

constexpr REGSAM kMarkerAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

DWORD CountOf(int32_t count) { return count > 0 ? static_cast<DWORD>(count) : 1; }

struct FaceMarker {
  std::wstring name;
  DWORD value;
};

// The markers of the faces of the collection file `file`, but the one named `except`.
std::vector<FaceMarker> CollectionMarkers(const std::wstring& file, const std::wstring& except) {
  std::vector<FaceMarker> found;
  if (file.empty()) return found;
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kFontsInstalledKey, KEY_QUERY_VALUE);
  if (!key) return found;
  FontFileReader reader;
  reader.flags = kCollectionFace | kSfnt;
  reader.fileRef = file;
  reader.fullPath = file;
  for (bool read = reader.ReadFirstCollectionFace(); read; read = reader.ReadNextCollectionFace()) {
    const std::wstring name = reader.InstalledMarkerName();
    DWORD value = 0;
    if (!EqualsNoCase(name, except) && ReadRegDword(key.Get(), name.c_str(), value)) found.push_back({name, value});
  }
  reader.CloseFile();
  return found;
}

}  // namespace

bool ReadInstalledMarkerValue(const std::wstring& name, DWORD& value) {
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kFontsInstalledKey, KEY_QUERY_VALUE);
  return key && ReadRegDword(key.Get(), name.c_str(), value);
}

void DeleteInstalledMarker(const std::wstring& name) {
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kFontsInstalledKey, KEY_SET_VALUE);
  if (key) ::RegDeleteValueW(key.Get(), name.c_str());
}

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
    // A face of a collection file that a group installed through another face is that
    // group's file, not the user's: counted, and installed before only when that face was.
    if (item.IsCollectionFace()) {
      const std::vector<FaceMarker> others = CollectionMarkers(InstalledPathOf(item), before.name);
      if (!others.empty()) {
        next = CountOf(entry.count);
        for (const FaceMarker& other : others) next |= other.value & kInstalledBeforeMark;
      }
    }
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
  // The "installed before" word outlives the count: the font stays the user's, and no later
  // group uninstall may take it, until its registration is gone.
  const bool changed = next != 0 ? WriteRegDword(key.Get(), before.name.c_str(), next)
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

bool FontInstaller::FileCountedByGroup(const FontItem& item) const {
  if (!item.IsCollectionFace()) return false;
  for (const FaceMarker& marker : CollectionMarkers(InstalledPathOf(item), std::wstring()))
    if (marker.value & kGroupCountMask) return true;
  return false;
}

bool FontInstaller::FileHeldByOtherFaces(const FontItem& item) const {
  if (!item.IsCollectionFace()) return false;
  for (const FaceMarker& marker : CollectionMarkers(InstalledPathOf(item), item.InstalledMarkerName()))
    if (marker.value != 0) return true;
  return false;
}

void FontInstaller::DropFileMarkers(const FontItem& item, const std::wstring& file, bool onlyUncounted) const {
  std::vector<FaceMarker> markers;
  if (item.IsCollectionFace()) {
    markers = CollectionMarkers(file, std::wstring());
  } else {
    FaceMarker own{item.InstalledMarkerName(), 0};
    if (ReadInstalledMarkerValue(own.name, own.value)) markers.push_back(std::move(own));
  }
  for (const FaceMarker& marker : markers)
    if (!onlyUncounted || !(marker.value & kGroupCountMask)) DeleteInstalledMarker(marker.name);
}
