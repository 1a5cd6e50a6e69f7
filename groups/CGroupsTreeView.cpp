// The groups tree's window: its items and their records, the lazy branches, notifications, keys
// and the queries other parts ask of it.
#include "groups/CGroupsTreeView.h"

#include <uxtheme.h>

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "framework/AppModule.h"
#include "groups/FontGroup.h"
#include "groups/GroupFileTree.h"
#include "groups/GroupFileNotices.h"
#include "groups/GroupNames.h"
#include "lists/CLVFolderFonts.h"
#include "lists/CLVGroupFonts.h"

namespace {

constexpr wchar_t kRootGroupName[] = L"Orvel Classification";
constexpr int kGroupImage = 1;
constexpr int kOpenGroupImage = 2;
constexpr int kInstalledOverlayImage = 0;
constexpr int kInstalledOverlay = 1;
constexpr int kImageSize = 16;

}  // namespace

bool ShowsAsDamaged(const FontGroup& group) { return group.IsDamagedOrUnreadable(); }

int CompareGroupNames(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) -
         CSTR_EQUAL;
}

CGroupsTreeView::~CGroupsTreeView() {
  if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  records_.clear();
}

HWND CGroupsTreeView::CreateTree(HWND parent, int id) {
  if (m_hWnd) return nullptr;
  HWND wnd = CreateTreeControl(parent, kTreeStyle, kTreeExStyle, id);
  if (wnd) initPending_ = true;
  return wnd;
}

LRESULT CGroupsTreeView::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  DeleteAllRecords();
  handled = FALSE;
  return 0;
}

void CGroupsTreeView::DeleteAllRecords() {
  DeleteAllItems();
  // Items whose deletion the parent did not reflect back leave their records behind.
  records_.clear();
}

