#include "fonts/RegisteredFontTable.h"

#include "app/Preferences.h"
#include "common/StringHelpers.h"
#include "fonts/RegistryValueEnumerator.h"
#include "fonts/SystemFontKeys.h"

using namespace reg_entry_flags;

namespace {

constexpr int kLastReleaseWithoutUserFonts = 1808;
constexpr wchar_t kTrueTypeSuffix[] = L"(TrueType)";
constexpr wchar_t kOpenTypeSuffix[] = L"(OpenType)";
constexpr wchar_t kType1Marker[] = L"T";
constexpr wchar_t kJoinSeparator = L'|';

std::wstring WithSuffix(const std::wstring& name, const wchar_t* suffix) { return name + L" " + suffix; }

}  // namespace

void RegisteredFontTable::ReadSystemRegistration(int windowsRelease) {
  rows_.clear();
  const bool userFonts = windowsRelease > kLastReleaseWithoutUserFonts;
  const SystemFontKey machineFonts = MakeSystemFontKey(HKEY_LOCAL_MACHINE, kFontsKey);
  const SystemFontKey userFontsKey = MakeSystemFontKey(HKEY_CURRENT_USER, kFontsKey);
  const SystemFontKey machineType1 = MakeSystemFontKey(HKEY_LOCAL_MACHINE, kType1FontsKey);
  const SystemFontKey userType1 = MakeSystemFontKey(HKEY_CURRENT_USER, kType1FontsKey);
  ReadFontsKey(machineFonts.root, machineFonts.path.c_str());
  if (userFonts) ReadFontsKey(userFontsKey.root, userFontsKey.path.c_str());
  ReadType1Key(machineType1.root, machineType1.path.c_str(), KEY_WOW64_64KEY);
  if (userFonts) ReadType1Key(userType1.root, userType1.path.c_str(), KEY_WOW64_64KEY);
  MarkCollisions();
}

void RegisteredFontTable::ReadFontsKey(HKEY root, const wchar_t* subKey) {
  RegistryValueEnumerator values(root, subKey);
  while (values.Next()) {
    if (values.IsString()) CheckFontsValue(values.Name(), values.Text());
  }
}

void RegisteredFontTable::ReadType1Key(HKEY root, const wchar_t* subKey, REGSAM view) {
  RegistryValueEnumerator values(root, subKey, view);
  std::wstring joined;
  while (values.Next()) {
    if (values.GetMultiString(joined, kJoinSeparator)) CheckType1Value(values.Name(), joined);
  }
}

std::wstring RegisteredFontTable::InFontsFolder(const std::wstring& ref) const {
  if (ref.empty() || IsFullyQualifiedFolder(ref)) return ref;
  return JoinPath(fontsFolder_, ref);
}

bool RegisteredFontTable::CheckFontsValue(std::wstring_view valueName, std::wstring_view data) {
  const bool ttc = EndsWithNoCase(data, L".ttc");
  const bool examined = FindNoCase(valueName, kTrueTypeSuffix) >= 0 || FindNoCase(valueName, kOpenTypeSuffix) >= 0 ||
                        EndsWithNoCase(data, L".ttf") || EndsWithNoCase(data, L".otf") || ttc;
  if (!examined) return false;  // raster and vector fonts of other kinds
  RegisteredFontEntry row;
  row.valueName = valueName;
  row.fileRef = data;
  reader_.Reset();
  reader_.folder = fontsFolder_;
  reader_.fileRef = row.fileRef;
  reader_.fullPath = InFontsFolder(row.fileRef);
  if (ttc)
    CheckCollection(row);
  else
    CheckSfnt(row);
  // The dialog stays open: no registered file is kept open behind the user's back.
  reader_.CloseFile();
  rows_.push_back(std::move(row));
  return true;
}

