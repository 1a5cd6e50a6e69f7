// Resource identifiers of the folder census and the folders-with-fonts finder (dialogs,
// controls, strings, commands).
#pragma once

// Dialogs; each is also the help context and the closing identifier of its tool window.
#define IDD_CENSUS                  1054
#define IDD_DIRS_WITH_FONTS         1055

// Controls of both dialogs (IDOK starts and stops a walk; the census closes with IDCANCEL).
#define IDC_CENSUS_DRIVES           314
#define IDC_CENSUS_SAVE             315
#define IDC_CENSUS_SYSTEM_FONTS     319
#define IDC_CENSUS_USER_FONTS       320
#define IDC_CENSUS_FILTER           1206
#define IDC_CENSUS_LIST             1214

// Commands of the result lists' context menus (also posted by the finder's list to itself).
#define ID_CENSUS_OPEN_FOLDER       318
#define ID_CENSUS_PROPERTIES        322

// Strings.
#define IDS_CENSUS_STOPPED          12112
#define IDS_CENSUS_START            12113
#define IDS_CENSUS_REPORT_FILTER    12115
#define IDS_CENSUS_REPORT_FAILED    12116
#define IDS_CENSUS_RECORDS_TIP      12124
#define IDS_CENSUS_ROWS_TIP         12125
#define IDS_CENSUS_STOP             12126
#define IDS_CENSUS_COLUMNS          12128
#define IDS_CENSUS_FILTERS          12242
#define IDS_CENSUS_DUPLICATES       12244
#define IDS_CENSUS_OTHER_NAMES      12246
#define IDS_CENSUS_SHARED_NAMES     12247
#define IDS_CENSUS_UNUSABLE         12248
#define IDS_CENSUS_CHECKING         12249
#define IDS_CENSUS_MENU             12057
#define IDS_CENSUS_ALL              21016
