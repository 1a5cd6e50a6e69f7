// CDialogHelp<T>: the help of a dialog from template T::IDD. F1 (WM_HELP) and a click on the
// caption's help button open the help topic of its template number; the button's press is
// swallowed, its release asks for the topic. T chains its map to this one
// (CHAIN_MSG_MAP(CDialogHelp<T>)). Main thread only.
#pragma once

#include <windows.h>

#include "common/HelpRequest.h"
#include "framework/MessageMap.h"

template <typename T>
class CDialogHelp {
public:
  BEGIN_MIXIN_MSG_MAP(CDialogHelp)
    MESSAGE_HANDLER(WM_HELP, OnHelpMessage)
    MESSAGE_HANDLER(WM_NCLBUTTONDOWN, OnCaptionHelpButton)
    MESSAGE_HANDLER(WM_NCLBUTTONUP, OnCaptionHelpButton)
  END_MSG_MAP()

protected:
  ~CDialogHelp() = default;

private:
  LRESULT OnHelpMessage(UINT, WPARAM, LPARAM, BOOL&) {
    ShowHelpTopic(T::IDD);
    return TRUE;
  }
  LRESULT OnCaptionHelpButton(UINT msg, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam != HTHELP) {
      handled = FALSE;
      return 0;
    }
    if (msg == WM_NCLBUTTONUP) ShowHelpTopic(T::IDD);
    return 0;
  }
};
