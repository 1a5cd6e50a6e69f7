// The record of one item of the groups tree: what the item shows of its group file. Owned by the
// tree, one per item, freed when the control deletes the item. Main thread only.
#pragma once

#include <cstdint>
#include <string>

struct GroupTreeItemData {
  int64_t NodeCount = 0;  // child groups of the group
  int64_t FontCount = 0;  // fonts of the group
  std::wstring Name;      // the item's text
  std::wstring Parent;    // the parent group's file
  std::wstring File;      // the group's own file, relative to the groups folder
  bool Damaged = false;   // the file was read in part: shown greyed, never changed
};
