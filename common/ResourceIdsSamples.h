// Resource identifiers of the sample pane, its sample texts and the sample editor.
#pragma once

// Commands of the sample pane's toolbar and of the sample window (290, the editor, is a menu
// command: ID_SAMPLE_EDIT_TEXTS).
#define ID_SAMPLE_BOLD            165
#define ID_SAMPLE_ITALIC          166
#define ID_SAMPLE_UNDERLINE       167
#define ID_SAMPLE_CHOOSER         221
#define ID_SAMPLE_APPLIED         222
#define ID_SAMPLE_EUDC_EDITOR     288
#define ID_SAMPLE_MARK_MISSING    293
#define ID_SAMPLE_INFO_BLOCK      294

// The sample pane's image strip: images 3 to 11 of its toolbar.
#define IDB_SAMPLE_TOOLBAR        922

// Strings.
#define IDS_SAMPLE_NEW_TIP        12304
#define IDS_SAMPLE_DELETE_TIP     12305
#define IDS_SAMPLE_EDITOR_ENTRY   14039
#define IDS_SAMPLE_NEW_TITLE      14040
#define IDS_SAMPLE_BUILTIN_FIRST  14041
#define IDS_SAMPLE_BUILTIN_LAST   14046

// The sample editor.
#define IDD_SAMPLE_EDITOR         1011
#define IDC_SAMPLE_NEW            1102
#define IDC_SAMPLE_DELETE         1103
#define IDC_SAMPLE_TEXT           1105
#define IDC_SAMPLE_FONT           1211
#define IDC_SAMPLE_TITLES         1214
#define IDC_SAMPLE_OK             365
#define IDC_SAMPLE_RESTORE        426
#define ID_SAMPLE_LIST_REBUILD    290   // posted by the editor to itself
