// What a font drag would do where the cursor is (the action shown beside it) and what the drop
// does: copy or move the font files into a folder of the folder tree, add the fonts to a group
// or copy or move group rows in the groups tree, install them on the installed list.
#include "lists/FontDragSession.h"

#include <shlwapi.h>

#include "app/AppState.h"
#include "common/AppMessageBox.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "fonts/FontFileCommand.h"
#include "framework/Beep.h"
#include "lists/COrvelListView.h"
#include "lists/FontItemList.h"

namespace {

// Folders on one drive (or one server share): a move there only renames.
bool OnSameDrive(const std::wstring& a, const std::wstring& b) {
  const int driveA = ::PathGetDriveNumberW(a.c_str());
  const int driveB = ::PathGetDriveNumberW(b.c_str());
  if (driveA >= 0 || driveB >= 0) return driveA == driveB;
  return !a.empty() && !b.empty() && ::PathIsSameRootW(a.c_str(), b.c_str());
}

void SetItemDropHighlight(HWND tree, HTREEITEM item) {
  TVITEMW state{};
  state.mask = TVIF_STATE;
  state.hItem = item;
  state.state = state.stateMask = TVIS_DROPHILITED;
  ::SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&state));
}

}  // namespace

int FontDragSession::UpdateFeedback() {
  int action = kNone;
  if (target_ == IDC_INSTALLED_FONTS_LIST) action = sourceId_ == IDC_GROUP_FONTS_LIST || ctrl_ ? kInstallOther : kInstall;
  else if (target_ == IDC_FOLDER_TREE || target_ == IDC_GROUPS_TREE) action = TreeAction(target_);
  if (action != kNone) {
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    action_.SetAction(action);
    action_.ShowWindow(SW_SHOWNOACTIVATE);
    action_.PlaceAndSize(cursor_);
  } else {
    target_ = 0;
    ::SetCursor(::LoadCursorW(nullptr, IDC_NO));
    if (action_.m_hWnd) action_.ShowWindow(SW_HIDE);
  }
  return action;
}

int FontDragSession::TreeAction(int target) {
  ClearHighlight();
  const bool folderTree = target == IDC_FOLDER_TREE;
  // Rows of a group or of a search are no files of a folder: the folder tree takes none of them,
  // wherever they are dropped on it.
  if (folderTree && (sourceId_ == IDC_GROUP_FONTS_LIST || sourceId_ == IDC_SEARCH_RESULTS)) return kNone;
  const HWND tree = TargetWindow(target);
  if (!tree) return kNone;

  TVHITTESTINFO hit{};
  hit.pt = cursor_;
  ::ScreenToClient(tree, &hit.pt);
  const auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (hit.flags & TVHT_ABOVE) hoverCounter_ = kScrollUp;
  else if (hit.flags & TVHT_BELOW) hoverCounter_ = kScrollDown;
  if (item && (hit.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT)) && hoverCounter_ != kScrollUp &&
      hoverCounter_ != kScrollDown) {
    const int half = static_cast<int>(::SendMessageW(tree, TVM_GETITEMHEIGHT, 0, 0)) / 2;
    RECT client{};
    ::GetClientRect(tree, &client);
    if (hit.pt.y < half) hoverCounter_ = kScrollUp;
    else if (client.bottom - hit.pt.y < half) hoverCounter_ = kScrollDown;
  }

  int action = kNone;
  if (!item) {
    // An empty part of the groups tree names no group: nothing would be added there.
    if (!folderTree) return kNone;
  } else if (folderTree) {
    CFolderTreeView& folders = g_AppState.FolderTree;
    std::wstring path;
    if (item == folders.GetRootItem() || !folders.GetItemPath(item, nullptr, path)) return kNone;
    if (sourceId_ == IDC_FOLDER_FONTS_LIST && EqualsNoCase(path, sourceFolder_)) return kNone;
    if (folders.IsZipItem(item)) return kNone;
    action = OnSameDrive(sourceFolder_, path) ? kMoveFiles : kCopyFiles;
    if (folders.IsZipItem(folders.GetSelectedItem())) action = kCopyFromZip;
  } else {
    ctrl_ = false;
    if (sourceId_ == IDC_GROUP_FONTS_LIST) {
      action = shift_ ? kMoveRows : kCopyRows;
    } else if (sourceId_ == IDC_FOLDER_FONTS_LIST && g_AppState.FolderFonts.m_zipFolder) {
      return kNone;
    } else {
      shift_ = false;
      action = kAddToGroup;
    }
  }
  if (item) {
    SetItemDropHighlight(tree, item);
    highlighted_ = item;
    highlightedTree_ = tree;
    WithDragImageHidden(tree, [] {});
  }

  if (sourceId_ == IDC_INSTALLED_FONTS_LIST && folderTree) return kCopyFiles;
  if (ctrl_) return sourceId_ == IDC_GROUP_FONTS_LIST ? kCopyRows : kCopyFiles;
  if (shift_) return sourceId_ == IDC_GROUP_FONTS_LIST ? kMoveRows : kMoveFiles;
  return action;
}

