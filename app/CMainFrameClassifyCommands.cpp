// The main frame's font classification (295): the dialog that builds groups by family class,
// PANOSE kind and initial, and the system font sets.
#include "app/CMainFrame.h"

#include "groups/CFontClassificationsDlg.h"

void CMainFrame::OnGroupsClassify(UINT, int, HWND) {
  CFontClassificationsDlg dialog;
  dialog.DoModal(m_hWnd);
}
