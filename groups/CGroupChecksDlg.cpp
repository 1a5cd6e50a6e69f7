#include "groups/CGroupChecksDlg.h"

#include <commctrl.h>

#include <algorithm>

#include "app/AppState.h"
#include "common/HelpRequest.h"
#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "groups/GroupFileNotices.h"

namespace {

constexpr int kBigIcon = 128;
constexpr int kHeadingPadding = 15;
constexpr int kListGap = 2;

// The "|"-fields of a string resource.
std::vector<std::wstring> ResFields(UINT id) { return SplitFields(LoadResString(id)); }

UINT HeadingsOf(int tab) {
  static constexpr UINT kHeadings[] = {IDS_GROUP_CHECKS_HEADINGS0, IDS_GROUP_CHECKS_HEADINGS1, IDS_GROUP_CHECKS_HEADINGS2};
  return kHeadings[tab];
}

UINT DescriptionOf(int tab) {
  static constexpr UINT kTexts[] = {IDS_GROUP_CHECKS_TEXT0, IDS_GROUP_CHECKS_TEXT1, IDS_GROUP_CHECKS_TEXT2};
  return kTexts[tab];
}

void SetCell(HWND list, int row, int column, const std::wstring& text) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  if (column == 0)
    ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  else
    ::SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace

bool CGroupChecksDlg::PreTranslateMessage(MSG* msg) { return TranslateDialogKeys(m_hWnd, msg); }

BOOL CGroupChecksDlg::OnInitDialog(HWND, LPARAM) {
  if (HANDLE icon = ::LoadImageW(orv::g_Module.GetResourceInstance(), MAKEINTRESOURCEW(kBigIcon), IMAGE_ICON, 0, 0,
                                 LR_DEFAULTSIZE | LR_SHARED))
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  if (status_.Create(m_hWnd)) status_.SetParts({-1});
  if (g_AppState.MainWindow) CenterWindow(g_AppState.MainWindow);

  HWND tabs = ::GetDlgItem(m_hWnd, IDC_GROUP_CHECKS_TABS);
  const std::vector<std::wstring> captions = ResFields(IDS_GROUP_CHECKS_TABS);
  for (size_t i = 0; i < 3; ++i) {
    std::wstring caption = i < captions.size() ? captions[i] : std::wstring();
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    ::SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
  }

  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_GROUP_CHECKS_REPAIR), FALSE);
  checker_.StatusWindow = status_.Handle();

  // The list covers the tab control's display area, below the row of tabs.
  HWND list = ListView();
  RECT area{};
  ::GetClientRect(tabs, &area);
  RECT first{};
  ::SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  area.top = first.bottom + kListGap;
  ::MapWindowPoints(tabs, m_hWnd, reinterpret_cast<POINT*>(&area), 2);
  ::SetWindowPos(list, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top, SWP_NOACTIVATE);
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);

  ShowTab(kMissingFonts);
  status_.SetText(0, std::wstring());

  if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) {
    loop->AddMessageFilter(this);
    filterAdded_ = true;
  }
  ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
  return TRUE;
}

void CGroupChecksDlg::RunChecks() {
  ClearView();
  HCURSOR old = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  (void)checker_.Run();
  ::SetCursor(old);
  status_.SetText(0, LoadResString(IDS_OPERATION_FINISHED));
  ShowTab(kMissingFonts);
}

std::vector<GroupCheckRecord>& CGroupChecksDlg::ListOf(int tab) {
  if (tab == kBrokenChains) return checker_.BrokenChains;
  if (tab == kMissingChildren) return checker_.MissingChildren;
  return checker_.MissingFonts;
}

void CGroupChecksDlg::ClearView() {
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_GROUP_CHECKS_REPAIR), FALSE);
  HWND list = ListView();
  ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  while (::SendMessageW(list, LVM_DELETECOLUMN, 0, 0)) {}
}

void CGroupChecksDlg::ShowNoRows() { status_.SetText(0, LoadResString(IDS_GROUP_CHECKS_NO_ROWS)); }

