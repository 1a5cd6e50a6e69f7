// The Description page of the Type 1 property sheet (template 1032): version, copyright and
// notice from the clear-text header of the ".pfb" file, read through the sheet's reader (not
// owned) when the page initialises.
#pragma once

#include "common/ResourceIdsProperties.h"
#include "viewing/CFontPropertyPage.h"

class FontFileReader;

class CPropPageDescT1 : public CFontPropertyPage<CPropPageDescT1> {
public:
  enum { IDD = IDD_PROP_T1_DESCRIPTION };

  explicit CPropPageDescT1(FontFileReader* reader) : reader_(reader) {}

  void OnInitDialog();

private:
  FontFileReader* reader_;
};
