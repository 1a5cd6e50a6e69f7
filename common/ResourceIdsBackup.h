// Resource identifiers of the font and group backup (dialogs, controls, strings).
#pragma once

// Strings.
#define IDS_FILE_OPERATION_CAPTION 21009
#define IDS_GROUPS_BACKUP_CAPTION  21010
#define IDS_GROUPS_RESTORE_CAPTION 21013
#define IDS_NO_FILES_TO_COPY       22506
#define IDS_LOOKING_FOR_FONTS      22537
#define IDS_COPYING_FILES          22538
#define IDS_COPIED_UNDER_NEW_NAMES 22552
#define IDS_FILES_NOT_COPIED       22553

// Backup options dialog (font files copy).
#define IDD_IMPORT_EXPORT          1073
#define IDC_BACKUP_OVERWRITE       361
#define IDC_BACKUP_PANOSE          362
#define IDC_BACKUP_PANOSE_LEVEL2   363
#define IDC_BACKUP_CLASSES         364
#define IDC_BACKUP_SOURCE_BROWSE   1143
#define IDC_BACKUP_SOURCE          1144
#define IDC_BACKUP_SUBFOLDERS      1145
#define IDC_BACKUP_DEST_BROWSE     1146
#define IDC_BACKUP_DESTINATION     1148
#define IDC_BACKUP_MIRROR          1168
#define IDC_BACKUP_FLAT            1169
#define IDC_BACKUP_BY_TYPE         1170

#define IDS_GROUPS_FOLDER_ITSELF   22085
#define IDS_RELOCATE_NEEDS_FOLDERS 22550
#define IDS_RELOCATE_NEEDS_GROUP   22551

// Groups restore dialog.
#define IDD_GROUPS_RESTORE         1079
#define IDC_RESTORE_SOURCE         476
#define IDC_RESTORE_FONT_CASE      1148
#define IDC_RESTORE_BROWSE         1221
#define IDC_RESTORE_CLEAR_MARKS    1222
#define IDC_RESTORE_RELOCATE       1223

// Relocation of font paths.
#define IDD_RELOCATE_FONTS         1078
#define IDC_RELOCATE_OLD_BROWSE    1143
#define IDC_RELOCATE_OLD           1144
#define IDC_RELOCATE_NEW_BROWSE    1146
#define IDC_RELOCATE_NEW           1148
#define IDC_RELOCATE_ALL           1256
#define IDC_RELOCATE_STATUS        59393
