#include "app/PaneMenus.h"

#include <string>
#include <vector>

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "groups/CGroupsTreeView.h"
#include "groups/GroupFileTree.h"
#include "lists/CLVFolderFonts.h"
#include "lists/CLVGroupFonts.h"

namespace {

// Captions by position in a "|"-separated string: a field is used up whether or not its item is
// shown, and a short string gives empty captions rather than shifting the others.
std::vector<std::wstring> Captions(UINT id, size_t count) {
  std::vector<std::wstring> fields = SplitFields(LoadResString(id));
  fields.resize(count);
  return fields;
}

void AddSeparator(const IconPopupMenu& menu) { ::AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr); }

// The selected-row count and the first selected row's record.
struct Selection {
  int count = 0;
  const FontItem* first = nullptr;
};

Selection SelectionOf(const COrvelListView& list) {
  Selection s;
  list.GetCounts(nullptr, &s.count);
  s.first = list.GetRecordAt(list.GetFirstSelected());
  return s;
}

// The items every font list offers, with the pictures of their commands.
void AppendCommonItems(IconPopupMenu& menu, const COrvelListView& list, UINT state) {
  list.AppendContextMenuItems(menu.Get(), state);
  menu.ShowItemIcons();
}

// Whether the selected group or a group below it carries the installed mark: only then has
// clearing the marks something to do.
bool HasInstalledMark(const CGroupsTreeView& tree) {
  if (tree.IsItemInstalled(tree.GetSelectedItem())) return true;
  const std::wstring file = tree.GetItemFile(tree.GetSelectedItem());
  if (file.empty()) return false;
  bool marked = false;
  (void)WalkGroupTree(file, [&marked](FontGroup& group) {
    marked = group.Installed;
    return !marked;
  });
  return marked;
}

}  // namespace

void FillFolderTreeMenu(IconPopupMenu& menu, const FolderTreeMenuItems& items) {
  const std::vector<std::wstring> text = Captions(IDS_FOLDER_MENU_CAPTIONS, 7);
  const UINT onlyWithTarget = items.noTarget ? kMenuItemDisabled : 0;
  const UINT notInZip = items.zip ? kMenuItemDisabled : 0;
  menu.InsertItem(items.zip ? ID_LIST_EXTRACT_ZIPPED : ID_FOLDER_MAKE_GROUPS, text[items.zip ? 1 : 0].c_str(), onlyWithTarget);
  menu.InsertItem(ID_FOLDER_NEW, text[2].c_str(), notInZip);
  if (items.canRename) menu.InsertItem(ID_TREE_RENAME, text[3].c_str(), notInZip);
  if (items.canDelete) menu.InsertItem(ID_FOLDER_DELETE, text[4].c_str(), notInZip);
  menu.InsertItem(ID_FOLDER_OPEN, text[5].c_str(), onlyWithTarget);
  menu.InsertItem(ID_FONTS_REFRESH, text[6].c_str(), 0);
}

void FillGroupsTreeMenu(IconPopupMenu& menu, const CGroupsTreeView& tree) {
  const std::vector<std::wstring> text = Captions(IDS_GROUPS_MENU_CAPTIONS, 6);
  HTREEITEM group = tree.GetSelectedItem();
  const bool installed = group && tree.IsItemInstalled(group);
  const bool fixed = !group || group == tree.GetRootItem() || installed;
  menu.InsertItem(ID_GROUP_NEW, text[0].c_str(), installed ? kMenuItemDisabled : 0);
  menu.InsertItem(ID_TREE_RENAME, text[1].c_str(), fixed ? kMenuItemDisabled : 0);
  menu.InsertItem(ID_GROUP_DELETE, text[2].c_str(), fixed ? kMenuItemDisabled : 0);
  AddSeparator(menu);
  menu.InsertItem(ID_GROUPS_CLASSIFY, text[3].c_str(), 0);
  AddSeparator(menu);
  menu.InsertItem(ID_GROUP_CLEAR_INSTALLED, text[4].c_str(), group && HasInstalledMark(tree) ? 0 : kMenuItemDisabled);
  menu.InsertItem(ID_FONTS_REFRESH, text[5].c_str(), 0);
}

void FillFolderListMenu(IconPopupMenu& menu, const CLVFolderFonts& list) {
  const std::vector<std::wstring> text = Captions(IDS_FOLDER_LIST_MENU, 4);
  const Selection s = SelectionOf(list);
  const bool zip = list.m_zipFolder;
  const UINT base = s.count == 0 || (s.count == 1 && s.first && s.first->IsRaster()) ? kMenuItemDisabled : 0;
  const UINT second = s.count == 0 || (s.count == 1 && s.first && s.first->IsInstalledFile()) ? kMenuItemGreyed : base;
  menu.InsertItem(ID_FONTS_COPY_TO_FOLDER, text[0].c_str(), base);
  if (zip) menu.InsertItem(ID_LIST_EXTRACT_ZIPPED, text[1].c_str(), base);
  menu.InsertItem(ID_LIST_DELETE_FILES, text[2].c_str(), zip ? kMenuItemGreyed : second);
  if (s.first && s.first->IsInstalled())
    menu.InsertItem(ID_FONTS_SHOW_INSTALLED, LoadResString(IDS_SHOW_INSTALLED_MENU).c_str(), 0);
  AddSeparator(menu);
  // A font of this name that only GDI knows (loaded by some program, not registered) can be
  // unloaded from the row that shares its name.
  if (s.count == 1 && s.first && s.first->HasFlag(font_flags::kNamesakeGdiOnly)) {
    menu.InsertItem(ID_LIST_UNLOAD_FONT, text[3].c_str(), zip ? kMenuItemGreyed : 0);
    AddSeparator(menu);
  }
  AppendCommonItems(menu, list, second);
}

void FillGroupListMenu(IconPopupMenu& menu, const CLVGroupFonts& list) {
  const Selection s = SelectionOf(list);
  const bool oneFont = s.count == 1 && s.first;
  if (oneFont) menu.InsertItem(ID_GROUP_SHOW_FONT_FOLDER, LoadResString(ID_GROUP_SHOW_FONT_FOLDER).c_str(), 0);
  if (s.first && s.first->IsInstalled())
    menu.InsertItem(ID_FONTS_SHOW_INSTALLED, LoadResString(IDS_SHOW_INSTALLED_MENU).c_str(), 0);
  if (oneFont) AddSeparator(menu);
  AppendCommonItems(menu, list, s.count == 0 ? kMenuItemDisabled : 0);
}

void FillInstalledListMenu(IconPopupMenu& menu, const COrvelListView& list) {
  const Selection s = SelectionOf(list);
  const bool cannot = s.count == 0 || (s.count == 1 && s.first && (s.first->IsRaster() || s.first->IsEudc()));
  const UINT state = cannot ? kMenuItemDisabled : 0;
  menu.InsertItem(ID_FONTS_COPY_TO_FOLDER, LoadResString(IDS_INSTALLED_LIST_MENU).c_str(), state);
  AddSeparator(menu);
  AppendCommonItems(menu, list, state);
}
