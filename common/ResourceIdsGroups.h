// Resource identifiers of the groups subsystem (dialogs, controls, strings, commands).
#pragma once

// Strings.
#define IDS_GROUPS_CAPTION        21030
#define IDS_GROUP_FILE_FAILED     22083
#define IDS_GROUP_FILE_NOTE       22546
