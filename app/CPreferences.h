// CPreferences: the options sheet of command 141, four pages in a tree (View, Colors, Install,
// Folders) that edit the global `Preferences`. Apply and OK write the pages' values into the
// record at once and raise its changed flag when a value differs; storing the record and
// refreshing the windows is the caller's work after OK (the two flags below say what). Built
// on the caller's stack for one run, main thread only.
#pragma once

#include "app/CPrefPageColors.h"
#include "app/CPrefPageFolders.h"
#include "app/CPrefPageInstall.h"
#include "app/CPrefPageView.h"
#include "app/CTreePropertySheet.h"

class CPreferences : public CTreePropertySheet {
public:
  static constexpr int kTreeWidth = 200;

  CPreferences();

  bool FolderTreeNeedsRefresh() const { return m_pageFolders.FolderTreeNeedsRefresh(); }
  bool ListsNeedRebuilding() const { return m_pageView.ListsNeedRebuilding(); }

  CPrefPageView m_pageView;
  CPrefPageColors m_pageColors;
  CPrefPageInstall m_pageInstall;
  CPrefPageFolders m_pageFolders;
};
