// The Install page of the options sheet (template 1005): installing from network drives
// without asking, the count confirmations for lists and groups and their threshold. Reads
// `Preferences` when it initialises and writes it on Apply.
#pragma once

#include "common/CHelpPropertyPage.h"
#include "common/ResourceIds.h"

class CPrefPageInstall : public CHelpPropertyPage<CPrefPageInstall> {
public:
  enum { IDD = IDD_PREF_INSTALL };

  int OnApply();

  BEGIN_MSG_MAP(CPrefPageInstall)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_HANDLER(IDC_PREF_REMOTE_DRIVES, BN_CLICKED, OnChange)
    COMMAND_HANDLER(IDC_PREF_THRESHOLD, EN_CHANGE, OnChange)
    COMMAND_HANDLER(IDC_PREF_CONFIRM_LIST, BN_CLICKED, OnConfirmClicked)
    COMMAND_HANDLER(IDC_PREF_CONFIRM_GROUP, BN_CLICKED, OnConfirmClicked)
    CHAIN_MSG_MAP(CHelpPropertyPage<CPrefPageInstall>)
  END_MSG_MAP()

private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnChange(WORD, WORD, HWND, BOOL&);
  LRESULT OnConfirmClicked(WORD, WORD, HWND, BOOL&);

  bool loading_ = false;
};