void CGroupChecksDlg::ShowTab(int tab) {
  if (tab < kMissingFonts || tab > kMissingChildren) return;
  ClearView();
  tab_ = tab;
  ::SendMessageW(::GetDlgItem(m_hWnd, IDC_GROUP_CHECKS_TABS), TCM_SETCURSEL, tab, 0);

  HWND list = ListView();
  std::vector<std::wstring> headings = ResFields(HeadingsOf(tab));
  headings.resize(tab == kMissingFonts ? 1 : 2);
  for (size_t i = 0; i < headings.size(); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.pszText = headings[i].data();
    column.cx = static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(headings[i].c_str()))) +
                kHeadingPadding;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  ::SetDlgItemTextW(m_hWnd, IDC_GROUP_CHECKS_TEXT, LoadResString(DescriptionOf(tab)).c_str());

  if (!checker_.ScanDone) return;
  const std::vector<GroupCheckRecord>& records = ListOf(tab);
  if (records.empty()) {
    ShowNoRows();
  } else {
    status_.SetText(0, std::wstring());
    int row = 0;
    for (const GroupCheckRecord& record : records) {
      switch (tab) {
        case kMissingFonts:
          SetCell(list, row, 0, record.Text3);
          break;
        case kBrokenChains:
          SetCell(list, row, 0, record.Text3);
          SetCell(list, row, 1, record.Text1);
          break;
        default:
          SetCell(list, row, 0, record.Text1);
          SetCell(list, row, 1, record.Text3);
          break;
      }
      ++row;
    }
    FitColumns();
  }
  if (tab != kMissingFonts) ::EnableWindow(::GetDlgItem(m_hWnd, IDC_GROUP_CHECKS_REPAIR), !records.empty());
}

void CGroupChecksDlg::FitColumns() {
  HWND list = ListView();
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int columns = header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  for (int i = 0; i < columns; ++i) {
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE);
    const int contents = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE_USEHEADER);
    const int heading = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
    ::SendMessageW(list, LVM_SETCOLUMNWIDTH, i, std::max(contents, heading));
  }
}

void CGroupChecksDlg::FixRow(int row) {
  std::vector<GroupCheckRecord>& records = ListOf(tab_);
  if (row < 0 || static_cast<size_t>(row) >= records.size()) return;
  const GroupCheckRecord record = records[row];
  if (tab_ == kMissingFonts) {
    if (!record.Text4.empty() && g_AppState.GroupsTree.m_hWnd)
      (void)g_AppState.GroupsTree.SelectGroupByFile(record.Text4, -1);
    return;
  }
  if (tab_ != kMissingChildren) return;
  // A group file that cannot be read now, or no longer lists the entry, is left as it is.
  (void)GroupFileChecker::RemoveMissingChild(record);
  records.erase(records.begin() + row);
  ::SendMessageW(ListView(), LVM_DELETEITEM, row, 0);
  if (records.empty()) ShowNoRows();
}

void CGroupChecksDlg::Repair() {
  if (tab_ == kBrokenChains) {
    if (checker_.BrokenChains.empty()) return;
    if (!checker_.GatherBrokenChains()) return;  // the store has said why; the rows stay
    ::SendMessageW(ListView(), LVM_DELETEALLITEMS, 0, 0);
    if (g_AppState.GroupsTree.m_hWnd) g_AppState.GroupsTree.Reload();
    ShowNoRows();
  } else if (tab_ == kMissingChildren) {
    checker_.RemoveAllMissingChildren();
    ::SendMessageW(ListView(), LVM_DELETEALLITEMS, 0, 0);
    ShowNoRows();
  }
}

std::vector<std::wstring> CGroupChecksDlg::Rows() const {
  std::vector<std::wstring> rows;
  HWND list = ListView();
  HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int columns = header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    std::wstring text;
    for (int column = 0; column < columns; ++column) text += (column ? L"|" : L"") + GetListViewItemText(list, row, column);
    rows.push_back(text);
  }
  return rows;
}

LRESULT CGroupChecksDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
  DestroyWindow();
  return 0;
}

LRESULT CGroupChecksDlg::OnTabChange(int, LPNMHDR header, BOOL&) {
  ShowTab(static_cast<int>(::SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
  return 0;
}

LRESULT CGroupChecksDlg::OnListDoubleClick(int, LPNMHDR header, BOOL&) {
  FixRow(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
  return 0;
}

LRESULT CGroupChecksDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  if (filterAdded_) {
    if (orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop()) loop->RemoveMessageFilter(this);
    filterAdded_ = false;
  }
  ReportClosed(IDD);
  return 0;
}

