// The File page of the Type 1 property sheet (template 1030): type icon, folder, the ".pfm"
// and ".pfb" file names and sizes, attributes and dates of the ".pfb". Reads the file system
// through the sheet's reader (not owned) when it initialises; as the first page it also leaves
// the sheet a single Close button.
#pragma once

#include "common/ResourceIdsProperties.h"
#include "framework/Handles.h"
#include "viewing/CFontPropertyPage.h"

class FontFileReader;

class CPropPageFilesT1 : public CFontPropertyPage<CPropPageFilesT1> {
public:
  enum { IDD = IDD_PROP_T1_FILES };

  explicit CPropPageFilesT1(FontFileReader* reader) : reader_(reader) {}

  void OnInitDialog();

private:
  FontFileReader* reader_;
  orv::ScopedIcon icon_;
};
