#include "printing/CPrintAbortDlg.h"

LRESULT CPrintAbortDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  CenterWindow();
  return TRUE;
}

LRESULT CPrintAbortDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
  if (cancel_) *cancel_ = true;
  return 0;
}

LRESULT CPrintAbortDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
  DestroyWindow();
  return 0;
}

LRESULT CPrintDoneDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  CenterWindow();
  return TRUE;
}
