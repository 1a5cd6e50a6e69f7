// CFontPropertyPage<T>: the base of every page of the font property sheets: a help page (see
// CHelpPropertyPage) that fills its controls once, in T::OnInitDialog, and sets no default
// focus, so that the keyboard stays in the sheet's page tree. Nothing on it is edited or
// applied.
#pragma once

#include "common/CHelpPropertyPage.h"

template <typename T>
class CFontPropertyPage : public CHelpPropertyPage<T> {
public:
  BEGIN_MSG_MAP(CFontPropertyPage)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialogMessage)
    CHAIN_MSG_MAP(CHelpPropertyPage<T>)
  END_MSG_MAP()

private:
  LRESULT OnInitDialogMessage(UINT, WPARAM, LPARAM, BOOL&) {
    static_cast<T*>(this)->OnInitDialog();
    return FALSE;
  }
};
