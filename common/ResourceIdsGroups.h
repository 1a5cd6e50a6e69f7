// Resource identifiers of the groups subsystem (dialogs, controls, strings, commands).
#pragma once

// Strings.
#define IDS_GROUPS_CAPTION        21030
#define IDS_GROUP_FILE_FAILED     22083
#define IDS_GROUP_FILE_NOTE       22546
#define IDS_DELETE_GROUP_ASK      12036   // %s: the group's name
#define IDS_REMOVE_FROM_GROUP_ASK 12038
#define IDS_QUICK_SEARCH_STATUS   12045
// The same string shows while groups are made from a folder tree, followed by the folder.
#define IDS_FOLDER_IMPORT_STATUS  IDS_QUICK_SEARCH_STATUS
#define IDS_NEW_GROUP_NAME        12047
#define IDS_GROUPS_MENU_CAPTIONS  12054   // "|"-separated: 154, 213, 155, 295, 195, 143
#define IDS_GROUP_DELETE_CAPTION  21007

// Images: the groups tree (0 installed overlay, 1 group, 2 open group) and the quick-search icon.
#define IDB_GROUP_TREE            924
#define IDI_QUICK_SEARCH          226

// Commands of the groups tree, its pane and the group font list.
#define ID_GROUP_SHOW_FONT_FOLDER 158   // also the caption of its menu item
#define ID_GROUP_CLEAR_INSTALLED  195
#define ID_GROUPS_FIND            333
#define ID_GROUPS_FIND_NEXT       334
