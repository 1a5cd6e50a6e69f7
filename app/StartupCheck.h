// The first-start check of the program: the Prefs key, the font case folder, the per-user
// data folders and the Windows release code.
#pragma once

#include <cstdint>
#include <string>

struct StartupCheckRecord {
  bool FirstStart = false;
  std::wstring FontCaseRoot;  // as read from the registry or chosen in the font case dialog
};

// True when the program may go on. Sets AppState::WindowsRelease in any case.
bool StartupCheck(StartupCheckRecord& record);

// Makes sure the per-user data folder and its "Font Groups" subfolder exist; an existing
// folder counts as made.
bool EnsureAppDataFolders();

// 700 before Windows 10; for 10: 1809 for builds 15063, 16299, 17134 and 17763, 0 for other
// builds up to 17763, 1903 from 17764; 2000 after 10.
int32_t WindowsReleaseFromVersion(unsigned major, unsigned build);

// The release code from kernel32's version resource; 0 when it cannot be read.
int32_t ReadWindowsRelease();
