#include "search/CSearchFilterPropPageGlyphs.h"

BOOL CSearchFilterPropPageGlyphs::OnInitDialog(HWND, LPARAM) {
  orv::CWindow(GetPropertySheet()).CenterWindow();
  ::CheckRadioButton(m_hWnd, IDC_GLYPHS_PRESENT, IDC_GLYPHS_ABSENT,
                     filter_->glyphMode != 0 ? IDC_GLYPHS_PRESENT : IDC_GLYPHS_ABSENT);
  if (list_.SubclassWindow(GetDlgItem(IDC_GLYPHS_LIST))) list_.Fill(filter_->Characters());
  RefreshTreeMark();
  // An edit started by the fill keeps the focus.
  return list_.EditControl() ? FALSE : TRUE;
}

int CSearchFilterPropPageGlyphs::OnApply() {
  if (list_.m_hWnd) {
    list_.EndEdit(true);
    filter_->SetCharacters(list_.CollectCharacters());
  }
  filter_->glyphMode = ::IsDlgButtonChecked(m_hWnd, IDC_GLYPHS_PRESENT) == BST_CHECKED ? 1 : 0;
  return PSNRET_NOERROR;
}

LRESULT CSearchFilterPropPageGlyphs::OnDrawItem(UINT, WPARAM id, LPARAM lParam, BOOL& handled) {
  if (id != IDC_GLYPHS_LIST || !list_.m_hWnd) {
    handled = FALSE;
    return 0;
  }
  list_.DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  return TRUE;
}

LRESULT CSearchFilterPropPageGlyphs::OnMeasureItem(UINT, WPARAM id, LPARAM lParam, BOOL& handled) {
  if (id != IDC_GLYPHS_LIST || !list_.m_hWnd) {
    handled = FALSE;
    return 0;
  }
  list_.MeasureRow(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
  return TRUE;
}

LRESULT CSearchFilterPropPageGlyphs::OnListNotify(int, NMHDR* hdr, BOOL&) {
  const LRESULT result = list_.m_hWnd ? list_.OnNotify(hdr) : 0;
  // Rows change while their notifications run: the mark is taken once they are done.
  if (!markPosted_) markPosted_ = PostMessage(kRefreshMarkMessage);
  return result;
}

LRESULT CSearchFilterPropPageGlyphs::OnRefreshMark(UINT, WPARAM, LPARAM, BOOL&) {
  markPosted_ = false;
  RefreshTreeMark();
  return 0;
}

void CSearchFilterPropPageGlyphs::OnCharacterFont(UINT, int, HWND) {
  if (list_.m_hWnd) list_.ChooseCharacterFont(GetPropertySheet());
}
