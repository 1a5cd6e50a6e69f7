// The search filter: characters every found font must have (or must all lack), OS/2 Unicode
// ranges it must declare (or the demand that it be a symbol font), and font kinds. One record
// of exactly 168 bytes, kept byte for byte as the REG_BINARY value "SearchFilter" of the Prefs
// key, which exists exactly while the record has content.
//
// A plain value: the search dialog owns one, the filter sheet edits a copy, the search worker
// reads the dialog's copy while the controls that change it are disabled.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

struct SearchFilter {
  static constexpr size_t kMaxCharacters = 64;
  static constexpr int kKindCount = 6;
  static constexpr uint16_t kKindsSelected = 255;  // the kind switch when a kind is chosen
  static constexpr uint32_t kRangeBits = 128;

  // Font kinds, numbered as stored: entry k-1 of `kinds` holds k when kind k is chosen.
  enum Kind : uint16_t {
    kType1 = 1,
    kTrueTypeNoDsig = 2,
    kTrueTypeOutlines = 3,
    kOpenTypeCff = 4,
    kCollectionFace = 5,
    kVariable = 6,
  };

  uint8_t glyphMode = 1;   // 1: every character present; 0: every character absent
  uint8_t symbolMode = 0;  // non-zero: a symbol font is asked for, the range mask is not read
  uint16_t padding = 0;
  uint32_t rangeMask[4] = {};                // bit n of the mask: OS/2 Unicode-range bit n
  wchar_t characters[kMaxCharacters] = {};   // U+0020..U+FFFF, ends at the first 0 when shorter
  uint16_t kindSwitch = 0;                   // kKindsSelected when any kind is chosen
  uint16_t kinds[kKindCount] = {};
  uint8_t reserved[6] = {};

  // Content: a character, a range bit, symbol mode or a chosen kind. The glyph mode alone is none.
  bool HasContent() const;
  // The listed characters: up to the first 0, at most 64.
  std::wstring Characters() const;
  void SetCharacters(const std::wstring& text);
  bool HasRangeBit(uint32_t bit) const;
  void SetRangeBit(uint32_t bit);
  bool HasKind(int kind) const;

  // The stored record over the defaults: what the value holds replaces the leading bytes (a
  // shorter value only its own; a missing key or value leaves the defaults).
  static SearchFilter Load();
  // Writes the record, or deletes the value when it has no content. False when the Prefs key
  // cannot be opened for writing or the write fails; nothing is stored then.
  bool Store() const;

  bool operator==(const SearchFilter&) const = default;
};

static_assert(sizeof(wchar_t) == 2);
static_assert(sizeof(SearchFilter) == 168);
static_assert(offsetof(SearchFilter, symbolMode) == 1);
static_assert(offsetof(SearchFilter, rangeMask) == 4);
static_assert(offsetof(SearchFilter, characters) == 20);
static_assert(offsetof(SearchFilter, kindSwitch) == 148);
static_assert(offsetof(SearchFilter, kinds) == 150);
static_assert(offsetof(SearchFilter, reserved) == 162);

inline constexpr wchar_t kSearchFilterValue[] = L"SearchFilter";
