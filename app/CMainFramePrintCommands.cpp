// The main frame's printing and export commands: page setup (170) and save font images (285).
#include "app/CMainFrame.h"

#include <commctrl.h>

#include "printing/CPrintFontSet.h"
#include "printing/FontImageExport.h"

LRESULT CMainFrame::OnPageSetup(WORD, WORD, HWND, BOOL&) {
  CPrintFontSet job;
  if (!job.RunPageSetup()) return 0;
  if (CToolWindow* sheets = tools_.Get(ToolWindowId::FontSheetFrame)) sheets->OnPageSetupChanged();
  return 0;
}

LRESULT CMainFrame::OnSaveFontImages(WORD, WORD, HWND, BOOL&) {
  SaveFontImages(panes_.m_samplePane.Sample());
  return 0;
}

// There is something to save while the sample pane shows a font with a name and its list still
// has a selected row that is a readable font file (not an EUDC font).
bool CMainFrame::HasFontImagesToSave() const {
  const CSampleWindow& sample = panes_.m_samplePane.Sample();
  const COrvelListView* list = sample.SourceList();
  if (!sample.HasFont() || !list || !list->m_hWnd) return false;
  for (int row = -1; (row = ListView_GetNextItem(list->m_hWnd, row, LVNI_SELECTED)) >= 0;) {
    const FontItem* record = list->GetRecordAt(row);
    if (record && !record->HasFlag(font_flags::kUnreadable | font_flags::kEudc)) return true;
  }
  return false;
}
