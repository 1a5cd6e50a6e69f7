// The folder tree's commands: new folder, delete, rename through the shell, open in Explorer,
// the keys, the right click that asks the pane for the folder menu, and the extraction of the
// fonts of a zip folder.
#include "lists/CFolderTreeView.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cwchar>

#include "app/AppState.h"
#include "common/AppMessageBox.h"
#include "common/ResString.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "groups/CGroupsTreeView.h"
#include "groups/FolderGroupImport.h"
#include "lists/CExtractZippedFontsDlg.h"
#include "lists/CLVFolderFonts.h"

namespace {

// The files Explorer leaves in a folder; as system files they do not keep a folder from being
// empty, and they are deleted with it.
constexpr const wchar_t* kExplorerFiles[] = {L"Thumbs.db", L"Desktop.ini"};

bool IsExplorerFile(const std::wstring& name, DWORD attributes) {
  if (!(attributes & FILE_ATTRIBUTE_SYSTEM) || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  for (const wchar_t* known : kExplorerFiles)
    if (EqualsNoCase(name, known)) return true;
  return false;
}

std::wstring CurrentDirectory() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = ::GetCurrentDirectoryW(MAX_PATH, path);
  return n && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
}

bool IsSameOrInside(const std::wstring& path, const std::wstring& folder) {
  if (folder.empty()) return false;
  const std::wstring base = WithoutTrailingBackslash(folder);
  return EqualsNoCase(WithoutTrailingBackslash(path), base) || StartsWithNoCase(path, base + L"\\");
}

// A folder that is the current directory, or holds it, cannot be renamed or removed: the
// current directory moves to the folder's parent first. The folder that was current is
// handed back.
std::wstring LeaveFolder(const std::wstring& folder) {
  const std::wstring current = CurrentDirectory();
  const std::wstring parent = ParentFolder(folder);
  if (IsSameOrInside(current, folder) && !parent.empty()) ::SetCurrentDirectoryW(parent.c_str());
  return current;
}

void SetListRedraw(bool redraw) {
  HWND list = g_AppState.FolderFonts.m_hWnd;
  if (!list) return;
  ::SendMessageW(list, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
  if (redraw) ::InvalidateRect(list, nullptr, TRUE);
}

void PostToMainWindow(UINT command) {
  if (g_AppState.MainWindow) ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, command, 0);
}

}  // namespace

bool CFolderTreeView::IsFolderEmpty(const std::wstring& path) {
  WIN32_FIND_DATAW data{};
  orv::ScopedFindHandle find(::FindFirstFileW(JoinPath(path, L"*.*").c_str(), &data));
  if (!find) return false;
  do {
    if (!std::wcscmp(data.cFileName, L".") || !std::wcscmp(data.cFileName, L"..")) continue;
    if (IsExplorerFile(data.cFileName, data.dwFileAttributes)) continue;
    return false;
  } while (::FindNextFileW(find.Get(), &data));
  return true;
}

bool CFolderTreeView::CanDeleteSelectedFolder() {
  HTREEITEM item = GetSelectedItem();
  FolderItemData* record = GetItemRecord(item);
  if (!record || record->zip) return false;
  HTREEITEM parent = GetParentItem(item);
  if (!parent || parent == GetRootItem()) return false;  // drives and the like are never deleted
  // The shell's answer on deletion comes with the item's marks. Its answer on subfolders may be
  // a guess (some shells report subfolders for every folder): the folder's own listing decides.
  UpdateItemMarks(item, nullptr, false);
  if (!(record->attributes & SFGAO_CANDELETE) || GetChildItem(item)) return false;
  std::wstring path;
  if (!GetItemPath(item, record, path)) return false;
  return !::PathIsRootW(path.c_str()) && IsFolderEmpty(path);
}

bool CFolderTreeView::SetTargetFolderFromItem(HTREEITEM item) {
  if (!labelEditing_ || !item) return false;
  HTREEITEM parent = GetParentItem(item);
  FolderItemData* record = GetItemRecord(item);
  if (!record || !parent || parent == GetRootItem() || record->zip) return false;
  UpdateItemMarks(item, nullptr, false);
  if (!(record->attributes & SFGAO_CANRENAME)) return false;
  std::wstring path;
  if (!GetSelectedPath(path)) return false;
  target_ = path;
  return true;
}

void CFolderTreeView::NewFolder() {
  HTREEITEM selected = GetSelectedItem();
  std::wstring path;
  if (!labelEditing_ || IsZipItem(selected) || !GetSelectedPath(path, selected)) return;
  const std::wstring first = JoinPath(path, LoadResString(IDS_NEW_FOLDER_NAME));
  std::wstring candidate = first;
  for (int n = 2; !::CreateDirectoryW(candidate.c_str(), nullptr); ++n) {
    const DWORD error = ::GetLastError();
    if (error != ERROR_ALREADY_EXISTS) {
      AppMessageBox(m_hWnd, MB_ICONERROR, IDS_NEW_FOLDER_CAPTION, 0, error, candidate.c_str());
      return;
    }
    candidate = FormatWide(L"%s (%d)", first.c_str(), n);
  }
  foldersChanged_ = true;
  RefreshFolder(candidate);  // selects the new folder
  if (HTREEITEM made = GetSelectedItem()) {
    ::SetFocus(m_hWnd);
    ::SendMessageW(m_hWnd, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(made));
  }
}