void RegisteredFontTable::CheckSfnt(RegisteredFontEntry& row) {
  if (!reader_.ReadSfnt()) {
    row.flags = kUnreadable;
    row.fullPath = reader_.fullPath;
    return;
  }
  const bool trueType = (reader_.flags & font_flags::kOpenTypeCff) == font_flags::kTrueTypeOutlines;
  row.flags = trueType ? kTrueType : kOtherSfnt;
  row.name = reader_.FullName();
  row.registryName = reader_.BuildRegistryName();
  // Only names are compared: the suffix the value carries is never checked against the outlines.
  const wchar_t* suffix = FindNoCase(row.valueName, kTrueTypeSuffix) >= 0 ? kTrueTypeSuffix : kOpenTypeSuffix;
  if (row.valueName == WithSuffix(row.name, suffix) || row.valueName == WithSuffix(row.registryName, suffix)) {
    // the font's own name
  } else if (row.valueName == WithSuffix(reader_.names.English(NameSlot::FullName), suffix) ||
             EqualsNoCase(row.valueName, WithSuffix(reader_.displayName, suffix))) {
    row.flags |= kSecondaryName;
  } else {
    row.flags |= kNameMismatch;
  }
  row.image = (reader_.flags & font_flags::kOpenTypeCff) == font_flags::kOpenTypeCff ? font_icons::kOpenType
                                                                                    : font_icons::kTrueType;
  row.fullPath = reader_.fullPath;
  row.expectedValueName = WithSuffix(row.registryName, trueType ? kTrueTypeSuffix : kOpenTypeSuffix);
}

void RegisteredFontTable::CheckCollection(RegisteredFontEntry& row) {
  if (!reader_.ReadCollectionHeader()) {
    row.flags = kUnreadable;
    row.fullPath = reader_.fullPath;
    return;
  }
  row.name = reader_.collectionName;
  row.registryName = reader_.BuildCollectionRegistryName();
  std::wstring englishNames;
  for (size_t i = 0; i < reader_.faceNames.size(); ++i) {
    if (i) englishNames += L" & ";
    englishNames += reader_.faceNames[i].englishFullName;
  }
  // Collections are registered as TrueType whatever their outlines.
  if (row.valueName == WithSuffix(row.name, kTrueTypeSuffix) ||
      row.valueName == WithSuffix(row.registryName, kTrueTypeSuffix)) {
    // the collection's own name
  } else if (!englishNames.empty() && row.valueName == WithSuffix(englishNames, kTrueTypeSuffix)) {
    row.flags |= kSecondaryName;
  } else {
    row.flags |= kNameMismatch;
  }
  row.image = font_icons::kCollection;
  row.fullPath = reader_.fullPath;
  row.expectedValueName = WithSuffix(row.registryName, kTrueTypeSuffix);
}

void RegisteredFontTable::CheckType1Value(std::wstring_view valueName, std::wstring_view joined) {
  RegisteredFontEntry row;
  row.valueName = valueName;
  row.flags = kType1;
  row.image = font_icons::kType1;
  // "T", then the ".pfm" and ".pfb" references; anything else is no Type 1 registration.
  const size_t bar = joined.find(kJoinSeparator);
  const bool marked = joined.substr(0, bar) == kType1Marker;
  row.fileRef = marked ? (bar == std::wstring_view::npos ? std::wstring() : std::wstring(joined.substr(bar + 1)))
                       : std::wstring(joined);
  bool read = false;
  if (marked && !row.fileRef.empty() && row.fileRef.front() != kJoinSeparator) {
    // Both references as they are opened: a relative path lies in the Fonts folder.
    const size_t split = row.fileRef.find(kJoinSeparator);
    std::wstring ref = InFontsFolder(row.fileRef.substr(0, split));
    if (split != std::wstring::npos) ref += kJoinSeparator + InFontsFolder(row.fileRef.substr(split + 1));
    reader_.Reset();
    reader_.folder = fontsFolder_;
    reader_.fileRef = ref;
    read = reader_.ReadType1();
  }
  if (read) {
    row.name = reader_.FullName();
  } else {
    row.flags |= kUnreadable;
  }
  if (!EqualsNoCase(row.valueName, row.name)) row.flags |= kNameMismatch;
  row.expectedValueName = row.name;
  rows_.push_back(std::move(row));
}
