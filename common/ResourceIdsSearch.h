// Resource identifiers of the search subsystem (dialogs, controls, strings, commands).
#pragma once

// The search dialog (modeless, no owner).
#define IDD_SEARCH                 1052
#define IDC_SEARCH_START           1     // Search / Stop
#define IDC_SEARCH_CLOSE           2
#define IDC_SEARCH_ROOTS           314   // drive list (ComboBoxEx)
#define IDC_SEARCH_PATTERN         331
#define IDC_SEARCH_RESULTS         338   // placeholder of the result pane, then the result list
#define IDC_SEARCH_HELP            685
#define IDC_SEARCH_FILTER_ON       1158
#define IDC_SEARCH_FILTER_EDIT     1159
#define IDC_SEARCH_RESULT_PANE     1215
#define IDC_SEARCH_SAME_CLASS      1224
#define IDC_SEARCH_PATTERN_LABEL   1225
#define IDC_SEARCH_PANOSE          1226
#define IDC_SEARCH_SIMILAR_NOTE    1227
#define IDC_SEARCH_NAME_MODE       1232
#define IDC_SEARCH_STATUS          59393

// Commands of the search dialog and its result list.
#define ID_SEARCH_OPEN_FOLDER      332   // open the focused result's folder in the main window
#define ID_SEARCH_FILL_DRIVES      341
#define ID_SEARCH_SHOW_SELECTION   345   // the result list asks the status bar to show its selection

// The filter sheet's pages.
#define IDD_SEARCH_RANGES          1085
#define IDD_SEARCH_GLYPHS          1086
#define IDD_SEARCH_TYPES           1087
#define IDC_GLYPHS_PRESENT         1160
#define IDC_GLYPHS_ABSENT          1161
#define IDC_GLYPHS_LIST            1162
#define IDC_GLYPHS_FONT            1211
#define IDC_RANGES_LIST            1180
#define IDC_FILTER_CLEAR           1181
#define IDC_RANGES_SYMBOL          1188
#define IDC_RANGES_SUMMARY         1192
#define IDC_TYPES_FIRST            1240  // kind k has box 1240 + k
#define IDC_TYPES_TYPE1            1241
#define IDC_TYPES_TRUETYPE_NO_DSIG 1242
#define IDC_TYPES_TRUETYPE         1243
#define IDC_TYPES_OPENTYPE_CFF     1244
#define IDC_TYPES_COLLECTION       1245
#define IDC_TYPES_VARIABLE         1246
#define IDC_TYPES_LAST             1250
#define ID_RANGES_UPDATE_SUMMARY   387

// Strings.
#define IDS_SEARCH_RESULT_MENU     12058  // "open folder|copy to folder"
#define IDS_RANGES_NONE            12122
#define IDS_SEARCH_START           12127
// The search's own texts; 12112 and 12124 to 12126 are the census dialog's.
#define IDS_SEARCH_STOPPED         12400
#define IDS_SEARCH_EXAMINED_TIP    12401
#define IDS_SEARCH_FOUND_TIP       12402
#define IDS_SEARCH_STOP            12403
#define IDS_GLYPHS_COLUMNS         12230  // four "|"-separated column titles
#define IDS_SEARCH_SIMILAR_TITLE   12253
#define IDS_SEARCH_SIMILAR_NOTE    12255
#define IDS_SEARCH_FILTER_TITLE    12257  // the filter sheet's caption
#define IDS_SEARCH_NAME_MODES      12262  // "full names|family names"
#define IDS_SEARCH_READING_DRIVES  12271
