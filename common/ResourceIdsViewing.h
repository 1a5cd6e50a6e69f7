// Resource identifiers of the viewing subsystem (dialogs, controls, strings, commands).
#pragma once

// Units of byte counts.
#define IDS_SIZE_MEGABYTES          14027
#define IDS_SIZE_KILOBYTES          14028
#define IDS_SIZE_BYTES              14031
