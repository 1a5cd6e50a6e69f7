// Builds small font files in memory for the reader tests: sfnt files from a list of tables,
// name tables from records, collections from whole fonts, and Type 1 ".pfb"/".pfm" pairs.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sfnt_test {

using Bytes = std::string;

void PutU16(Bytes& b, uint16_t v);
void PutU32(Bytes& b, uint32_t v);
void SetU16(Bytes& b, size_t at, uint16_t v);
void SetU32(Bytes& b, size_t at, uint32_t v);
uint16_t GetU16(const Bytes& b, size_t at);
uint32_t GetU32(const Bytes& b, size_t at);

struct NameRecord {
  uint16_t platform;
  uint16_t encoding;
  uint16_t language;
  uint16_t nameId;
  std::wstring text;   // stored as UTF-16BE, or as bytes (Latin-1) for platform 1
  bool emptyLength = false;
};
Bytes BuildNameTable(const std::vector<NameRecord>& records);
// Windows US-English records: family, subfamily, full name (and more when given).
std::vector<NameRecord> WindowsNames(const std::wstring& family, const std::wstring& subfamily,
                                     const std::wstring& fullName);

Bytes BuildHead();                            // 54 bytes, valid magic
Bytes BuildOs2(uint16_t version, uint16_t lowerOptical = 0, uint16_t upperOptical = 0);

// An sfnt file: offset table, directory in the order given, tables 4-byte aligned.
Bytes BuildSfnt(const std::vector<std::pair<std::string, Bytes>>& tables);
// A collection of the given sfnt files (tables copied per face).
Bytes BuildCollection(const std::vector<Bytes>& fonts, uint32_t declaredFaces = 0);

struct TableEntry {
  std::string tag;
  uint32_t recordOffset;  // where the table record lies in the file
  uint32_t offset;
  uint32_t length;
};
// The table directory of the face whose offset table is at faceOffset.
std::vector<TableEntry> ReadDirectory(const Bytes& file, uint32_t faceOffset = 0);

// A ".pfb" whose ASCII segment holds `clearText`; its length field says `declaredLength`, or
// the text's real length when declaredLength is UINT32_MAX.
Bytes BuildPfb(const std::string& clearText, uint32_t declaredLength = UINT32_MAX);
// A Type 1 clear text with the given keys, between "%!PS-AdobeFont-1.0" and "eexec".
std::string Type1ClearText(const std::string& keys);
Bytes MinimalPfm();

Bytes ReadFile(const std::wstring& path);
// A copy of a font file with every "DejaVu" (in ASCII and in UTF-16BE) replaced by a six-letter
// tag, so that no offset moves: a font no one else has installed. False when the source is
// missing or the tag is not six letters.
bool WriteTaggedDejaVu(const std::wstring& source, const std::wstring& target, const std::string& tag);
void WriteFile(const std::wstring& path, const Bytes& bytes);

// `count` copies of the small variable font of the reader tests in `folder`, "f0.ttf" on, each
// with a family name of its own ("Orvel V00", "Orvel V01", ...): GDI loads one face per name,
// so only copies named apart load privately side by side. At most 100.
std::vector<std::wstring> MakeRenamedFontCopies(const std::wstring& folder, int count);

}  // namespace sfnt_test
