// The Unicode Ranges page of the search filter sheet (template 1085): the OS/2 Unicode ranges
// every found font must declare, picked in a list of blocks in the order of the block table's
// list positions, or instead the demand that the font be a symbol font. A summary line names
// what is chosen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/ResourceIds.h"
#include "framework/MessageCrackers.h"
#include "search/CSearchFilterPageImpl.h"
#include "viewing/UnicodeBlockTable.h"

class CSearchFilterPropPageRanges : public CSearchFilterPageImpl<CSearchFilterPropPageRanges> {
public:
  enum { IDD = IDD_SEARCH_RANGES };

  CSearchFilterPropPageRanges(SearchFilter* filter, const UnicodeBlockTable& blocks) noexcept
      : CSearchFilterPageImpl(filter), blocks_(blocks) {}

  // The rows of the range list: for list position 0, 1, 2, ... the first table row with that
  // position, until a position has none or a row of position 127 comes first.
  static std::vector<const UnicodeBlockTable::Row*> ListedBlocks(const UnicodeBlockTable& blocks);

  int OnApply();
  bool PartHasContent() const { return hasContent_; }
  std::wstring Summary() const { return summary_; }

  BEGIN_MSG_MAP(CSearchFilterPropPageRanges)
    MSG_WM_INITDIALOG(OnInitDialog)
    NOTIFY_HANDLER(IDC_RANGES_LIST, NM_CLICK, OnListInput)
    NOTIFY_HANDLER(IDC_RANGES_LIST, LVN_KEYDOWN, OnListInput)
    COMMAND_ID_HANDLER_EX(ID_RANGES_UPDATE_SUMMARY, OnUpdateSummary)
    COMMAND_ID_HANDLER_EX(IDC_RANGES_SYMBOL, OnSymbol)
    COMMAND_ID_HANDLER_EX(IDC_FILTER_CLEAR, OnClear)
    CHAIN_MSG_MAP(CSearchFilterPageImpl<CSearchFilterPropPageRanges>)
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  LRESULT OnListInput(int, NMHDR*, BOOL&);
  void OnUpdateSummary(UINT, int, HWND);
  void OnSymbol(UINT, int, HWND);
  void OnClear(UINT, int, HWND);

  HWND List() const { return GetDlgItem(IDC_RANGES_LIST); }
  bool SymbolChecked() const { return ::IsDlgButtonChecked(m_hWnd, IDC_RANGES_SYMBOL) == BST_CHECKED; }
  void UpdateSummary();

  const UnicodeBlockTable& blocks_;
  std::wstring summary_;
  bool hasContent_ = false;
};
