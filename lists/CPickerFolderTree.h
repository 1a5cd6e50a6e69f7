// The folder tree of a folder picker: a CFolderTreeView that is not the main tree, takes no
// shell change notifications and hides zip folders, behind the picker's IPickerFolderTree.
// InstallPickerFolderTree gives the picker these trees and the rebuild of the main tree; the
// program calls it once at start. UI thread only.
#pragma once

#include <memory>
#include <string>

#include "app/COrvBrowseFolderDialog.h"
#include "lists/CFolderTreeView.h"

class CPickerFolderTree : public IPickerFolderTree {
public:
  CPickerFolderTree();

  void SetTargetFolder(const std::wstring& folder) override { tree_.SetTargetFolder(folder); }
  void Configure(bool markFontFolders, bool allowEditing) override;
  bool MarkFontFolders() const override { return tree_.MarksFontFolders(); }
  HWND CreateTreeWindow(HWND parent, const RECT& rect, DWORD style, DWORD exStyle, UINT id) override;
  void Initialize() override { tree_.Initialize(); }
  bool GetSelectedPath(std::wstring& path) override { return tree_.GetSelectedPath(path); }
  bool FoldersChanged() const override { return tree_.FoldersChanged(); }

  CFolderTreeView& View() { return tree_; }

private:
  CFolderTreeView tree_;
};

// Sets the picker's tree hooks: a CPickerFolderTree per picker, and the rebuild of the main
// folder tree (refreshed, with the folder fonts list's folder selected and scrolled to the top).
void InstallPickerFolderTree();
