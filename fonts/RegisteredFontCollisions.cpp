// The collision pass of the registered fonts: which registrations get in each other's way.
//
// Every pair of rows (earlier i, later k) is looked at once, in row order, and a pair's marks
// decide whether its rows still take part in later pairs: a row that is unreadable or already
// known as a duplicate registration (kDuplicateFile) takes no part; the earlier row is tested
// once before its pairs, the later row at each pair. Type 1 rows follow all Fonts rows.
//   - later row Type 1: with an earlier Type 1 row, the same file references mark both
//     kDuplicateFile; with an earlier Fonts row, the same names mark both kType1Namesake;
//   - both Fonts rows, one file: when both are clean and their names agree, only the redundant
//     one is marked (kDuplicateFile | kNameMismatch), the later one if it matched through a
//     secondary name, else the earlier; otherwise both kDuplicateFile;
//   - both Fonts rows, different files: the same file name marks both kDuplicateFile, the same
//     expected value name both kSameExpectedName.
//
// A pair can only mark its rows when they share one of those keys, so instead of walking all
// n * n pairs, each row looks only at the later rows that share a key with it (hashed without
// case), in row order. The result is that of the walk over every pair, while a key of thousands
// of values costs close to linear time.
#include "fonts/RegisteredFontTable.h"

#include <algorithm>
#include <unordered_map>

#include "common/StringHelpers.h"

using namespace reg_entry_flags;

namespace {

using Buckets = std::unordered_map<std::wstring, std::vector<size_t>>;

bool TakesPart(const RegisteredFontEntry& row) { return (row.flags & (kUnreadable | kDuplicateFile)) == 0; }
bool IsType1(const RegisteredFontEntry& row) { return (row.flags & kType1) != 0; }
bool IsClean(const RegisteredFontEntry& row) { return (row.flags & kCheckMask) < kUnreadable; }

std::wstring FileNamePart(const std::wstring& ref) {
  const size_t slash = ref.find_last_of(L"\\/:");
  return slash == std::wstring::npos ? ref : ref.substr(slash + 1);
}

// The keys a row is compared by, folded once.
struct RowKeys {
  std::wstring fullPath, fileName, expected, name, fileRef;
};

// The members of `bucket` after row i (buckets hold rows in ascending order).
void AppendLater(const std::vector<size_t>& bucket, size_t i, std::vector<size_t>& out) {
  out.insert(out.end(), std::upper_bound(bucket.begin(), bucket.end(), i), bucket.end());
}

void ComparePair(RegisteredFontEntry& first, RegisteredFontEntry& later, const RowKeys& a, const RowKeys& b) {
  if (IsType1(later)) {
    if (IsType1(first)) {
      if (a.fileRef == b.fileRef) {
        first.flags |= kDuplicateFile;
        later.flags |= kDuplicateFile;
      }
    } else if (a.name == b.name) {
      first.flags |= kType1Namesake;
      later.flags |= kType1Namesake;
    }
    return;
  }
  if (a.fullPath == b.fullPath) {
    const bool namesAgree = later.name == first.name || later.name == first.registryName ||
                            later.registryName == first.name || later.registryName == first.registryName;
    if (IsClean(first) && IsClean(later) && namesAgree) {
      RegisteredFontEntry& redundant = (later.flags & kSecondaryName) ? later : first;
      redundant.flags |= kDuplicateFile | kNameMismatch;
    } else {
      first.flags |= kDuplicateFile;
      later.flags |= kDuplicateFile;
    }
    return;
  }
  if (a.fileName == b.fileName) {
    first.flags |= kDuplicateFile;
    later.flags |= kDuplicateFile;
  }
  if (a.expected == b.expected) {
    first.flags |= kSameExpectedName;
    later.flags |= kSameExpectedName;
  }
}

}  // namespace

void RegisteredFontTable::MarkCollisions() { MarkRegistrationCollisions(rows_); }

void MarkRegistrationCollisions(std::vector<RegisteredFontEntry>& rows) {
  std::vector<RowKeys> keys(rows.size());
  Buckets byPath, byFileName, byExpected, type1ByName, type1ByFile;
  for (size_t i = 0; i < rows.size(); ++i) {
    const RegisteredFontEntry& row = rows[i];
    // An unreadable row never takes part, and marks never clear: it needs no keys.
    if (row.flags & kUnreadable) continue;
    RowKeys& k = keys[i];
    k.name = FoldCase(row.name);
    if (IsType1(row)) {
      k.fileRef = FoldCase(row.fileRef);
      type1ByName[k.name].push_back(i);
      type1ByFile[k.fileRef].push_back(i);
    } else {
      k.fullPath = FoldCase(row.fullPath);
      k.fileName = FoldCase(FileNamePart(row.fileRef));
      k.expected = FoldCase(row.expectedValueName);
      byPath[k.fullPath].push_back(i);
      byFileName[k.fileName].push_back(i);
      byExpected[k.expected].push_back(i);
    }
  }

  std::vector<size_t> later;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!TakesPart(rows[i])) continue;
    later.clear();
    if (IsType1(rows[i])) {
      AppendLater(type1ByFile[keys[i].fileRef], i, later);
    } else {
      AppendLater(byPath[keys[i].fullPath], i, later);
      AppendLater(byFileName[keys[i].fileName], i, later);
      AppendLater(byExpected[keys[i].expected], i, later);
      AppendLater(type1ByName[keys[i].name], i, later);
    }
    std::sort(later.begin(), later.end());
    later.erase(std::unique(later.begin(), later.end()), later.end());
    for (size_t k : later) {
      if (TakesPart(rows[k])) ComparePair(rows[i], rows[k], keys[i], keys[k]);
    }
  }
}
