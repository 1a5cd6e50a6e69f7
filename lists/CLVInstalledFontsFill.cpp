// The passes of the installed list's fill: the registry keys of Type 1 and TrueType/OpenType
// fonts, the faces GDI knows, the EUDC fonts, and the protection of the user interface's fonts.
#include <algorithm>
#include <cwchar>
#include <unordered_set>

#include "app/AppState.h"
#include "common/RegistryValue.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "fonts/FontFileReader.h"
#include "fonts/FontFileWalk.h"
#include "fonts/RegistryValueEnumerator.h"
#include "lists/CLVInstalledFonts.h"

using namespace font_flags;

namespace {

const wchar_t kFontsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const wchar_t kSubstitutesKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes";
const wchar_t kSystemEudcValue[] = L"SystemDefaultEUDCFont";
const wchar_t kMarlett[] = L"Marlett";
constexpr size_t kSubstituteChars = 32;  // 64 bytes
constexpr uint32_t kGdiTrueTypeFlags = kRead | kGdiOnly | kSfnt;
constexpr uint32_t kGdiDeviceFlags = kRead | kGdiOnly;
constexpr uint32_t kGdiRasterFlags = kResolved | kProtected;

// A string value as the registry should hold it: of type REG_SZ, whole characters, ending in
// a terminator within its data. Anything else is skipped, not guessed at.
bool IsTerminatedString(const RegistryValueEnumerator& value) {
  if (value.Type() != REG_SZ && value.Type() != REG_EXPAND_SZ) return false;
  const DWORD size = value.DataSize();
  if (size < sizeof(wchar_t) || size % sizeof(wchar_t) != 0) return false;
  return value.Text().size() < size / sizeof(wchar_t);
}

// The ".pfm" and ".pfb" references of a Type 1 value ("T", pfm, pfb as a REG_MULTI_SZ), joined
// by "|"; false for data of another type, not terminated, or with fewer than three strings.
bool ReadType1References(const RegistryValueEnumerator& value, std::wstring& joined) {
  if (value.Type() != REG_MULTI_SZ) return false;
  const DWORD size = value.DataSize();
  if (size < sizeof(wchar_t) || size % sizeof(wchar_t) != 0) return false;
  const auto* chars = reinterpret_cast<const wchar_t*>(value.Data());
  const size_t count = size / sizeof(wchar_t);
  if (chars[count - 1] != L'\0') return false;
  std::vector<std::wstring> strings;
  for (size_t at = 0; at < count && chars[at] != L'\0';) {
    const size_t length = ::wcsnlen(chars + at, count - at);
    strings.emplace_back(chars + at, length);
    at += length + 1;
  }
  if (strings.size() < 3 || strings[1].empty()) return false;
  joined = strings[1] + L"|" + strings[2];
  return true;
}

// A vertical face: GDI's name of a face turned for vertical writing, "@" before the family.
bool IsVerticalName(const std::wstring& name) { return name.size() > 1 && name[0] == L'@'; }

uint32_t TypeMaskOf(DWORD fontType) {
  if (fontType & TRUETYPE_FONTTYPE) return kSfnt;
  if (fontType & DEVICE_FONTTYPE) return kCffOrType1;
  return kRaster;
}

struct FamilyList {
  std::vector<LOGFONTW> families;
  std::unordered_set<std::wstring> seen;
};

int CALLBACK CountFamilyProc(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return 1;
}

// One entry per family name: its faces are enumerated once, in every character set.
int CALLBACK CollectFamilyProc(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) {
  if (!font) return 0;
  auto* list = reinterpret_cast<FamilyList*>(param);
  if (list->seen.insert(font->lfFaceName).second) list->families.push_back(*font);
  return 1;
}

// A face that matches a requested family, weight and italic state.
struct FaceQuery {
  std::wstring family;
  LONG weight = 0;
  BYTE italic = 0;
  std::wstring fullName;
  DWORD fontType = 0;
  bool found = false;
};

int CALLBACK FindFaceProc(const LOGFONTW* font, const TEXTMETRICW*, DWORD fontType, LPARAM param) {
  if (!font) return 0;
  auto* query = reinterpret_cast<FaceQuery*>(param);
  if (!EqualsNoCase(font->lfFaceName, query->family)) return 1;
  if (query->weight != 0 && query->weight != font->lfWeight) return 1;
  if ((font->lfItalic != 0) != (query->italic != 0)) return 1;
  const auto* full = reinterpret_cast<const ENUMLOGFONTEXW*>(font);
  query->fullName.assign(full->elfFullName, ::wcsnlen(full->elfFullName, LF_FULLFACESIZE));
  query->fontType = fontType;
  query->found = true;
  return 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Count pass

int CLVInstalledFonts::CountFamilies() const {
  orv::ScopedGetDC dc(nullptr);
  LOGFONTW font{};
  font.lfCharSet = DEFAULT_CHARSET;
  int count = 0;
  ::EnumFontFamiliesExW(dc.Get(), &font, reinterpret_cast<FONTENUMPROCW>(&CountFamilyProc),
                        reinterpret_cast<LPARAM>(&count), 0);
  return count;
}

// ---------------------------------------------------------------------------------------------
// Registry passes

void CLVInstalledFonts::AddType1Fonts(HKEY root, const std::wstring& folder) {
  struct Entry {
    std::wstring name;
    std::wstring references;
  };
  std::vector<Entry> entries;
  {
    RegistryValueEnumerator values(root, kType1FontsKey, KEY_WOW64_64KEY);
    while (values.Next()) {
      Entry entry{std::wstring(values.Name()), {}};
      if (ReadType1References(values, entry.references)) entries.push_back(std::move(entry));
    }
  }
  FontFileReader reader;
  for (const Entry& entry : entries) {
    reader.Reset();
    reader.folder = folder;
    reader.flags = root == HKEY_CURRENT_USER ? kPerUser : 0;
    reader.names.English(NameSlot::FullName) = entry.name;
    reader.fileRef = entry.references;
    if (reader.ReadType1() && !reader.IsUnreadable()) AddRecord(reader, false, counts_.type1);
  }
}

void CLVInstalledFonts::AddRegisteredFonts(HKEY root, const std::wstring& folder) {
  const uint32_t perUser = root == HKEY_CURRENT_USER ? kPerUser : 0;
  RegistryValueEnumerator values(root, kFontsKey);
  while (values.Next()) {
    if (!IsTerminatedString(values)) continue;
    const std::wstring file(values.Text());
    // Raster and other fonts come from the GDI pass.
    if (!EndsWithNoCase(file, L".ttc") && !EndsWithNoCase(file, L".otc") && !EndsWithNoCase(file, L".ttf") &&
        !EndsWithNoCase(file, L".otf"))
      continue;
    // Each face of a collection, each named instance of a variable font; a file that is
    // missing, unreadable or hostile gives nothing.
    ForEachFontItem(folder, file, [&](const FontItem& record) {
      if (record.IsUnreadable()) return;
      FontItem entry = record;
      entry.flags |= perUser;
      AddRegisteredRecord(entry);
    });
  }
}

// ---------------------------------------------------------------------------------------------
// GDI pass

void CLVInstalledFonts::AddGdiFaces() {
  orv::ScopedGetDC dc(nullptr);
  LOGFONTW all{};
  all.lfCharSet = DEFAULT_CHARSET;
  FamilyList families;
  ::EnumFontFamiliesExW(dc.Get(), &all, reinterpret_cast<FONTENUMPROCW>(&CollectFamilyProc),
                        reinterpret_cast<LPARAM>(&families), 0);
  auto faceProc = [](const LOGFONTW* font, const TEXTMETRICW*, DWORD fontType, LPARAM param) -> int {
    if (!font) return 0;
    const auto* full = reinterpret_cast<const ENUMLOGFONTEXW*>(font);
    reinterpret_cast<CLVInstalledFonts*>(param)->AddGdiFace(
        std::wstring(full->elfFullName, ::wcsnlen(full->elfFullName, LF_FULLFACESIZE)), fontType);
    return 1;
  };
  // Each family once, in every character set: the faces repeat per set, and the namesake rules
  // keep one row per face.
  for (LOGFONTW family : families.families) {
    family.lfCharSet = DEFAULT_CHARSET;
    ::EnumFontFamiliesExW(dc.Get(), &family, reinterpret_cast<FONTENUMPROCW>(+faceProc),
                          reinterpret_cast<LPARAM>(this), 0);
  }
}

void CLVInstalledFonts::AddGdiFace(const std::wstring& name, DWORD fontType) {
  FontFileReader& reader = *gdiReader_;
  const uint32_t mask = TypeMaskOf(fontType);
  StepProgress();
  reader.Reset();
  reader.folder = g_AppState.SystemFontsFolder;
  // Namesakes already listed: a device face meets Type 1 fonts by PostScript name, any other
  // face meets every record by full name.
  const auto& index = mask == kCffOrType1 ? byPostScriptName_ : byFullName_;
  bool otherType = false;
  if (const auto it = index.find(name); it != index.end()) {
    for (FontItem* namesake : it->second) {
      if (mask == kCffOrType1 && !namesake->HasFlag(kCffOrType1)) continue;
      reader.CopyFrom(*namesake);
      if (namesake->flags & mask & kTypeMask) return;  // listed already
      if (mask == kRaster) otherType = true;
      else namesake->flags |= kOtherType;
    }
  }
  // A face known by GDI alone is found again by its name: that is its full name too.
  auto nameIfNone = [&](const std::wstring& fullName) {
    if (reader.FullName().empty()) reader.names.English(NameSlot::FullName) = fullName;
  };
  if (mask == kSfnt) {
    const bool vertical = IsVerticalName(name);
    if (vertical) {
      if (FontItem* horizontal = FindByFullName(name.substr(1), 0)) {
        reader.CopyFrom(*horizontal);
        reader.names.System(NameSlot::Family) = name;
        reader.displayName = name;
        AddRecord(reader, true, counts_.vertical);
        return;
      }
    }
    reader.names.System(NameSlot::Family) = name;
    reader.displayName = name;
    nameIfNone(name);
    reader.flags = kGdiTrueTypeFlags;
    // An "@" face (of any type) is hidden with the vertical faces, so it is counted with them
    // even when its horizontal face is listed under another name; Marlett is never shown nor
    // counted.
    int uncounted = 0;
    AddRecord(reader, false, name == kMarlett ? uncounted : vertical ? counts_.vertical : counts_.gdiOnly);
    return;
  }
  if (mask == kCffOrType1) {
    std::wstring spaced = name;
    std::replace(spaced.begin(), spaced.end(), L'-', L' ');
    reader.names.System(NameSlot::Family) = spaced;
    reader.displayName = spaced;
    reader.postScriptName = name;
    nameIfNone(spaced);
    reader.flags = mask | (otherType ? kOtherType : 0) | kGdiDeviceFlags;
    AddRecord(reader, true, IsVerticalName(name) ? counts_.vertical : counts_.gdiOnly);
    return;
  }
  reader.fileRef = LoadResString(fontType & RASTER_FONTTYPE ? IDS_RASTER_FONT_FILE : IDS_VECTOR_FONT_FILE);
  reader.flags = mask | (otherType ? kOtherType : 0) | kGdiRasterFlags;
  reader.names.System(NameSlot::Family) = name;
  reader.displayName = name;
  reader.postScriptName = name;
  nameIfNone(name);
  AddRecord(reader, false, counts_.raster);
}

// ---------------------------------------------------------------------------------------------
// EUDC pass

void CLVInstalledFonts::AddEudcFonts() {
  wchar_t key[32]{};
  std::swprintf(key, std::size(key), L"EUDC\\%u", ::GetACP());
  const std::wstring systemName = LoadResString(IDS_SYSTEM_EUDC_FONT);
  const std::wstring suffix = L" " + LoadResString(IDS_EUDC_FONT_SUFFIX);
  std::vector<std::pair<std::wstring, std::wstring>> entries;
  {
    RegistryValueEnumerator values(HKEY_CURRENT_USER, key);
    while (values.Next()) {
      if (!IsTerminatedString(values) || values.Text().empty()) continue;
      const std::wstring name(values.Name());
      entries.emplace_back((EqualsNoCase(name, kSystemEudcValue) ? systemName : name) + suffix,
                           std::wstring(values.Text()));
    }
  }
  FontFileReader reader;
  for (const auto& [name, path] : entries) {
    reader.Reset();
    reader.folder = g_AppState.SystemFontsFolder;
    reader.flags = kEudc;
    reader.names.English(NameSlot::FullName) = name;
    reader.fileRef = path;
    if (!reader.ReadSfnt() || reader.IsUnreadable()) continue;
    reader.names.System(NameSlot::FullName) = name;
    reader.flags |= kProtected;
    AddRecord(reader, false, counts_.eudc);
  }
}

// ---------------------------------------------------------------------------------------------
// Protection pass

void CLVInstalledFonts::ProtectFace(const LOGFONTW& font) {
  if (font.lfFaceName[0] == L'\0') return;
  FaceQuery query;
  query.family = font.lfFaceName;
  query.weight = font.lfWeight;
  query.italic = font.lfItalic;
  {
    orv::ScopedGetDC dc(nullptr);
    LOGFONTW family{};
    family.lfCharSet = DEFAULT_CHARSET;
    wcsncpy_s(family.lfFaceName, LF_FACESIZE, font.lfFaceName, _TRUNCATE);
    ::EnumFontFamiliesExW(dc.Get(), &family, reinterpret_cast<FONTENUMPROCW>(&FindFaceProc),
                          reinterpret_cast<LPARAM>(&query), 0);
  }
  // No face of that weight and slant: the family name itself, of any type.
  FontItem* record = query.found ? FindByFullName(query.fullName, TypeMaskOf(query.fontType))
                                 : FindByFullName(query.family, 0);
  if (record) record->flags |= kProtected;
}

void CLVInstalledFonts::ProtectUserInterfaceFonts() {
  if (FontItem* marlett = FindByFullName(kMarlett, 0)) marlett->flags |= kProtected;
  LOGFONTW iconTitle{};
  if (::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(iconTitle), &iconTitle, 0)) ProtectFace(iconTitle);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    for (const LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                                 &metrics.lfStatusFont, &metrics.lfMessageFont})
      ProtectFace(*font);
  }
  const orv::ScopedKey substitutes = OpenRegKey(HKEY_LOCAL_MACHINE, kSubstitutesKey, KEY_QUERY_VALUE);
  if (!substitutes) return;
  for (const wchar_t* value : {L"MS Shell Dlg", L"MS Shell Dlg 2"}) {
    std::wstring face;
    if (!ReadRegString(substitutes.Get(), value, kSubstituteChars, face) || face.empty()) continue;
    LOGFONTW font = metrics.lfMessageFont;
    wcsncpy_s(font.lfFaceName, LF_FACESIZE, face.c_str(), _TRUNCATE);
    ProtectFace(font);
  }
}
