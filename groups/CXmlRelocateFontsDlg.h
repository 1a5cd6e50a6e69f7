// CXmlRelocateFontsDlg: rewrites the font paths stored in group files after fonts moved: a font
// path that lies in an old folder gets a new folder in its place, in the selected group alone or
// in every group from the root down. Only font paths change; node paths, names and marks stay. Modal
// (template 1078), opened by the main window's command 194, which reloads the groups tree when
// it closes. Main thread only.
#pragma once

#include <windows.h>

#include <string>

#include "common/CBmpButton.h"
#include "common/CDialogHelp.h"
#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"
#include "framework/MessageCrackers.h"

class FontGroup;

// `path` with `oldFolder` at its start replaced by `newFolder`: only a whole leading folder,
// ending at a path separator, compared without regard to case; a trailing backslash of either
// folder makes no difference. Each half of a Type 1 entry ("x.pfm|x.pfb") is its own path.
// True in `changed` when the path is different afterwards.
std::wstring RelocateFontPath(const std::wstring& path, const std::wstring& oldFolder, const std::wstring& newFolder,
                              bool& changed);

// Relocates the font entries of one loaded group; the number of entries changed.
int RelocateGroupFonts(FontGroup& group, const std::wstring& oldFolder, const std::wstring& newFolder);

class CXmlRelocateFontsDlg : public orv::CDialogImpl<CXmlRelocateFontsDlg>, public CDialogHelp<CXmlRelocateFontsDlg> {
public:
  enum { IDD = IDD_RELOCATE_FONTS };

  CXmlRelocateFontsDlg(std::wstring oldFolder, std::wstring newFolder)
      : oldFolder_(std::move(oldFolder)), newFolder_(std::move(newFolder)) {}

  // Entries changed by the last run (the tests read it).
  int ChangedCount() const { return changed_; }

  BEGIN_MSG_MAP(CXmlRelocateFontsDlg)
    MSG_WM_INITDIALOG(OnInitDialog)
    CHAIN_MSG_MAP(CDialogHelp<CXmlRelocateFontsDlg>)
    COMMAND_ID_HANDLER_EX(IDC_RELOCATE_OLD_BROWSE, OnBrowse)
    COMMAND_ID_HANDLER_EX(IDC_RELOCATE_NEW_BROWSE, OnBrowse)
    COMMAND_ID_HANDLER_EX(IDOK, OnOK)
    COMMAND_ID_HANDLER_EX(IDCANCEL, OnCancel)
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  void OnBrowse(UINT, int id, HWND);
  void OnOK(UINT, int, HWND);
  void OnCancel(UINT, int, HWND) { EndDialog(IDCANCEL); }

  void Run(const std::wstring& startFile);
  void SetStatus(int part, const std::wstring& text);
  void EnableControls(bool on);

  std::wstring oldFolder_;
  std::wstring newFolder_;
  bool allGroups_ = true;
  int changed_ = 0;
  CBmpButton oldBrowse_;
  CBmpButton newBrowse_;
  HWND statusBar_ = nullptr;  // a child window: destroyed with the dialog
};
