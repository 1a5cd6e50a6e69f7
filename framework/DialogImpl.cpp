#include "framework/DialogImpl.h"

#include <prsht.h>

namespace orv {

namespace {
thread_local CDialogImplRoot* t_creatingDialog = nullptr;

// Messages whose result a dialog procedure returns itself instead of through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT msg) {
  switch (msg) {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
      return true;
    default:
      return false;
  }
}
}  // namespace

INT_PTR CDialogImplRoot::DoModalImpl(int templateId, HWND parent, LPARAM initParam) {
  if (m_hWnd) return -1;
  CDialogImplRoot* const previous = t_creatingDialog;
  t_creatingDialog = this;
  const INT_PTR result = ::DialogBoxParamW(g_Module.GetResourceInstance(), MAKEINTRESOURCEW(templateId), parent,
                                           &CDialogImplRoot::DialogProc, initParam);
  t_creatingDialog = previous;
  return result;
}

HWND CDialogImplRoot::CreateImpl(int templateId, HWND parent, LPARAM initParam) {
  if (m_hWnd) return nullptr;
  CDialogImplRoot* const previous = t_creatingDialog;
  t_creatingDialog = this;
  HWND wnd = ::CreateDialogParamW(g_Module.GetResourceInstance(), MAKEINTRESOURCEW(templateId), parent,
                                  &CDialogImplRoot::DialogProc, initParam);
  t_creatingDialog = previous;
  if (!wnd) m_hWnd = nullptr;
  return wnd;
}

INT_PTR CDialogImplRoot::DispatchDialog(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  const HWND wnd = m_hWnd;
  const BOOL handled = RunMessageMap(msg, wp, lp, result);

  if (msg == WM_NCDESTROY) {
    Unbind(wnd);
    m_hWnd = nullptr;
    OnFinalMessage(wnd);
    return handled;
  }
  if (!handled) return FALSE;
  if (ReturnsResultDirectly(msg)) return static_cast<INT_PTR>(result);
  ::SetWindowLongPtrW(wnd, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK CDialogImplRoot::DialogProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<CDialogImplRoot*>(FromHandle(wnd));
  if (!self) {
    self = t_creatingDialog;
    if (!self) return FALSE;
    t_creatingDialog = nullptr;
    self->Bind(wnd);
  }
  return self->DispatchDialog(msg, wp, lp);
}

INT_PTR CALLBACK CDialogImplRoot::PageDialogProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<CDialogImplRoot*>(FromHandle(wnd));
  if (!self) {
    if (msg != WM_INITDIALOG || !lp) return FALSE;
    self = reinterpret_cast<CDialogImplRoot*>(reinterpret_cast<const PROPSHEETPAGEW*>(lp)->lParam);
    if (!self) return FALSE;
    self->Bind(wnd);
  }
  return self->DispatchDialog(msg, wp, lp);
}

}  // namespace orv
