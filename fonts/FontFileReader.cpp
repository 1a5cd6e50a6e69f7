#include "common/StringHelpers.h"
#include "fonts/FontFileReader.h"

#include <shlwapi.h>

#include <algorithm>

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIdsFonts.h"

using namespace font_flags;

namespace {

constexpr uint32_t kHeadMagic = 0x5F0F3CF5;
constexpr uint32_t kOffsetTableSize = 12;
constexpr uint32_t kTableRecordSize = 16;
constexpr uint32_t kHeadBytes = 54;
constexpr uint32_t kOs2Bytes = 78;
constexpr uint32_t kOs2ReadBytes = 100;  // through the optical sizes of version 5
constexpr uint16_t kLanguageUsEnglish = 0x0409;
constexpr size_t kKeptFullNameLength = 64;

uint16_t g_languageOverride = 0;

bool HasCollectionFileName(const std::wstring& ref) { return EndsWithNoCase(ref, L".ttc") || EndsWithNoCase(ref, L".otc"); }

// ".ttf", ".otf" (any name ending in "tf") or a collection's name.
bool HasSfntFileName(const std::wstring& ref) { return EndsWithNoCase(ref, L"tf") || HasCollectionFileName(ref); }

// End-user-defined-character fonts: TrueType files under their own extensions.
bool HasEudcFileName(const std::wstring& ref) { return EndsWithNoCase(ref, L".tte") || EndsWithNoCase(ref, L".euf"); }

}  // namespace

uint16_t FontFileReader::SystemLanguage() {
  if (g_languageOverride) return g_languageOverride;
  static const uint16_t language = static_cast<uint16_t>(::GetSystemDefaultLCID() & 0xFFFF);
  return language;
}

void FontFileReader::SetSystemLanguageForTesting(uint16_t language) { g_languageOverride = language; }

FontFileReader::FontFileReader() = default;

void FontFileReader::Reset() {
  CloseFile();
  flags = 0;
  displayName.clear();
  names.Clear();
  postScriptName.clear();
  version.clear();
  uniqueId.clear();
  collectionName.clear();
  fileRef.clear();
  fullPath.clear();
  pfbPath.clear();
  faceOffsets.clear();
  faceIndex = 0;
  faceNames.clear();
  instanceCount = instanceNumber = instanceSize = axisCount = 0;
  instanceOffset = 0;
  fsSelection = 0;
  memset(panose, 0, sizeof panose);
  familyClass = 0;
  namePlatformId = nameEncodingId = 0;
  memset(unicodeRange, 0, sizeof unicodeRange);
  FreeVariationState();
}

bool FontFileReader::IsCollectionFile() {
  // Type 1 references ("x.pfm|x.pfb") and the like are not opened to look.
  if (!HasSfntFileName(fileRef) && !HasFlag(kCollectionFace)) return false;
  if (fullPath.empty()) ResolveFullPath();
  if (OpenFileBytes()) return file_.Read(0, 4).TagIs(0, "ttcf");
  // Not to be opened: by its name or what the record was, so that a collection is marked
  // unreadable as one.
  return HasCollectionFileName(fileRef) || HasFlag(kCollectionFace);
}

bool FontFileReader::ReadFontFile(const std::wstring& fileName) {
  if (!fileName.empty()) fileRef = fileName;
  // An EUDC font is an sfnt file whatever its extension says; the Type 1 reader would only
  // mark it unreadable.
  if (HasFlag(kEudc) || HasEudcFileName(fileRef)) {
    flags &= ~kCollectionFace;
    return ReadSfnt();
  }
  if (IsCollectionFile()) return ReadFirstCollectionFace();
  if (!HasSfntFileName(fileRef)) return ReadType1();
  // A single font under any of these names, whatever the record said before.
  flags &= ~kCollectionFace;
  return ReadSfnt();
}

void FontFileReader::ResolveFullPath() {
  fullPath = fileRef;
  if (IsBareFileName(fileRef)) fullPath = JoinPath(folder, fileRef);
}

