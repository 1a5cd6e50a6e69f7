#include "lists/CensusAnalysis.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "common/StringHelpers.h"
#include "fonts/FontItem.h"

using namespace census_flags;

namespace {

// The usable records among `rows`, in their order.
std::vector<int> UsableRows(const std::vector<CensusRecord>& records, const std::vector<int>& rows) {
  std::vector<int> usable;
  usable.reserve(rows.size());
  for (int row : rows)
    if (!records[row].Has(kUnusable)) usable.push_back(row);
  return usable;
}

// Two faces of one collection file: the name of the first is one of the face names of the
// second. (A face name only, not any text inside one: "Sans" is no face of "Noto Sans & X".)
bool AreFacesOfOneCollection(const CensusRecord& a, const CensusRecord& b) {
  if (!a.Has(kCollectionFace) || !b.Has(kCollectionFace)) return false;
  return (L" & " + b.collectionFaces).find(L" & " + a.name + L" &") != std::wstring::npos;
}

// Pass 1: groups of one name, sorted by name.
void MarkNameGroups(std::vector<CensusRecord>& records, const std::vector<int>& rows) {
  const size_t count = rows.size();
  size_t first = count;  // none
  for (size_t at = 0; at < count; ++at) {
    CensusRecord& row = records[rows[at]];
    if (at + 1 < count && EqualsNoCase(row.name, records[rows[at + 1]].name)) {
      if (first == count) {
        row.censusFlags |= kFirstOfGroup;
        first = at;
      }
      CensusRecord& next = records[rows[at + 1]];
      if (next.name != records[rows[first]].name) next.censusFlags |= kDiffers;
      continue;
    }
    if (first == count) {
      if (row.Has(kInSystemFonts)) row.censusFlags |= kLeftOut;
      continue;
    }
    // The group is rows first to at.
    CensusRecord& head = records[rows[first]];
    bool identicalCopy = false;
    for (size_t k = first + 1; k <= at; ++k) {
      CensusRecord& member = records[rows[k]];
      member.censusFlags |= kInGroup;
      if (member.version != head.version)
        member.censusFlags |= kDiffers;
      else if ((member.fontFlags & font_flags::kTypeMask) == (head.fontFlags & font_flags::kTypeMask))
        identicalCopy = true;
      if (!EqualsNoCase(member.files, head.files)) {
        member.censusFlags |= kOtherFileName;
        head.censusFlags |= kOtherFileName;
      }
    }
    // An installed font whose other copies all differ is no duplicate: the group leaves the
    // duplicates.
    if (!identicalCopy && head.Has(kInSystemFonts)) {
      head.censusFlags = (head.censusFlags | kLeftOut) & ~kFirstOfGroup;
      for (size_t k = first + 1; k <= at; ++k) {
        CensusRecord& member = records[rows[k]];
        member.censusFlags = (member.censusFlags | kLeftOut) & ~kInGroup;
      }
    }
    first = count;
  }
}

// Pass 2: runs of one file name, sorted by file name, that hold different fonts.
void MarkSharedFileNames(std::vector<CensusRecord>& records, const std::vector<int>& rows) {
  const size_t count = rows.size();
  size_t start = count;  // none
  bool differs = false;
  for (size_t at = 0; at < count; ++at) {
    const CensusRecord& row = records[rows[at]];
    if (at + 1 < count && EqualsNoCase(row.files, records[rows[at + 1]].files)) {
      if (start == count) start = at;
      const CensusRecord& next = records[rows[at + 1]];
      if (row.name != next.name && !AreFacesOfOneCollection(row, next)) differs = true;
      continue;
    }
    if (start != count && differs)
      for (size_t k = start; k <= at; ++k) records[rows[k]].censusFlags |= kSharedFileName;
    start = count;
    differs = false;
  }
}

}  // namespace

void SortCensusRows(const std::vector<CensusRecord>& records, std::vector<int>& rows, int column, bool ascending) {
  std::vector<std::wstring> keys(records.size());
  for (int row : rows) keys[row] = FoldCase(records[row].Cell(column));
  std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
    const int order = keys[a].compare(keys[b]);
    return ascending ? order < 0 : order > 0;
  });
}

std::vector<int> AllCensusRows(const std::vector<CensusRecord>& records) {
  std::vector<int> rows(records.size());
  std::iota(rows.begin(), rows.end(), 0);
  return rows;
}

void AnalyseCensus(std::vector<CensusRecord>& records) {
  for (CensusRecord& record : records) record.censusFlags &= ~kAnalysis;
  std::vector<int> rows = AllCensusRows(records);
  SortCensusRows(records, rows, kCensusName, true);
  MarkNameGroups(records, UsableRows(records, rows));
  // From the order by name: within one file name the faces come by name.
  SortCensusRows(records, rows, kCensusFiles, true);
  MarkSharedFileNames(records, UsableRows(records, rows));
}

std::vector<int> DuplicateRows(const std::vector<CensusRecord>& records, const std::vector<int>& byName) {
  std::vector<int> shown, group;
  auto close = [&] {
    // An installed font with exactly one identical copy is where it belongs.
    const bool installedPair = group.size() == 2 && !records[group[0]].Has(kDiffers) &&
                               !records[group[1]].Has(kDiffers) &&
                               (records[group[0]].Has(kInSystemFonts) || records[group[1]].Has(kInSystemFonts));
    if (!installedPair) shown.insert(shown.end(), group.begin(), group.end());
    group.clear();
  };
  for (int row : byName) {
    if (records[row].Has(kFirstOfGroup)) {
      close();
      group.push_back(row);
    } else if (records[row].Has(kInGroup) && !group.empty()) {
      group.push_back(row);
    }
  }
  close();
  return shown;
}

std::vector<int> RowsWithFlags(const std::vector<CensusRecord>& records, const std::vector<int>& rows, uint32_t bits) {
  std::vector<int> shown;
  for (int row : rows)
    if (records[row].Has(bits)) shown.push_back(row);
  return shown;
}
