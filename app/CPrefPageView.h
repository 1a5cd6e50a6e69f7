// The View page of the options sheet (template 1002): names only, sample point size, row lines
// and what the installed list hides. Reads `Preferences` when it initialises and writes it on
// Apply, setting the changed flag when a value differs.
#pragma once

#include <cstdint>

#include "app/Preferences.h"
#include "common/CHelpPropertyPage.h"
#include "common/ResourceIds.h"

class CPrefPageView : public CHelpPropertyPage<CPrefPageView> {
public:
  enum { IDD = IDD_PREF_VIEW };

  static constexpr int kMinPointSize = kMinFontPointSize;
  static constexpr int kMaxPointSize = kMaxFontPointSize;

  int OnApply();
  // Set by Apply when what the installed list hides changed: it must be filled again.
  bool ListsNeedRebuilding() const { return rebuildLists_; }

  BEGIN_MSG_MAP(CPrefPageView)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDC_PREF_NAMES_ONLY, OnChange)
    COMMAND_ID_HANDLER(IDC_PREF_GRID_LINES, OnChange)
    COMMAND_ID_HANDLER(IDC_PREF_POINT_SIZE_LABEL, OnChange)
    COMMAND_ID_HANDLER(IDC_PREF_HIDE_RASTER, OnChange)
    COMMAND_ID_HANDLER(IDC_PREF_HIDE_EUDC, OnChange)
    COMMAND_ID_HANDLER(IDC_PREF_HIDE_VERTICAL, OnChange)
    COMMAND_HANDLER(IDC_PREF_POINT_SIZE, EN_CHANGE, OnChange)
    CHAIN_MSG_MAP(CHelpPropertyPage<CPrefPageView>)
  END_MSG_MAP()

private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnChange(WORD, WORD, HWND, BOOL&);

  HWND upDown_ = nullptr;
  bool rebuildLists_ = false;
  bool loading_ = false;
};