bool FontFileReader::OpenFileBytes() {
  if (file_.IsOpen() && openPath_ == fullPath) return true;
  CloseFile();
  if (!file_.Open(fullPath)) return false;
  openPath_ = fullPath;
  return true;
}

void FontFileReader::CloseFile() {
  file_.Close();
  openPath_.clear();
  tableOffset_ = tableLength_ = 0;
}

uint32_t FontFileReader::FaceOffset() const {
  if (faceOffsets.empty() || faceIndex < 0 || static_cast<size_t>(faceIndex) >= faceOffsets.size()) return 0;
  return faceOffsets[faceIndex];
}

bool FontFileReader::OpenSfnt(DWORD extraAccess) {
  if (fullPath.empty()) ResolveFullPath();
  if (extraAccess != 0) {
    FileBytes probe;
    return probe.Open(fullPath, extraAccess);
  }
  if (!OpenFileBytes()) return false;
  const ByteReader offsetTable = file_.Read(FaceOffset(), kOffsetTableSize);
  numTables = 0;
  uint16_t tables = 0;
  bool valid = offsetTable.Has(0, kOffsetTableSize) && offsetTable.U16(4, tables);
  if (valid) numTables = tables;
  uint32_t magic = 0;
  valid = valid && numTables != 0 && file_.HasBytes((uint64_t{numTables} + 2) * kTableRecordSize);
  if (valid) {
    const uint32_t face = FaceOffset();
    PrefetchFaceTables(&face, 1);
    const ByteReader head = ReadTable("head", kHeadBytes);
    valid = head.Has(0, kHeadBytes) && head.U32(12, magic) && magic == kHeadMagic;
  }
  if (!valid) {
    CloseFile();
    return false;
  }
  return true;
}

bool FontFileReader::FindTableAt(uint32_t faceOffset, uint16_t tables, const char* tag, uint32_t& offset,
                                 uint32_t& length) {
  offset = length = 0;
  if (tables == 0 || !file_.IsOpen()) return false;
  const ByteReader directory = file_.Read(uint64_t{faceOffset} + kOffsetTableSize, uint64_t{tables} * kTableRecordSize);
  for (uint32_t i = 0; i < tables; ++i) {
    const uint64_t record = uint64_t{i} * kTableRecordSize;
    if (!directory.Has(record, kTableRecordSize)) return false;
    if (!directory.TagIs(record, tag)) continue;
    return directory.U32(record + 8, offset) && directory.U32(record + 12, length);
  }
  return false;
}

bool FontFileReader::FindTable(const char* tag, uint32_t& offset, uint32_t& length) {
  return FindTableAt(FaceOffset(), numTables, tag, offset, length);
}

void FontFileReader::PrefetchFaceTables(const uint32_t* faces, size_t count) {
  // What every face read needs: the start of 'head' and 'OS/2' and the whole 'name'.
  struct Wanted {
    const char* tag;
    uint32_t maxBytes;
  };
  static const Wanted kWanted[] = {{"head", kHeadBytes}, {"OS/2", kOs2ReadBytes}, {"name", UINT32_MAX}};
  std::vector<FileBytes::Range> ranges;
  ranges.reserve(count * std::size(kWanted));
  for (size_t f = 0; f < count; ++f) {
    uint16_t tables = 0;
    if (!file_.Read(faces[f], kOffsetTableSize).U16(4, tables)) continue;
    for (const Wanted& wanted : kWanted) {
      uint32_t offset = 0, length = 0;
      if (FindTableAt(faces[f], tables, wanted.tag, offset, length))
        ranges.push_back({offset, std::min(length, wanted.maxBytes)});
    }
  }
  file_.Prefetch(std::move(ranges));
}

bool FontFileReader::HasTable(const char* tag) {
  uint32_t offset = 0, length = 0;
  return FindTable(tag, offset, length) && file_.HasBytes(offset);
}

