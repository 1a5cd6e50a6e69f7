// Fills a `FontItem` from a font file: TrueType/OpenType (".ttf", ".otf"), collections
// (".ttc", ".otc", or any file that starts with "ttcf"), the named instances of variable fonts,
// and Type 1 pairs (".pfm" + ".pfb").
//
// A reader is built on the stack by its caller, given a folder and a file reference (or a copy
// of an existing record through `FontItem::CopyFrom`), made to read, and its result copied back
// with `FontItem::CopyFrom`. It reads only the table directory and the tables the record needs,
// with positioned reads (`FileBytes`) and the bounds-checked `ByteReader`: nothing a file says
// about offsets, counts or lengths is used unchecked. The file is open only while a read, a
// collection walk or an instance walk runs.
//
// Walks (driven by the callers):
//   collection: ReadFirstCollectionFace, then ReadNextCollectionFace until it returns false;
//   variable font (the record carries 0x100 after ReadFontFile): ReadNextNamedInstance until it
//   returns false; every true gives one record. A variable font whose named instances cannot be
//   read yields its own record once, so that it never vanishes from a list.
// One thread at a time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/ByteReader.h"
#include "fonts/FontItem.h"

struct FaceNameRecord {
  std::wstring fullName;
  std::wstring registryName;
  std::wstring englishFullName;
};
using FaceNameArray = std::vector<FaceNameRecord>;

struct StatDesignAxis {
  char axisTag[4]{};
  uint16_t axisNameID = 0;
  uint16_t axisOrdering = 0;
};

struct StatAxisValue {
  uint16_t format = 0;
  uint16_t axisIndex = 0;
  uint16_t flags = 0;
  uint16_t valueNameID = 0;
  uint32_t value = 0;  // Fixed 16.16
};

struct FvarAxis {
  char axisTag[4]{};
  uint32_t minValue = 0;
  uint32_t defaultValue = 0;
  uint32_t maxValue = 0;
  uint16_t flags = 0;
  uint16_t axisNameID = 0;
};

// The name IDs of name records, by meaning.
namespace name_ids {
constexpr uint16_t kCopyright = 0;
constexpr uint16_t kFamily = 1;
constexpr uint16_t kSubfamily = 2;
constexpr uint16_t kUniqueId = 3;
constexpr uint16_t kFullName = 4;
constexpr uint16_t kVersion = 5;
constexpr uint16_t kPostScriptName = 6;
constexpr uint16_t kTypoFamily = 16;
constexpr uint16_t kTypoSubfamily = 17;
constexpr uint16_t kWwsFamily = 21;
constexpr uint16_t kWwsSubfamily = 22;
}  // namespace name_ids

class FontFileReader : public FontItem {
public:
  FontFileReader();
  FontFileReader(const FontFileReader&) = delete;
  FontFileReader& operator=(const FontFileReader&) = delete;

  // Prepares the reader for the next file (folder, displayHeight, numTables, os2Version and the
  // optical sizes stay).
  void Reset();

  // Reads the file named by fileRef (set from fileName when given): ".pfm" and other non-sfnt
  // references go to the Type 1 reader; a file that starts with "ttcf" is read as a collection
  // (its first face; continue with ReadNextCollectionFace), any other as a single font.
  [[nodiscard]] bool ReadFontFile(const std::wstring& fileName = {});
  // The one test of what a ".ttf", ".otf", ".ttc" or ".otc" file, or the file of a record
  // known as a collection face, holds: a collection when it starts with "ttcf", whatever its
  // name says; a file that cannot be opened counts as a collection when it is named like one
  // or the record was a face of one. Opens the file for the read that follows.
  [[nodiscard]] bool IsCollectionFile();
  void ResolveFullPath();
  // Maps the face at faceIndex and checks its offset table and 'head'. With extraAccess
  // non-zero only probes that the file opens with that access.
  [[nodiscard]] bool OpenSfnt(DWORD extraAccess);
  void CloseFile();
  // Finds the table with this tag in the open face's directory (its offset and length, the
  // length cut at the end of the file); nothing of the table is read yet.
  [[nodiscard]] bool SeekToTable(const char* tag);
  // The open face has a table with this tag that starts within the file.
  [[nodiscard]] bool HasTable(const char* tag);
  // Reads up to maxBytes of the table with this tag; empty when absent or unreadable.
  ByteReader ReadTable(const char* tag, uint32_t maxBytes = UINT32_MAX);
  [[nodiscard]] bool ReadSfnt();
  void ReadNames();
  // Name ids 0..25 (system language first) for the property pages; the file must be open.
  void ReadAllNames(std::wstring (&out)[26]);
  [[nodiscard]] bool SupportsVerticalLayout();
  std::wstring BuildRegistryName() const;
  void MarkUnreadable();

