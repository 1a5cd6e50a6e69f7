// Resource identifiers of the lists subsystem (dialogs, controls, strings, commands).
#pragma once

// Commands every font list handles.
#define ID_LIST_PRINT               142
#define ID_LIST_DELETE_FILES        146
#define ID_LIST_UNLOAD_FONT         182
#define ID_LIST_SELECT_ALL          196
#define ID_LIST_INVERT_SELECTION    197
#define ID_LIST_DETAILS_READ        218
#define ID_LIST_EXTRACT_ZIPPED      287
#define ID_LIST_END_DRAG            296

// Commands of the folder tree (posted or sent to the tree's window); 143 refreshes it and 287
// extracts the fonts of a zip folder, as in the lists. 213 and 214 (rename, the menu) serve the
// groups tree too. ID_FOLDER_DELETE carries the serial of
// the record it was asked for in lParam, or 0.
#define ID_FOLDER_NEW               198
#define ID_FOLDER_DELETE            199
#define ID_FOLDER_OPEN              200
#define ID_TREE_RENAME              213
#define ID_TREE_MENU                214
#define ID_FOLDER_MAKE_GROUPS       286

// The zipped fonts extraction dialog (template 0x433).
#define IDD_EXTRACT_ZIPPED_FONTS    0x433
#define IDC_EXTRACT_DESTINATION     1258
#define IDC_EXTRACT_BROWSE          1259
#define IDC_EXTRACT_SHOW_FOLDER     1260

// Images of the font lists: font types and overlays, 16 and 32 pixels.
#define IDB_FONT_TYPES_SMALL        914
#define IDB_FONT_TYPES_LARGE        916
#define IDI_LIST_NOT_REGISTERED     224
#define IDI_LIST_PROTECTED          225

// Strings.
#define IDS_FOLDER_FONT_COUNT       12030
#define IDS_LIST_MENU_CAPTIONS      12050
#define IDS_INSTALLING_SELECTION    12098
#define IDS_UNINSTALLING_SELECTION  12099
#define IDS_ZIP_FONT_COUNT          12300
#define IDS_ZIP_FOLDER_STATUS       12301
#define IDS_NEW_FOLDER_NAME         12046
#define IDS_FOLDER_MENU_CAPTIONS    12056
#define IDS_DELETE_FOLDER_CAPTION   21019
#define IDS_NEW_FOLDER_CAPTION      21020
#define IDS_FOLDER_NOT_DELETED      22001
#define IDS_EXTRACT_CAPTION         21041
#define IDS_EXTRACT_NEEDS_FULL_PATH 22041
#define IDS_EXTRACT_FAILED          22042

// Captions of the list menus ("|"-separated where there are several).
#define IDS_FOLDER_LIST_MENU        12051   // 147, 287, 146, 182
#define IDS_INSTALLED_LIST_MENU     12052   // 147
#define IDS_SHOW_INSTALLED_MENU     12077   // 172
