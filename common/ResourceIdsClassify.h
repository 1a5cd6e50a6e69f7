// Resource identifiers of the font classification dialog and its group builders.
#pragma once

// Strings.
#define IDS_CLASSIFY_START          12113   // the start caption of button 1, also the status text of a scan
#define IDS_CLASSIFY_STOP           12126   // the caption of button 1 while a scan runs
#define IDS_CLASSIFY_STOPPED        12112   // the status text after a stopped scan
#define IDS_CLASSIFY_READING        12138   // the progress text while the folders are read
#define IDS_CLASSIFY_BUILDING       12139   // the progress text while the groups are written
#define IDS_CLASSIFY_BY_INITIAL     12266   // base names of the kind groups
#define IDS_CLASSIFY_BY_PANOSE      12267
#define IDS_CLASSIFY_BY_CLASS       12268
#define IDS_CLASSIFY_SYSTEM_SETS    12269
#define IDS_CLASSIFY_SET_NAMES      13050   // "|"-separated names of the system font sets
#define IDS_CLASSIFY_SET_FILES      13100   // + set index: the file names of that set
#define IDS_CLASSIFY_NO_FONTS       22015

// The font classification dialog.
#define IDD_FONT_CLASSIFICATIONS    1090
#define IDC_CLASSIFY_PROGRESS       310
#define IDC_CLASSIFY_FOLDER         314
#define IDC_CLASSIFY_SYSTEM_FONTS   319
#define IDC_CLASSIFY_USER_FONTS     320
#define IDC_CLASSIFY_BY_CLASS       1224
#define IDC_CLASSIFY_BY_PANOSE      1226
#define IDC_CLASSIFY_SYSTEM_SETS    1231
#define IDC_CLASSIFY_BY_INITIAL     1235
