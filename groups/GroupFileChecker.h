// The checks over the group files: every ordinary group file of the groups folder is examined
// for font files that no longer exist, a Parent chain that does not climb to the root group, and
// child-group entries whose file is gone; each fault becomes one record in the list of its kind.
// The two repairs (removing dangling child entries, gathering broken groups under the recovery
// group) change group files only through FontGroup, which never writes over a file it could not
// read. Main thread only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One fault. The meaning of the four strings depends on the list (see GroupFileChecker).
struct GroupCheckRecord {
  std::wstring Text1;
  std::wstring Text2;
  std::wstring Text3;
  std::wstring Text4;
};

class GroupFileChecker {
public:
  // {group Name, group file, child entry's name, child entry's path}.
  std::vector<GroupCheckRecord> MissingChildren;
  // {empty, group's Parent, group's Name, group file}; at most one per group.
  std::vector<GroupCheckRecord> MissingFonts;
  // {Name of the last group climbed to, its file, group's Name, group file}.
  std::vector<GroupCheckRecord> BrokenChains;
  // Where the checks show the group being examined (a status bar), or null.
  HWND StatusWindow = nullptr;
  // False until the first run has ended.
  bool ScanDone = false;

  // Empties the lists and examines every "orvelgrp*.xml" of the groups folder. False when Esc
  // stopped the walk (the lists keep what was found so far).
  bool Run();
  // Examines one group file (a bare file name of the groups folder); always true.
  bool CheckGroupFile(const std::wstring& file);

  // Removes the dangling child entry of one MissingChildren record from its group's file. The
  // file is written only when it was read and the entry was found; true when it was written.
  static bool RemoveMissingChild(const GroupCheckRecord& record);
  // Removes the dangling child entry of every record, each group's file loaded and saved
  // once; then empties the list.
  void RemoveAllMissingChildren();
  // Lists every group of BrokenChains in the recovery group "orvelgrp99999.xml" (made, and
  // listed in the root, when needed), each once; then empties the list. False, changing
  // nothing further, when the root or the recovery group could not be read or written.
  bool GatherBrokenChains();

private:
  void ShowStatus(const std::wstring& text) const;
};
