// One import of a folder tree as font groups: a group named after the folder under a chosen
// group, holding the fonts that lie directly in the folder, with one child group per
// subfolder, and so on down the tree.
//
// Built on the caller's stack for one run on the main thread (the folder tree's command) and
// dropped after it. Each folder's own files are walked by the shared folder walker on the
// calling thread; the descent into subfolders is the import's own. The group files are written
// as the groups are made, so a run stopped with Esc keeps what it made so far. Esc is seen
// between the entries of a folder listing and between the files of a walk; it stops the run
// with the exclamation beep.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <set>
#include <string>
#include <unordered_set>

#include "lists/CFolderWalkerImpl.h"

class FontGroup;

class FolderGroupImport : public CFolderWalkerImpl<FolderGroupImport> {
public:
  FolderGroupImport();
  FolderGroupImport(const FolderGroupImport&) = delete;
  FolderGroupImport& operator=(const FolderGroupImport&) = delete;

  // Imports `folder` (a path, or the identifier of a string holding one) and the folders below
  // it under the group of `target`: a groups-tree item, null meaning the selected item, or the
  // root item when none is selected (the root group file when the tree shows nothing). True
  // when the top group was made; m_parentFile and m_newFile then name the files involved.
  bool Run(const std::wstring& folder, HTREEITEM target = nullptr);
  bool Run(UINT folderStringId, HTREEITEM target = nullptr);

  // Imports one folder into the existing group `groupFile` and descends into its subfolders.
  // False when the run has been stopped.
  bool ImportFolder(const std::wstring& folder, const std::wstring& groupFile);
  // Makes a child group of `group` (not saved here) for each subfolder of `folder` that the
  // Explorer rules show and whose name does not begin with a dot.
  void AddSubfolders(const std::wstring& folder, FontGroup& group);
  // The walker's per-file step: the fonts of the file m_path\m_fileName go into the current
  // group. Always true: the walk goes on.
  bool AddFolderFonts(DWORD attributes);

  // The walker's steps.
  bool OnFile() { return AddFolderFonts(m_findData.dwFileAttributes); }
  bool ShouldAbort();

  bool Stopped() const { return m_status == kStatusAborted; }

  std::wstring m_parentFile;  // the group the import went under; empty when nothing was made
  std::wstring m_newFile;     // the top group made from the folder

private:
  void Stop();

  FontGroup* current_ = nullptr;               // the group the walk's files go into
  std::unordered_set<std::wstring> heldFonts_;  // its fonts, as GroupFontKey
  // Folders imported in this run: a junction or link that leads back up the tree gets no group
  // of its own, so that the descent ends.
  std::set<FolderId> imported_;
};
