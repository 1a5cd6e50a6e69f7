// Installed status of a record: the comparison with the installed fonts list and the
// FontsInstalled marker of group installs.
#include "fonts/FontItem.h"

#include "common/RegistryValue.h"
#include "fonts/InstalledFontRecords.h"

using namespace font_flags;

namespace {

const wchar_t kFontsInstalledKey[] = L"SOFTWARE\\OrvelManager\\FontsInstalled";
constexpr DWORD kGroupCountMask = 0xFFFF;

bool IsTrueTypeOutlines(uint32_t flags) { return (flags & 5) == kTrueTypeOutlines; }

}  // namespace

void FontItem::ResolveInstallStatus() { ResolveInstallStatus(InstalledFontRecords()); }

void FontItem::ResolveInstallStatus(const std::vector<const FontItem*>& installed) {
  const std::wstring& fullName = FullName();
  const std::wstring& englishName = names.English(NameSlot::FullName);
  const FontItem* through = nullptr;
  const FontItem* candidate = nullptr;
  for (const FontItem* record : installed) {
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

bool FontItem::ReadInstalledMarker() {
  const wchar_t* prefix = IsType1() ? L"1|" : HasFlag(kRaster) ? L"0|" : L"2|";
  const std::wstring valueName = prefix + FullName();
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kFontsInstalledKey, KEY_QUERY_VALUE);
  if (!key) return false;
  DWORD value = 0;
  if (!ReadRegDword(key.Get(), valueName.c_str(), value)) return false;
  if (value & kGroupCountMask) flags |= kGroupInstalled;
  return true;
}
