// Resource identifiers of the options sheet and its pages.
#pragma once

// Page templates; each is also the help topic of its page.
#define IDD_PREF_VIEW               1002
#define IDD_PREF_FOLDERS            1003
#define IDD_PREF_COLORS             1004
#define IDD_PREF_INSTALL            1005

// View page.
#define IDC_PREF_NAMES_ONLY         402
#define IDC_PREF_POINT_SIZE         403
#define IDC_PREF_POINT_SIZE_SPIN    404
#define IDC_PREF_POINT_SIZE_LABEL   409
#define IDC_PREF_HIDE_RASTER        410
#define IDC_PREF_HIDE_EUDC          414
#define IDC_PREF_HIDE_VERTICAL      415
#define IDC_PREF_GRID_LINES         1142

// Folders page.
#define IDC_PREF_FONT_CASE_LABEL    432
#define IDC_PREF_BROWSE_FONT_CASE   434
#define IDC_PREF_FONT_CASE_NOTE     478
#define IDC_PREF_FONT_CASE          1126

// Colors page: the colour choices (one radio button per colour), two samples, choose, defaults.
#define IDC_PREF_COLOR_FIRST        460
#define IDC_PREF_COLOR_LAST         465
#define IDC_PREF_SAMPLE_WINDOW      466
#define IDC_PREF_SAMPLE_SELECTED    467
#define IDC_PREF_CHOOSE_COLOR       468
#define IDC_PREF_DEFAULT_COLORS     469

// Install page.
#define IDC_PREF_CONFIRM_LIST       484
#define IDC_PREF_CONFIRM_GROUP      485
#define IDC_PREF_THRESHOLD          486
#define IDC_PREF_REMOTE_DRIVES      1228

// Strings.
#define IDS_OPTIONS_TITLE           12102
#define IDS_COLOR_PICKER_FIRST      12218   // the colour picker's caption for colour 0 to 5
#define IDS_FOLDER_NOT_CREATED      21028
