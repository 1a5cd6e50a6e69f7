// The Folders page of the options sheet (template 1003): the font case folder, typed or chosen
// with the folder picker. Apply refuses an empty, relative or drive-relative folder and the
// system Fonts folder, offers to create a missing folder and reports a failed creation, keeping
// the page open in each case; it then writes "FontCaseRoot" into `Preferences`.
#pragma once

#include "common/CBmpButton.h"
#include "common/CHelpPropertyPage.h"
#include "common/ResourceIds.h"

class CPrefPageFolders : public CHelpPropertyPage<CPrefPageFolders> {
public:
  enum { IDD = IDD_PREF_FOLDERS };

  int OnApply();
  // Set when a folder was chosen in the picker or created: the folder tree must be refreshed.
  bool FolderTreeNeedsRefresh() const { return refreshFolderTree_; }

  BEGIN_MSG_MAP(CPrefPageFolders)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_HANDLER(IDC_PREF_FONT_CASE, EN_CHANGE, OnChange)
    COMMAND_ID_HANDLER(IDC_PREF_FONT_CASE_LABEL, OnChange)
    COMMAND_ID_HANDLER(IDC_PREF_FONT_CASE_NOTE, OnChange)
    COMMAND_ID_HANDLER(IDC_PREF_BROWSE_FONT_CASE, OnBrowse)
    CHAIN_MSG_MAP(CHelpPropertyPage<CPrefPageFolders>)
  END_MSG_MAP()

private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnChange(WORD, WORD, HWND, BOOL&);
  LRESULT OnBrowse(WORD, WORD, HWND, BOOL&);

  CBmpButton browse_;
  bool refreshFolderTree_ = false;
  bool loading_ = false;
};
