// Resource identifiers of the fonts subsystem (dialogs, controls, strings, commands).
#pragma once

#define IDS_UNREADABLE_FONT        12182
#define IDS_LOADING_FONT           12259
#define IDS_SCRIPT_LABELS          12260
#define IDS_NO_UNICODE_RANGES      14024
#define IDS_PRIVATE_UNLOAD_FAILED  22095

// Font file commands (copy, move, delete).
#define IDS_DELETE_FONTS_CAPTION   21000
#define IDS_COPY_FONTS_CAPTION     21001
#define IDS_MOVE_FONTS_CAPTION     21014
#define IDS_OUT_OF_MEMORY          22000
#define IDS_NOTHING_TO_DELETE      22503
#define IDS_ASK_COPY_TO_DRIVE_ROOT 22505

// The registered fonts list.
#define IDD_LIST_REGISTRY_FONTS         1069
#define IDC_REGISTRY_FONTS_LIST         1117
#define IDS_REGISTRY_FONT_COLUMNS       12215
#define IDS_REGISTRY_FONT_UNREADABLE    12273
#define IDS_REGISTRY_FONT_NAME_MISMATCH 12274
#define IDS_REGISTRY_FONT_DUPLICATE     12275

// The font substitutes dialog.
#define IDD_FONT_SUBSTITUTES            1061
#define IDC_SUBSTITUTES_LIST            501
#define IDS_SUBSTITUTE_COLUMNS          12129
#define IDS_CHARSET_LABELS              12280

// The family defaults dialog.
#define IDD_FAMILY_DEFAULTS             1060
#define IDC_FAMILY_DEFAULTS_RESET       1237
#define IDC_FAMILY_DEFAULTS_PREVIEW     1238
#define IDC_FAMILY_DEFAULTS_LIST        1239
#define IDS_FAMILY_DEFAULT_COLUMNS      12130
#define IDS_FAMILY_DEFAULT_KEYS         12131
#define IDS_FAMILY_DEFAULT_FACES        12132
#define IDS_FAMILY_DEFAULTS_NO_KEY      22196
#define IDS_FAMILY_DEFAULTS_NOT_WRITTEN 22197
#define IDS_FAMILY_DEFAULT_NOT_INSTALLED 22549
// Installing and uninstalling fonts: the command identifiers double as message captions.
#define IDS_INSTALL_FONTS_CAPTION   21002
#define IDS_UNINSTALL_FONTS_CAPTION 21003
#define IDS_INSTALL_GROUP_CAPTION   21004
#define IDS_UNINSTALL_GROUP_CAPTION 21005
#define IDS_ASK_INSTALL_COUNT       12088
#define IDS_ASK_UNINSTALL_COUNT     12089
#define IDS_CHECKING_FONTS          12090
#define IDS_COPYING_TO_FONTS        12091
#define IDS_INSTALLING_FONTS        12092
#define IDS_CHECKING_UNINSTALL      12093
#define IDS_UNINSTALLING_FONTS      12094
#define IDS_DELETING_FONT_FILES     12095
#define IDS_FONTS_DONE              12097
#define IDS_NOTHING_TO_INSTALL      22501
#define IDS_NOTHING_TO_UNINSTALL    22502
#define IDS_ASK_REMOVABLE_DRIVE     22540
#define IDS_INSTALL_FAILED          22590
#define IDS_UNINSTALL_FAILED        22591
// Why a font was left out of an install or uninstall, one line per font.
#define IDS_REASON_FILE_MISSING     22592
#define IDS_REASON_UNREADABLE       22593
#define IDS_REASON_SAME_NAME        22594
#define IDS_REASON_NAME_TAKEN       22595
#define IDS_REASON_NOT_LOADED       22596
#define IDS_REASON_NOT_REGISTERED   22597
#define IDS_REASON_NOT_UNLOADED     22598
#define IDS_REASON_VALUE_KEPT       22599
#define IDS_REASON_FILE_KEPT        22600
#define IDS_REASON_MARKER_DROPPED   22601
#define IDS_REASON_NO_NAME          22602
#define IDS_REASON_VALUE_FOREIGN    22603
#define IDS_REASON_OTHER_GROUP      22604
#define IDS_REASON_INSTALLED_BEFORE 22605
#define IDS_REASON_FILE_SHARED      22606
#define IDS_REASON_NOT_BY_GROUP     22607
#define IDS_REASON_FILE_REPLACED    22608
#define IDS_REASON_NOT_OURS         22609
// The end of a list of fonts too long for one box.
#define IDS_MORE_FONTS              22610
// A group install or uninstall cut short was undone at start.
#define IDS_GROUP_COMMAND_UNDONE    22611
// More reasons a font was left out, or is named after a command.
#define IDS_REASON_FILE_HELD        22640
#define IDS_REASON_VALUE_UNREADABLE 22641
#define IDS_REASON_NOT_PUT_BACK     22642
#define IDS_REASON_FILE_FAILED      22643
// The journal of group commands: a command stopped, and what the undo at start found.
#define IDS_COMMAND_STOPPED         22644
#define IDS_GROUP_COMMAND_NOT_UNDONE 22645
#define IDS_GROUP_JOURNAL_FOREIGN   22646
#define IDS_JOURNAL_IGNORED         22647
#define IDS_JOURNAL_MARK_KEPT       22648
#define IDS_NOT_PUT_BACK            22649
// Why a change could not be put back, one line per change.
#define IDS_UNDO_NOT_LOADED         22650
#define IDS_UNDO_VALUE_NOT_WRITTEN  22651
#define IDS_UNDO_VALUE_UNREADABLE   22652
