#include "search/CSearchFilterPropPageTypes.h"

#include <cstring>

BOOL CSearchFilterPropPageTypes::OnInitDialog(HWND, LPARAM) {
  for (int kind = 1; kind <= SearchFilter::kKindCount; ++kind)
    ::CheckDlgButton(m_hWnd, IDC_TYPES_FIRST + kind, filter_->HasKind(kind) ? BST_CHECKED : BST_UNCHECKED);
  RefreshTreeMark();
  return TRUE;
}

bool CSearchFilterPropPageTypes::IsKindChecked(int kind) const {
  return ::IsDlgButtonChecked(m_hWnd, IDC_TYPES_FIRST + kind) == BST_CHECKED;
}

bool CSearchFilterPropPageTypes::PartHasContent() const {
  if (!m_hWnd) return false;
  for (int kind = 1; kind <= SearchFilter::kKindCount; ++kind)
    if (IsKindChecked(kind)) return true;
  return false;
}

void CSearchFilterPropPageTypes::OnClear(UINT, int, HWND) {
  for (int kind = 1; kind <= SearchFilter::kKindCount; ++kind)
    ::CheckDlgButton(m_hWnd, IDC_TYPES_FIRST + kind, BST_UNCHECKED);
  RefreshTreeMark();
}

LRESULT CSearchFilterPropPageTypes::OnKindCommand(WORD, WORD, HWND, BOOL&) {
  RefreshTreeMark();
  return 0;
}

int CSearchFilterPropPageTypes::OnApply() {
  // Everything from the kind switch on is the kinds' part of the record.
  filter_->kindSwitch = 0;
  std::memset(filter_->kinds, 0, sizeof filter_->kinds);
  std::memset(filter_->reserved, 0, sizeof filter_->reserved);
  for (int kind = 1; kind <= SearchFilter::kKindCount; ++kind) {
    if (!IsKindChecked(kind)) continue;
    filter_->kinds[kind - 1] = static_cast<uint16_t>(kind);
    filter_->kindSwitch = SearchFilter::kKindsSelected;
  }
  return PSNRET_NOERROR;
}
