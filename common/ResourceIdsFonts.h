// Resource identifiers of the fonts subsystem (dialogs, controls, strings, commands).
#pragma once

#define IDS_UNREADABLE_FONT        12182
#define IDS_LOADING_FONT           12259
#define IDS_SCRIPT_LABELS          12260
#define IDS_NO_UNICODE_RANGES      14024
#define IDS_PRIVATE_UNLOAD_FAILED  22095