void CFolderTreeView::OnDeleteFolderCommand(UINT, int, HWND serial) {
  DeleteFolder(static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(serial)));
}

void CFolderTreeView::DeleteFolder(uint32_t requestedSerial) {
  HTREEITEM item = GetSelectedItem();
  const FolderItemData* record = GetItemRecord(item);
  // The request was posted: by now another folder may be selected, or this one may have filled.
  if (!record || (requestedSerial && record->serial != requestedSerial) || !CanDeleteSelectedFolder()) return;
  std::wstring path;
  if (!GetItemPath(item, nullptr, path)) return;
  const std::wstring parent = ParentFolder(path);
  for (const wchar_t* name : kExplorerFiles) {
    const std::wstring file = JoinPath(path, name);
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !IsExplorerFile(name, attributes)) continue;
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(file.c_str());
  }
  LeaveFolder(path);
  // A listing worker of the branches around it may still hold the folder open, and the removal
  // would fail: it ends within a folder's listing.
  ReapPrefillThreads(true);
  if (!::RemoveDirectoryW(path.c_str())) {
    const DWORD error = ::GetLastError();
    AppMessageBox(m_hWnd, MB_ICONERROR, IDS_DELETE_FOLDER_CAPTION, IDS_FOLDER_NOT_DELETED, error, path.c_str());
  }
  RefreshFolder(parent);
  if (mainTree_) g_AppState.FolderFonts.m_refreshPending = true;
  target_ = parent;
}

void CFolderTreeView::OnOpenFolderCommand(UINT, int, HWND) {
  if (!target_.empty()) seams::ShellOpen(nullptr, target_);
}

void CFolderTreeView::OnRenameCommand(UINT, int, HWND) {
  if (HTREEITEM selected = GetSelectedItem()) {
    ::SetFocus(m_hWnd);
    ::SendMessageW(m_hWnd, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(selected));
  }
}

