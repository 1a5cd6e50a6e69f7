// The one way an install or uninstall command changes the system: the registry values of the
// font registration (the Fonts keys of the machine and the user, the Type 1 key) and of the
// FontsInstalled markers, and the system-wide loads and unloads of font files. Every change
// returns whether it was made.
//
// A list command makes its changes straight away through this class. A group command makes
// them through its journal (InstallJournal), which writes each change down before it is made
// and refuses it, and every change after it, when it cannot: the command then stops and undoes
// what it did. One object serves one command on the main thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/RegistryValue.h"

inline constexpr wchar_t kFontsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// A change an undo could not put back: what it was about, why it stays (a string id and the
// system's error).
struct UndoFailure {
  std::wstring what;
  UINT reasonId = 0;
  DWORD error = 0;
};

class FontChanges {
public:
  FontChanges() = default;
  virtual ~FontChanges() = default;
  FontChanges(const FontChanges&) = delete;
  FontChanges& operator=(const FontChanges&) = delete;

  // The value `name` of `key` under `root` (64-bit view) becomes `after`: written, its key
  // created when missing, or deleted when `after` holds nothing (a value already gone counts as
  // deleted). ERROR_SUCCESS when done, else why not; nothing changed then.
  [[nodiscard]] LSTATUS SetValue(HKEY root, const wchar_t* key, const std::wstring& name, const RegValueState& after);
  // Loads a font file for the whole system: `file` is a full path ("x.pfm|x.pfb" for Type 1).
  // The number of fonts loaded; 0 when nothing was (GetLastError says why).
  [[nodiscard]] int Load(const std::wstring& file);
  // Unloads the font file `file` (a full path) as often as it is loaded, at most `most` times
  // each: by `alsoAs` first when given (the bare name or stored form the system loaded it by,
  // taken in the current folder), then by `file`. The number of unloads.
  [[nodiscard]] int Unload(const std::wstring& file, const std::wstring& alsoAs = std::wstring(), int most = 8);

  // After the command stopped: puts back, newest first, what it changed; what could not be.
  // Only a journal knows what was changed: without one there is nothing to put back.
  [[nodiscard]] virtual std::vector<UndoFailure> UndoCommand() { return {}; }

  // True once a change could not be written down; no change is made after that, and
  // StopError says why the journal could not be written.
  [[nodiscard]] bool Stopped() const { return stopError_ != ERROR_SUCCESS; }
  [[nodiscard]] LSTATUS StopError() const { return stopError_; }

protected:
  // Called before each change is made: ERROR_SUCCESS lets it go ahead. A journal that cannot
  // write the change down calls Stop and refuses it.
  [[nodiscard]] virtual LSTATUS BeforeValueChange(HKEY root, const wchar_t* key, const std::wstring& name,
                                                  const RegValueState& after);
  [[nodiscard]] virtual LSTATUS BeforeFontChange(const std::wstring& file, bool load);
  void Stop(LSTATUS error) { stopError_ = error == ERROR_SUCCESS ? ERROR_WRITE_FAULT : error; }

private:
  LSTATUS stopError_ = ERROR_SUCCESS;
};

// Writes or deletes a value as FontChanges::SetValue does, with nothing written down first:
// also what an undo puts back.
[[nodiscard]] LSTATUS SetRegistryValueState(HKEY root, const wchar_t* key, const std::wstring& name,
                                            const RegValueState& state);

// RemoveFontResourceW until it fails, at most `most` times; the number of successful calls (a
// file added several times needs as many removals).
int RemoveFontResourceRepeatedly(const std::wstring& path, int most = 8);
