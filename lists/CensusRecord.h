// CensusRecord: one face found by a folder census, as the census result list keeps it and the
// census report writes it. A plain value: the census walk builds records on its worker thread
// from the faces it reads and posts them to the census dialog, whose result list owns them.
#pragma once

#include <cstdint>
#include <string>

class FontItem;

// Bits of CensusRecord::censusFlags.
namespace census_flags {
constexpr uint32_t kFirstOfGroup = 0x1;      // first row of a group of rows with the same name
constexpr uint32_t kInGroup = 0x2;           // further row of such a group
constexpr uint32_t kLeftOut = 0x4;           // installed font without an identical copy: not a duplicate
constexpr uint32_t kDiffers = 0x8;           // other version than its group's first row, or other letter case
constexpr uint32_t kUnusable = 0x10;         // unreadable, or cannot be loaded
constexpr uint32_t kLoadable = 0x20;         // tested and loadable
constexpr uint32_t kInSystemFonts = 0x40;    // the file lies in the system Fonts folder
constexpr uint32_t kOtherFileName = 0x80;    // same name as its group's first row, other file name
constexpr uint32_t kSharedFileName = 0x100;  // one of several files of one name that hold different fonts
constexpr uint32_t kCollectionFace = 0x1000;
// What the analysis after a walk sets.
constexpr uint32_t kAnalysis = kFirstOfGroup | kInGroup | kLeftOut | kDiffers | kOtherFileName | kSharedFileName;
}  // namespace census_flags

// The columns of the result list and of the report, in their order.
enum CensusColumn : int { kCensusName, kCensusFiles, kCensusVersion, kCensusUniqueId, kCensusFolder, kCensusColumnCount };

struct CensusRecord {
  std::wstring name;             // full name: system language, else English
  std::wstring collectionFaces;  // the collection's face names joined by " & ", then " &"
  std::wstring files;            // file name; "x.pfm|x.pfb" (or "|..\x.pfb") for Type 1
  std::wstring version;
  std::wstring uniqueId;
  std::wstring folder;
  uint32_t fontFlags = 0;        // the FontItem flags word
  uint32_t censusFlags = 0;

  bool Has(uint32_t bits) const { return (censusFlags & bits) != 0; }
  // The text of a column (kCensusName ... kCensusFolder); empty for any other.
  const std::wstring& Cell(int column) const;
};

// The record of a face just read from `fileName` in `folder`; marked as lying in the system
// Fonts folder when `folder` equals `systemFontsFolder` without regard to case.
[[nodiscard]] CensusRecord MakeCensusRecord(const FontItem& item, const std::wstring& folder,
                                            const std::wstring& fileName, const std::wstring& systemFontsFolder);

// The files column of a face of `fileName`: the name itself, or for a Type 1 font the ".pfm"
// name, "|", "..\" when the ".pfb" lies in the parent folder, and the ".pfm" name with its last
// character made "B" ("M") or "b" (anything else): "FONT.PFM|..\FONT.PFB".
[[nodiscard]] std::wstring CensusFilesOf(const FontItem& item, const std::wstring& fileName);
