// What the groups tree does to groups: new, rename, delete, install and uninstall a whole group,
// clear the installed marks, add fonts, and hand a group to the group font list's transfer.
// Each step loads the group files it needs, changes and saves them, then brings the items in
// line. A group file that exists but cannot be read is never written over or cut loose.
#include "groups/CGroupsTreeView.h"

#include <unordered_set>

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "fonts/EnsureFontItemLoaded.h"
#include "fonts/InstallJournal.h"
#include "groups/FontGroup.h"
#include "groups/GroupFileNotices.h"
#include "groups/GroupFileTree.h"
#include "groups/GroupFontInstaller.h"
#include "groups/GroupNames.h"
#include "lists/CLVFolderFonts.h"
#include "lists/CLVGroupFonts.h"
#include "lists/FontItemList.h"

namespace {

GroupFontInstaller* g_groupInstaller = nullptr;

}  // namespace

void SetGroupFontInstaller(GroupFontInstaller* installer) { g_groupInstaller = installer; }
GroupFontInstaller* GetGroupFontInstaller() { return g_groupInstaller; }

void CGroupsTreeView::NewGroup() {
  HTREEITEM item = GetSelectedItem();
  if (!item) item = GetRootItem();
  if (!item) return;
  SetRedraw(false);
  Expand(item, TVE_EXPAND);
  std::wstring name = LoadResString(IDS_NEW_GROUP_NAME);
  const std::wstring file = AddChildGroup(item, name);
  HTREEITEM child = nullptr;
  if (!file.empty()) {
    // Read the branch again, so that the new group stands in its sorted place with the look
    // its file gives it.
    CollapseReset(item);
    Expand(item, TVE_EXPAND);
    child = FindChildByFile(item, file);
    if (child) SelectItem(child);
  }
  SetRedraw(true);
  if (child) StartLabelEdit();
}

std::wstring CGroupsTreeView::AddChildGroup(HTREEITEM parent, std::wstring& name) {
  const GroupTreeItemData* parentRecord = GetItemRecord(parent);
  if (!parent || !parentRecord) return {};
  const std::wstring parentFile = parentRecord->File;
  // A child of an installed group is installed too.
  FontGroup child;
  FontGroup parentGroup;
  if (!CreateChildGroupFile(parentFile, name, true, child, parentGroup)) return {};
  const std::wstring file = child.FileName;
  InsertGroupItem(parent, TVI_LAST, child, file, parentFile, false);
  SetItemCounts(parent, static_cast<int64_t>(parentGroup.Nodes.size()), static_cast<int64_t>(parentGroup.Fonts.size()));
  return file;
}

