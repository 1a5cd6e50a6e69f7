// CDialogImpl<T>: a dialog from a template of the resource library (T::IDD), modal or
// modeless, bound to its object like CWindowImpl. Messages go to T's message map; a handled
// message's result is returned through DWLP_MSGRESULT. Modeless dialogs that want keyboard
// navigation register a message filter that calls IsDialogMessage.
#pragma once

#include <windows.h>

#include "framework/AppModule.h"
#include "framework/WindowImpl.h"

namespace orv {

class CDialogImplRoot : public CWindowImplRoot {
public:
  bool EndDialog(INT_PTR result) const noexcept { return ::EndDialog(m_hWnd, result) != FALSE; }
  bool IsDialogMessage(MSG* msg) const noexcept { return ::IsDialogMessageW(m_hWnd, msg) != FALSE; }
  HWND GotoDlgCtrl(HWND ctl) const noexcept {
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ctl), TRUE);
    return ctl;
  }

protected:
  INT_PTR DoModalImpl(int templateId, HWND parent, LPARAM initParam);
  HWND CreateImpl(int templateId, HWND parent, LPARAM initParam);

  static INT_PTR CALLBACK DialogProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  // For property pages: the object comes with WM_INITDIALOG, in the lParam of its PROPSHEETPAGEW.
  static INT_PTR CALLBACK PageDialogProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

private:
  INT_PTR DispatchDialog(UINT msg, WPARAM wp, LPARAM lp);
};

template <typename T, typename TBase = CDialogImplRoot>
class CDialogImpl : public TBase {
public:
  INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM initParam = 0) {
    return this->DoModalImpl(T::IDD, parent, initParam);
  }
  HWND Create(HWND parent, LPARAM initParam = 0) { return this->CreateImpl(T::IDD, parent, initParam); }
};

}  // namespace orv
