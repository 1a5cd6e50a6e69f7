// Installed status of a record: the comparison with the installed fonts list and the
// FontsInstalled marker of group installs.
#include "fonts/FontItem.h"

#include <algorithm>
#include <iterator>

#include "common/RegistryValue.h"
#include "fonts/InstalledFontRecords.h"
#include "fonts/InstalledMarkers.h"

using namespace font_flags;

namespace {


bool IsTrueTypeOutlines(uint32_t flags) { return (flags & 5) == kTrueTypeOutlines; }

}  // namespace

void FontItem::ResolveInstallStatus() { ResolveInstallStatus(InstalledFonts()); }

void FontItem::ResolveInstallStatus(const std::vector<const FontItem*>& installed) {
  std::vector<size_t> all(installed.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = i;
  ResolveAt(installed, all);
}

void FontItem::ResolveInstallStatus(const InstalledFontIndex& index) {
  // Only the records the walk would stop at or take as a candidate matter: namesakes by full
  // name, records of the same English full name, and this record itself, in list order.
  const std::vector<size_t>& byName = index.ByFullName(FullName());
  const std::vector<size_t>& byEnglish = index.ByEnglishFullName(names.English(NameSlot::FullName));
  std::vector<size_t> positions;
  positions.reserve(byName.size() + byEnglish.size() + 1);
  std::merge(byName.begin(), byName.end(), byEnglish.begin(), byEnglish.end(), std::back_inserter(positions));
  const size_t self = index.PositionOf(this);
  if (self != InstalledFontIndex::npos) positions.insert(std::upper_bound(positions.begin(), positions.end(), self), self);
  positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
  ResolveAt(index.Records(), positions);
}

void FontItem::ResolveAt(const std::vector<const FontItem*>& installed, const std::vector<size_t>& positions) {
  const std::wstring& fullName = FullName();
  const std::wstring& englishName = names.English(NameSlot::FullName);
  const FontItem* through = nullptr;
  const FontItem* candidate = nullptr;
  for (const size_t at : positions) {
    const FontItem* record = at < installed.size() ? installed[at] : nullptr;
    if (!record) continue;
    if (record == this) {
      // The installed list's own record: installed through itself.
      through = record;
      break;
    }
    // A name that is empty says nothing: two unnamed records are not namesakes.
    if (fullName.empty() || !EqualsNoCase(record->FullName(), fullName)) {
      // A face listed under its system-language name may still match by its English name.
      if (!candidate && !englishName.empty() && record->names.English(NameSlot::FullName) == englishName &&
          MergeInstalledType(record->flags))
        candidate = record;
      continue;
    }
    if ((record->flags & kTypeMask) == (flags & kTypeMask)) {
      flags |= record->flags & (kOtherType | kOtherVersion);
      through = record;
      break;
    }
    if (record->HasFlag(kGdiOnly)) flags |= kNamesakeGdiOnly;
    if (IsTrueTypeOutlines(flags) && IsTrueTypeOutlines(record->flags)) {
      flags |= kOtherVersion;
      through = record;
      break;
    }
    if (!record->HasFlag(kRaster)) flags |= kOtherType;
  }
  if (!through) through = candidate;
  if (!through) return;
  flags |= kInstalled;
  flags |= through->flags & kPerUser;
  if (!HasFlag(kGdiOnly) && EqualsNoCase(fullPath, through->fullPath)) flags |= kInstalledFile;
  flags |= through->flags & kProtected;
  if (version != through->version) flags |= kOtherVersion;
}

bool FontItem::MergeInstalledType(uint32_t installedFlags) {
  if ((installedFlags & kTypeMask) != (flags & kTypeMask)) {
    if (installedFlags & kGdiOnly) flags |= kNamesakeGdiOnly;
    if (IsTrueTypeOutlines(flags) && IsTrueTypeOutlines(installedFlags)) {
      flags |= kOtherVersion;
      return true;
    }
    if (!(installedFlags & kRaster)) flags |= kOtherType;
    return false;
  }
  flags |= installedFlags & (kOtherType | kOtherVersion);
  return true;
}

std::wstring FontItem::InstalledMarkerName() const {
  const wchar_t* prefix = IsType1() ? L"1|" : HasFlag(kRaster) ? L"0|" : L"2|";
  return prefix + FullName();
}

bool FontItem::ReadInstalledMarker() {
  const std::wstring valueName = InstalledMarkerName();
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kFontsInstalledKey, KEY_QUERY_VALUE);
  if (!key) return false;
  DWORD value = 0;
  if (!ReadRegDword(key.Get(), valueName.c_str(), value)) return false;
  if (value & kGroupCountMask) flags |= kGroupInstalled;
  return true;
}
