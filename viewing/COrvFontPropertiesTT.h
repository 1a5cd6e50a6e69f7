// COrvFontPropertiesTT: the property sheet of one TrueType/OpenType face (seven pages, six for
// a named instance of a variable font, which has no PANOSE page). It reads everything its
// pages show from the font's tables once, while it is built (LoadFontTables), into the pages'
// values; only the File page goes back to the file system. The caller's reader (not owned)
// must stay alive and unchanged until the sheet is destroyed. Built on the caller's stack,
// run with DoModal, main thread only.
#pragma once

#include "app/CTreePropertySheet.h"
#include "viewing/COrvPropPageCPCharMap.h"
#include "viewing/COrvPropPageDesc.h"
#include "viewing/COrvPropPageFile.h"
#include "viewing/COrvPropPageNames.h"
#include "viewing/COrvPropPagePanose.h"
#include "viewing/COrvPropPageVendor.h"
#include "viewing/COrvPropPageVersion.h"

class FontFileReader;

class COrvFontPropertiesTT : public CTreePropertySheet {
public:
  static constexpr int kTreeWidth = 200;

  explicit COrvFontPropertiesTT(FontFileReader& reader);

  // Fills the pages' values from the face's tables; a face that cannot be located or opened
  // leaves every page but File empty, a missing or short table its own values.
  void LoadFontTables();

  FontFileReader* m_reader;
  COrvPropPageFile m_pageFile;
  COrvPropPageNames m_pageNames;
  COrvPropPageVendor m_pageVendor;
  COrvPropPageDesc m_pageDesc;
  COrvPropPageVersion m_pageVersion;
  COrvPropPageCPCharMap m_pageCPCharMap;
  COrvPropPagePanose m_pagePanose;
};
