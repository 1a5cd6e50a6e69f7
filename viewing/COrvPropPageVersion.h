// The Version page of the TrueType/OpenType property sheet (template 1027): version string,
// font revision, the creation and modification dates of 'head', glyph count, embedding rights
// and a list of features (signature, outlines, monospacing, vertical layout, bitmaps, colour
// glyphs, named instances, optical sizes). The values are filled by the sheet's loader.
#pragma once

#include <windows.h>
#include <cstdint>
#include <string>

#include "common/ResourceIdsProperties.h"
#include "viewing/CFontPropertyPage.h"

class COrvPropPageVersion : public CFontPropertyPage<COrvPropPageVersion> {
public:
  enum { IDD = IDD_PROP_VERSION };

  // "1.050": head.fontRevision (16.16) with three decimals, rounded; a fraction that rounds
  // up to a whole carries into the integer part.
  static std::wstring RevisionText(int32_t fontRevision);
  // A 'head' date (seconds since 1904-01-01 00:00 UTC) in UTC; false when out of range.
  static bool HeadDateToUtc(uint32_t high, uint32_t low, SYSTEMTIME& out);
  // The date in local time, as FormatDateTime writes it, with an upper-case first letter.
  static std::wstring HeadDateText(uint32_t high, uint32_t low);
  // The embedding rights of OS/2 fsType from the six names of string 14001.
  static std::wstring EmbeddingText(uint16_t fsType);
  // PANOSE says monospaced: a Latin family kind 2 to 5 whose proportion digit is monospaced.
  static bool PanoseSaysMonospaced(const uint8_t (&panose)[10]);
  // The feature lines, each followed by "\r\n".
  std::wstring FeaturesText() const;

  void OnInitDialog();

  std::wstring version;        // name ID 5
  int32_t fontRevision = 0;    // 16.16
  uint32_t created[2] = {};    // high, low
  uint32_t modified[2] = {};
  uint16_t numGlyphs = 0;
  bool hasDsig = false;
  bool hasCff = false;
  bool verticalLayout = false;
  bool hasEbdt = false;
  bool hasSvg = false;
  bool hasFvar = false;
  uint16_t instanceCount = 0;
  uint8_t panose[10] = {};
  TEXTMETRICW metrics{};
  bool haveMetrics = false;    // metrics holds the display font's text metrics
  uint16_t fsType = 0;
  uint16_t os2Version = 0;
  uint16_t lowerOpticalSize = 0;
  uint16_t upperOpticalSize = 0;
};
