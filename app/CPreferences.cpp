#include "app/CPreferences.h"

#include "common/ResString.h"

CPreferences::CPreferences() {
  m_psh.dwFlags |= PSH_NOCONTEXTHELP | PSH_HASHELP;
  SetTreeWidth(kTreeWidth);
  SetSheetBannerText(LoadResString(IDS_CAPTION_APP));
  SetTitle(LoadResString(IDS_OPTIONS_TITLE).c_str());
  AddPage(kLevelItem, m_pageView);
  AddPage(kLevelItem, m_pageColors);
  AddPage(kLevelItem, m_pageInstall);
  AddPage(kLevelItem, m_pageFolders);
}
