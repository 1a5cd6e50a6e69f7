#include "lists/CensusRecord.h"

#include "common/StringHelpers.h"
#include "fonts/FontItem.h"

const std::wstring& CensusRecord::Cell(int column) const {
  static const std::wstring kNone;
  switch (column) {
    case kCensusName: return name;
    case kCensusFiles: return files;
    case kCensusVersion: return version;
    case kCensusUniqueId: return uniqueId;
    case kCensusFolder: return folder;
    default: return kNone;
  }
}

std::wstring CensusFilesOf(const FontItem& item, const std::wstring& fileName) {
  if (!item.IsType1()) return fileName;
  // The reader may have completed its reference with the outline file already: the ".pfm"
  // name is what comes before the bar.
  const std::wstring pfm = fileName.substr(0, fileName.find(L'|'));
  std::wstring pfb = pfm;
  if (!pfb.empty()) pfb.back() = pfb.back() == L'M' ? L'B' : L'b';
  return pfm + L"|" + (item.HasFlag(font_flags::kPfbInParent) ? L"..\\" : L"") + pfb;
}

CensusRecord MakeCensusRecord(const FontItem& item, const std::wstring& folder, const std::wstring& fileName,
                              const std::wstring& systemFontsFolder) {
  CensusRecord record;
  record.name = item.FullName();
  record.collectionFaces = item.collectionName + L" &";
  record.files = CensusFilesOf(item, fileName);
  record.version = item.version;
  record.uniqueId = item.uniqueId;
  record.folder = folder;
  record.fontFlags = item.flags;
  if (!systemFontsFolder.empty() && EqualsNoCase(folder, systemFontsFolder))
    record.censusFlags |= census_flags::kInSystemFonts;
  if (item.IsUnreadable()) record.censusFlags |= census_flags::kUnusable;
  if (item.IsCollectionFace()) record.censusFlags |= census_flags::kCollectionFace;
  return record;
}
