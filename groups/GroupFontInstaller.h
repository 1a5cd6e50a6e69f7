// How the fonts of a whole group are installed and uninstalled. The groups tree collects the
// fonts of a group and its subgroups and hands them to the installer, which asks for
// confirmation, leaves out what cannot or need not be done, counts the group install in the
// FontsInstalled markers, writes the registry and announces the font change; the tree marks
// the groups only when the installer reports success.
//
// The program gives the groups tree the font installer at start-up (UseFontInstallerForGroups);
// without an installer, groups cannot be installed and the install and uninstall commands stay
// disabled. Main thread only.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

class FontChanges;
class FontItemList;

// The installer's command numbers for a group (the lists use 21002 and 21003).
inline constexpr UINT kGroupInstallCommand = 21004;
inline constexpr UINT kGroupUninstallCommand = 21005;

class GroupFontInstaller {
public:
  virtual ~GroupFontInstaller() = default;
  // Runs `command` (kGroupInstallCommand or kGroupUninstallCommand) over `fonts`, without the
  // copy option, with `owner` as the owner of its windows, making every change through
  // `changes` (the command's journal); true when the group's mark is to change: after an
  // install when a font of it is installed and counted for it, after an uninstall when none of
  // its fonts stays counted (a font that failed keeps the group installed). False when the
  // command had to stop and undo itself.
  virtual bool Run(UINT command, FontItemList& fonts, HWND owner, FontChanges& changes) = 0;
};

// The installer the groups tree uses (null: none); the caller keeps it alive.
void SetGroupFontInstaller(GroupFontInstaller* installer);
[[nodiscard]] GroupFontInstaller* GetGroupFontInstaller();

// Gives the groups tree the program's font installer, the one the font lists use.
void UseFontInstallerForGroups();

// What the undo of a group command cut short found and did, as the user is told in one box.
struct RecoveredGroupCommand {
  UINT textId = 0;       // the message
  std::wstring detail;   // the group's name, the lines of what could not be put back or was left out
  bool complete = true;  // nothing waits for the next start
};

// Undoes a group install or uninstall that did not end (the program was closed, or crashed,
// while it ran): the font registrations and markers it changed go back as they were, and when
// all of them did, so does the group's Installed mark (only for a group file of the groups
// folder other than the root). A journal that is not one this program wrote is not carried
// out. What there is to tell, when there was such a journal. Main thread, at start and before
// every group command.
[[nodiscard]] std::optional<RecoveredGroupCommand> RecoverCutShortGroupCommand();
// Tells the user what the undo found and did, in one box.
void ReportUndoneGroupCommand(HWND owner, const RecoveredGroupCommand& recovered);
