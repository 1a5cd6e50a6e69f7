// The main frame's command that opens the group checks window (250): an open one comes to the
// top, otherwise a new one is made, without an owner window.
#include "app/CMainFrame.h"

#include "groups/CGroupChecksDlg.h"

void CMainFrame::OnToolsGroupChecks(UINT, int, HWND) {
  OpenToolWindow<CGroupChecksDlg>(tools_, ToolWindowId::GroupChecksDlg);
}
