#include "lists/CPickerFolderTree.h"

#include "app/AppState.h"

namespace {
std::unique_ptr<IPickerFolderTree> MakePickerTree() { return std::make_unique<CPickerFolderTree>(); }

void RebuildMainFolderTree() {
  CFolderTreeView& tree = g_AppState.FolderTree;
  if (!tree.IsWindow()) return;
  tree.Refresh();
  if (HTREEITEM item = tree.FindItemByIdList(g_AppState.FolderFonts.m_folder, true)) {
    tree.SelectItem(item);
    tree.SelectItem(item, TVGN_FIRSTVISIBLE);
  }
}
}  // namespace

CPickerFolderTree::CPickerFolderTree() {
  tree_.SetMainTree(false);
  tree_.SetNotifications(false);
  tree_.SetHideZipFolders(true);
}

void CPickerFolderTree::Configure(bool markFontFolders, bool allowEditing) {
  tree_.SetMarkFontFolders(markFontFolders);
  tree_.SetLabelEditing(allowEditing);
}

HWND CPickerFolderTree::CreateTreeWindow(HWND parent, const RECT& rect, DWORD style, DWORD exStyle, UINT id) {
  HWND wnd = tree_.CreateTreeWindow(parent, style, exStyle, static_cast<int>(id));
  if (wnd) ::MoveWindow(wnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
  return wnd;
}

void InstallPickerFolderTree() { COrvBrowseFolderDialog::SetTreeHooks({&MakePickerTree, &RebuildMainFolderTree}); }
