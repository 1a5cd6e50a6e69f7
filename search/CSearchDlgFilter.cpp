// The search dialog's filter (the filter box, the filter sheet and the stored record) and the
// similar-fonts mode.
#include "search/CSearchDlg.h"

#include <algorithm>
#include <iterator>

#include "common/ResString.h"
#include "search/CSearchFilterPropSheet.h"

namespace {
// PANOSE family kinds 0 (any) and 1 (no fit) say nothing a likeness could be judged by.
constexpr uint8_t kFirstPanoseKind = 2;
// A family class of 255 or less has class 0: no class to compare.
constexpr uint16_t kHighestClasslessValue = 255;
}  // namespace

bool CSearchDlg::EditFilter() {
  CSearchFilterPropSheet sheet(filter_);
  const bool accepted = sheet.DoModal(::GetActiveWindow()) > 0;
  if (accepted) {
    filter_ = sheet.Filter();
    ::CheckDlgButton(m_hWnd, IDC_SEARCH_FILTER_ON, filter_.HasContent() ? BST_CHECKED : BST_UNCHECKED);
    (void)filter_.Store();
  }
  SyncFilterBox();
  if (filterOn_ && Pattern().empty()) SetPattern(kPassEverything);
  return accepted;
}

void CSearchDlg::SyncFilterBox() {
  filterOn_ = ::IsDlgButtonChecked(m_hWnd, IDC_SEARCH_FILTER_ON) == BST_CHECKED && filter_.HasContent();
  ::CheckDlgButton(m_hWnd, IDC_SEARCH_FILTER_ON, filterOn_ ? BST_CHECKED : BST_UNCHECKED);
}

void CSearchDlg::OnFilterBox(UINT, int, HWND) {
  filterOn_ = ::IsDlgButtonChecked(m_hWnd, IDC_SEARCH_FILTER_ON) == BST_CHECKED;
  if (filterOn_ && Pattern().empty()) SetPattern(kPassEverything);
  if (filterOn_ && !filter_.HasContent()) EditFilter();
}

void CSearchDlg::OnFilterEdit(UINT, int, HWND) { EditFilter(); }

void CSearchDlg::SetReferenceFont(const uint8_t (&panose)[10], uint16_t familyClass, const std::wstring& name) {
  if (!m_hWnd) return;
  if (panose[0] < kFirstPanoseKind) {
    SetPattern(L"*" + name + L"*");
    return;
  }
  // A search that runs goes first: its results are of another kind.
  if (searching_) {
    worker_.Stop();
    FinishSearch();
  }
  similarMode_ = true;
  std::copy(std::begin(panose), std::end(panose), matcher_.referencePanose);
  matcher_.referenceFamilyClass = familyClass;
  HWND modes = GetDlgItem(IDC_SEARCH_NAME_MODE);
  ::EnableWindow(modes, FALSE);
  ::ShowWindow(modes, SW_HIDE);
  ::ShowWindow(GetDlgItem(IDC_SEARCH_SIMILAR_NOTE), SW_SHOW);
  ::EnableWindow(GetDlgItem(IDC_SEARCH_PATTERN), FALSE);
  SetPattern(name);
  const std::wstring title = LoadResString(IDS_SEARCH_SIMILAR_TITLE);
  SetWindowText(title.c_str());
  SetDlgItemText(IDC_SEARCH_PATTERN_LABEL, title.c_str());
  SetDlgItemText(IDC_SEARCH_SIMILAR_NOTE, LoadResString(IDS_SEARCH_SIMILAR_NOTE).c_str());
  list_.Clear();
  ResetStatusCounts();
  HWND likeness = GetDlgItem(IDC_SEARCH_PANOSE);
  ::EnableWindow(likeness, TRUE);
  ::ShowWindow(likeness, SW_SHOW);
  ::CheckDlgButton(m_hWnd, IDC_SEARCH_PANOSE, BST_CHECKED);
  HWND sameClass = GetDlgItem(IDC_SEARCH_SAME_CLASS);
  ::ShowWindow(sameClass, SW_SHOW);
  ::EnableWindow(sameClass, familyClass > kHighestClasslessValue);
  OnSimilarBox(0, 0, nullptr);
}

void CSearchDlg::OnSimilarBox(UINT, int, HWND) {
  const bool sameClass = ::IsDlgButtonChecked(m_hWnd, IDC_SEARCH_SAME_CLASS) == BST_CHECKED;
  bool likeness = ::IsDlgButtonChecked(m_hWnd, IDC_SEARCH_PANOSE) == BST_CHECKED;
  // At least one test is always chosen.
  if (!sameClass && !likeness) {
    likeness = true;
    ::CheckDlgButton(m_hWnd, IDC_SEARCH_PANOSE, BST_CHECKED);
  }
  matcher_.similarFlags = (likeness ? SearchMatcher::kPanoseLikeness : 0) | (sameClass ? SearchMatcher::kSameFamilyClass : 0);
}
