#include "search/CSearchFilterPropSheet.h"

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "viewing/LoadUnicodeCharName.h"

CSearchFilterPropSheet::CSearchFilterPropSheet(const SearchFilter& filter)
    : filter_(filter),
      charNames_(LoadCharNameLibrary()),
      m_pageGlyphs(&filter_, charNames_.Get()),
      m_pageRanges(&filter_, g_AppState.BlockTable),
      m_pageTypes(&filter_) {
  m_psh.dwFlags |= PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP;
  SetTitle(LoadResString(IDS_SEARCH_FILTER_TITLE).c_str());
  SetTreeWidth(kTreeWidth);
  AddPage(kLevelItem, m_pageGlyphs);
  AddPage(kLevelItem, m_pageRanges);
  AddPage(kLevelItem, m_pageTypes);
}

void CSearchFilterPropSheet::OnInitialized() {
  HWND tree = PageTree();
  m_pageGlyphs.SetTreeItem(tree, TreeItemOf(0));
  m_pageRanges.SetTreeItem(tree, TreeItemOf(1));
  m_pageTypes.SetTreeItem(tree, TreeItemOf(2));
}
