// Resource identifiers of the viewing subsystem (dialogs, controls, strings, commands).
#pragma once

// Units of byte counts.
#define IDS_SIZE_MEGABYTES          14027
#define IDS_SIZE_KILOBYTES          14028
#define IDS_SIZE_BYTES              14031

// The character map frame: title string, menu and accelerators.
#define IDR_CHARMAP_FRAME           236

// The character map view (one per tab) and its controls.
#define IDD_CHARMAP_VIEW            1033
#define IDC_CHARMAP_GRID            346
#define IDC_CHARMAP_COMPOSE         1109
#define IDC_CHARMAP_COPY            1110
#define IDC_CHARMAP_COMPOSE_LABEL   1111
#define IDC_CHARMAP_SYSTEM_TOOL     1112
#define IDC_CHARMAP_COUNT           1136
#define IDC_CHARMAP_BLOCK           1190
#define ID_CHARMAP_BLOCK_OF         1191   // sent by the grid to the view; lParam: the code point
#define IDC_CHARMAP_BLOCK_LABEL     1192
#define IDI_CHARMAP_SYSTEM_TOOL     227

// Commands of the tabbed tool frames (the standard MDI window commands keep their numbers).
#define ID_TAB_CLOSE                220
#define ID_WINDOW_ARRANGE           0xE131
#define ID_WINDOW_CASCADE           0xE132
#define ID_WINDOW_TILE_HORZ         0xE133

// Strings of the character map.
#define IDS_CHARMAP_COUNT           12229
#define IDS_TAB_CLOSE               12231
#define IDS_CHARMAP_SYMBOL_COUNT    12232
#define IDS_SUPPLEMENTARY_CHAR      12261
#define IDS_CHARMAP_HINT            12302
#define IDS_CHARMAP_SYSTEM_TOOL     21023
#define IDS_NOT_THE_INSTALLED_FONT  22531

// The font sheet frame: title string, menu and accelerators, its commands and strings.
#define IDR_FONTSHEET_FRAME         237
#define ID_SHEETS_PRINT             ID_LIST_PRINT   // the lists' print command prints the sheets here
#define ID_SHEET_PAGE_MODE          1039
#define IDS_SHEET_TAB_MENU          12060   // "print|close tab": the tab menu's two items
