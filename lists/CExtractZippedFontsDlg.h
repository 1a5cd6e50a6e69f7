// CExtractZippedFontsDlg: copies every font the folder fonts list shows from a zip folder (the
// copies the list unpacked into the temporary folder) into an ordinary folder the user picks,
// by default a folder named like the zip file beside it. Modal (template 0x433), built on the
// stack by CFolderTreeView::RunExtractZippedFonts. A destination that is empty or not a full
// path is refused with a message, a copy that fails is reported, and in both cases the dialog
// stays open for another destination or Cancel. Main thread only.
#pragma once

#include <string>

#include "common/CBmpButton.h"
#include "common/CDialogHelp.h"
#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"
#include "framework/MessageCrackers.h"

// The folder that the fonts of a zip item go to by default: the zip file's path without its
// extension, followed by the part of the item's path after the zip file ("D:\f\pack.zip\sub"
// in "D:\f\pack.zip" gives "D:\f\pack\sub"). Empty when the item is not inside that zip file.
[[nodiscard]] std::wstring DefaultExtractDestination(const std::wstring& itemPath, const std::wstring& zipPath);

class CExtractZippedFontsDlg : public orv::CDialogImpl<CExtractZippedFontsDlg>, public CDialogHelp<CExtractZippedFontsDlg> {
public:
  enum { IDD = IDD_EXTRACT_ZIPPED_FONTS };

  // After IDOK: where the fonts went, and whether the user wants to see that folder.
  const std::wstring& Destination() const { return destination_; }
  bool ShowDestination() const { return showDestination_; }

  BEGIN_MSG_MAP(CExtractZippedFontsDlg)
    MSG_WM_INITDIALOG(OnInitDialog)
    CHAIN_MSG_MAP(CDialogHelp<CExtractZippedFontsDlg>)
    COMMAND_ID_HANDLER_EX(IDC_EXTRACT_BROWSE, OnBrowse)
    COMMAND_ID_HANDLER_EX(IDOK, OnOK)
    COMMAND_ID_HANDLER_EX(IDCANCEL, OnCancel)
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  void OnBrowse(UINT, int, HWND);
  void OnOK(UINT, int, HWND);
  void OnCancel(UINT, int, HWND) { EndDialog(IDCANCEL); }

  // Copies the list's fonts into the destination; false (after telling the user) when they
  // were not all copied.
  bool CopyFonts();
  void Refuse(UINT textId, DWORD error = 0);

  CBmpButton browse_;
  std::wstring destination_;
  bool showDestination_ = false;
};
