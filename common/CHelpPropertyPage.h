// CHelpPropertyPage<T>: a property page from template T::IDD of the resource library with a
// Help button; F1 and Help open the help topic of its template number.
#pragma once

#include <windows.h>

#include "common/HelpRequest.h"
#include "framework/PropertySheetImpl.h"

template <typename T>
class CHelpPropertyPage : public orv::CPropertyPageImpl<T> {
public:
  CHelpPropertyPage() { this->m_psp.dwFlags |= PSP_HASHELP; }

  void OnHelp() { ShowHelpTopic(T::IDD); }

  BEGIN_MSG_MAP(CHelpPropertyPage)
    MESSAGE_HANDLER(WM_HELP, OnHelpMessage)
    CHAIN_MSG_MAP(orv::CPropertyPageImpl<T>)
  END_MSG_MAP()

private:
  LRESULT OnHelpMessage(UINT, WPARAM, LPARAM, BOOL&) {
    ShowHelpTopic(T::IDD);
    return TRUE;
  }
};
