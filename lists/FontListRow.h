// The row entry of every font list: exactly one of an owned font record or an owned subgroup
// entry (group lists only), with the lower-cased name the list sorts by.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "fonts/FontItem.h"

struct SubgroupEntry {
  std::wstring name;
  std::wstring groupFile;
  bool installed = false;   // the subgroup's group is marked installed
  bool loadFailed = false;  // its group file could not be read
};

struct FontListRow {
  std::unique_ptr<FontItem> record;
  std::unique_ptr<SubgroupEntry> subgroup;
  std::wstring sortKey;  // the row name folded to lower case (the lists compare without case)
  size_t order = 0;      // position in the row entries at the last Repopulate: keeps sorts stable
  uint32_t serial = 0;   // given by the list when the row is added; never given twice
  // The font the record's sample was last drawn in, as the display-font look-up found it, and
  // its height (0: none yet): drawing again at that height needs no look-up.
  LOGFONTW sampleFont{};
  int32_t sampleFontHeight = 0;

  const std::wstring& Name() const {
    static const std::wstring empty;
    if (record) return record->displayName;
    return subgroup ? subgroup->name : empty;
  }
};

// The row name folded to lower case as the system folds it (not ASCII only).
std::wstring FoldRowName(const std::wstring& name);
