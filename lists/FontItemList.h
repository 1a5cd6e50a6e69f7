// The fonts a command acts on: copies of the records of a font list's selected (or all) rows,
// one entry per distinct font (same full name, same file), each with the row it came from and
// how often it was met, plus the folder of the list they came from. Built on the stack by the
// command, filled by COrvelListView::CollectItems or by the group operations, read head to tail
// by the consumer (installer, file command, printing, drag and drop).
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>

#include "fonts/EnsureFontItemLoaded.h"
#include "fonts/FontItem.h"

struct FontItemListEntry {
  FontItem record;
  bool marked = true;  // cleared by a consumer for the entries it leaves out
  int32_t row = 0;     // index of the list row the record came from
  int32_t count = 1;   // how many times the same font was added
};

class FontItemList {
public:
  FontItemList() = default;
  FontItemList(const FontItemList&) = delete;
  FontItemList& operator=(const FontItemList&) = delete;

  // Adds a copy of `record` unless an entry of the same font exists (its full name equal to the
  // record's display name, its file reference equal without case): then that entry counts one more.
  // Each entry is completed (read and resolved) once, before the first look at it.
  void AddUnique(const FontItem& record, int32_t row);
  // The same call the group store's walk makes: a font known by name and file only, counted
  // by the same display name and file.
  void AddGroupFont(const std::wstring& name, const std::wstring& path);
  void RemoveAll();

  size_t Count() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }
  std::list<FontItemListEntry>& Entries() { return entries_; }
  const std::list<FontItemListEntry>& Entries() const { return entries_; }

  std::wstring Folder;  // the folder of the list the items came from, or empty

private:
  // A name and a file reference as one hash key: the name exactly, the file without case.
  static std::wstring Key(const std::wstring& name, const std::wstring& fileRef);

  std::list<FontItemListEntry> entries_;  // insertion order; nodes never move
  // The first entry of each key, so that a look-up costs the same for the ten-thousandth font as
  // for the second. AddUnique keys an entry by its full name once it is completed, which it is
  // at the next call: `unkeyed_` is the entry added last and not keyed yet.
  std::unordered_map<std::wstring, FontItemListEntry*> byFullName_;
  std::unordered_map<std::wstring, FontItemListEntry*> byDisplayName_;
  FontItemListEntry* unkeyed_ = nullptr;
};

// Completes a record read from a list: bare file names resolve in the list's folder.
inline bool EnsureFontItemLoaded(const FontItemList& list, FontItem& item) {
  return EnsureFontItemLoaded(list.Folder, item);
}
