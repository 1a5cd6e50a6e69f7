#include "printing/CPrintAbortDlg.h"

void CenterOnOwner(HWND dialog) {
  HWND owner = ::GetWindow(dialog, GW_OWNER);
  if (!owner) owner = ::GetParent(dialog);
  RECT area{}, rc{};
  if (!owner || !::GetWindowRect(owner, &area)) ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  ::GetWindowRect(dialog, &rc);
  const int x = area.left + ((area.right - area.left) - (rc.right - rc.left)) / 2;
  const int y = area.top + ((area.bottom - area.top) - (rc.bottom - rc.top)) / 2;
  ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CPrintAbortDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  CenterOnOwner(m_hWnd);
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
  CenterOnOwner(m_hWnd);
  return TRUE;
}
