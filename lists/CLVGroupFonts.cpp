// The group font list's fill from the selected group, its keys and commands, and the removal
// of rows from the group.
#include "lists/CLVGroupFonts.h"

#include <unordered_set>
#include <vector>

#include "app/AppState.h"
#include "app/COrvelFavWnd.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "groups/FontGroup.h"
#include "groups/GroupFileNotices.h"
#include "groups/GroupFileTree.h"
#include "groups/GroupNames.h"
#include "lists/PaneProgressBar.h"

namespace {

// How often a fill looks for input that ends it: as quick to answer as a look before every
// entry, without a round trip to the window server for each of thousands.
constexpr ULONGLONG kAbortLookInterval = 8;

}  // namespace

CLVGroupFonts::CLVGroupFonts() = default;
CLVGroupFonts::~CLVGroupFonts() = default;

const FontGroupEntry* CLVGroupFonts::EntryOf(const FontListRow* row) const {
  const auto it = entries_.find(row);
  return it == entries_.end() ? nullptr : &it->second;
}

bool CLVGroupFonts::AbortRequested() {
  const ULONGLONG now = ::GetTickCount64();
  if (lastAbortLook_ != 0 && now - lastAbortLook_ < kAbortLookInterval) return false;
  lastAbortLook_ = now;
  HWND tree = g_AppState.GroupsTree.m_hWnd;
  // One key or mouse message of the tree per look, however it came into the queue.
  MSG msg;
  if (!tree || !(::PeekMessageW(&msg, tree, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
                 ::PeekMessageW(&msg, tree, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)))
    return false;
  const bool navigation = msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_PRIOR ||
                                                        msg.wParam == VK_NEXT || msg.wParam == VK_UP ||
                                                        msg.wParam == VK_DOWN);
  if (msg.message != WM_LBUTTONDOWN && !navigation) return false;  // other input is dropped
  Clear();
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) seams::Beep(MB_ICONEXCLAMATION);
  else ::PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);  // the tree still moves
  return true;
}

int CLVGroupFonts::Fill() {
  Clear();
  entries_.clear();
  filledFile_.clear();
  filledDamaged_ = false;
  m_textColor = g_Preferences.Colors[kColorInstalled];
  m_shellIconsForSubgroups = false;
  const std::wstring file = g_AppState.GroupsTree.GetItemFile();
  if (file.empty()) {
    m_refreshPending = false;
    return 0;
  }
  m_busy = true;
  orv::ScopedWaitCursor wait;
  FontGroup group;
  const bool loaded = group.Load(file);
  if (m_hWnd) ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
  m_groupInstalled = group.Installed;
  m_groupChanged = false;
  SetMainStatusText(FormatResString(IDS_FOLDER_FONT_COUNT, static_cast<int>(group.Fonts.size())));
  PaneProgressBar progress;
  progress.Create(g_AppState.GroupsTree.m_hWnd, static_cast<int>(group.Fonts.size()));

  lastAbortLook_ = 0;
  bool complete = true;
  for (const FontGroupEntry& node : group.Nodes) {
    if (AbortRequested()) {
      complete = false;
      break;
    }
    FontGroup child;
    const bool childLoaded = child.Load(node.Path);
    // A node without a name is shown by its group's Name, or its file name: no row is blank.
    FontListRow* row = AddSubgroupEntry(GroupLabel(node.Name, child.Name, node.Path), node.Path, child.Installed, !childLoaded);
    entries_.emplace(row, node);
  }
  // Rows come from the names the file stores; nothing is read here. The detail reader and the
  // painting read each font once, the face or instance of its stored name.
  for (size_t i = 0; complete && i < group.Fonts.size(); ++i) {
    progress.Step();
    if (AbortRequested()) {
      complete = false;
      break;
    }
    const FontGroupEntry& font = group.Fonts[i];
    FontItem record;
    record.displayName = font.Name;
    record.names.System(NameSlot::Family) = font.Name;
    record.fileRef = font.Path;
    entries_.emplace(AppendItem(record), font);
  }
  if (complete) {
    SortRows();
    Repopulate();
  } else {
    entries_.clear();
  }
  if (m_hWnd) ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
  RestorePosition(true);
  if (m_hWnd) ::UpdateWindow(m_hWnd);
  m_refreshPending = false;
  m_busy = false;
  progress.Destroy();
  // A damaged group is shown as far as it was read; the status bar says why it is not changed.
  filledDamaged_ = group.IsDamagedOrUnreadable();
  SetMainStatusText(filledDamaged_ ? DescribeDamagedGroupFile(file) : std::wstring());
  if (!complete) return 0;
  if (loaded) filledFile_ = file;
  StartDetailReader();
  return static_cast<int>(group.Fonts.size());
}

bool CLVGroupFonts::OnKey(UINT key, bool ctrl) {
  CGroupsTreeView& tree = g_AppState.GroupsTree;
  switch (key) {
    case VK_DELETE: RemoveSelectionFromGroup(); return true;
    case VK_F3: ::PostMessageW(tree.GetParent(), WM_COMMAND, ID_GROUPS_FIND_NEXT, 0); return true;
    default: break;
  }
  if (!ctrl) return false;
  switch (key) {
    case 'C': BeginTransfer(tree.GetItemFile(), CGroupsTreeView::kTransferCopy); return true;
    case 'X': BeginTransfer(tree.GetItemFile(), CGroupsTreeView::kTransferMove); return true;
    case 'V':
      if (PasteToGroup(tree.GetItemFile())) EndTransfer(tree.GetItemFile());
      else seams::Beep(0);
      return true;
    case 'F': ::PostMessageW(tree.GetParent(), WM_COMMAND, ID_GROUPS_FIND, 0); return true;
    default: return false;
  }
}

