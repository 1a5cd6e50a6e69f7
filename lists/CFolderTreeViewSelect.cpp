// Finding items by path, selecting the current folder, rebuilding branches and the whole tree,
// and the tree's own notifications.
#include "lists/CFolderTreeView.h"

#include <shlwapi.h>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"

HTREEITEM CFolderTreeView::FindItemByIdList(UINT stringId, bool expand) {
  return FindItemByIdList(LoadResString(stringId), expand);
}

HTREEITEM CFolderTreeView::FindItemByIdList(const std::wstring& path, bool expand) {
  if (path.empty()) return nullptr;
  ScopedIdList list(::ILCreateFromPathW(path.c_str()));
  if (!list) return nullptr;
  HTREEITEM current = GetRootItem();
  LPCITEMIDLIST element = list.Get();
  if (!current || ILIsEmpty(element)) return current;
  for (;;) {
    if (expand && !(GetItemState(current, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE)) Expand(current, TVE_EXPAND);
    ScopedIdList first = CloneFirstId(element);
    if (!first) return nullptr;
    HTREEITEM match = nullptr;
    for (HTREEITEM child = GetChildItem(current); child && !match; child = GetNextSiblingItem(child)) {
      const FolderItemData* record = GetItemRecord(child);
      if (!record || !record->parentFolder) continue;
      const HRESULT hr = record->parentFolder->CompareIDs(0, record->relative.Get(), first.Get());
      if (SUCCEEDED(hr) && static_cast<short>(HRESULT_CODE(hr)) == 0) match = child;
    }
    if (!match) return nullptr;
    element = ::ILGetNext(element);
    if (!element || ILIsEmpty(element)) return match;
    current = match;
  }
}

HTREEITEM CFolderTreeView::FindItemByPath(const std::wstring* path) {
  HTREEITEM item = nullptr;
  std::wstring folder;
  if (path) {
    folder = *path;
    item = FindItemByIdList(folder, false);
  } else {
    item = GetSelectedItem();
    if (item) GetItemPath(item, nullptr, folder);
  }
  if (item) SetItemState(item, FolderHasFontFiles(folder) ? TVIS_BOLD : 0, TVIS_BOLD);
  return item;
}

void CFolderTreeView::RefreshFolder(const std::wstring& path) {
  HTREEITEM item = FindItemByPath(&path);
  if (!item) {
    std::wstring parent = path;
    if (CutLastPathComponent(parent)) item = FindItemByPath(&parent);
  }
  HTREEITEM root = GetRootItem();
  if (!item || item == root) return;
  const UINT expandedBits = GetItemState(item, TVIS_EXPANDED | TVIS_EXPANDEDONCE);
  SetRedraw(false);
  HTREEITEM parent = GetParentItem(item);
  if (parent && parent != root) item = parent;
  CollapseReset(item);
  if (HTREEITEM again = FindItemByIdList(path, true)) SelectItem(again);
  if (HTREEITEM selected = GetSelectedItem()) Expand(selected, (expandedBits & TVIS_EXPANDED) ? TVE_EXPAND : TVE_COLLAPSE);
  SetRedraw(true);
  Invalidate();
}

void CFolderTreeView::Refresh() {
  if (IsPrefillRunning()) return;
  SetRedraw(false);
  HTREEITEM first = GetFirstVisibleItem();
  if (!first) first = GetSelectedItem();
  std::wstring remembered;
  if (first) GetItemPath(first, nullptr, remembered);
  DeleteAllRecords();
  Initialize();
  if (mainTree_) {
    CLVFolderFonts& list = g_AppState.FolderFonts;
    std::wstring folder = list.m_folder;
    HTREEITEM found = FindItemByIdList(folder, true);
    // Up towards the drive root until an item is found. An empty folder (a virtual item was
    // selected, or a fill was given up) has nothing to cut and ends the search.
    while (!found && !folder.empty() && !::PathIsRootW(folder.c_str())) {
      if (!CutLastPathComponent(folder)) break;
      list.m_folder = folder;
      found = FindItemByIdList(folder, true);
    }
    if (found) {
      SelectItem(found);
      SelectItem(found, TVGN_FIRSTVISIBLE);
    }
    // Only the main tree drives the folder fonts list; a picker's refresh leaves its mark alone.
    list.m_refreshPending = true;
  }
  if (!remembered.empty())
    if (HTREEITEM item = FindItemByIdList(remembered, false)) EnsureVisible(item);
  SetRedraw(true);
  Invalidate();
}

void CFolderTreeView::SelectInitialFolder() {
  initPending_ = false;
  if (target_.empty() || !::PathFileExistsW(target_.c_str())) target_ = g_Preferences.FontCaseRoot;
  HTREEITEM item = FindItemByIdList(target_, true);
  if (item) {
    SelectItem(item);
    SelectItem(item, TVGN_FIRSTVISIBLE);
  }
  if (mainTree_ && g_AppState.GroupListShown) {
    target_.clear();
    SelectItem(nullptr);
    return;
  }
  if (item) Expand(item, TVE_EXPAND);
  if (mainTree_) {
    CLVFolderFonts& list = g_AppState.FolderFonts;
    list.m_folder = target_;
    list.m_zipFolder = IsZipItem(item);
    list.m_refreshPending = true;
  }
}

bool CFolderTreeView::SelectFolder() {
  HTREEITEM selected = GetSelectedItem();
  if (!selected) return false;
  const FolderItemData* record = GetItemRecord(selected);
  std::wstring path;
  GetItemPath(selected, record, path);
  if (!target_.empty() && target_ == path) return true;

  const bool zip = record && record->zip;
  bool result = false;
  if (!path.empty()) {
    wchar_t root[MAX_PATH] = {};
    ::lstrcpynW(root, path.c_str(), MAX_PATH);
    const bool rootFound = ::PathStripToRootW(root) != FALSE;
    ::PathAddBackslashW(root);
    const UINT driveType = ::GetDriveTypeW(root);
    if (driveType >= DRIVE_REMOVABLE && rootFound && (zip || ::SetCurrentDirectoryW(path.c_str()))) {
      // A zip folder is never the current directory; it is the target all the same.
      target_ = path;
      result = true;
    } else {
      HTREEITEM branch = driveType == DRIVE_NO_ROOT_DIR || driveType == DRIVE_REMOTE
                             ? TopLevelAncestor(selected)
                             : FindItemByIdList(root, true);
      if (branch) {
        CollapseReset(branch);
        SetItemState(branch, 0, TVIS_BOLD);
      }
      target_.clear();
    }
  } else {
    if (!(GetItemState(selected, TVIS_EXPANDED) & TVIS_EXPANDED)) CollapseReset(selected);
    target_.clear();
  }
  // Only the main tree drives the folder fonts list; a picker's clicks leave it alone.
  if (mainTree_) {
    CLVFolderFonts& list = g_AppState.FolderFonts;
    list.m_folder = target_;
    list.m_zipFolder = zip;
    list.m_refreshPending = true;
  }
  return result;
}

LRESULT CFolderTreeView::OnSelChanging(int, NMHDR* hdr, BOOL&) {
  if (!closing_) UpdateItemMarks(reinterpret_cast<NMTREEVIEWW*>(hdr)->itemNew.hItem, nullptr, false);
  return 0;
}

LRESULT CFolderTreeView::OnSelChanged(int, NMHDR*, BOOL&) {
  SelectFolder();
  return 0;
}

LRESULT CFolderTreeView::OnDoubleClick(int, NMHDR*, BOOL&) {
  SelectFolder();
  // In a picker a double click chooses the folder.
  if (!mainTree_) ::PostMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(IDC_BROWSE_OK, 0), 0);
  return 0;
}

LRESULT CFolderTreeView::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& handled) {
  // Back to the folder fonts list when the group list is in front.
  if (g_AppState.GroupListShown && g_AppState.MainWindow)
    ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, MAKEWPARAM(ID_SHOW_FONT_LIST, 0), 1);
  handled = FALSE;
  return 0;
}

DWORD CFolderTreeView::OnPrePaint(int, NMCUSTOMDRAW*) {
  return showCompressedColor_ ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
}

DWORD CFolderTreeView::OnItemPrePaint(int, NMCUSTOMDRAW* cd) {
  const auto* record = reinterpret_cast<const FolderItemData*>(cd->lItemlParam);
  if (record && record->marksDone && (record->attributes & SFGAO_COMPRESSED)) {
    constexpr UINT kSelectedAndFocused = CDIS_SELECTED | CDIS_FOCUS;
    reinterpret_cast<NMTVCUSTOMDRAW*>(cd)->clrText = (cd->uItemState & kSelectedAndFocused) == kSelectedAndFocused
                                                         ? ::GetSysColor(COLOR_HIGHLIGHTTEXT)
                                                         : compressedColor_;
  }
  return CDRF_DODEFAULT;
}
