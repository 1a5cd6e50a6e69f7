// The groups backup: every group file ("orvel*.xml") copied into a folder the user chooses,
// which is remembered as "GroupsBackupPath" for the next backup and for the restore dialog.
#pragma once

#include <string>

// "GroupsBackupPath" (HKCU Prefs): the last folder chosen for a groups backup; empty when none.
std::wstring ReadGroupsBackupPath();

// Command 178: asks for the folder, refuses the groups folder itself, stores the choice and
// copies the group files there. True when the copy succeeded.
bool ChooseGroupsBackupFolder();