bool FontFileReader::SeekToTable(const char* tag) {
  tableOffset_ = tableLength_ = 0;
  uint32_t offset = 0, length = 0;
  if (!FindTable(tag, offset, length) || !file_.HasBytes(offset)) return false;
  tableOffset_ = offset;
  tableLength_ = file_.HasBytes(uint64_t{offset} + length) ? length : static_cast<uint32_t>(file_.Size() - offset);
  return true;
}

ByteReader FontFileReader::ReadTable(const char* tag, uint32_t maxBytes) {
  // The read itself stops at the file's end, and gives nothing for a table that starts past it.
  uint32_t offset = 0, length = 0;
  if (!FindTable(tag, offset, length)) return {};
  return file_.Read(offset, std::min(length, maxBytes));
}

bool FontFileReader::ReadSfnt() {
  // An EUDC font is named "EUDC" in its file; the name it was listed under is the one to keep.
  keptFullName_ = FullName().substr(0, kKeptFullNameLength);
  version.clear();
  uniqueId.clear();
  postScriptName.clear();
  displayName.clear();
  names.Clear();
  lowerOpticalSize = 0;
  upperOpticalSize = 0xFFFF;
  if (!HasFlag(kCollectionFace)) {
    faceOffsets.clear();
    faceIndex = 0;
  }
  flags = kRead | kSfnt | (flags & (kEudc | kPerUser | kCollectionFace));
  if (!OpenSfnt(0)) {
    MarkUnreadable();
    return false;
  }
  if (HasTable("DSIG")) flags |= kDsig;
  if (HasTable("CFF ")) flags |= kCffOrType1;
  if (HasTable("fvar")) flags |= kVariable;
  const ByteReader os2 = ReadTable("OS/2", kOs2ReadBytes);
  if (os2.Has(0, kOs2Bytes)) {
    uint16_t v = 0, selection = 0;
    int16_t family = 0;
    uint32_t ranges[4] = {};
    if (os2.U16(0, v) && os2.I16(30, family) && os2.Bytes(32, panose, sizeof panose) && os2.U32(42, ranges[0]) &&
        os2.U32(46, ranges[1]) && os2.U32(50, ranges[2]) && os2.U32(54, ranges[3]) && os2.U16(62, selection)) {
      os2Version = v;
      familyClass = family;
      fsSelection = selection;
      memcpy(unicodeRange, ranges, sizeof ranges);
      uint16_t lower = 0, upper = 0;
      if (os2Version > 4 && os2.U16(96, lower) && os2.U16(98, upper)) {
        lowerOpticalSize = lower;
        upperOpticalSize = upper;
      }
    }
  }
  ReadNames();
  // A collection walk keeps the file open for the next face, a variable font for the walk of
  // its named instances that follows; the walk's end or the reader's end closes it.
  if (faceOffsets.empty() && !walkingInstances_ && !HasFlag(kVariable)) CloseFile();

  if (EqualsNoCase(FullName(), L"Marlett")) flags |= kProtected;
  MarkFolderFlags(false, true);

  if (names.System(NameSlot::FullName).empty() && names.English(NameSlot::FullName).empty()) {
    // A face without a usable name cannot be listed, installed or found again by name.
    flags |= kUnreadable;
    SetUnreadableName();
    return false;
  }
  return true;
}

void FontFileReader::MarkFolderFlags(bool caseSensitive, bool protectSystem) {
  const std::wstring parent = ParentFolder(fullPath);
  auto same = [&](const std::wstring& folderPath) {
    if (folderPath.empty()) return false;
    return caseSensitive ? parent == folderPath : EqualsNoCase(parent, folderPath);
  };
  if (same(g_AppState.SystemFontsFolder)) {
    flags |= kInSystemFonts;
    if (protectSystem && !g_AppState.IsElevated) flags |= kProtected;
  } else if (same(g_AppState.UserFontsFolder)) {
    flags |= kInUserFonts;
  }
}

