// CPrintAbortDlg: the modeless dialog shown while a print job spools: the page being printed,
// the printer, and Cancel, which sets the job's cancel flag (the job sees it when it pumps
// messages after each page). Created and destroyed by CPrintFontSet; main thread only.
#pragma once

#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"

class CPrintAbortDlg : public orv::CDialogImpl<CPrintAbortDlg> {
public:
  enum { IDD = IDD_PRINT_ABORT };

  explicit CPrintAbortDlg(bool* cancelFlag) : cancel_(cancelFlag) {}

  void SetPage(int page) const { ::SetDlgItemInt(m_hWnd, IDC_ABORT_PAGE, static_cast<UINT>(page), TRUE); }
  void SetPrinter(const wchar_t* name) const { ::SetDlgItemTextW(m_hWnd, IDC_ABORT_PRINTER, name); }

  BEGIN_MSG_MAP(CPrintAbortDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
  END_MSG_MAP()

private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);

  bool* cancel_;
};

// The note after a finished job (template 1045), modal over its owner; any button ends it.
class CPrintDoneDlg : public orv::CDialogImpl<CPrintDoneDlg> {
public:
  enum { IDD = IDD_PRINT_DONE };

  BEGIN_MSG_MAP(CPrintDoneDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_RANGE_HANDLER(IDOK, IDNO, OnButton)
  END_MSG_MAP()

private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnButton(WORD, WORD id, HWND, BOOL&) {
    EndDialog(id);
    return 0;
  }
};
