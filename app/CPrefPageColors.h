// The Colors page of the options sheet (template 1004): the six status colours of the font
// lists, one chosen by radio button at a time, shown in two samples (on the window colour and
// on the selection colour), changed with the colour picker or reset to the defaults. Works on
// copies of the colours; Apply writes them into `Preferences`.
#pragma once

#include <windows.h>

#include "app/CSampleColorWnd.h"
#include "app/Preferences.h"
#include "common/CHelpPropertyPage.h"
#include "common/ResourceIds.h"

class CPrefPageColors : public CHelpPropertyPage<CPrefPageColors> {
public:
  enum { IDD = IDD_PREF_COLORS };

  int OnApply();
  COLORREF WorkingColor(int index) const { return colors_[index]; }
  const CSampleColorWnd& WindowSample() const { return sampleWindow_; }
  const CSampleColorWnd& SelectedSample() const { return sampleSelected_; }

  BEGIN_MSG_MAP(CPrefPageColors)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_RANGE_HANDLER(IDC_PREF_COLOR_FIRST, IDC_PREF_SAMPLE_WINDOW, OnColorChoice)
    COMMAND_ID_HANDLER(IDC_PREF_CHOOSE_COLOR, OnChoose)
    COMMAND_ID_HANDLER(IDC_PREF_DEFAULT_COLORS, OnDefaults)
    CHAIN_MSG_MAP(CHelpPropertyPage<CPrefPageColors>)
  END_MSG_MAP()

private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnColorChoice(WORD, WORD, HWND, BOOL&);
  LRESULT OnChoose(WORD, WORD, HWND, BOOL&);
  LRESULT OnDefaults(WORD, WORD, HWND, BOOL&);

  // The index of the first checked radio button, -1 when none is.
  int CheckedColor() const;
  void ShowColor(int index);

  COLORREF colors_[kColorCount] = {};
  bool invert_ = false;
  CSampleColorWnd sampleWindow_;
  CSampleColorWnd sampleSelected_;
};