void FontFileReader::ReadNames() {
  std::wstring kept = FullName().substr(0, kKeptFullNameLength);
  if (kept.empty()) kept = std::move(keptFullName_);
  keptFullName_.clear();
  namePlatformId = nameEncodingId = 0;
  static const uint16_t kIds[] = {name_ids::kFamily,     name_ids::kSubfamily,     name_ids::kUniqueId,
                                  name_ids::kFullName,   name_ids::kVersion,       name_ids::kPostScriptName,
                                  name_ids::kTypoFamily, name_ids::kTypoSubfamily, name_ids::kWwsFamily,
                                  name_ids::kWwsSubfamily};
  constexpr int kCount = sizeof kIds / sizeof kIds[0];
  std::wstring system[kCount], other[kCount];
  ReadNameRecords(kIds, kCount, system, other);
  auto store = [&](int index, NameSlot slot) {
    if (!system[index].empty()) names.System(slot) = std::move(system[index]);
    if (!other[index].empty()) names.English(slot) = std::move(other[index]);
  };
  store(0, NameSlot::Family);
  store(1, NameSlot::Subfamily);
  store(3, NameSlot::FullName);
  store(6, NameSlot::TypoFamily);
  store(7, NameSlot::TypoSubfamily);
  store(8, NameSlot::WwsFamily);
  store(9, NameSlot::WwsSubfamily);
  uniqueId = std::move(!system[2].empty() ? system[2] : other[2]);
  version = std::move(!system[4].empty() ? system[4] : other[4]);
  postScriptName = std::move(other[5]);
  if (HasFlag(kEudc)) {
    if (names.English(NameSlot::FullName) == L"EUDC" && !kept.empty()) names.English(NameSlot::FullName) = kept;
    displayName = names.English(NameSlot::FullName);
  } else {
    displayName = BuildStyleName();
  }
  if (namePlatformId == 3 && nameEncodingId == 0) flags |= kSymbol;
}

void FontFileReader::ReadNameRecords(const uint16_t* ids, int count, std::wstring* systemOut,
                                     std::wstring* otherOut) {
  const ByteReader table = ReadTable("name");
  if (table.Size() == 0) return;
  uint16_t recordCount = 0, stringOffset = 0;
  if (!table.U16(2, recordCount) || !table.U16(4, stringOffset)) return;
  struct Chosen {
    uint64_t offset = 0;
    uint16_t length = 0;
    uint16_t platform = 0;
    bool found = false;
  };
  // Chosen records by slot; no reader asks for more names than the table numbers ids for.
  constexpr int kMostIds = 26;
  count = std::min(count, kMostIds);
  Chosen system[kMostIds], other[kMostIds];
  const uint16_t systemLanguage = SystemLanguage();
  for (uint32_t r = 0; r < recordCount; ++r) {
    const uint64_t at = 6 + uint64_t{r} * 12;
    uint16_t platform = 0, encoding = 0, language = 0, nameId = 0, length = 0, offset = 0;
    if (!table.U16(at, platform) || !table.U16(at + 2, encoding) || !table.U16(at + 4, language) ||
        !table.U16(at + 6, nameId) || !table.U16(at + 8, length) || !table.U16(at + 10, offset))
      break;
    if (platform > 3) break;
    if (length == 0) continue;
    int index = -1;
    for (int i = 0; i < count; ++i)
      if (ids[i] == nameId) index = i;
    if (index < 0) continue;
    Chosen chosen{uint64_t{stringOffset} + offset, length, platform, true};
    if (platform <= 2 || language == kLanguageUsEnglish) {
      other[index] = chosen;
    } else if (language == systemLanguage) {
      system[index] = chosen;
    } else {
      continue;
    }
    namePlatformId = platform;
    nameEncodingId = encoding;
  }
  for (int i = 0; i < count; ++i) {
    if (system[i].found) systemOut[i] = DecodeNameString(table, system[i].offset, system[i].length, system[i].platform);
    if (other[i].found) otherOut[i] = DecodeNameString(table, other[i].offset, other[i].length, other[i].platform);
  }
}

