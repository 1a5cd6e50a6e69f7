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