void CGroupsTreeView::SetRedraw(bool redraw) const {
  ::SendMessageW(m_hWnd, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
  if (redraw) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

// ---------------------------------------------------------------------------------------------
// Building the tree

void CGroupsTreeView::Init() {
  initPending_ = false;
  if (!m_hWnd) return;
  ::SetWindowTheme(m_hWnd, L"explorer", nullptr);
  if (!images_) {
    images_.Reset(::ImageList_LoadImageW(orv::g_Module.GetResourceInstance(), MAKEINTRESOURCEW(IDB_GROUP_TREE),
                                         kImageSize, 0, CLR_DEFAULT, IMAGE_BITMAP, LR_CREATEDIBSECTION));
    if (images_) {
      ::ImageList_SetOverlayImage(images_.Get(), kInstalledOverlayImage, kInstalledOverlay);
      ::SendMessageW(m_hWnd, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.Get()));
    }
  }
  FontGroup root;
  if (!root.Load(kRootGroupFile)) {
    const GroupLoadState state = root.LoadState();
    if (state == GroupLoadState::kMissing || state == GroupLoadState::kEmpty) {
      root.Name = kRootGroupName;
      (void)root.Save();
    }
    // Otherwise the store has told the user; the file stays as it is, and the tree shows what
    // was read of it (a damaged root keeps its children).
  }
  // No node names the root: a root without a Name is shown by the name the program gives it.
  HTREEITEM item = InsertGroupItem(TVI_ROOT, TVI_LAST, root, kRootGroupFile, std::wstring(), false, kRootGroupName);
  if (!item) return;
  Expand(item, TVE_EXPAND);
  if (g_AppState.GroupListShown) SelectItem(item);
}

void CGroupsTreeView::Reload() {
  g_AppState.GroupFonts.m_refreshPending = true;
  SetRedraw(false);
  DeleteAllRecords();
  Init();
  SetRedraw(true);
}

HTREEITEM CGroupsTreeView::InsertGroupItem(HTREEITEM parent, HTREEITEM after, const FontGroup& group,
                                           const std::wstring& file, const std::wstring& parentFile,
                                           bool installedLook, const std::wstring& nodeName) {
  auto record = std::make_unique<GroupTreeItemData>();
  record->NodeCount = static_cast<int64_t>(group.Nodes.size());
  record->FontCount = static_cast<int64_t>(group.Fonts.size());
  record->Name = GroupLabel(group.Name, nodeName, file);
  record->Parent = parentFile;
  record->File = file;
  record->Damaged = ShowsAsDamaged(group);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  TVITEMW& item = insert.item;
  item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM | TVIF_STATE;
  item.pszText = LPSTR_TEXTCALLBACKW;
  item.iImage = kGroupImage;
  item.iSelectedImage = kOpenGroupImage;
  // The root always offers its button, so that an empty tree can still be opened.
  item.cChildren = parent == TVI_ROOT || record->NodeCount != 0 ? 1 : 0;
  item.lParam = reinterpret_cast<LPARAM>(record.get());
  item.stateMask = kInstalledLookMask;
  item.state = installedLook ? kInstalledLook : 0;
  auto added = reinterpret_cast<HTREEITEM>(::SendMessageW(m_hWnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (added) {
    const GroupTreeItemData* key = record.get();
    records_.emplace(key, std::move(record));
  }
  return added;
}

HTREEITEM CGroupsTreeView::SortedPlace(HTREEITEM parent, const std::wstring& name) const {
  HTREEITEM after = TVI_FIRST;
  for (HTREEITEM child = GetChildItem(parent); child; child = GetNextSiblingItem(child)) {
    const GroupTreeItemData* record = GetItemRecord(child);
    if (record && CompareGroupNames(name, record->Name) < 0) break;
    after = child;
  }
  return after;
}

bool CGroupsTreeView::InsertChildItem(HTREEITEM parent, const std::wstring& file, const std::wstring& nodeName) {
  const GroupTreeItemData* parentRecord = GetItemRecord(parent);
  if (!parentRecord) return false;
  FontGroup child;
  // A child whose file is missing or cannot be read at all has no item; a damaged one shows what
  // was read of it.
  if (!child.Load(file) && !child.HoldsFileContent()) return false;
  return InsertGroupItem(parent, SortedPlace(parent, GroupLabel(child.Name, nodeName, file)), child, file,
                         parentRecord->File, child.Installed, nodeName) != nullptr;
}

void CGroupsTreeView::InsertChildren(HTREEITEM item) {
  const GroupTreeItemData* record = GetItemRecord(item);
  if (!record || record->NodeCount == 0) return;
  orv::ScopedWaitCursor wait;
  SetRedraw(false);
  FontGroup group;
  (void)group.Load(record->File);
  struct Child {
    FontGroup group;
    std::wstring file;
    std::wstring nodeName;
    std::wstring label;
  };
  std::vector<Child> children;
  children.reserve(group.Nodes.size());
  for (const FontGroupEntry& node : group.Nodes) {
    Child child;
    if (!child.group.Load(node.Path) && !child.group.HoldsFileContent()) continue;
    child.file = node.Path;
    child.nodeName = node.Name;
    child.label = GroupLabel(child.group.Name, node.Name, node.Path);
    children.push_back(std::move(child));
  }
  // Sorted once and inserted in order: the order sorted inserts would give, without walking
  // the siblings for every child of a large branch.
  std::stable_sort(children.begin(), children.end(),
                   [](const Child& a, const Child& b) { return CompareGroupNames(a.label, b.label) < 0; });
  const std::wstring parentFile = record->File;
  for (const Child& child : children)
    InsertGroupItem(item, TVI_LAST, child.group, child.file, parentFile, child.group.Installed, child.nodeName);
  SetRedraw(true);
}

LRESULT CGroupsTreeView::OnItemExpanding(int, NMHDR* hdr, BOOL&) {
  const auto* nm = reinterpret_cast<const NMTREEVIEWW*>(hdr);
  HTREEITEM item = nm->itemNew.hItem;
  if (nm->action & TVE_COLLAPSE) {
    // A collapsed branch keeps no items: the next expansion reads the group files again. The
    // control sends no notification for this second collapse (the item was expanded once).
    CollapseReset(item);
    g_AppState.GroupFonts.m_refreshPending = true;
    return TRUE;  // collapsed already
  }
  if ((nm->action & TVE_EXPAND) && !(GetItemState(item, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE))
    InsertChildren(item);
  return 0;
}

LRESULT CGroupsTreeView::OnDeleteItem(int, NMHDR* hdr, BOOL&) {
  records_.erase(reinterpret_cast<const GroupTreeItemData*>(reinterpret_cast<NMTREEVIEWW*>(hdr)->itemOld.lParam));
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Queries

GroupTreeItemData* CGroupsTreeView::GetItemRecord(HTREEITEM item) const {
  if (!item) item = GetSelectedItem();
  return item ? reinterpret_cast<GroupTreeItemData*>(GetItemData(item)) : nullptr;
}

std::wstring CGroupsTreeView::GetItemFile(HTREEITEM item) const {
  const GroupTreeItemData* record = GetItemRecord(item);
  return record ? record->File : std::wstring();
}

std::wstring CGroupsTreeView::GetItemName(HTREEITEM item) const {
  const GroupTreeItemData* record = GetItemRecord(item);
  return record ? record->Name : std::wstring();
}

HTREEITEM CGroupsTreeView::FindChildByFile(HTREEITEM parent, const std::wstring& file) const {
  if (!parent) return nullptr;
  for (HTREEITEM child = GetChildItem(parent); child; child = GetNextSiblingItem(child)) {
    const GroupTreeItemData* record = GetItemRecord(child);
    if (record && record->File == file) return child;
  }
  return nullptr;
}

HTREEITEM CGroupsTreeView::FindItemByFile(const std::wstring& file) const {
  HTREEITEM root = GetRootItem();
  if (!root || file == kRootGroupFile) return root;
  // Depth first in item order, without recursion: the next item is the first child, else the
  // next sibling of the item or of its nearest ancestor that has one.
  HTREEITEM item = root;
  while (item) {
    const GroupTreeItemData* record = GetItemRecord(item);
    if (record && record->File == file) return item;
    HTREEITEM next = GetChildItem(item);
    while (!next && item) {
      next = GetNextSiblingItem(item);
      if (!next) item = GetParentItem(item);
    }
    item = next;
  }
  return nullptr;
}

bool CGroupsTreeView::FindSiblingByFile(const std::wstring& file, HTREEITEM item) const {
  if (!item) item = GetSelectedItem();
  for (; item; item = GetNextSiblingItem(item)) {
    const GroupTreeItemData* record = GetItemRecord(item);
    if (record && record->File == file) return true;
  }
  return false;
}

bool CGroupsTreeView::IsFileOnAncestorPath(const std::wstring& file, HTREEITEM item) const {
  if (!item) item = GetSelectedItem();
  for (; item; item = GetParentItem(item)) {
    const GroupTreeItemData* record = GetItemRecord(item);
    if (record && record->File == file) return true;
  }
  return false;
}

UINT CGroupsTreeView::GetItemState(HTREEITEM item) const {
  if (!item) item = GetSelectedItem();
  if (!item) return 0;
  UINT state = GetItemState(item, TVIS_OVERLAYMASK) & TVIS_OVERLAYMASK;
  if (state == INDEXTOOVERLAYMASK(kInstalledOverlay)) state |= 1;
  return state;
}

bool CGroupsTreeView::IsItemInstalled(HTREEITEM item) const { return (GetItemState(item) & TVIS_OVERLAYMASK) != 0; }

bool CGroupsTreeView::IsItemNonEmpty(HTREEITEM item) const {
  const GroupTreeItemData* record = GetItemRecord(item);
  return record && record->NodeCount + record->FontCount != 0;
}

// ---------------------------------------------------------------------------------------------
// Bringing items in line with the files

void CGroupsTreeView::SetItemCounts(HTREEITEM item, int64_t nodeCount, int64_t fontCount) {
  GroupTreeItemData* record = GetItemRecord(item);
  if (!record) return;
  if (fontCount >= 0) record->FontCount = fontCount;
  if (nodeCount < 0) return;
  record->NodeCount = nodeCount;
  TVITEMW tvi{};
  tvi.mask = TVIF_CHILDREN;
  tvi.hItem = item;
  tvi.cChildren = nodeCount != 0 || item == GetRootItem() ? 1 : 0;
  ::SendMessageW(m_hWnd, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
}

void CGroupsTreeView::SetItemInstalled(HTREEITEM item, bool installed) {
  if (!item) return;
  const UINT look = installed ? kInstalledLook : 0;
  if (item != GetRootItem()) SetItemState(item, look, kInstalledLookMask);
  for (HTREEITEM child = GetChildItem(item); child; child = GetNextSiblingItem(child))
    SetItemState(child, look, kInstalledLookMask);
}

void CGroupsTreeView::RefreshItem(HTREEITEM item, bool force) {
  const GroupTreeItemData* record = GetItemRecord(item);
  if (!item || !record) return;
  FontGroup group;
  (void)group.Load(record->File);
  const bool loaded = group.HoldsFileContent();
  if (GroupTreeItemData* own = GetItemRecord(item)) {
    const bool damaged = ShowsAsDamaged(group);
    if (own->Damaged != damaged) ::InvalidateRect(m_hWnd, nullptr, TRUE);  // drawn in its new look
    own->Damaged = damaged;
  }
  SetItemCounts(item, loaded ? static_cast<int64_t>(group.Nodes.size()) : 0,
                loaded ? static_cast<int64_t>(group.Fonts.size()) : 0);
  const bool expanded = (GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
  if (!expanded && !force) return;
  SetRedraw(false);
  Expand(item, TVE_EXPAND);  // a first expansion reads the children itself
  std::unordered_set<std::wstring> nodeFiles;
  for (const FontGroupEntry& node : group.Nodes) {
    nodeFiles.insert(FoldCase(node.Path));
    if (!FindChildByFile(item, node.Path)) InsertChildItem(item, node.Path, node.Name);
  }
  for (HTREEITEM child = GetChildItem(item); child;) {
    HTREEITEM next = GetNextSiblingItem(child);  // taken before the child may go
    const GroupTreeItemData* childRecord = GetItemRecord(child);
    if (!childRecord || !nodeFiles.count(FoldCase(childRecord->File)))
      DeleteItem(child);
    child = next;
  }
  SetRedraw(true);
}

HTREEITEM CGroupsTreeView::SelectGroupByFile(const std::wstring& file, int fontIndex) {
  HTREEITEM item = FindItemByFile(file);
  SetRedraw(false);
  if (!item) {
    // Climb the Parent links to a group the tree shows, then expand the way back down.
    std::vector<std::wstring> chain;  // nearest ancestor first
    std::unordered_set<std::wstring> seen{FoldCase(file)};
    HTREEITEM anchor = nullptr;
    for (std::wstring current = file; !anchor;) {
      FontGroup group;
      (void)group.Load(current);
      const std::wstring parent = group.Parent;
      if (parent.empty() || !IsGroupFileName(parent) || !seen.insert(FoldCase(parent)).second) break;
      chain.push_back(parent);
      anchor = FindItemByFile(parent);
      current = parent;
    }
    if (anchor) {
      HTREEITEM step = anchor;
      for (auto name = chain.rbegin(); step && name != chain.rend(); ++name) {
        if (name != chain.rbegin()) step = FindChildByFile(step, *name);
        if (step) Expand(step, TVE_EXPAND);
      }
      item = step ? FindChildByFile(step, file) : nullptr;
    }
  }
  if (item && fontIndex != -1) {
    FontGroup group;
    (void)group.Load(file);
    CLVGroupFonts& list = g_AppState.GroupFonts;
    if (list.m_hWnd) list.SelectAll(false);
    const bool known = fontIndex >= 0 && static_cast<size_t>(fontIndex) < group.Fonts.size();
    list.SetPositionName(known ? group.Fonts[static_cast<size_t>(fontIndex)].Name : std::wstring(), true);
    if (item == GetSelectedItem()) list.RestorePosition(true);
  }
  if (item && item != GetSelectedItem()) {
    SelectItem(item);
    SelectItem(item, TVGN_FIRSTVISIBLE);
  }
  SetRedraw(true);
  return item;
}

// ---------------------------------------------------------------------------------------------
// Notifications and messages

LRESULT CGroupsTreeView::OnGetDispInfo(int, NMHDR* hdr, BOOL&) {
  auto* info = reinterpret_cast<NMTVDISPINFOW*>(hdr);
  if ((info->item.mask & TVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
    const auto* record = reinterpret_cast<const GroupTreeItemData*>(info->item.lParam);
    lstrcpynW(info->item.pszText, record ? record->Name.c_str() : L"", info->item.cchTextMax);
  }
  return 0;
}

LRESULT CGroupsTreeView::OnRightClick(int, NMHDR*, BOOL&) {
  POINT pt{};
  ::GetCursorPos(&pt);
  ::ScreenToClient(m_hWnd, &pt);
  TVHITTESTINFO hit{};
  hit.pt = pt;
  auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(m_hWnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!(hit.flags & TVHT_ONITEM)) item = nullptr;
  // The first right click selects; a right click on the selected item asks for the menu.
  if (item == GetSelectedItem()) PostMessage(WM_COMMAND, ID_TREE_MENU, MAKELPARAM(pt.x, pt.y));
  else SelectItem(item);
  return 0;
}

LRESULT CGroupsTreeView::OnSelChanging(int, NMHDR*, BOOL&) {
  CLVGroupFonts& list = g_AppState.GroupFonts;
  list.Clear();
  list.m_selectionChanged = true;  // the sample pane follows
  return 0;
}

LRESULT CGroupsTreeView::OnSelChanged(int, NMHDR*, BOOL&) {
  g_AppState.GroupFonts.m_refreshPending = true;
  return 0;
}

LRESULT CGroupsTreeView::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (!g_AppState.GroupListShown && g_AppState.MainWindow)
    ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, ID_SHOW_FONT_LIST, 2);
  handled = FALSE;
  return 0;
}

LRESULT CGroupsTreeView::OnBeginDrag(int, NMHDR* hdr, BOOL&) {
  SetFocus();
  SelectItem(reinterpret_cast<NMTREEVIEWW*>(hdr)->itemNew.hItem);
  return 0;
}

LRESULT CGroupsTreeView::OnBeginLabelEdit(int, NMHDR* hdr, BOOL&) {
  const auto* info = reinterpret_cast<const NMTVDISPINFOW*>(hdr);
  HTREEITEM item = info->item.hItem ? info->item.hItem : GetSelectedItem();
  const GroupTreeItemData* record = GetItemRecord(item);
  if (record && record->Damaged) {
    ReportRefusedGroupChange(record->File);
    return TRUE;
  }
  return !record || IsItemInstalled(item) ? TRUE : FALSE;
}

LRESULT CGroupsTreeView::OnEndLabelEdit(int, NMHDR* hdr, BOOL&) {
  const auto* info = reinterpret_cast<const NMTVDISPINFOW*>(hdr);
  if (!info->item.pszText || !info->item.pszText[0]) return FALSE;
  HTREEITEM item = info->item.hItem ? info->item.hItem : GetSelectedItem();
  // The label stays a callback: a renamed group shows its record's new name.
  if (RenameGroup(item, info->item.pszText)) ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return FALSE;
}

DWORD CGroupsTreeView::OnItemPrePaint(int, NMCUSTOMDRAW* cd) {
  auto item = reinterpret_cast<HTREEITEM>(cd->dwItemSpec);
  const auto* record = reinterpret_cast<const GroupTreeItemData*>(cd->lItemlParam);
  if (record && record->Damaged)
    reinterpret_cast<NMTVCUSTOMDRAW*>(cd)->clrText = ::GetSysColor(COLOR_GRAYTEXT);
  else if (record && (GetItemState(item) & 1))
    reinterpret_cast<NMTVCUSTOMDRAW*>(cd)->clrText = g_Preferences.Colors[kColorInstalled];
  return CDRF_DODEFAULT;
}

LRESULT CGroupsTreeView::OnKeyDown(int, NMHDR* hdr, BOOL&) {
  const WORD key = reinterpret_cast<NMTVKEYDOWN*>(hdr)->wVKey;
  const bool ctrl = CtrlAlone();
  HWND parent = GetParent();
  switch (key) {
    case VK_INSERT: NewGroup(); return 0;
    case VK_DELETE: DeleteGroup(); return 0;
    case VK_F2: StartLabelEdit(); return 0;
    case VK_F3: ::PostMessageW(parent, WM_COMMAND, ID_GROUPS_FIND_NEXT, 0); return 0;
    case VK_F5: Reload(); return 0;
    default: break;
  }
  if (!ctrl) return 0;
  switch (key) {
    case 'C': MarkPendingTransfer(kTransferCopy); return 1;
    case 'X': MarkPendingTransfer(kTransferMove); return 1;
    case 'V': return PasteToSelectedGroup() ? 1 : 0;
    case 'F': ::PostMessageW(parent, WM_COMMAND, ID_GROUPS_FIND, 0); return 1;
    case 'I': InstallGroup(true); return 1;
    case 'U': InstallGroup(false); return 1;
    case 'K': SetMainStatusText(GetItemFile()); return 1;
    case 'N': NewGroup(); return 1;
    default: return 0;
  }
}

void CGroupsTreeView::StartLabelEdit() {
  if (HTREEITEM item = GetSelectedItem()) ::SendMessageW(m_hWnd, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item));
}

void CGroupsTreeView::OnReloadCommand(UINT, int, HWND) { Reload(); }
void CGroupsTreeView::OnInstallCommand(UINT, int id, HWND) { InstallGroup(id == ID_GROUP_INSTALL); }
void CGroupsTreeView::OnNewGroupCommand(UINT, int, HWND) { NewGroup(); }
void CGroupsTreeView::OnDeleteCommand(UINT, int, HWND) { DeleteGroup(); }
void CGroupsTreeView::OnClearInstalledCommand(UINT, int, HWND) { ClearInstalledMarks(); }
void CGroupsTreeView::OnRenameCommand(UINT, int, HWND) { StartLabelEdit(); }

void CGroupsTreeView::OnContextMenuCommand(UINT, int, HWND) {
  ::PostMessageW(GetParent(), WM_COMMAND, ID_PANE_MENU, reinterpret_cast<LPARAM>(m_hWnd));
}

void CGroupsTreeView::OnClassifyCommand(UINT, int, HWND) {
  if (g_AppState.MainWindow) ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, ID_GROUPS_CLASSIFY, 0);
}
