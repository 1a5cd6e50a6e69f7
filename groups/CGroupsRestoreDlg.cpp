#include "groups/CGroupsRestoreDlg.h"

#include "app/AppState.h"
#include "app/COrvBrowseFolderDialog.h"
#include "app/Preferences.h"
#include "common/AppMessageBox.h"
#include "common/HelpRequest.h"
#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "groups/FontFileOperation.h"
#include "groups/GroupFileNotices.h"
#include "groups/GroupFileTree.h"
#include "groups/GroupNames.h"
#include "groups/GroupsBackup.h"

BOOL CGroupsRestoreDlg::OnInitDialog(HWND, LPARAM) {
  browse_.SetShellFolderIcon(GetDlgItem(IDC_RESTORE_BROWSE), L"C:\\DefDirIcon", FILE_ATTRIBUTE_DIRECTORY);
  SetDlgItemText(IDC_RESTORE_SOURCE, ReadGroupsBackupPath().c_str());
  SetDlgItemText(IDC_RESTORE_FONT_CASE, g_Preferences.FontCaseRoot.c_str());
  return TRUE;
}

void CGroupsRestoreDlg::OnBrowse(UINT, int, HWND) {
  std::wstring current;
  GetDlgItemString(m_hWnd, IDC_RESTORE_SOURCE, current);
  COrvBrowseFolderDialog picker(current);
  picker.prompt = LoadResString(IDS_GROUPS_RESTORE_CAPTION);
  if (picker.DoModal(::GetActiveWindow()) == IDOK && !picker.ChosenFolder().empty())
    SetDlgItemText(IDC_RESTORE_SOURCE, picker.ChosenFolder().c_str());
}

void CGroupsRestoreDlg::OnOK(UINT, int, HWND) {
  std::wstring source;
  GetDlgItemString(m_hWnd, IDC_RESTORE_SOURCE, source);
  if (RefuseGroupsFolder(source, IDS_GROUPS_RESTORE_CAPTION)) return;
  HWND main = GetAppShell().MainWindow;
  FontFileOperation copy;
  copy.m_owner = m_hWnd;
  const bool copied = copy.CopyGroupFiles(source, g_Preferences.GroupsFolder, IDS_GROUPS_RESTORE_CAPTION);
  if (copied) {
    if (::IsDlgButtonChecked(m_hWnd, IDC_RESTORE_CLEAR_MARKS) == BST_CHECKED) SetGroupTreeInstalled(kRootGroupFile, false);
    if (::IsDlgButtonChecked(m_hWnd, IDC_RESTORE_RELOCATE) == BST_CHECKED) {
      // The relocation reloads the groups tree when it closes.
      if (main) ::PostMessageW(main, WM_COMMAND, ID_GROUPS_RELOCATE, 0);
      EndDialog(IDOK);
      return;
    }
  }
  if (::IsWindow(g_AppState.GroupsTree.m_hWnd)) g_AppState.GroupsTree.Reload();
  if (copied) EndDialog(IDOK);
}
