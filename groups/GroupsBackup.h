// The groups backup: every group file ("orvel*.xml") copied into a folder the user chooses,
// which is remembered as "GroupsBackupPath" for the next backup and for the restore dialog.
#pragma once

#include <windows.h>

#include <string>

// "GroupsBackupPath" (HKCU Prefs): the last folder chosen for a groups backup; empty when none.
std::wstring ReadGroupsBackupPath();

// Command 178: asks for the folder, refuses the groups folder itself, stores the choice and
// copies the group files there. True when every group file arrived.
bool ChooseGroupsBackupFolder();

// When `folder` is the groups folder, however it is written (another letter case, ".", "..", a
// short name, a link): says so under `caption` (message 22085, owned by the main window) and
// answers true; a backup or restore there would copy the group files onto themselves.
bool RefuseGroupsFolder(const std::wstring& folder, UINT caption);