bool CGroupsTreeView::RenameGroup(HTREEITEM item, const std::wstring& newName) {
  GroupTreeItemData* record = GetItemRecord(item);
  if (!item || !record || newName.empty()) return false;
  FontGroup parent;
  const std::wstring unique = parent.MakeUniqueName(newName, record->Parent);
  if (!EqualsNoCase(unique, newName)) {
    seams::Beep(0);  // a sibling has that name already (its own node among them)
    return false;
  }
  FontGroup own;
  if (!LoadGroupForChange(own, record->File)) {
    seams::Beep(MB_ICONEXCLAMATION);
    return false;
  }
  own.Name = newName;
  if (!own.Save()) return false;
  if (!record->Parent.empty() && parent.LoadState() == GroupLoadState::kLoaded) {
    for (size_t i = 0; i < parent.Nodes.size(); ++i) {
      if (!EqualsNoCase(parent.Nodes[i].Path, record->File)) continue;
      if (parent.Nodes[i].IsLink) break;
      // Removed and added again: the nodes stay sorted by name.
      const FontGroupEntry node = parent.Nodes[i];
      parent.RemoveNodeAt(i);
      parent.AddNode(newName, node.Path, node.Installed, false);
      (void)parent.Save();
      break;
    }
  }
  record->Name = newName;
  if (item == GetSelectedItem()) g_AppState.GroupFonts.m_captionPending = true;  // the list's caption names it
  if (HTREEITEM parentItem = GetParentItem(item)) {
    TVSORTCB sort{parentItem,
                  [](LPARAM a, LPARAM b, LPARAM) -> int {
                    const auto* ra = reinterpret_cast<const GroupTreeItemData*>(a);
                    const auto* rb = reinterpret_cast<const GroupTreeItemData*>(b);
                    return ra && rb ? CompareGroupNames(ra->Name, rb->Name) : 0;
                  },
                  0};
    ::SendMessageW(m_hWnd, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
  }
  return true;
}

bool CGroupsTreeView::DeleteGroup(HTREEITEM item) {
  if (!item) item = GetSelectedItem();
  const GroupTreeItemData* record = GetItemRecord(item);
  if (!item || !record || item == GetRootItem()) return false;
  const std::wstring file = record->File;
  const std::wstring name = record->Name;
  HTREEITEM parentItem = GetParentItem(item);
  const std::wstring parentFile = GetItemFile(parentItem);

  FontGroup group;
  const bool loaded = group.Load(file);
  FontGroup parentProbe;
  const bool parentDamaged = !parentProbe.Load(parentFile) && parentProbe.IsDamagedOrUnreadable();
  if ((!loaded && group.LoadState() != GroupLoadState::kMissing) || parentDamaged) {
    // A group that cannot be read whole is neither deleted nor cut loose, and one whose parent
    // cannot be written would stay listed there without its file.
    ReportRefusedGroupChange(parentDamaged ? parentFile : file);
    seams::Beep(MB_ICONEXCLAMATION);
    return false;
  }
  if (!group.Nodes.empty() || !group.Fonts.empty()) {
    const int answer = seams::ShowMessageBox(g_AppState.MainWindow, FormatResString(IDS_DELETE_GROUP_ASK, name.c_str()),
                                             LoadResString(IDS_GROUP_DELETE_CAPTION), MB_ICONWARNING | MB_YESNO);
    if (answer != IDYES) return false;
  }
  if (loaded && !DeleteGroupFileTree(file)) {
    // Part of the subtree may be gone: show what is left.
    RefreshItem(item, false);
    seams::Beep(MB_ICONEXCLAMATION);
    return false;
  }
  SetRedraw(false);
  CollapseReset(item);
  DeleteItem(item);
  FontGroup parent;
  if (parent.Load(parentFile)) {
    if (parent.RemoveNode(file)) (void)parent.Save();
    SetItemCounts(parentItem, static_cast<int64_t>(parent.Nodes.size()), static_cast<int64_t>(parent.Fonts.size()));
  }
  SetRedraw(true);
  return true;
}

bool CGroupsTreeView::CanInstallGroup(bool install) const {
  HTREEITEM item = GetSelectedItem();
  return g_groupInstaller && GetItemRecord(item) && IsItemInstalled(item) != install;
}

void CGroupsTreeView::InstallGroup(bool install) {
  // A command cut short before is undone first: this one must start from what it knows.
  if (const std::optional<RecoveredGroupCommand> undone = RecoverCutShortGroupCommand()) {
    Reload();
    ReportUndoneGroupCommand(m_hWnd, *undone);
    return;
  }
  if (!CanInstallGroup(install)) return;
  HTREEITEM item = GetSelectedItem();
  const std::wstring file = GetItemFile(item);
  const std::wstring name = GetItemRecord(item)->Name;
  orv::ScopedWaitCursor wait;
  SetMainStatusText(LoadResString(install ? IDS_INSTALLING_SELECTION : IDS_UNINSTALLING_SELECTION));
  FontItemList fonts;
  if (CollectGroupFonts(fonts, file) && !fonts.Empty()) {
    const UINT command = install ? kGroupInstallCommand : kGroupUninstallCommand;
    // Kept until the group files carry the new mark: a command cut short anywhere before
    // that is undone at the next start, fonts and mark alike.
    InstallJournal journal(command, file, name, !install);
    if (g_groupInstaller->Run(command, fonts, m_hWnd, journal)) {
      SetGroupTreeInstalled(file, install);
      SetItemInstalled(item, install);
      g_AppState.GroupFonts.m_refreshPending = true;
    }
    journal.Finish();
  }
  SetMainStatusText(std::wstring());
}

void CGroupsTreeView::ClearInstalledMarks() {
  HTREEITEM item = GetSelectedItem();
  const std::wstring file = GetItemFile(item);
  if (file.empty()) return;
  orv::ScopedWaitCursor wait;
  SetGroupTreeInstalled(file, false);
  SetItemInstalled(item, false);
  g_AppState.GroupFonts.m_refreshPending = true;  // the list knows the group as installed
}

void CGroupsTreeView::AddFontsToGroup(FontItemList& list, HTREEITEM item) {
  const GroupTreeItemData* record = GetItemRecord(item);
  if (!item || !record) return;
  FontGroup group;
  if (!LoadGroupForChange(group, record->File)) return;
  // A set of what the group holds keeps the adding linear.
  std::unordered_set<std::wstring> held;
  for (const FontGroupEntry& font : group.Fonts) held.insert(GroupFontKey(font.Path, font.Name));
  bool added = false;
  for (FontItemListEntry& entry : list.Entries()) {
    if (!entry.marked) continue;
    if (!entry.record.HasFlag(font_flags::kRead)) ReadFontItemFromFile(list.Folder, entry.record);
    const std::wstring paths = entry.record.GetFilePaths();
    const std::wstring& name = entry.record.displayName;
    if (held.insert(GroupFontKey(paths, name)).second && group.AddFont(name, paths)) added = true;
  }
  if (added && !group.Save()) return;
  SetItemCounts(item, static_cast<int64_t>(group.Nodes.size()), static_cast<int64_t>(group.Fonts.size()));
  if (added && item == GetSelectedItem()) g_AppState.GroupFonts.m_refreshPending = true;
}

void CGroupsTreeView::MarkPendingTransfer(int mode) {
  const GroupTreeItemData* record = GetItemRecord(nullptr);
  if (!record) return;
  g_AppState.GroupFonts.SetTransferSource(record->Name, record->File, record->Parent, mode);
}

bool CGroupsTreeView::PasteToSelectedGroup() {
  const std::wstring file = GetItemFile();
  CLVGroupFonts& list = g_AppState.GroupFonts;
  if (!list.PasteToGroup(file)) {
    seams::Beep(0);
    return false;
  }
  list.EndTransfer(file);
  return true;
}
