// CFontPropertiesT1: the property sheet of a Type 1 font (".pfm" with its ".pfb"), three
// pages that read what they show when they initialise, through the caller's reader (not
// owned), which must stay alive until the sheet is destroyed. Main thread only.
#pragma once

#include "app/CTreePropertySheet.h"
#include "viewing/CPropPageDescT1.h"
#include "viewing/CPropPageFilesT1.h"
#include "viewing/CPropPageNameT1.h"

class FontFileReader;

class CFontPropertiesT1 : public CTreePropertySheet {
public:
  static constexpr int kTreeWidth = 180;

  explicit CFontPropertiesT1(FontFileReader& reader);

  FontFileReader* m_reader;
  CPropPageFilesT1 m_pageFiles;
  CPropPageNameT1 m_pageName;
  CPropPageDescT1 m_pageDesc;
};
