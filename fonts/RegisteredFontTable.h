// The system's font registrations, each checked against the file it names: the values of the
// Fonts keys (TrueType and OpenType registrations, collections included) and of the Type 1
// Fonts keys, in enumeration order. For each it records whether the file can be read, whether
// the value name is one the font's own names give, and whether registrations collide (one file
// under several values, one name under two font types, one expected value name for two files).
//
// Nothing is written to the registry. Registry data is taken as hostile: only values of a string
// type are read (REG_SZ or REG_EXPAND_SZ, not expanded, in the Fonts keys; REG_MULTI_SZ in the
// Type 1 keys), cut at their first null or their last whole character; values of other types
// are skipped; a file reference that is neither a bare file name nor a full path is taken in the
// Fonts folder, as the system takes it, never in the current directory. The collision pass
// groups the rows by hashed keys, so a key of thousands of values costs linear time.
// Built and used by CRegListView on the main thread.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "fonts/FontFileReader.h"
#include "fonts/RegisteredFontEntry.h"

// The collision pass over rows in table order (Type 1 rows after all Fonts rows): marks
// duplicate files, Type 1 namesakes and shared expected value names (RegisteredFontCollisions.cpp).
void MarkRegistrationCollisions(std::vector<RegisteredFontEntry>& rows);

inline constexpr wchar_t kFontsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

class RegisteredFontTable {
public:
  RegisteredFontTable() = default;
  RegisteredFontTable(const RegisteredFontTable&) = delete;
  RegisteredFontTable& operator=(const RegisteredFontTable&) = delete;

  // The folder in which bare file names resolve (the system Fonts folder).
  void SetFontsFolder(const std::wstring& folder) { fontsFolder_ = folder; }
  void Clear() { rows_.clear(); }

  // Everything the system registers: the Fonts and Type 1 keys under HKLM, and under HKCU too
  // on releases that have per-user fonts (after 1808); then the collision pass.
  void ReadSystemRegistration(int windowsRelease);

  // The values of one key; an enumeration error ends that key's rows.
  void ReadFontsKey(HKEY root, const wchar_t* subKey);
  void ReadType1Key(HKEY root, const wchar_t* subKey, REGSAM view);

  // The check of one value. A Fonts value is listed when its name says TrueType or OpenType or
  // its data names a ".ttf", ".otf" or ".ttc" file; true when it was.
  bool CheckFontsValue(std::wstring_view valueName, std::wstring_view data);
  // A Type 1 value whose strings are joined by "|" ("T|x.pfm|x.pfb").
  void CheckType1Value(std::wstring_view valueName, std::wstring_view joined);

  // The collision pass over the rows read so far.
  void MarkCollisions();

  const std::vector<RegisteredFontEntry>& Rows() const { return rows_; }

private:
  void CheckSfnt(RegisteredFontEntry& row);
  void CheckCollection(RegisteredFontEntry& row);
  // A reference as it is opened: a full path as it is, anything else in the Fonts folder.
  std::wstring InFontsFolder(const std::wstring& ref) const;

  FontFileReader reader_;  // reused for every entry
  std::wstring fontsFolder_;
  std::vector<RegisteredFontEntry> rows_;
};
