// The File page of the TrueType/OpenType property sheet (template 1020): type icon, file and
// folder names, the collection a face belongs to, size, attributes and dates of the file. It
// reads the file system itself, through the sheet's reader (not owned), when it initialises;
// as the sheet's first page it also leaves the sheet a single Close button.
#pragma once

#include "common/ResourceIdsProperties.h"
#include "framework/Handles.h"
#include "viewing/CFontPropertyPage.h"

class FontFileReader;

class COrvPropPageFile : public CFontPropertyPage<COrvPropPageFile> {
public:
  enum { IDD = IDD_PROP_FILE };

  explicit COrvPropPageFile(FontFileReader* reader) : reader_(reader) {}

  // Image of bitmap 926 for the font: 0 a face of a collection, 1 OpenType (DSIG or CFF),
  // 2 any other sfnt font, 3 Type 1.
  static int TypeIconIndex(uint32_t flags);

  void OnInitDialog();

private:
  FontFileReader* reader_;
  orv::ScopedIcon icon_;
};

// Puts image `index` of bitmap 926 into control 600 of `page`; the icon is kept in `owner`.
void ShowTypeIcon(HWND page, int index, orv::ScopedIcon& owner);
