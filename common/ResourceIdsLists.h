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

// Captions of the list menus ("|"-separated where there are several).
#define IDS_FOLDER_LIST_MENU        12051   // 147, 287, 146, 182
#define IDS_INSTALLED_LIST_MENU     12052   // 147
#define IDS_SHOW_INSTALLED_MENU     12077   // 172
