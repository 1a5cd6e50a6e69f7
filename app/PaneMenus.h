// The context menus of the panes' client windows: the folder tree's, the groups tree's and those
// of the folder, group and installed font lists. Each function fills a popup menu with the items and states
// that the tree or list allows at this moment; the pane tracks the menu with the client window
// as its owner, so the chosen command goes to the tree or list. Every item shows the picture of
// its command from the one command picture table (IconPopupMenu). Main thread only.
#pragma once

#include "common/IconPopupMenu.h"

class CGroupsTreeView;
class CLVFolderFonts;
class CLVGroupFonts;
class COrvelListView;

// The states of the menus: disabled, or greyed (drawn disabled, for items that may come back).
inline constexpr UINT kMenuItemDisabled = MFS_DISABLED;
inline constexpr UINT kMenuItemGreyed = MF_GRAYED;
static_assert(kMenuItemDisabled == 3 && kMenuItemGreyed == 1);

// What the folder tree's selected item allows, read from the tree by its pane.
struct FolderTreeMenuItems {
  bool zip = false;        // the item is a zip folder
  bool noTarget = true;    // no item is selected, or the tree has no target folder
  bool canRename = false;  // a folder below the top level that may get a new name
  bool canDelete = false;  // an empty folder that may be deleted
};

void FillFolderTreeMenu(IconPopupMenu& menu, const FolderTreeMenuItems& items);
void FillGroupsTreeMenu(IconPopupMenu& menu, const CGroupsTreeView& tree);
void FillFolderListMenu(IconPopupMenu& menu, const CLVFolderFonts& list);
void FillGroupListMenu(IconPopupMenu& menu, const CLVGroupFonts& list);
void FillInstalledListMenu(IconPopupMenu& menu, const COrvelListView& list);
