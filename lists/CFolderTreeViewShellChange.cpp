// Shell change notifications: font files that come and go, folders made, removed and renamed,
// media and drives.
#include "lists/CFolderTreeView.h"

#include <shlwapi.h>

#include "app/AppState.h"
#include "common/StringHelpers.h"
#include "fonts/FontItem.h"
#include "lists/FolderFontFiles.h"

namespace {
constexpr LONG kMediaAndDriveEvents = SHCNE_MEDIAINSERTED | SHCNE_MEDIAREMOVED | SHCNE_DRIVEREMOVED | SHCNE_DRIVEADD;
constexpr LONG kItemEvents = SHCNE_RENAMEITEM | SHCNE_CREATE | SHCNE_DELETE | SHCNE_UPDATEITEM;
static_assert(kMediaAndDriveEvents == 0x1E0);
static_assert(kItemEvents == 0x2007);
}  // namespace

void CFolderTreeView::OnShellChange(LONG event, const std::wstring& path1, const std::wstring& path2) {
  if (closing_ || renaming_) return;
  CLVFolderFonts& list = g_AppState.FolderFonts;
  if (event & kMediaAndDriveEvents) {
    HTREEITEM selected = GetSelectedItem();
    const bool expanded = selected && (GetItemState(selected, TVIS_EXPANDED) & TVIS_EXPANDED);
    Refresh();
    if (HTREEITEM item = FindItemByIdList(target_, true)) {
      SelectItem(item);
      SelectItem(item, TVGN_FIRSTVISIBLE);
      if (expanded) Expand(item, TVE_EXPAND);
    }
    return;
  }
  if (path1.empty()) return;

  if ((event & kItemEvents) && !::PathIsDirectoryW(path1.c_str())) {
    if (!ExtensionListed(LowerCaseExtension(path1), kFontFileExtensions)) return;
    std::wstring folder = path1;
    CutLastPathComponent(folder);
    if (EqualsNoCase(folder, list.m_folder)) {
      // The refill comes back to the row that is at the top now.
      list.SavePosition(false);
      list.m_refreshPending = true;
    }
    FindItemByPath(&folder);
    return;
  }

  if ((event & SHCNE_MKDIR) && FindItemByIdList(path1, false)) return;
  if ((event & SHCNE_RENAMEFOLDER) && FindItemByIdList(path2, false)) return;
  std::wstring parentPath = path1;
  CutLastPathComponent(parentPath);
  HTREEITEM parent = FindItemByIdList(parentPath, false);
  if (!parent) return;

  // A selection inside the branch that is rebuilt is found again afterwards.
  std::wstring remembered;
  HTREEITEM root = GetRootItem();
  for (HTREEITEM walker = GetSelectedItem(); walker; walker = GetParentItem(walker)) {
    HTREEITEM up = GetParentItem(walker);
    if (!up || up == root) break;
    if (walker == parent) {
      GetSelectedPath(remembered);
      break;
    }
  }

  SetRedraw(false);
  const bool wasExpanded = (GetItemState(parent, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
  CollapseReset(parent);
  UpdateItemMarks(parent, &parentPath, true);
  Expand(parent, wasExpanded ? TVE_EXPAND : TVE_COLLAPSE);
  if (!remembered.empty()) {
    if (HTREEITEM again = FindItemByIdList(remembered, true)) SelectItem(again);
    if (!(event & SHCNE_RENAMEFOLDER)) list.m_refreshPending = true;
  }
  SetRedraw(true);
  Invalidate();
}
