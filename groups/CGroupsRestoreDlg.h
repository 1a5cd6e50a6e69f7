// CGroupsRestoreDlg: copies the group files of a backup folder back into the groups folder
// (the shell asks before it replaces each one), then optionally clears the installed marks of
// every restored group and goes on to the relocation of font paths (command 194). Modal
// (template 1079), opened by the main window's command 179. Main thread only.
#pragma once

#include "common/CBmpButton.h"
#include "common/CDialogHelp.h"
#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"
#include "framework/MessageCrackers.h"

class CGroupsRestoreDlg : public orv::CDialogImpl<CGroupsRestoreDlg>, public CDialogHelp<CGroupsRestoreDlg> {
public:
  enum { IDD = IDD_GROUPS_RESTORE };

  BEGIN_MSG_MAP(CGroupsRestoreDlg)
    MSG_WM_INITDIALOG(OnInitDialog)
    CHAIN_MSG_MAP(CDialogHelp<CGroupsRestoreDlg>)
    COMMAND_ID_HANDLER_EX(IDC_RESTORE_BROWSE, OnBrowse)
    COMMAND_ID_HANDLER_EX(IDOK, OnOK)
    COMMAND_ID_HANDLER_EX(IDCANCEL, OnCancel)
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  void OnBrowse(UINT, int, HWND);
  void OnOK(UINT, int, HWND);
  void OnCancel(UINT, int, HWND) { EndDialog(IDCANCEL); }

  CBmpButton browse_;
};