void CLVGroupFonts::OnItemActivate(NMITEMACTIVATE* info) {
  const FontListRow* row = info ? GetRowAt(info->iItem) : nullptr;
  if (!row) return;
  if (row->subgroup) {
    CGroupsTreeView& tree = g_AppState.GroupsTree;
    HTREEITEM item = tree.GetSelectedItem();
    if (!item) return;
    tree.Expand(item, TVE_EXPAND);
    if (HTREEITEM child = tree.FindChildByFile(item, row->subgroup->groupFile)) tree.SelectItem(child);
    return;
  }
  if (row->record && row->record->IsInstalled()) UninstallSelection(0);
  else if (row->record) InstallSelection(false);
}

void CLVGroupFonts::OnRightClick(NMITEMACTIVATE*) {
  ::PostMessageW(::GetParent(m_hWnd), WM_COMMAND, ID_PANE_MENU, reinterpret_cast<LPARAM>(m_hWnd));
}

bool CLVGroupFonts::AcceptEntry(FontItemList& list, SubgroupEntry& entry) {
  if (CollectGroupFonts(list, entry.groupFile)) return true;
  list.RemoveAll();
  return false;
}

void CLVGroupFonts::OnShowFontFolderCommand(UINT, int, HWND) { ShowFontFolder(); }

void CLVGroupFonts::ShowFontFolder() {
  std::wstring name, path;
  bool isRecord = false;
  if (!GetItemNameAndPath(GetFirstSelected(), name, path, isRecord) || !isRecord) return;
  path = path.substr(0, path.find(L'|'));  // a Type 1 pair: the ".pfm"
  if (!GoToFolderInTree(ParentFolder(path))) {
    seams::Beep(0);
    return;
  }
  if (g_AppState.MainWindow) ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, ID_SHOW_FONT_LIST, 1);
}

void CLVGroupFonts::RemoveSelectionFromGroup() {
  if (m_groupInstalled) {
    seams::Beep(MB_ICONEXCLAMATION);
    return;
  }
  // Only rows of a group that was read whole stand for the group: anything else would write
  // the group over with less than it holds.
  const std::wstring file = g_AppState.GroupsTree.GetItemFile();
  if (GetFirstSelected() < 0 || file.empty()) return;
  if (file != filledFile_) {
    if (filledDamaged_) ReportRefusedGroupChange(file);
    return;
  }
  ExtendSelectionToSameFile();
  SavePosition(true);
  std::vector<FontListRow*> selected;
  int64_t count = 0;
  for (int i : GetSelectedIndices()) {
    FontListRow* row = GetRowAt(i);
    if (!row) continue;
    selected.push_back(row);
    if (row->subgroup) CountGroupFonts(row->subgroup->groupFile, count);
    else ++count;
  }
  if (count > 0) {
    const int answer = seams::ShowMessageBox(g_AppState.MainWindow, LoadResString(IDS_REMOVE_FROM_GROUP_ASK),
                                             LoadResString(IDS_GROUP_DELETE_CAPTION), MB_ICONEXCLAMATION | MB_YESNO);
    if (answer != IDYES) return;
  }
  orv::ScopedWaitCursor wait;
  // The reader walks the rows: it ends before any row goes, and starts again over the rest.
  StopDetailReader();
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    FontListRow* row = *it;
    if (row->subgroup) {
      // A subgroup whose files cannot all be deleted keeps its row, and so its node.
      FontGroup probe;
      const bool missing = !probe.Load(row->subgroup->groupFile) && probe.LoadState() == GroupLoadState::kMissing;
      if (!missing && !DeleteGroupFileTree(row->subgroup->groupFile)) continue;
    }
    entries_.erase(row);
    RemoveRow(row);
  }
  Repopulate();
  m_groupChanged = true;
  RestorePosition(true);
  SaveGroupFromList();
  StartDetailReader();
}

void CLVGroupFonts::SaveGroupFromList() {
  const std::wstring file = g_AppState.GroupsTree.GetItemFile();
  if (file.empty() || file != filledFile_) return;
  FontGroup group;
  if (!group.Load(file)) return;
  group.Fonts.clear();
  group.Nodes.clear();
  std::unordered_set<std::wstring> fonts, nodes;
  // The entries the rows came from, as the file stored them: what was not removed is written
  // back unchanged.
  for (const auto& row : Rows()) {
    const FontGroupEntry* entry = EntryOf(row.get());
    if (!entry) continue;
    if (row->subgroup) {
      if (nodes.insert(FoldCase(entry->Path)).second)
        group.AddNode(entry->Name, entry->Path, entry->Installed, entry->IsLink);
    } else if (fonts.insert(GroupFontKey(entry->Path, entry->Name)).second) {
      group.AddFont(entry->Name, entry->Path);
    }
  }
  if (!group.Save()) return;
  g_AppState.GroupsTree.SetItemCounts(g_AppState.GroupsTree.GetSelectedItem(),
                                      static_cast<int64_t>(group.Nodes.size()), static_cast<int64_t>(group.Fonts.size()));
}