  // Collections.
  [[nodiscard]] bool ReadCollectionHeader();
  [[nodiscard]] bool ReadFirstCollectionFace();
  [[nodiscard]] bool ReadNextCollectionFace();
  bool HasValidFace() const { return faceIndex != -1; }
  [[nodiscard]] bool ReadCollectionFaceByName();
  std::wstring BuildCollectionRegistryName() const;

  // Variable fonts.
  [[nodiscard]] bool ReadVariationAxes();
  [[nodiscard]] bool ReadStatTable();
  [[nodiscard]] bool ReadNextNamedInstance();
  [[nodiscard]] bool ReadNamedInstanceByName();
  [[nodiscard]] bool ReadNamedInstanceNames();
  bool ReadNameById(uint16_t id, std::wstring* englishOut, std::wstring* systemOut);
  [[nodiscard]] bool BuildStatStyleName();

  // Type 1.
  [[nodiscard]] bool ReadType1();
  // 0: the ".pfb" is where the reference says or beside the ".pfm"; 0x200: in the parent
  // folder; -1: not found.
  int FindPfbFile();
  [[nodiscard]] bool ReadType1Header(std::wstring& text);
  static bool FindType1Key(const std::wstring& text, const std::wstring& key, std::wstring& out,
                           size_t maxLength);

  // The language id of the system slot (low word of the system default LCID); tests set it.
  static uint16_t SystemLanguage();
  static void SetSystemLanguageForTesting(uint16_t language);

  // Reader state.
  FaceNameArray faceNames;
  int32_t faceIndex = 0;
  std::vector<uint32_t> faceOffsets;  // terminated by 0; empty for a single font

  uint16_t statMajorVersion = 0;
  uint16_t statMinorVersion = 0;
  uint16_t designAxisSize = 0;
  uint16_t designAxisCount = 0;
  uint32_t designAxesOffset = 0;
  uint16_t axisValueCount = 0;
  uint32_t offsetToAxisValueOffsets = 0;
  std::vector<StatDesignAxis> designAxes;
  std::vector<StatAxisValue> axisValues;
  std::vector<uint32_t> rangeMinValues;
  std::vector<uint32_t> rangeMaxValues;
  std::vector<FvarAxis> fvarAxes;
  bool statAxesMatchFvar = true;

private:
  uint32_t FaceOffset() const;
  // The directory entry of the table with this tag, as the file states it: of the open face,
  // or of the face whose offset table is at faceOffset and lists `tables` tables.
  bool FindTable(const char* tag, uint32_t& offset, uint32_t& length);
  bool FindTableAt(uint32_t faceOffset, uint16_t tables, const char* tag, uint32_t& offset, uint32_t& length);
  // Reads in as few reads as it can what reading these faces will ask for.
  void PrefetchFaceTables(const uint32_t* faces, size_t count);
  bool OpenFileBytes();
  void ReadNameRecords(const uint16_t* ids, int count, std::wstring* systemOut, std::wstring* otherOut);
  std::wstring DecodeNameString(const ByteReader& table, uint64_t offset, uint16_t length,
                                uint16_t platform) const;
  bool DecodeNameRecordById(uint16_t id, std::wstring* englishOut, std::wstring* systemOut);
  void FreeVariationState();
  void MarkFolderFlags(bool caseSensitive, bool protectSystem);
  void SetUnreadableName();

  FileBytes file_;
  std::wstring openPath_;
  uint32_t tableOffset_ = 0;  // the table found by the last SeekToTable: offset in the file
  uint32_t tableLength_ = 0;  // and length, cut at the end of the file
  bool walkingInstances_ = false;
  std::wstring keptFullName_;  // the full name the record had before ReadSfnt emptied it
  FontNames fontNames_;              // the variable font's own names and PostScript name, from
  std::wstring fontPostScriptName_;  // which each named instance starts
};
