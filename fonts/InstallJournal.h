// The journal of a group install or uninstall, kept in the registry while the command runs, so
// that a command cut short (the program killed, a crash, a power cut) can be undone.
//
// Before the command changes a registry value (a registration, a FontsInstalled marker) or
// loads or unloads a font file, it writes down what it is about to do and what was there
// before; each record is written before its change, so the journal always holds at least what
// was done. The groups tree opens the journal before the first font and finishes it (deletes
// it) after the group files carry the group's new mark. A journal found afterwards belongs to
// a command that never ended: `UndoCutShortGroupCommand` puts back, newest first, every value
// it changed that still holds what the command wrote, unloads what it loaded and loads what it
// unloaded. The registry is then as it was before the command, and the group's mark as before
// too (the caller puts it back), so the group's own commands work from a state they know.
//
// List commands keep no journal: what they leave is the user's own install, which the list
// commands remove. One program instance runs at a time, and group commands run one at a time
// on its main thread.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/RegistryValue.h"
#include "framework/Handles.h"

inline constexpr wchar_t kGroupCommandJournalKey[] = L"SOFTWARE\\OrvelManager\\GroupCommand";

class InstallJournal {
public:
  // Opens the journal of a group command over the group in `groupFile`; `groupWasInstalled`
  // is its mark before the command. A journal left behind must have been undone first.
  InstallJournal(UINT command, const std::wstring& groupFile, const std::wstring& groupName, bool groupWasInstalled);
  // No longer the running command's; the registry's journal stays unless Finish was called.
  ~InstallJournal();
  InstallJournal(const InstallJournal&) = delete;
  InstallJournal& operator=(const InstallJournal&) = delete;

  // The command and the group's mark are done: the journal goes.
  void Finish();

  // The journal of the group command running now, or null.
  static InstallJournal* Active();

  void BeforeValueChange(HKEY root, const wchar_t* key, const std::wstring& name, const RegValueState& after);
  void BeforeFontLoad(const std::wstring& file, bool load);

private:
  void Append(const std::vector<BYTE>& record);

  orv::ScopedKey key_;
  uint32_t next_ = 0;
  bool finished_ = false;
};

// Both do nothing while no group command runs.
void JournalValueChange(HKEY root, const wchar_t* key, const std::wstring& name, const RegValueState& after);
void JournalFontLoad(const std::wstring& file, bool load);

struct CutShortGroupCommand {
  UINT command = 0;
  std::wstring groupFile;
  std::wstring groupName;
  bool groupWasInstalled = false;
};

// Undoes the group command whose journal was left behind, if any, and deletes the journal;
// what that command was. Never while a group command runs.
std::optional<CutShortGroupCommand> UndoCutShortGroupCommand();
