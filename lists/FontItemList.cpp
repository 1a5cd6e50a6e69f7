#include "lists/FontItemList.h"

std::wstring FontItemList::Key(const std::wstring& name, const std::wstring& fileRef) {
  std::wstring key = name;
  key.push_back(L'\0');  // no name holds a NUL: the two parts cannot run into each other
  key += FoldCase(fileRef);
  return key;
}

void FontItemList::AddUnique(const FontItem& record, int32_t row) {
  if (unkeyed_) {
    if (!unkeyed_->record.HasFlag(font_flags::kResolved)) EnsureFontItemLoaded(*this, unkeyed_->record);
    byFullName_.emplace(Key(unkeyed_->record.FullName(), unkeyed_->record.fileRef), unkeyed_);
    unkeyed_ = nullptr;
  }
  const auto found = byFullName_.find(Key(record.displayName, record.fileRef));
  if (found != byFullName_.end()) {
    ++found->second->count;
    return;
  }
  FontItemListEntry& added = entries_.emplace_back();
  added.record.CopyFrom(record);
  added.row = row;
  unkeyed_ = &added;
}

void FontItemList::AddGroupFont(const std::wstring& name, const std::wstring& path) {
  const auto [found, isNew] = byDisplayName_.emplace(Key(name, path), nullptr);
  if (!isNew) {
    ++found->second->count;
    return;
  }
  FontItemListEntry& added = entries_.emplace_back();
  added.record.displayName = name;
  added.record.names.System(NameSlot::Family) = name;
  added.record.fileRef = path;
  added.row = -1;
  found->second = &added;
}

void FontItemList::RemoveAll() {
  entries_.clear();
  byFullName_.clear();
  byDisplayName_.clear();
  unkeyed_ = nullptr;
}
