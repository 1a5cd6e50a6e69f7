// The Name page of the Type 1 property sheet (template 1031): full and family name, weight and
// italic angle, monospacing, unique identifier and PostScript name, read from the clear-text
// header of the ".pfb" file through the sheet's reader (not owned) when the page initialises.
#pragma once

#include <string>

#include "common/ResourceIdsProperties.h"
#include "viewing/CFontPropertyPage.h"

class FontFileReader;

class CPropPageNameT1 : public CFontPropertyPage<CPropPageNameT1> {
public:
  enum { IDD = IDD_PROP_T1_NAME };

  explicit CPropPageNameT1(FontFileReader* reader) : reader_(reader) {}

  // "Bold / angle: -12 °" from the header's /Weight and /ItalicAngle (missing ones empty).
  static std::wstring WeightAndAngle(const std::wstring& header);

  void OnInitDialog();

private:
  FontFileReader* reader_;
};
