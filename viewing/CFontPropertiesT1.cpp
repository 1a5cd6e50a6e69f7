#include "viewing/CFontPropertiesT1.h"

#include "fonts/FontFileReader.h"

CFontPropertiesT1::CFontPropertiesT1(FontFileReader& reader)
    : m_reader(&reader), m_pageFiles(&reader), m_pageName(&reader), m_pageDesc(&reader) {
  m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_HASHELP | PSH_NOCONTEXTHELP;
  AddPage(kLevelItem, m_pageFiles);
  AddPage(kLevelItem, m_pageName);
  AddPage(kLevelItem, m_pageDesc);
  SetTreeWidth(kTreeWidth);
  SetFocusPageOnTreeClick(false);
  SetTitle(reader.FullName().c_str());
}
