// Resource identifiers of the application shell: start-up, main frame, shared dialogs.
#pragma once

// Strings carried by the program itself (not by the resource library).
#define IDS_RESOURCE_LIBRARY_MISSING 721

// Strings of the resource library.
#define IDS_APP_TITLE            128
#define IDS_CAPTION_APP          12000
#define IDS_OPERATION_FINISHED   12111   // the status text at the end of a search or a run over the groups
#define IDS_DEFAULT_FONT_CASE    12233
#define IDS_RESTART_ELEVATED_ASK 12306
#define IDS_ASK_CREATE_FOLDER    21027
#define IDS_ADMIN_PROBE_FAILED   22200
#define IDS_ELEVATION_PROBE_FAILED 22201
#define IDS_STARTUP_FAILED       22516

// Icons.
#define IDI_ORVEL_MANAGER        1

// The font case folder dialog shown on a first start.
#define IDD_CREATE_FONT_CASE     1077
#define IDC_FONT_CASE_FOLDER     1163
#define IDC_FONT_CASE_BROWSE     1167

// The folder picker (template 0x41B) and the drive combo's strings.
#define IDD_BROWSE_FOLDER        1051
#define IDC_BROWSE_TREE          0x150
#define IDC_BROWSE_LEGEND        351
#define IDC_BROWSE_PROMPT        352
#define IDC_BROWSE_NEW_FOLDER    360
#define IDC_BROWSE_OK            365
#define IDS_ALL_DRIVES           12110
#define IDS_BROWSE_ENTRY         12118
#define IDS_FAVORITE_FOLDERS     12241

// Menus and accelerators of the main frame.
#define IDR_MAINFRAME            128

// Commands posted between windows.
#define ID_RESTART_ELEVATED      700

// Unicode block table (RCDATA, UTF-8 text).
#define IDR_UNICODE_BLOCKS       733

// Commands of the main frame's menu (the standard frame commands keep their usual numbers).
#define ID_HELP_TOPIC_MAIN       160
#define ID_APP_ABOUT             999   // the About dialog shares the number of its template

// The About dialog: the version line, the title whose top splits the painted background, and
// its two pictures (RCDATA holding PNG files).
#define IDD_ABOUT                999
#define IDC_ABOUT_VERSION        900
#define IDC_ABOUT_TITLE          1150
#define IDR_ABOUT_BANNER         133
#define IDR_ABOUT_GLYPH          134
#define ID_APP_EXIT              0xE141
#define ID_HELP_INDEX            0xE142
#define ID_HELP_CONTENTS         0xE146

// Toolbars: RT_TOOLBAR data and the bitmap strip of the same number.
#define IDR_COMMAND_ICONS        128   // images of the menu items (the command icon strip)
#define IDR_MAIN_TOOLBAR         130
#define IDR_FAVORITES_TOOLBAR    139
#define RT_TOOLBAR_DATA          241

// Cursors over the splitter bars: a vertical bar (panes side by side) and a horizontal one.
#define IDCUR_VERTICAL_BAR       930
#define IDCUR_HORIZONTAL_BAR     931

// Idle status-bar text.
#define IDS_STATUS_READY         0xE001

// Pane captions.
#define IDS_INSTALLED_FONTS_PANE 12032
#define IDS_FOLDER_TREE_PANE     12043
#define IDS_GROUPS_TREE_PANE     12048

// Control identifiers of the main window's client area.
#define IDC_MAIN_SPLITTER        209
#define IDC_TREES_SPLITTER       210
#define IDC_FOLDER_FONTS_LIST    204
#define IDC_INSTALLED_FONTS_LIST 206
#define IDC_GROUP_FONTS_LIST     208
#define IDC_SAMPLE_SIZE_UPDOWN   212
#define IDC_FOLDER_TREE          350
#define IDC_GROUPS_TREE          355

// Commands of the menu, the main toolbar and the pane toolbars.
#define ID_FILE_PAGE_SETUP       170
#define ID_FONTS_REFRESH         143
#define ID_FONTS_SEARCH          144
#define ID_FONTS_CENSUS          145
#define ID_FONTS_COPY_TO_FOLDER  147
#define ID_FONTS_INSTALL         148
#define ID_FONTS_UNINSTALL       149
#define ID_GROUP_INSTALL         150
#define ID_GROUP_UNINSTALL       151
#define ID_GROUP_REMOVE_FONTS    153
#define ID_GROUP_NEW             154
#define ID_GROUP_DELETE          155
#define ID_FONTS_CHARMAP         156
#define ID_FONTS_PROPERTIES      157
#define ID_FONTS_DIRS_WITH_FONTS 168
#define ID_TOOLS_SUBSTITUTES     171
#define ID_FONTS_SHOW_INSTALLED  172
#define ID_FONTS_SHEET           173
#define ID_TOOLS_FAMILY_DEFAULTS 175
#define ID_GROUPS_BACKUP         178
#define ID_GROUPS_RESTORE        179
#define ID_PANE_MENU             180
#define ID_PANE_USER_FONTS_DIR   187
#define ID_PANE_SYSTEM_FONTS_DIR 188
#define ID_VIEW_SAMPLE_PANE      189
#define ID_VIEW_GROUPS_TREE      190
#define ID_VIEW_FOLDER_TREE      191
#define ID_VIEW_FOLDER_LISTS     192
#define ID_VIEW_SAMPLE_IN_LIST   193
#define ID_GROUPS_RELOCATE       194
#define ID_FILES_BACKUP          201
#define ID_FONT_CHANGE           215
#define ID_SHOW_FONT_LIST        216
#define ID_LISTS_REDRAW          217
#define ID_PANE_PARENT_FOLDER    219
#define ID_WINDOW_TO_SCREEN      228
#define ID_TOOLS_GROUP_CHECKS    250
#define ID_GROUPS_QUICK_SEARCH   282
#define ID_PANE_FAVORITES        283
#define ID_FILE_SAVE_IMAGES      285
#define ID_SAMPLE_EDIT_TEXTS     290
#define ID_GROUPS_CLASSIFY       295
#define ID_GROUP_LIST_INSTALL    297
#define ID_GROUP_LIST_UNINSTALL  298
#define ID_TOOL_WINDOW_CLOSED    339
#define ID_FONTS_SIMILAR         340
#define ID_TOOLS_REGISTRY_FONTS  714
#define ID_TOOLS_OPTIONS         141
// Main frame timers.
#define IDT_FONT_CHANGE          4     // re-sends WM_FONTCHANGE when the broadcast did not arrive
#define ID_FAV_CURRENT           186
#define ID_FAV_ADD               184
#define ID_FAV_REMOVE            185
#define ID_FAV_MENU_FIRST        30000  // the favourites menu: one item per favourite
#define ID_FAV_MENU_LAST         30256
#define ID_VIEW_TOOLBAR          0xE800
#define ID_VIEW_STATUS_BAR       0xE801

// Font drag and drop: the captions of the actions ("|"-separated, field n for action code n) and
// their 16-pixel images (image n for action code n); the feedback window's timer on the source list.
#define IDS_DRAG_ACTIONS         12270
#define IDB_DRAG_ACTIONS         927
#define IDT_FONT_DRAG            1
