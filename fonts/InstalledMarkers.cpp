// The FontsInstalled markers that FontInstaller keeps for group installs and uninstalls.
#include "fonts/InstalledMarkers.h"

#include <vector>

#include "common/RegistryValue.h"
#include "common/StringHelpers.h"
#include "fonts/FontFileWalk.h"
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

bool WriteMarker(FontChanges& changes, const std::wstring& name, DWORD value) {
  return changes.SetValue(HKEY_CURRENT_USER, kFontsInstalledKey, name, RegValueState::Dword(value)) == ERROR_SUCCESS;
}

bool DeleteMarker(FontChanges& changes, const std::wstring& name) {
  return changes.SetValue(HKEY_CURRENT_USER, kFontsInstalledKey, name, RegValueState()) == ERROR_SUCCESS;
}

void AddNameOnce(std::vector<std::wstring>& names, std::wstring name) {
  for (const std::wstring& known : names)
    if (EqualsNoCase(known, name)) return;
  names.push_back(std::move(name));
}

// The marker names of every font the sfnt file holds, whatever makes them share it: each face
// of a collection, each named instance of a variable font and the font as a whole, the one
// font of any other file.
std::vector<std::wstring> FileFaceNames(const std::wstring& file) {
  std::vector<std::wstring> names;
  if (file.empty()) return names;
  bool variable = false;
  const auto add = [&](const FontItem& face) {
    variable = variable || face.IsVariable();
    if (!face.IsUnreadable() && !face.FullName().empty()) AddNameOnce(names, face.InstalledMarkerName());
  };
  ForEachFontItem(std::wstring(), file, add, VariableFontRecords::kEachInstance);
  if (variable) ForEachFontItem(std::wstring(), file, add, VariableFontRecords::kWholeFont);
  return names;
}

// The markers of those names, but the one named `except`.
std::vector<FaceMarker> MarkersOf(const std::vector<std::wstring>& names, const std::wstring& except) {
  std::vector<FaceMarker> found;
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kFontsInstalledKey, KEY_QUERY_VALUE);
  if (!key) return found;
  for (const std::wstring& name : names) {
    DWORD value = 0;
    if (!EqualsNoCase(name, except) && ReadRegDword(key.Get(), name.c_str(), value)) found.push_back({name, value});
  }
  return found;
}

}  // namespace

bool ReadInstalledMarkerValue(const std::wstring& name, DWORD& value) {
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kFontsInstalledKey, KEY_QUERY_VALUE);
  return key && ReadRegDword(key.Get(), name.c_str(), value);
}

void DeleteInstalledMarker(FontChanges& changes, const std::wstring& name) { (void)DeleteMarker(changes, name); }

void DropGroupCount(FontChanges& changes, const std::wstring& name, int32_t count) {
  DWORD value = 0;
  if (!ReadInstalledMarkerValue(name, value)) return;
  const DWORD counted = value & kGroupCountMask;
  if (counted > CountOf(count)) (void)WriteMarker(changes, name, value - CountOf(count));
  else (void)DeleteMarker(changes, name);
}

std::vector<std::wstring> FontInstaller::FaceNamesOfFile(const FontItem& item, const std::wstring& file) const {
  std::vector<std::wstring> names;
  if (!item.IsType1() && !file.empty()) {
    names = FileFaceNames(file);
    // The command's own fonts of that file count too, under whatever names they are listed.
    if (items_)
      for (const FontItemListEntry& entry : items_->Entries())
        if (entry.record.HasFlag(kRead) && !entry.record.IsType1() && EqualsNoCase(entry.record.fullPath, file) &&
            !entry.record.FullName().empty())
          AddNameOnce(names, entry.record.InstalledMarkerName());
  }
  AddNameOnce(names, item.InstalledMarkerName());
  return names;
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
    // A font whose file a group installed through another of its fonts (a face of the same
    // collection, another named instance of the variable font) is that group's file, not the
    // user's: counted, and installed before only when that font was.
    const std::vector<FaceMarker> others = MarkersOf(FaceNamesOfFile(item, InstalledPathOf(item)), before.name);
    if (!others.empty()) {
      next = CountOf(entry.count);
      for (const FaceMarker& other : others) next |= other.value & kInstalledBeforeMark;
    }
  } else {
    next = CountOf(entry.count);
  }
  if (!WriteMarker(*changes_, before.name, next)) return 0;
  lastMarker_ = std::move(before);
  return next;
}

void FontInstaller::CountWithItsFile(FontItemListEntry& entry) {
  const FontItem& item = entry.record;
  HKEY raw = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kFontsInstalledKey, 0, nullptr, 0, kMarkerAccess, nullptr, &raw,
                        nullptr) != ERROR_SUCCESS)
    return;
  const orv::ScopedKey key(raw);
  const std::wstring name = item.InstalledMarkerName();
  DWORD value = 0;
  const DWORD counted = (ReadRegDword(key.Get(), name.c_str(), value) ? value & kGroupCountMask : 0) + CountOf(entry.count);
  (void)WriteMarker(*changes_, name, (value & ~kGroupCountMask) | (counted > kGroupCountMask ? kGroupCountMask : counted));
}

DWORD FontInstaller::RemoveInstalledMarker(FontItemListEntry& entry) {
  lastMarker_.reset();
  markerKept_ = false;
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
  // The value goes with the last group count, also when the font was installed before the
  // groups: the font then stays as the user had it, and the registry is as it was before the
  // first group install. No group uninstall takes a font without a counting marker.
  const bool changed = low != 0 ? WriteMarker(*changes_, before.name, next) : DeleteMarker(*changes_, before.name);
  if (!changed) {
    // A count that cannot be taken off keeps the font as it is, counted.
    entry.marked = false;
    markerKept_ = true;
    return before.value;
  }
  lastMarker_ = std::move(before);
  if (next != 0) entry.marked = false;  // still counted, or installed before the groups
  else item.flags &= ~kGroupInstalled;
  return next;
}

bool FontInstaller::PutBackMarker(const MarkerBefore& marker) {
  return marker.existed ? WriteMarker(*changes_, marker.name, marker.value) : DeleteMarker(*changes_, marker.name);
}

bool FontInstaller::FileCountedByGroup(const FontItem& item) const {
  for (const FaceMarker& marker : MarkersOf(FaceNamesOfFile(item, InstalledPathOf(item)), std::wstring()))
    if (marker.value & kGroupCountMask) return true;
  return false;
}

bool FontInstaller::FileHeldByOtherFaces(const FontItem& item) const {
  for (const FaceMarker& marker : MarkersOf(FaceNamesOfFile(item, InstalledPathOf(item)), item.InstalledMarkerName()))
    if (marker.value != 0) return true;
  return false;
}

void FontInstaller::DropFileMarkers(const FontItem& item, const std::wstring& file, bool onlyUncounted) const {
  for (const FaceMarker& marker : MarkersOf(FaceNamesOfFile(item, file), std::wstring()))
    if (!onlyUncounted || !(marker.value & kGroupCountMask)) DeleteInstalledMarker(*changes_, marker.name);
}
