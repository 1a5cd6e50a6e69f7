// The one global record of the running program: Windows release, the main window and its
// status bar, flags shared by the panes, the administrator and elevation flags, the shared
// tables and the system folders. A static object, built before the entry point and alive until
// the process ends; read directly by every subsystem.
#pragma once

#include <windows.h>
#include <cstdint>
#include <string>

#include "common/AppShell.h"
#include "fonts/PrivateFontCache.h"
#include "groups/CGroupsTreeView.h"
#include "lists/CFolderTreeView.h"
#include "lists/CLVFolderFonts.h"
#include "lists/CLVGroupFonts.h"
#include "lists/CLVInstalledFonts.h"
#include "viewing/UnicodeBlockTable.h"

// What printing keeps between jobs; zero until a page setup fills it.
struct PageSetupData {
  int32_t units = 0;          // 0 not set, 4 thousandths of an inch, 8 hundredths of a millimetre
  RECT margins{};             // in units
  uint8_t portrait = 0;
  SIZE paperSize{};           // in units
  uint16_t paperCode = 0;
};

// The main window and the help file path are the shared helpers' part (common/AppShell.h).
struct AppState : AppShell {
  AppState();

  int32_t WindowsRelease = 0;     // 700, 0, 1809, 1903 or 2000
  HWND StatusBar = nullptr;
  CLVInstalledFonts InstalledFonts;  // control 206
  CLVFolderFonts FolderFonts;        // control 204
  CFolderTreeView FolderTree;        // control 350
  CLVGroupFonts GroupFonts;          // control 208
  CGroupsTreeView GroupsTree;        // control 355
  int FontListsCaptionHeight = 0;    // caption height of the font-lists pane, set when it is built
  bool GroupListShown = false;    // the font-lists pane shows the group fonts list
  bool FontChangePending = false;
  bool Busy = false;              // a long job runs: the panes do not re-sort on a caption click
  bool UserIsAdmin = false;
  bool IsElevated = false;
  UnicodeBlockTable BlockTable;
  PageSetupData PageSetup;
  bool ShowInfoBlock = false;      // the sample pane's switches, stored as "SampleFlags"
  bool MarkMissingGlyphs = false;
  std::wstring SystemFontsFolder;
  std::wstring UserFontsFolder;   // local application data\Microsoft\Windows\Fonts
  PrivateFontCache FontCache;
};

extern AppState g_AppState;
