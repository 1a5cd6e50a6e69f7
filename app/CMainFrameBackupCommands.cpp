// The main frame's copies of font files and group files: the font files copy (201), the groups
// backup (178) and restore (179), and the relocation of the groups' font paths (194).
#include "app/CMainFrame.h"

#include "app/AppState.h"
#include "app/Preferences.h"
#include "groups/CGroupsRestoreDlg.h"
#include "groups/CImportExportDlg.h"
#include "groups/CXmlRelocateFontsDlg.h"
#include "groups/GroupsBackup.h"

void CMainFrame::OnFilesBackup(UINT, int, HWND) {
  CImportExportDlg dialog;
  dialog.DoModal(::GetActiveWindow());
}

void CMainFrame::OnGroupsBackup(UINT, int, HWND) { ChooseGroupsBackupFolder(); }

void CMainFrame::OnGroupsRestore(UINT, int, HWND) {
  CGroupsRestoreDlg dialog;
  dialog.DoModal(::GetActiveWindow());
}

// Whatever the user did in it, the groups tree shows the files as they are afterwards.
void CMainFrame::OnGroupsRelocate(UINT, int, HWND) {
  CXmlRelocateFontsDlg dialog(std::wstring(), g_Preferences.FontCaseRoot);
  dialog.DoModal(m_hWnd);
  if (::IsWindow(g_AppState.GroupsTree.m_hWnd)) g_AppState.GroupsTree.Reload();
}
