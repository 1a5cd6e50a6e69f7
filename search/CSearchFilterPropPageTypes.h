// The Font Kinds page of the search filter sheet (template 1087): six boxes, one per kind
// (Type 1, TrueType without DSIG, TrueType outlines, OpenType CFF, collection face, variable
// font); a found font must be of one of the kinds checked, or of any kind when none is.
#pragma once

#include <windows.h>

#include "common/ResourceIds.h"
#include "framework/MessageCrackers.h"
#include "search/CSearchFilterPageImpl.h"

class CSearchFilterPropPageTypes : public CSearchFilterPageImpl<CSearchFilterPropPageTypes> {
public:
  enum { IDD = IDD_SEARCH_TYPES };

  explicit CSearchFilterPropPageTypes(SearchFilter* filter) noexcept : CSearchFilterPageImpl(filter) {}

  int OnApply();
  bool PartHasContent() const;

  BEGIN_MSG_MAP(CSearchFilterPropPageTypes)
    MSG_WM_INITDIALOG(OnInitDialog)
    COMMAND_ID_HANDLER_EX(IDC_FILTER_CLEAR, OnClear)
    COMMAND_RANGE_HANDLER(IDC_TYPES_FIRST, IDC_TYPES_LAST, OnKindCommand)
    CHAIN_MSG_MAP(CSearchFilterPageImpl<CSearchFilterPropPageTypes>)
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  void OnClear(UINT, int, HWND);
  LRESULT OnKindCommand(WORD, WORD, HWND, BOOL&);
  bool IsKindChecked(int kind) const;
};
