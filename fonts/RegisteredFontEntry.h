// One row of the registered fonts list: one value of the system's Fonts or Type 1 Fonts key,
// checked against the file it names. Filled by RegisteredFontTable, shown by CRegListView.
#pragma once

#include <cstdint>
#include <string>

// Check results of a registered font (RegisteredFontEntry::flags).
namespace reg_entry_flags {
constexpr uint32_t kTrueType = 0x1;         // TrueType outlines (sfnt without CFF)
constexpr uint32_t kOtherSfnt = 0x2;        // any other readable sfnt face (CFF outlines)
constexpr uint32_t kType1 = 0x4;            // a value of the Type 1 key
constexpr uint32_t kSecondaryName = 0x8;    // the value name matched only through a secondary name
constexpr uint32_t kUnreadable = 0x1000;    // the file is missing or not a font of the expected kind
constexpr uint32_t kNameMismatch = 0x2000;  // the value name is none of the font's names
constexpr uint32_t kType1Namesake = 0x4000;     // a Type 1 entry and a Fonts entry share a name
constexpr uint32_t kDuplicateFile = 0x10000;    // the same file under several values
constexpr uint32_t kSameExpectedName = 0x20000; // two files expect the same value name
// The bits a row may carry and still count as a clean registration: below kUnreadable.
constexpr uint32_t kCheckMask = 0x0FFFFFFF;
}  // namespace reg_entry_flags

struct RegisteredFontEntry {
  std::wstring name;          // the font's own name (empty for an unreadable file)
  std::wstring valueName;     // the registry value name as enumerated
  std::wstring fileRef;       // the value's data (Type 1: without its leading "T" field)
  uint32_t flags = 0;         // reg_entry_flags
  int32_t image = -1;         // image of the shared 16-pixel font-type list
  std::wstring registryName;  // the name the file would be registered under, without suffix
  std::wstring fullPath;      // the file as resolved (sfnt and collection entries)
  std::wstring expectedValueName;
};
