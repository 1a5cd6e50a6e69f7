#include "search/CSearchFilterPropPageRanges.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>

#include "common/ResString.h"
#include "common/StringHelpers.h"

namespace {

constexpr uint8_t kNotListed = 127;

bool IsRowChecked(HWND list, int row) {
  return (::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) ==
         INDEXTOSTATEIMAGEMASK(2);
}

void CheckRow(HWND list, int row, bool checked) {
  LVITEMW state{};
  state.stateMask = LVIS_STATEIMAGEMASK;
  state.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

LPARAM RowData(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  return ::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : -1;
}

}  // namespace

std::vector<const UnicodeBlockTable::Row*> CSearchFilterPropPageRanges::ListedBlocks(const UnicodeBlockTable& blocks) {
  std::vector<const UnicodeBlockTable::Row*> listed;
  for (unsigned position = 0; position < kNotListed; ++position) {
    const UnicodeBlockTable::Row* found = nullptr;
    for (const UnicodeBlockTable::Row& row : blocks.Rows()) {
      if (row.listPosition == kNotListed) break;
      if (row.listPosition == position) {
        found = &row;
        break;
      }
    }
    if (!found) break;
    listed.push_back(found);
  }
  return listed;
}

BOOL CSearchFilterPropPageRanges::OnInitDialog(HWND, LPARAM) {
  HWND list = List();
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  RECT client{};
  ::GetClientRect(list, &client);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = client.right - ::GetSystemMetrics(SM_CXVSCROLL);
  ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  int index = 0;
  for (const UnicodeBlockTable::Row* block : ListedBlocks(blocks_)) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(block->name.c_str());
    item.lParam = block->rangeBit;
    const int row = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) continue;
    ++index;
    if (filter_->HasRangeBit(block->rangeBit)) CheckRow(list, row, true);
  }
  ::CheckDlgButton(m_hWnd, IDC_RANGES_SYMBOL, filter_->symbolMode != 0 ? BST_CHECKED : BST_UNCHECKED);
  ::EnableWindow(list, !SymbolChecked());
  UpdateSummary();
  return TRUE;
}

LRESULT CSearchFilterPropPageRanges::OnListInput(int, NMHDR*, BOOL&) {
  // The check state changes after the notification: the summary is taken once it has.
  PostMessage(WM_COMMAND, ID_RANGES_UPDATE_SUMMARY);
  return 0;
}

void CSearchFilterPropPageRanges::OnUpdateSummary(UINT, int, HWND) { UpdateSummary(); }

void CSearchFilterPropPageRanges::OnSymbol(UINT, int, HWND) {
  ::EnableWindow(List(), !SymbolChecked());
  UpdateSummary();
}

void CSearchFilterPropPageRanges::OnClear(UINT, int, HWND) {
  HWND list = List();
  const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) CheckRow(list, row, false);
  ::CheckDlgButton(m_hWnd, IDC_RANGES_SYMBOL, BST_UNCHECKED);
  ::EnableWindow(list, TRUE);
  UpdateSummary();
}

void CSearchFilterPropPageRanges::UpdateSummary() {
  std::wstring summary;
  if (SymbolChecked()) {
    summary = orv::CWindow(GetDlgItem(IDC_RANGES_SYMBOL)).GetWindowText();
    std::erase(summary, L'&');
  } else {
    HWND list = List();
    const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
      if (!IsRowChecked(list, row)) continue;
      if (!summary.empty()) summary += L"; ";
      summary += GetListViewItemText(list, row, 0);
    }
  }
  hasContent_ = !summary.empty();
  summary_ = hasContent_ ? summary : LoadResString(IDS_RANGES_NONE);
  SetDlgItemText(IDC_RANGES_SUMMARY, summary_.c_str());
  RefreshTreeMark();
}

int CSearchFilterPropPageRanges::OnApply() {
  std::fill(std::begin(filter_->rangeMask), std::end(filter_->rangeMask), 0u);
  HWND list = List();
  const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    const LPARAM bit = RowData(list, row);
    if (IsRowChecked(list, row) && bit >= 0) filter_->SetRangeBit(static_cast<uint32_t>(bit));
  }
  filter_->symbolMode = SymbolChecked() ? 1 : 0;
  return PSNRET_NOERROR;
}
