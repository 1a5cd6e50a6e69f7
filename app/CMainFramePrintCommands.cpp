// The main frame's printing and export commands: page setup (170) and save font images (285).
#include "app/CMainFrame.h"

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
