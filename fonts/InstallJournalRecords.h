// The records of the group-command journal (InstallJournal.h): how they are written, read
// back and checked, and how one is undone. Shared by the journal's two halves, the writer of a
// running command and the undo at start.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "common/RegistryValue.h"
#include "fonts/InstallJournal.h"

namespace journal_detail {

inline constexpr wchar_t kCommandValue[] = L"Command";
inline constexpr wchar_t kGroupValue[] = L"Group";
inline constexpr wchar_t kGroupNameValue[] = L"GroupName";
inline constexpr wchar_t kWasInstalledValue[] = L"GroupWasInstalled";
// Records are named by their number, so that they sort in the order they were written.
inline constexpr wchar_t kRecordFormat[] = L"R%08u";
inline constexpr size_t kRecordNameChars = 16;

// A value of one of the keys a group command changes, from one state to another.
struct ValueChange {
  HKEY root = nullptr;
  const wchar_t* key = nullptr;  // one of the program's own key names
  std::wstring name;
  RegValueState before;
  RegValueState after;
};
// A font file (a full path; "x.pfm|x.pfb" for Type 1) loaded or unloaded.
struct FontChange {
  std::wstring file;
  bool load = false;
};
using Change = std::variant<ValueChange, FontChange>;

std::vector<BYTE> EncodeValueChange(const ValueChange& change);
std::vector<BYTE> EncodeFontChange(const FontChange& change);

// The change a record holds, when it is one a group command of this program makes: a value of
// the Fonts keys (the machine's and the user's), the Type 1 key or the FontsInstalled key, in
// the forms the installer writes there, or a load or unload of a font file by its full path.
// Anything else gives nothing, with `what` saying what the record was about.
[[nodiscard]] std::optional<Change> DecodeRecord(const std::vector<BYTE>& bytes, std::wstring& what);

// Undoes one change: nothing when it is undone (or there was nothing left to undo), else what
// could not be put back.
[[nodiscard]] std::optional<UndoFailure> UndoChange(const Change& change);

// What a change is about, as the user is told: the value's name, or the file.
[[nodiscard]] std::wstring DescribeChange(const Change& change);

}  // namespace journal_detail