void CFolderTreeView::OnContextMenuCommand(UINT, int, HWND) {
  // The pane shows the folder menu at the cursor; a picker's tree has none.
  if (mainTree_) ::PostMessageW(GetParent(), WM_COMMAND, ID_PANE_MENU, reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT CFolderTreeView::OnKeyDown(int, NMHDR* hdr, BOOL&) {
  const auto* key = reinterpret_cast<const NMTVKEYDOWN*>(hdr);
  switch (key->wVKey) {
    case VK_DELETE:
      if (CanDeleteSelectedFolder())
        if (const FolderItemData* record = GetItemRecord(GetSelectedItem()))
          PostMessage(WM_COMMAND, ID_FOLDER_DELETE, static_cast<LPARAM>(record->serial));
      return 0;
    case 'F':
      // Never the start of an incremental search for "F".
      if (CtrlAlone()) PostToMainWindow(ID_FONTS_SEARCH);
      return 1;
    case 'V':
      if (!mainTree_ || !CtrlAlone()) return 0;
      g_AppState.FolderFonts.PasteFilesFromClipboard();
      return 1;
    case VK_F2:
      OnRenameCommand(0, 0, nullptr);
      return 0;
    case VK_F3:
      PostToMainWindow(ID_FONTS_SEARCH);
      return 0;
    case VK_F5:
      Refresh();
      return 0;
    default:
      return 0;
  }
}

LRESULT CFolderTreeView::OnRightClick(int, NMHDR*, BOOL&) {
  TVHITTESTINFO hit{};
  ::GetCursorPos(&hit.pt);
  ::ScreenToClient(m_hWnd, &hit.pt);
  const auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(m_hWnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!item) return TRUE;
  // A right click on another item only selects it; on the selected one it asks for the menu.
  if (item == GetSelectedItem())
    PostMessage(WM_COMMAND, ID_TREE_MENU, MAKELPARAM(hit.pt.x, hit.pt.y));
  else
    SelectItem(item);
  return TRUE;
}

void CFolderTreeView::OnBeginDrag(NMTREEVIEWW* nm) {
  // Folders are not dragged: the press only selects.
  ::SetFocus(m_hWnd);
  if (nm->itemNew.hItem && nm->itemNew.hItem != GetSelectedItem()) SelectItem(nm->itemNew.hItem);
}

LRESULT CFolderTreeView::OnBeginLabelEdit(NMTVDISPINFOW* info) {
  // The pre-fill threads work on copies of the records (see the class comment), so a rename
  // does not have to wait for them.
  HTREEITEM item = info->item.hItem;
  FolderItemData* record = GetItemRecord(item);
  HTREEITEM parent = GetParentItem(item);
  if (!labelEditing_ || !record || !parent || parent == GetRootItem() || record->zip) return TRUE;
  UpdateItemMarks(item, nullptr, false);
  std::wstring path;
  if (!(record->attributes & SFGAO_CANRENAME) || !GetItemPath(item, record, path)) return TRUE;
  target_ = path;
  editedItem_ = item;
  return FALSE;
}

LRESULT CFolderTreeView::OnEndLabelEdit(NMTVDISPINFOW* info) {
  HTREEITEM item = info->item.hItem;
  // One edit, one rename: the edit control may end the same edit a second time as it goes.
  if (item != editedItem_) return FALSE;
  editedItem_ = nullptr;
  FolderItemData* record = GetItemRecord(item);
  const wchar_t* text = info->item.pszText;
  if (!record || !record->parentFolder || !text || !*text) return FALSE;
  std::wstring oldPath;
  if (!GetItemPath(item, record, oldPath)) return FALSE;

  // No font file of the folder may stay open, and the folder may not be the current directory.
  g_AppState.FontCache.RemoveAll(true);
  SetListRedraw(false);
  const std::wstring previous = LeaveFolder(oldPath);
  LPITEMIDLIST renamed = nullptr;
  // The shell may announce the rename while it does it; the branch it would rebuild holds the
  // item and the record in use here, and this rename brings the tree up to date itself.
  renaming_ = true;
  const HRESULT hr =
      record->parentFolder->SetNameOf(m_hWnd, record->relative.Get(), text, SHGDN_INFOLDER | SHGDN_FOREDITING, &renamed);
  renaming_ = false;
  ScopedIdList relative(renamed);
  if (SUCCEEDED(hr) && !relative) {
    LPITEMIDLIST parsed = nullptr;
    if (SUCCEEDED(record->parentFolder->ParseDisplayName(m_hWnd, nullptr, const_cast<wchar_t*>(text), nullptr, &parsed,
                                                         nullptr)))
      relative.Reset(parsed);
  }
  if (FAILED(hr) || !relative) {
    if (!previous.empty()) ::SetCurrentDirectoryW(previous.c_str());
    seams::Beep(MB_ICONEXCLAMATION);
    SetListRedraw(true);
    return FALSE;  // the old label stays
  }
  const FolderItemData* parentRecord = GetItemRecord(GetParentItem(item));
  record->absolute = parentRecord ? CombineIdLists(parentRecord->absolute.Get(), relative.Get()) : ScopedIdList();
  record->relative = std::move(relative);
  // The children's item lists still name the old folder.
  const bool expanded = (GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
  CollapseReset(item);
  if (expanded) Expand(item, TVE_EXPAND);
  AfterRename(item, oldPath);
  // What was current inside the folder is current again under its new name.
  std::wstring newPath;
  if (IsSameOrInside(previous, oldPath) && GetItemPath(item, nullptr, newPath))
    ::SetCurrentDirectoryW((newPath + previous.substr(WithoutTrailingBackslash(oldPath).size())).c_str());
  SetListRedraw(true);
  return TRUE;
}

void CFolderTreeView::AfterRename(HTREEITEM item, const std::wstring& oldPath) {
  std::wstring path;
  GetItemPath(item, nullptr, path);
  target_ = path;
  CLVFolderFonts& list = g_AppState.FolderFonts;
  // The main tree's selection is the folder list's folder; another tree's rename reaches the
  // list only when it renamed the folder the list shows.
  if (mainTree_ || IsSameOrInside(list.m_folder, oldPath)) {
    list.m_folder = path + (mainTree_ ? std::wstring() : list.m_folder.substr(WithoutTrailingBackslash(oldPath).size()));
    list.m_refreshPending = true;
  }
  foldersChanged_ = true;
}

void CFolderTreeView::MakeGroupsFromTarget() {
  HTREEITEM selected = GetSelectedItem();
  if (!selected || IsZipItem(selected) || target_.empty()) return;
  std::wstring parentFile;
  {
    FolderGroupImport import;
    import.Run(target_);
    parentFile = import.m_parentFile;
  }
  SetMainStatusText(std::wstring());
  CGroupsTreeView& groups = g_AppState.GroupsTree;
  if (parentFile.empty() || !groups.IsWindow()) return;
  HTREEITEM parent = groups.FindItemByFile(parentFile);
  if (!parent) return;
  // The parent gets its new child item, and its list shows the new group among its subgroups.
  groups.RefreshItem(parent, true);
  groups.SelectItem(parent);
}

void CFolderTreeView::RunExtractZippedFonts() {
  CExtractZippedFontsDlg dialog;
  if (dialog.DoModal(::GetActiveWindow()) != IDOK || !dialog.ShowDestination()) return;
  CFolderTreeView& tree = g_AppState.FolderTree;
  if (!tree.IsWindow()) return;
  tree.RefreshFolder(dialog.Destination());
  if (HTREEITEM item = tree.FindItemByIdList(dialog.Destination(), true)) {
    tree.SelectItem(item);
    tree.SelectItem(item, TVGN_FIRSTVISIBLE);
  }
}
