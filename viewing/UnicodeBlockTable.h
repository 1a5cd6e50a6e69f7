// The process-wide table of Unicode blocks: OS/2 Unicode-range bit, position in the search
// filter's range list, first and last code point, name. Loaded once on the main thread from a
// text resource of the resource library; read-only afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class UnicodeBlockTable {
public:
  struct Row {
    uint8_t rangeBit;
    uint8_t listPosition;  // 127: not listed
    uint32_t first;
    uint32_t last;
    std::wstring name;
  };

  // Reads RCDATA 733 of the resource library in place of the rows held; false (and an empty
  // table) when it is missing.
  bool Load();
  // Parses the whole resource text: lines split at CR/LF runs, "#" lines skipped.
  void LoadFromUtf8(std::string_view text);
  // One line "bit|position|first|last|name"; runs of "|" count as one separator.
  void ParseLine(std::wstring_view line);

  // The first row's name for this bit; empty for bit >= 127 or when no row carries it.
  std::wstring NameOfRangeBit(int32_t bit) const;
  // The first row whose range holds the code point (both ends inclusive).
  std::wstring NameOfCodePoint(uint32_t codePoint) const;

  const std::vector<Row>& Rows() const { return rows_; }
  void Clear() { rows_.clear(); }

private:
  std::vector<Row> rows_;
};
