#include "fonts/InstalledFontRecords.h"

#include <unordered_set>
#include <utility>

#include "common/StringHelpers.h"
#include "fonts/FontItem.h"

namespace {

const std::vector<size_t> kNone;

InstalledFontIndex& Current() {
  static InstalledFontIndex index;
  return index;
}

const std::vector<size_t>& Find(const std::unordered_map<std::wstring, std::vector<size_t>>& map,
                                const std::wstring& key) {
  const auto it = map.find(key);
  return it == map.end() ? kNone : it->second;
}

}  // namespace

InstalledFontIndex::InstalledFontIndex(std::vector<const FontItem*> records) : records_(std::move(records)) {
  positions_.reserve(records_.size());
  byFullName_.reserve(records_.size());
  byEnglishName_.reserve(records_.size());
  fullNamesOfEnglishName_.reserve(records_.size());
  // The English name (folded, its length first) and the full name of each record taken.
  std::unordered_set<std::wstring> seen;
  for (size_t i = 0; i < records_.size(); ++i) {
    const FontItem* record = records_[i];
    if (!record) continue;
    positions_.emplace(record, i);
    // An empty name matches nothing: two unnamed records are not namesakes.
    if (!record->FullName().empty()) byFullName_[FoldCase(record->FullName())].push_back(i);
    const std::wstring& english = record->names.English(NameSlot::FullName);
    if (!english.empty()) byEnglishName_[english].push_back(i);
    std::wstring folded = FoldCase(english);
    if (seen.insert(std::to_wstring(folded.size()) + L':' + folded + record->FullName()).second)
      fullNamesOfEnglishName_[std::move(folded)].push_back(i);
  }
}

const std::vector<size_t>& InstalledFontIndex::ByFullName(const std::wstring& name) const {
  return name.empty() ? kNone : Find(byFullName_, FoldCase(name));
}

const std::vector<size_t>& InstalledFontIndex::ByEnglishFullName(const std::wstring& name) const {
  return name.empty() ? kNone : Find(byEnglishName_, name);
}

const std::vector<size_t>& InstalledFontIndex::FullNamesOfEnglishName(const std::wstring& name) const {
  return Find(fullNamesOfEnglishName_, FoldCase(name));
}

size_t InstalledFontIndex::PositionOf(const FontItem* record) const {
  const auto it = positions_.find(record);
  return it == positions_.end() ? npos : it->second;
}

const InstalledFontIndex& InstalledFonts() { return Current(); }

const std::vector<const FontItem*>& InstalledFontRecords() { return Current().Records(); }

void SetInstalledFontRecords(std::vector<const FontItem*> records) {
  Current() = InstalledFontIndex(std::move(records));
}
