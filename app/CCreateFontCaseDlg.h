// The font case folder dialog of a first start (template 1077): an edit with the folder, a
// browse button and OK. There is no cancel: only OK with an acceptable folder ends it, and it
// writes "FontCaseRoot" before it ends.
#pragma once

#include <string>

#include "common/CBmpButton.h"
#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"

// Why a typed folder cannot become the font case: a drive root, the system Fonts folder, or a
// path that is not absolute ("Fonts", "C:", "\Fonts").
bool IsRefusedFontCaseFolder(const std::wstring& folder, const std::wstring& systemFontsFolder);

class CCreateFontCaseDlg : public orv::CDialogImpl<CCreateFontCaseDlg> {
public:
  enum { IDD = IDD_CREATE_FONT_CASE };

  const std::wstring& Folder() const { return folder_; }

  BEGIN_MSG_MAP(CCreateFontCaseDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_HELP, OnHelp)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDC_FONT_CASE_BROWSE, OnBrowse)
  END_MSG_MAP()

private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnHelp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnOK(WORD, WORD, HWND, BOOL&);
  LRESULT OnBrowse(WORD, WORD, HWND, BOOL&);

  std::wstring folder_;
  CBmpButton browse_;
};
