// The Characters page of the search filter sheet (template 1086): whether every listed
// character must be present or every one absent, and the character list itself.
#pragma once

#include <windows.h>

#include "common/ResourceIds.h"
#include "framework/MessageCrackers.h"
#include "search/CSearchFilterListView.h"
#include "search/CSearchFilterPageImpl.h"

class CSearchFilterPropPageGlyphs : public CSearchFilterPageImpl<CSearchFilterPropPageGlyphs> {
public:
  enum { IDD = IDD_SEARCH_GLYPHS };

  CSearchFilterPropPageGlyphs(SearchFilter* filter, HMODULE charNames) noexcept
      : CSearchFilterPageImpl(filter), list_(charNames) {}

  // The characters and the glyph mode into the sheet's record.
  int OnApply();
  bool PartHasContent() const { return list_.m_hWnd && list_.HasContent(); }
  CSearchFilterListView& List() { return list_; }

  BEGIN_MSG_MAP(CSearchFilterPropPageGlyphs)
    MSG_WM_INITDIALOG(OnInitDialog)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
    NOTIFY_ID_HANDLER(IDC_GLYPHS_LIST, OnListNotify)
    COMMAND_ID_HANDLER_EX(IDC_GLYPHS_FONT, OnCharacterFont)
    MESSAGE_HANDLER(kRefreshMarkMessage, OnRefreshMark)
    CHAIN_MSG_MAP(CSearchFilterPageImpl<CSearchFilterPropPageGlyphs>)
  END_MSG_MAP()

private:
  static constexpr UINT kRefreshMarkMessage = WM_APP + 2;

  BOOL OnInitDialog(HWND, LPARAM);
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnMeasureItem(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnListNotify(int, NMHDR* hdr, BOOL&);
  void OnCharacterFont(UINT, int, HWND);
  LRESULT OnRefreshMark(UINT, WPARAM, LPARAM, BOOL&);

  CSearchFilterListView list_;
  bool markPosted_ = false;
};
