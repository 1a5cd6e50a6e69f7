// One font group as read from or written to its file in the groups folder. A value object that
// each operation builds on its own stack for one load-change-save and then drops; it owns its
// strings and arrays. One thread at a time writes group files: the main thread, or the
// classification's worker while its modal dialog holds the program. The callers read and change the public fields directly
// and write the record back whole with Save; this class is the only code that knows the file
// format.
//
// The store never loses a group file: Save writes a temporary file and moves it over the old
// one in one step, reports a failed write, and refuses to write over a file that this record
// found but could not read whole (Load's state tells a missing file from an unreadable one).
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "groups/FontGroupEntry.h"

inline constexpr wchar_t kGroupRootTag[] = L"OrvelFontGroups";

// What the last Load found.
enum class GroupLoadState {
  kNotLoaded,   // no Load yet
  kLoaded,      // read (also when the file holds no group data)
  kMissing,     // no such file: saving creates it
  kEmpty,       // the file holds nothing (no bytes, or only blanks): saving may replace it
  kUnreadable,  // exists but could not be opened or read: never saved over
  kDamaged,     // read in part (not well-formed, not of the format, or not in its encoding):
                // the record holds what was read, for showing; never saved over
  kRefused,     // not a group file name of the groups folder, or no usable groups folder
};

class FontGroup {
public:
  // A new record takes its groups folder from `folder`: the application points this at its
  // preference when it loads the preferences; with none, new records have no folder.
  static void SetGroupsFolderSource(const std::wstring* folder);

  FontGroup();

  // Reads a group file of the groups folder (a bare file name, or the identifier of a string
  // holding one). True when the file was read; the file name stays set either way.
  [[nodiscard]] bool Load(const std::wstring& file);
  [[nodiscard]] bool Load(UINT fileStringId);
  GroupLoadState LoadState() const { return loadState_; }
  // True when the record holds the file's content: read whole, or damaged and read in part.
  bool HoldsFileContent() const { return loadState_ == GroupLoadState::kLoaded || loadState_ == GroupLoadState::kDamaged; }
  // Damaged or unreadable: the file exists, and no change to it is written.
  bool IsDamagedOrUnreadable() const {
    return loadState_ == GroupLoadState::kDamaged || loadState_ == GroupLoadState::kUnreadable;
  }

  // Writes the whole record to its file (a new "orvelgrp%05d.xml" name first when it has
  // none); with skipNodes the node section is left out. False, after a message, when the file
  // could not be written; the old file is then unchanged.
  [[nodiscard]] bool Save(bool skipNodes = false);

  // Sorted inserts (ordinal by name; equal names go behind). False, changing nothing, for an
  // empty name or path (fonts) or an empty path (nodes).
  bool AddFont(const std::wstring& name, const std::wstring& path);
  bool AddNode(const std::wstring& name, const std::wstring& path, bool installed, bool isLink);
  // Removes the first node whose path equals `path` ignoring case.
  bool RemoveNode(const std::wstring& path);
  bool RemoveNodeAt(size_t index);
  bool RemoveFontAt(size_t index);

  // Empties Name, file name, Parent and both arrays; Installed and the folder stay.
  void Clear();

  // The first free "orvelgrp%05d.xml" name of the groups folder other than Parent; empty
  // when every number is taken or the folder is not usable.
  [[nodiscard]] std::wstring NewFileName() const;

  // The base (or the string with that identifier) made unique among the nodes, with "(n)";
  // a non-empty parentFile is loaded into this record first.
  [[nodiscard]] std::wstring MakeUniqueName(const std::wstring& base, const std::wstring& parentFile = {});
  [[nodiscard]] std::wstring MakeUniqueName(UINT baseStringId, const std::wstring& parentFile = {});

  // The element writer of the file format, used by Save.
  // WriteElement gives "<tag>", the cleaned and escaped value, "</tag>" and CR LF.
  static std::wstring WriteElement(const std::wstring& value, const wchar_t* tag);
  static std::wstring WriteElement(UINT valueStringId, const wchar_t* tag);

  // The file's bytes as Save writes them (UTF-8, CR LF).
  [[nodiscard]] std::string BuildFileBytes(bool skipNodes) const;
  // Fills the record from a file's text as far as it can be read; false when the text is not
  // read whole: not well-formed XML, or holding anything the format has no place for (an
  // element of another name or case that holds data, attributes, a field given twice, a second
  // block, an entry with half its data). Duplicates dropped on purpose are read. Such a file is
  // damaged; `blank` then tells whether it held anything at all.
  bool ParseFileText(const std::wstring& text, bool& blank);

  std::wstring RootTag = kGroupRootTag;
  bool Installed = false;
  std::wstring Name;
  std::wstring FileName;
  std::wstring Parent;
  std::vector<FontGroupEntry> Nodes;
  std::vector<FontGroupEntry> Fonts;
  std::wstring GroupsFolder;

private:
  void SetLoadFailure(GroupLoadState state);
  void RememberUnwritable();

  GroupLoadState loadState_ = GroupLoadState::kNotLoaded;
  // Files this record found but could not read; Save never replaces them.
  std::vector<std::wstring> unreadableFiles_;
};

// Frees a group that a caller holds on the heap (the group font list's pending transfer).
void DestroyFontGroup(std::unique_ptr<FontGroup>& group);