void FontDragSession::Drop() {
  if (!started_) return;
  const HTREEITEM highlighted = highlighted_;
  End();
  switch (target_) {
    case IDC_INSTALLED_FONTS_LIST: source_->InstallSelection(!ctrl_); break;
    case IDC_FOLDER_TREE: DropOnFolderTree(highlighted); break;
    case IDC_GROUPS_TREE: DropOnGroupsTree(highlighted); break;
    default: break;
  }
}

void FontDragSession::DropOnFolderTree(HTREEITEM highlighted) {
  CFolderTreeView& tree = g_AppState.FolderTree;
  const HTREEITEM item = highlighted ? highlighted : tree.GetSelectedItem();
  std::wstring folder;
  if (!item || !tree.GetItemPath(item, nullptr, folder) || folder.empty()) return;
  FontItemList items;
  items.Folder = source_->m_folder;
  if (source_->CollectItems(items, true) == 0) return;  // nothing selected, or Esc
  const int action = TreeAction(IDC_FOLDER_TREE);
  ClearHighlight();
  if (action == kNone) return;

  const bool move = action == kMoveFiles;
  source_->SavePosition(move);
  CLVFolderFonts& folderList = g_AppState.FolderFonts;
  if (source_ != &folderList && EqualsNoCase(folder, folderList.m_folder)) folderList.SavePosition(move);
  const UINT caption = move ? IDS_MOVE_FONTS_CAPTION : IDS_COPY_FONTS_CAPTION;
  FontFileCommand command(&items, move ? FontFileCommand::kMove : FontFileCommand::kCopy, caption);
  const int result = command.RunToFolder(folder, 0);
  if (result < 1) AppMessageBox(g_AppState.MainWindow, MB_ICONWARNING, caption, IDS_NO_FILES_TO_COPY);
  command.RefreshFolderTree(result, folder);
  source_->RestorePosition(false);
}

void FontDragSession::DropOnGroupsTree(HTREEITEM highlighted) {
  CGroupsTreeView& tree = g_AppState.GroupsTree;
  CLVGroupFonts& groupList = g_AppState.GroupFonts;
  if (sourceId_ == IDC_GROUP_FONTS_LIST) {
    if (!highlighted) return;
    const bool move = shift_;
    source_->SavePosition(move);
    groupList.BeginTransfer(tree.GetItemFile(), move ? CGroupsTreeView::kTransferMove : CGroupsTreeView::kTransferCopy);
    const std::wstring target = tree.GetItemFile(highlighted);
    if (groupList.PasteToGroup(target)) groupList.EndTransfer(target);
    else seams::Beep(0);
    return;
  }
  FontItemList items;
  items.Folder = source_->m_folder;
  if (source_->CollectItems(items, true) > 0 && highlighted) tree.AddFontsToGroup(items, highlighted);
  if (sourceId_ != IDC_SEARCH_RESULTS) groupList.m_refreshPending = true;
}
