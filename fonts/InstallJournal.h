// The journal of a group install or uninstall, kept in the registry while the command runs, so
// that a command cut short (the program killed, a crash) can be undone.
//
// The journal is the writer of the group command (FontChanges): every registry value it
// changes (a registration, a FontsInstalled marker) and every font file it loads or unloads
// goes through it. Before each change it writes down what is about to change and what was
// there before, flushes the journal's key (RegFlushKey) and checks both; only then is the change
// made. When the record cannot be written, or the value's present state cannot be read, the
// change is refused; a record that cannot be written stops the command as well: no change is
// made after it, and the command undoes what it did (UndoCommand). The journal thus always
// holds at least what was done.
//
// What the flush covers: the journal lives in the current user's hive, and the flush puts each
// record on disk before its change is even asked for, so after a power cut the disk never
// holds a change without its record, in either hive (a change to the machine's hive reaches
// the disk only after its record). It does not cover the changes themselves, which the system
// writes when it will (an undo of a change that never reached the disk finds the value as it
// was and leaves it), nor the group files' marks, nor font loads (the system loads the
// registered fonts afresh at every start).
//
// The groups tree opens the journal before the first font and finishes it (deletes it) after
// the group files carry the group's new mark. A journal found afterwards belongs to a command
// that never ended: `UndoCutShortGroupCommand` treats it as input from outside, since any
// program of the user can write that key. It carries out only what a group command of this
// program can have written (see InstallJournalUndo.cpp), newest first: it puts back every value
// that still holds what the command wrote, unloads what it loaded and loads what it unloaded.
// A step that fails keeps its record for the next start; the rest of the journal goes.
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
#include "fonts/FontChanges.h"
#include "framework/Handles.h"

inline constexpr wchar_t kGroupCommandJournalKey[] = L"SOFTWARE\\OrvelManager\\GroupCommand";

class InstallJournal final : public FontChanges {
public:
  // Opens the journal of a group command over the group in `groupFile`; `groupWasInstalled`
  // is its mark before the command. A journal left behind must have been undone first. When
  // the journal cannot be written the command is stopped before its first change.
  InstallJournal(UINT command, const std::wstring& groupFile, const std::wstring& groupName, bool groupWasInstalled);
  ~InstallJournal() override = default;

  // The command and the group's mark are done: the journal goes, unless it keeps changes an
  // undo could not put back, which wait for the next start.
  void Finish();

  // Puts back, newest first, every change this command made (after it stopped); the changes
  // that could not be put back keep their records.
  [[nodiscard]] std::vector<UndoFailure> UndoCommand() override;

protected:
  LSTATUS BeforeValueChange(HKEY root, const wchar_t* key, const std::wstring& name,
                            const RegValueState& after) override;
  LSTATUS BeforeFontChange(const std::wstring& file, bool load) override;

private:
  // Writes a record under the next number and flushes it; a failure stops the command.
  LSTATUS Append(const std::vector<BYTE>& record);

  orv::ScopedKey key_;
  uint32_t next_ = 0;
  bool finished_ = false;
  // The records written, in order, by name; an undo drops those it put back.
  std::vector<std::pair<std::wstring, std::vector<BYTE>>> written_;
  bool keepsRecords_ = false;
};

struct CutShortGroupCommand {
  UINT command = 0;
  std::wstring groupFile;
  std::wstring groupName;
  bool groupWasInstalled = false;
  // False when the journal's header was not whole or not of the right types: nothing of it
  // was carried out.
  bool headerValid = true;
  // The changes that could not be put back; their records stay for the next start.
  std::vector<UndoFailure> notPutBack;
  // Records that are no change a group command of this program makes: left out and removed.
  std::vector<std::wstring> ignored;
};

// Undoes the group command whose journal was left behind, if any; the journal goes but for the
// records of changes that could not be put back. What that command was. Never while a group
// command runs.
[[nodiscard]] std::optional<CutShortGroupCommand> UndoCutShortGroupCommand();
