// Resource identifiers of the group checks window (dialog, controls, strings).
#pragma once

// The dialog; also its help context and the closing identifier of its tool window.
#define IDD_GROUP_CHECKS              1065

// Controls (IDOK runs the checks, IDCANCEL closes).
#define IDC_GROUP_CHECKS_TABS         1252
#define IDC_GROUP_CHECKS_LIST         1253
#define IDC_GROUP_CHECKS_TEXT         1254
#define IDC_GROUP_CHECKS_REPAIR       1255

// Strings.
#define IDS_GROUP_CHECKS_TABS         12282   // "|"-separated: the three tab captions
#define IDS_GROUP_CHECKS_HEADINGS0    12283   // the heading of the missing fonts tab
#define IDS_GROUP_CHECKS_HEADINGS1    12284   // "|"-separated: the headings of the broken chains tab
#define IDS_GROUP_CHECKS_HEADINGS2    12285   // "|"-separated: the headings of the missing groups tab
#define IDS_GROUP_CHECKS_TEXT0        12286
#define IDS_GROUP_CHECKS_TEXT2        12287
#define IDS_GROUP_CHECKS_TEXT1        12288
#define IDS_GROUP_CHECKS_NO_ROWS      12289
#define IDS_RECOVERY_GROUP_NAME       12290
