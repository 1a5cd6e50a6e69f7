// The main frame's commands that open the folder census (145) and the finder of folders with
// fonts (168): an open tool comes to the top, otherwise a new one is made.
#include "app/CMainFrame.h"

#include "lists/CCensusDlg.h"
#include "lists/CDirWithFontsDlg.h"

void CMainFrame::OnFontsCensus(UINT, int, HWND) { OpenToolWindow<CCensusDlg>(tools_, ToolWindowId::CensusDlg); }

void CMainFrame::OnFontsDirsWithFonts(UINT, int, HWND) {
  OpenToolWindow<CDirWithFontsDlg>(tools_, ToolWindowId::DirWithFontsDlg);
}
