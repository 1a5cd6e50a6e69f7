// The code-page page of the TrueType/OpenType property sheet (template 1026): the encoding of
// the font's name records, the code pages of OS/2 ulCodePageRange and the Unicode blocks of
// OS/2 ulUnicodeRange (names from the Unicode block table). Values from the sheet's loader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/ResourceIdsProperties.h"
#include "viewing/CFontPropertyPage.h"

class UnicodeBlockTable;

class COrvPropPageCPCharMap : public CFontPropertyPage<COrvPropPageCPCharMap> {
public:
  enum { IDD = IDD_PROP_CPCHARMAP };

  // "Windows Unicode BMP" and the like for a name record's platform and encoding.
  static std::wstring EncodingText(uint16_t platformId, uint16_t encodingId);
  // The names of the set code-page bits in bit order; a bit without a name shows its number.
  static std::vector<std::wstring> CodePageNames(uint32_t range1, uint32_t range2);
  // The block names of the set Unicode-range bits in bit order (bits without a name left out).
  static std::vector<std::wstring> RangeNames(const uint32_t (&ranges)[4], const UnicodeBlockTable& table);

  void OnInitDialog();

  uint16_t platformId = 0;
  uint16_t encodingId = 0;
  uint16_t os2Version = 0;
  uint32_t unicodeRange[4] = {};
  uint32_t codePageRange[2] = {};
};
