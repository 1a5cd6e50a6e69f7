#include "lists/FontItemList.h"

void FontItemList::AddUnique(const FontItem& record, int32_t row) {
  for (FontItemListEntry& entry : entries_) {
    if (!entry.record.HasFlag(font_flags::kResolved)) EnsureFontItemLoaded(*this, entry.record);
    if (entry.record.FullName() == record.displayName && EqualsNoCase(entry.record.fileRef, record.fileRef)) {
      ++entry.count;
      return;
    }
  }
  FontItemListEntry& added = entries_.emplace_back();
  added.record.CopyFrom(record);
  added.row = row;
}

void FontItemList::AddGroupFont(const std::wstring& name, const std::wstring& path) {
  for (FontItemListEntry& entry : entries_) {
    if (entry.record.displayName == name && EqualsNoCase(entry.record.fileRef, path)) {
      ++entry.count;
      return;
    }
  }
  FontItemListEntry& added = entries_.emplace_back();
  added.record.displayName = name;
  added.record.names.System(NameSlot::Family) = name;
  added.record.fileRef = path;
  added.row = -1;
}
