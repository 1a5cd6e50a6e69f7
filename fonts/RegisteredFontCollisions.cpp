// The collision pass of the registered fonts: which registrations get in each other's way.
//
// Rows are grouped by hashed keys compared without case (full path, file name, expected value
// name, name, Type 1 file reference) instead of comparing every pair, so that the thousands of
// values a system key may hold cost linear time. An unreadable row takes no part, and neither
// does a row already found to be a second registration of a file (kDuplicateFile). The groups
// are examined in this order:
//   1. one file under several Fonts values: when both registrations are clean and their names
//      agree, only the redundant one is marked (kDuplicateFile | kNameMismatch), the one that
//      matched through a secondary name if the later one did, else the earlier; otherwise both;
//   2. Fonts values naming files of one file name in different folders: all kDuplicateFile;
//   3. Fonts values of different files that expect the same value name: all kSameExpectedName;
//   4. a Type 1 value and a Fonts value of the same name: all of that name kType1Namesake;
//   5. Type 1 values naming the same files: all kDuplicateFile.
#include "fonts/RegisteredFontTable.h"

#include <unordered_map>

#include "common/StringHelpers.h"

using namespace reg_entry_flags;

namespace {

using Groups = std::unordered_map<std::wstring, std::vector<size_t>>;

bool TakesPart(const RegisteredFontEntry& row) { return (row.flags & (kUnreadable | kDuplicateFile)) == 0; }
bool IsType1(const RegisteredFontEntry& row) { return (row.flags & kType1) != 0; }
bool IsClean(const RegisteredFontEntry& row) { return (row.flags & kCheckMask) < kUnreadable; }

std::wstring FileNamePart(const std::wstring& ref) {
  const size_t slash = ref.find_last_of(L"\\/:");
  return slash == std::wstring::npos ? ref : ref.substr(slash + 1);
}

void MarkAll(std::vector<RegisteredFontEntry>& rows, const std::vector<size_t>& group, uint32_t mark) {
  if (group.size() < 2) return;
  for (size_t i : group) rows[i].flags |= mark;
}

// Rows of one full path, in row order. Every pair marks at least one of its rows, and a marked
// row takes no further part as the later row of a pair, so at most two rows of a group ever
// look at the rest: the walk stays linear in the group's size.
void MarkSameFile(std::vector<RegisteredFontEntry>& rows, const std::vector<size_t>& group) {
  for (size_t a = 0; a < group.size(); ++a) {
    RegisteredFontEntry& first = rows[group[a]];
    if (!TakesPart(first)) continue;
    for (size_t b = a + 1; b < group.size(); ++b) {
      RegisteredFontEntry& later = rows[group[b]];
      if (!TakesPart(later)) continue;
      const bool namesAgree = later.name == first.name || later.name == first.registryName ||
                              later.registryName == first.name || later.registryName == first.registryName;
      if (IsClean(first) && IsClean(later) && namesAgree) {
        RegisteredFontEntry& redundant = (later.flags & kSecondaryName) ? later : first;
        redundant.flags |= kDuplicateFile | kNameMismatch;
      } else {
        first.flags |= kDuplicateFile;
        later.flags |= kDuplicateFile;
      }
    }
  }
}

}  // namespace

void RegisteredFontTable::MarkCollisions() {
  Groups byPath;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (!IsType1(rows_[i]) && TakesPart(rows_[i])) byPath[FoldCase(rows_[i].fullPath)].push_back(i);
  }
  for (const auto& [path, group] : byPath) MarkSameFile(rows_, group);

  // From here on each full path has at most one row taking part.
  Groups byFileName, byExpectedName, byName;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const RegisteredFontEntry& row = rows_[i];
    if (IsType1(row) || !TakesPart(row)) continue;
    byFileName[FoldCase(FileNamePart(row.fileRef))].push_back(i);
    byExpectedName[FoldCase(row.expectedValueName)].push_back(i);
  }
  for (const auto& [name, group] : byFileName) MarkAll(rows_, group, kDuplicateFile);
  for (const auto& [name, group] : byExpectedName) MarkAll(rows_, group, kSameExpectedName);

  Groups type1ByFile;
  for (size_t i = 0; i < rows_.size(); ++i) {
    const RegisteredFontEntry& row = rows_[i];
    if (!TakesPart(row)) continue;
    byName[FoldCase(row.name)].push_back(i);
    if (IsType1(row)) type1ByFile[FoldCase(row.fileRef)].push_back(i);
  }
  for (const auto& [name, group] : byName) {
    bool type1 = false, fonts = false;
    for (size_t i : group) (IsType1(rows_[i]) ? type1 : fonts) = true;
    if (type1 && fonts) MarkAll(rows_, group, kType1Namesake);
  }
  for (const auto& [file, group] : type1ByFile) MarkAll(rows_, group, kDuplicateFile);
}
