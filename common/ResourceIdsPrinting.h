// Resource identifiers of the printing subsystem (dialogs, controls, strings, commands) and of
// the font sheet page that printing shares with the font sheet window.
#pragma once

// Dialogs.
#define IDD_REPORT_OPTIONS          1040
#define IDD_PRINT_DONE              1045
#define IDD_PRINT_ABORT             1050
#define IDD_SAVE_IMAGES             1071
#define IDD_PRINT_GENERAL           1549

// The abort dialog.
#define IDC_ABORT_PAGE              100
#define IDC_ABORT_PRINTER           101

// The report options page.
#define IDC_REPORT_SET_MODE         373
#define IDC_REPORT_LIST_MODE        374
#define IDC_REPORT_COLUMNS          375
#define IDC_REPORT_COLUMNS_UPDOWN   376
#define IDC_REPORT_SHOW_VERSION     380
#define IDC_REPORT_SHOW_FILE        381
#define IDC_REPORT_SINGLE_LINE      382
#define IDC_REPORT_TITLE            383
#define IDC_REPORT_SHOW_SCRIPTS     384
#define IDC_REPORT_SHOW_ID          386
#define IDC_REPORT_ZOOM             390
#define IDC_REPORT_PREVIEW          397
#define IDC_DIALOG_HELP             685

// The lower part of the print dialog's general page: the system's page range and copies
// controls (their identifiers are the system's), then our own line and button (142 opens the
// report options).
#define IDC_PRINT_RANGE_ALL         1056
#define IDC_PRINT_RANGE_SELECTION   1057
#define IDC_PRINT_RANGE_CURRENT     1058
#define IDC_PRINT_RANGE_PAGES       1059
#define IDC_PRINT_RANGE_GROUP       1072
#define IDC_PRINT_RANGE_HINT_LIST   1088
#define IDC_PRINT_RANGE_HINT_ONE    1089
#define IDC_PRINT_PAGES             1152
#define IDC_PRINT_COPIES_GROUP      1073
#define IDC_PRINT_COPIES_LABEL      1090
#define IDC_PRINT_COPIES            1153
#define IDC_PRINT_COPIES_SPIN       9999
#define IDC_PRINT_COLLATE           1040
#define IDC_PRINT_COLLATE_ICON      1084
#define IDC_PRINT_SELECTION_COUNT   1091
#define IDC_PRINT_REPORT_OPTIONS    142

// The image export dialog.
#define IDC_IMAGES_FORMAT           1129
#define IDC_IMAGES_FOLDER           1130
#define IDC_IMAGES_BROWSE           1131
#define IDC_IMAGES_COUNT            1132
#define IDC_IMAGES_OVERWRITE        1171
#define IDC_IMAGES_WRITE_HTML       1172
#define IDC_IMAGES_HTML_NAME        1173
#define IDC_IMAGES_HTML_LABEL       1174
#define IDC_IMAGES_SUBFOLDER        1175
#define IDC_IMAGES_INFO_COLUMN      1208

// Strings of the report and its pages.
#define IDS_REPORT_INSTALLED        12062
#define IDS_REPORT_FOLDER           12063
#define IDS_REPORT_GROUP            12064
#define IDS_REPORT_FONTS            12065
#define IDS_PAGE_NUMBER             12066
#define IDS_PRINT_FAILED            22096
#define IDS_FONTS_NOT_PRINTABLE     22098
#define IDS_NOTHING_PRINTED_NAMES   22099

// Strings of the font sheet.
#define IDS_SHEET_FAMILY            12080
#define IDS_SHEET_FILE              12081
#define IDS_SHEET_VERSION           12082
#define IDS_SHEET_FILE_SIZE         12084
#define IDS_SHEET_METRICS_FILE      12085
#define IDS_SHEET_OUTLINE_FILE      12086
#define IDS_SHEET_UNIQUE_ID         12087
#define IDS_SHEET_INSTANCES         12404   // FormatMessage-style; the Version page's 14021 is printf-style
#define IDS_SHEET_SIGNED            14023
#define IDS_SHEET_CFF_OUTLINES      14034
#define IDS_SHEET_TT_OUTLINES       12405   // 14035 is the Version page's signed-CFF line
#define IDS_SHEET_COLLECTION        14036
#define IDS_SHEET_SAMPLE            14044
#define IDS_SHEET_OTHER_INSTALLED   22533

// Strings of the image export.
#define IDS_IMAGE_FILTER            12168
#define IDS_IMAGE_FORMATS           12169
#define IDS_HTML_CREDIT             12171
#define IDS_HTML_TITLE              12250
#define IDS_FOLDER_ERROR_CAPTION    12406   // 21020 is the folder tree's "New Folder"
#define IDS_IMAGES_NOT_SAVED        22097
#define IDS_ASK_REPLACE_PAGE        22507
