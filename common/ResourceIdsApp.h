// Resource identifiers of the application shell: start-up, main frame, shared dialogs.
#pragma once

// Strings carried by the program itself (not by the resource library).
#define IDS_RESOURCE_LIBRARY_MISSING 721

// Strings of the resource library.
#define IDS_APP_TITLE            128
#define IDS_CAPTION_APP          12000
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

// Menus and accelerators of the main frame.
#define IDR_MAINFRAME            128

// Commands posted between windows.
#define ID_RESTART_ELEVATED      700

// Unicode block table (RCDATA, UTF-8 text).
#define IDR_UNICODE_BLOCKS       733

// Commands of the main frame's menu (the standard frame commands keep their usual numbers).
#define ID_HELP_TOPIC_MAIN       160
#define ID_APP_ABOUT             0xE140
#define ID_APP_EXIT              0xE141
#define ID_HELP_INDEX            0xE142
#define ID_HELP_CONTENTS         0xE146