std::wstring FontFileReader::DecodeNameString(const ByteReader& table, uint64_t offset, uint16_t length,
                                              uint16_t platform) const {
  if (!table.Has(offset, length)) return {};
  const uint8_t* p = table.Data() + offset;
  std::wstring out;
  if (platform == 1) {
    const int n = ::MultiByteToWideChar(CP_THREAD_ACP, 0, reinterpret_cast<const char*>(p), length, nullptr, 0);
    if (n <= 0) return {};
    out.resize(n);
    ::MultiByteToWideChar(CP_THREAD_ACP, 0, reinterpret_cast<const char*>(p), length, out.data(), n);
  } else {
    out.resize(length / 2);
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<wchar_t>((p[2 * i] << 8) | p[2 * i + 1]);
  }
  // The string ends at its first NUL, as a C string would.
  const size_t nul = out.find(L'\0');
  if (nul != std::wstring::npos) out.resize(nul);
  return out;
}

void FontFileReader::ReadAllNames(std::wstring (&out)[26]) {
  namePlatformId = nameEncodingId = 0;
  uint16_t ids[26];
  for (uint16_t i = 0; i < 26; ++i) ids[i] = i;
  std::wstring system[26], other[26];
  ReadNameRecords(ids, 26, system, other);
  for (int i = 0; i < 26; ++i) out[i] = !system[i].empty() ? system[i] : other[i];
}

bool FontFileReader::SupportsVerticalLayout() {
  if (HasTable("vhea")) return true;
  if (HasFlag(kCffOrType1) && HasTable("VORG")) return true;
  if (!SeekToTable("GSUB")) return false;
  const uint32_t gsubOffset = tableOffset_;
  const uint32_t gsubLength = tableLength_;
  const ByteReader header = file_.Read(gsubOffset, std::min<uint32_t>(gsubLength, 10));
  uint16_t featureListOffset = 0, featureCount = 0;
  if (!header.Has(0, 10) || !header.U16(6, featureListOffset) || featureListOffset == 0) return false;
  if (featureListOffset >= gsubLength) return false;
  // Only the feature list is read, not the lookups that make most of the table.
  const ByteReader countBytes = file_.Read(uint64_t{gsubOffset} + featureListOffset, 2);
  if (!countBytes.U16(0, featureCount)) return false;
  const uint64_t listBytes = std::min<uint64_t>(2 + uint64_t{featureCount} * 6, gsubLength - featureListOffset);
  const ByteReader list = file_.Read(uint64_t{gsubOffset} + featureListOffset, listBytes);
  for (uint32_t i = 0; i < featureCount; ++i) {
    const uint64_t record = 2 + uint64_t{i} * 6;
    if (!list.Has(record, 6)) return false;
    if (list.TagIs(record, "vert") || list.TagIs(record, "vrt2")) return true;
  }
  return false;
}

std::wstring FontFileReader::BuildRegistryName() const {
  if (!names.System(NameSlot::Subfamily).empty() && names.System(NameSlot::FullName).empty()) {
    if (names.English(NameSlot::Family).empty()) return {};
    return names.English(NameSlot::Family) + L" " + names.System(NameSlot::Subfamily);
  }
  return FullName();
}

void FontFileReader::SetUnreadableName() {
  if (names.English(NameSlot::FullName).empty()) names.English(NameSlot::FullName) = LoadResString(IDS_UNREADABLE_FONT);
  if (displayName.empty()) displayName = names.English(NameSlot::FullName);
}

void FontFileReader::MarkUnreadable() {
  CloseFile();
  if (HasFlag(kCollectionFace)) {
    faceOffsets.clear();
    faceIndex = 0;
  }
  if (HasFlag(kVariable)) {
    instanceCount = instanceNumber = instanceSize = axisCount = 0;
    instanceOffset = 0;
    fsSelection = 0;
  }
  flags |= kUnreadable;
  SetUnreadableName();
}
