#include "lists/CCensusListView.h"

#include <algorithm>

#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "fonts/FontFileReader.h"
#include "fonts/FontItem.h"
#include "framework/Invariant.h"
#include "lists/CensusAnalysis.h"
#include "lists/FontListImages.h"

using namespace census_flags;

namespace {

constexpr int kColumnTextMax = 260;
constexpr int kUnusableOverlay = 1;  // overlay image 1: the font list images' image 0
constexpr COLORREF kFirstOfGroupBack = 0xFFF8F8;
constexpr COLORREF kDiffersBack = 0xFFF8FF;

}  // namespace

bool ReadCensusRecordFont(const CensusRecord& record, FontFileReader& reader) {
  reader.Reset();
  reader.names.Clear();
  reader.flags = 0;
  reader.folder = record.folder;
  // A Type 1 record names its ".pfm" first; the reader finds the outline file itself.
  reader.fileRef = record.files.substr(0, record.files.find(L'|'));
  if (record.Has(kCollectionFace) || EndsWithNoCase(reader.fileRef, L".ttc")) {
    reader.names.System(NameSlot::FullName) = record.name;
    return reader.ReadCollectionFaceByName() && !reader.IsUnreadable();
  }
  return reader.ReadFontFile() && !reader.IsUnreadable();
}

CCensusListView::CCensusListView() = default;

CCensusListView::~CCensusListView() {
  StopCheck();
  ReleasePreviewFont();
}

bool CCensusListView::Attach(HWND list, const ToolStatusBar* status) {
  if (!SubclassWindow(list)) return false;
  status_ = status;
  ListView_SetExtendedListViewStyle(m_hWnd, kExStyle);
  SetupColumns();
  return true;
}

void CCensusListView::SetupColumns() {
  FontListImages::Load(m_hWnd);
  if (HIMAGELIST images = FontListImages::Get().small) {
    ImageList_SetOverlayImage(images, 0, kUnusableOverlay);
    ListView_SetImageList(m_hWnd, images, LVSIL_SMALL);
  }
  ListView_SetCallbackMask(m_hWnd, LVIS_OVERLAYMASK);
  const std::vector<std::wstring> titles = SplitFields(LoadResString(IDS_CENSUS_COLUMNS));
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH;
  column.fmt = LVCFMT_IMAGE | LVCFMT_BITMAP_ON_RIGHT;
  column.cx = 100;
  // Column 0 takes the format asked for only when it was not the first column inserted.
  column.pszText = const_cast<wchar_t*>(L"");
  ListView_InsertColumn(m_hWnd, 0, &column);
  for (int index = 0; index < kCensusColumnCount; ++index) {
    std::wstring title = index < static_cast<int>(titles.size()) ? titles[index] : std::wstring();
    if (title.size() > kColumnTextMax) title.resize(kColumnTextMax);
    column.pszText = title.data();
    ListView_InsertColumn(m_hWnd, index + 1, &column);
  }
  ListView_DeleteColumn(m_hWnd, 0);
  FitColumns();
}

const CensusRecord& CCensusListView::RecordOfRow(int row) const {
  static const CensusRecord kNone;
  const int index = RecordIndexOfRow(row);
  return index < 0 ? kNone : records_[static_cast<size_t>(index)];
}

int CCensusListView::RecordIndexOfRow(int row) const {
  if (!ORV_CHECK(row >= 0 && row < RowCount())) return -1;
  const int index = rows_[static_cast<size_t>(row)];
  return ORV_CHECK(index >= 0 && index < RecordCount()) ? index : -1;
}

std::wstring CCensusListView::GetCellText(int row, int column) const {
  if (row < 0 || row >= RowCount()) return {};
  return RecordOfRow(row).Cell(column);
}

void CCensusListView::AddCensusFlags(int row, uint32_t bits) {
  if (const int index = RecordIndexOfRow(row); index >= 0) records_[static_cast<size_t>(index)].censusFlags |= bits;
}

void CCensusListView::RemoveCensusFlags(int row, uint32_t bits) {
  if (const int index = RecordIndexOfRow(row); index >= 0) records_[static_cast<size_t>(index)].censusFlags &= ~bits;
}

bool CCensusListView::ReadRowFont(int row, FontFileReader& reader) const {
  if (row < 0 || row >= RowCount()) return false;
  return ReadCensusRecordFont(RecordOfRow(row), reader);
}

int CCensusListView::SelectedRow() const {
  return m_hWnd ? ListView_GetNextItem(m_hWnd, -1, LVNI_SELECTED) : -1;
}

void CCensusListView::AddRecords(std::vector<CensusRecord> records) {
  if (records.empty()) return;
  for (CensusRecord& record : records) {
    rows_.push_back(static_cast<int>(records_.size()));
    records_.push_back(std::move(record));
  }
  // Rows follow the records in walk order until the walk ends; the list keeps its scroll place.
  if (m_hWnd) ListView_SetItemCountEx(m_hWnd, RowCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  ShowCounts();
}

void CCensusListView::Clear() {
  StopCheck();
  ReleasePreviewFont();
  filterMode_ = kFilterAll;
  checkDone_ = false;
  records_.clear();
  rows_.clear();
  sortColumn_ = -1;
  ascending_ = true;
  ShowRows();
  ClearSortArrows();
}

void CCensusListView::FinishWalk(bool stopped) {
  if (!stopped) {
    AnalyseCensus(records_);
    Refill(kCensusName);
  }
  filterMode_ = kFilterAll;
  checkDone_ = false;
  FitColumns();
  busy_ = false;
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CCensusListView::Refill(int column) {
  StopCheck();
  rows_ = AllCensusRows(records_);
  sortColumn_ = -1;
  SortByColumn(column, 1);
  ShowRows();
}

void CCensusListView::ShowRows() {
  if (!m_hWnd) return;
  ListView_SetItemState(m_hWnd, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemCountEx(m_hWnd, RowCount(), 0);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  ShowCounts();
}

void CCensusListView::SortByColumn(int column, int direction) {
  if (column < 0 || column >= kCensusColumnCount) return;
  bool ascending = direction > 0;
  if (direction == 0) ascending = column == sortColumn_ ? !ascending_ : true;
  if (column == sortColumn_ && ascending == ascending_) return;
  ClearSortArrows();
  if (rows_.empty()) return;
  sortColumn_ = column;
  ascending_ = ascending;
  SortCensusRows(records_, rows_, column, ascending);
  SetSortArrow(column, ascending);
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CCensusListView::ClearSortArrows() const {
  if (!m_hWnd) return;
  HWND header = ListView_GetHeader(m_hWnd);
  const int count = header ? Header_GetItemCount(header) : 0;
  for (int index = 0; index < count; ++index) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    Header_GetItem(header, index, &item);
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    Header_SetItem(header, index, &item);
  }
}

void CCensusListView::SetSortArrow(int column, bool ascending) const {
  if (!m_hWnd) return;
  HWND header = ListView_GetHeader(m_hWnd);
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  if (!header || !Header_GetItem(header, column, &item)) return;
  item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
  Header_SetItem(header, column, &item);
}

void CCensusListView::FitColumns() {
  if (!m_hWnd) return;
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  const int width = client.right - client.left;
  if (rows_.empty()) {
    for (int column = 0; column < kCensusColumnCount; ++column) ListView_SetColumnWidth(m_hWnd, column, width / 5);
    return;
  }
  for (int column = 0; column < kCensusColumnCount; ++column)
    ListView_SetColumnWidth(m_hWnd, column, LVSCW_AUTOSIZE);
  for (int column : {kCensusName, kCensusFiles})
    if (ListView_GetColumnWidth(m_hWnd, column) > width / 5) ListView_SetColumnWidth(m_hWnd, column, width / 5);
  const int rest = std::max(0, width - ListView_GetColumnWidth(m_hWnd, 0) - ListView_GetColumnWidth(m_hWnd, 1)) / 3;
  for (int column : {kCensusVersion, kCensusUniqueId, kCensusFolder}) ListView_SetColumnWidth(m_hWnd, column, rest);
}

void CCensusListView::ShowCounts() const {
  if (!status_ || !status_->Handle()) return;
  status_->ShowCount(0, RecordCount());
  status_->ShowCount(1, RowCount());
}

// ---------------------------------------------------------------------------------------------
// Filters

void CCensusListView::ApplyFilter(int mode, std::vector<int> rows) {
  ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
  filterMode_ = mode;
  rows_ = std::move(rows);
  ShowRows();
  if (status_ && status_->Handle()) status_->SetText(3, {});
  if (rows_.empty()) ClearSortArrows();
  ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CCensusListView::ShowAll() {
  Refill(kCensusName);
  ApplyFilter(kFilterAll, rows_);
}

void CCensusListView::ShowDuplicates() {
  Refill(kCensusName);
  ApplyFilter(kFilterDuplicates, DuplicateRows(records_, rows_));
}

void CCensusListView::ShowOtherFileNames() {
  Refill(kCensusName);
  ApplyFilter(kFilterOtherFileNames, RowsWithFlags(records_, rows_, kOtherFileName));
}

void CCensusListView::ShowSameFileOtherFonts() {
  Refill(kCensusFiles);
  ApplyFilter(kFilterSharedFileNames, RowsWithFlags(records_, rows_, kSharedFileName));
}

void CCensusListView::ShowUnusable() {
  if (IsChecking()) return;
  if (checkDone_) {
    Refill(kCensusName);
    ApplyFilter(kFilterUnusable, RowsWithFlags(records_, rows_, census_flags::kUnusable));
    return;
  }
  filterMode_ = kFilterUnusable;
  StartCheck();
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT CCensusListView::OnGetDispInfo(int, NMHDR* hdr, BOOL&) {
  auto* info = reinterpret_cast<NMLVDISPINFOW*>(hdr);
  LVITEMW& item = info->item;
  if (item.iItem < 0 || item.iItem >= RowCount()) return 0;
  const CensusRecord& record = RecordOfRow(item.iItem);
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    const std::wstring& text = record.Cell(item.iSubItem);
    const size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    text.copy(item.pszText, length);
    item.pszText[length] = L'\0';
  }
  if (item.mask & LVIF_IMAGE) item.iImage = FontItem::TypeIconIndexOf(record.fontFlags);
  if (item.mask & LVIF_STATE) {
    item.stateMask |= LVIS_OVERLAYMASK;
    item.state = (item.state & ~LVIS_OVERLAYMASK) |
                 (record.Has(census_flags::kUnusable) ? INDEXTOOVERLAYMASK(kUnusableOverlay) : 0);
  }
  return 0;
}

LRESULT CCensusListView::OnColumnClick(int, NMHDR* hdr, BOOL&) {
  if (busy_ || IsChecking()) return 0;
  const HCURSOR cursor = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
  SortByColumn(reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem, 0);
  ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  ::UpdateWindow(m_hWnd);
  ::SetCursor(cursor);
  return 0;
}

LRESULT CCensusListView::OnRightClick(int, NMHDR*, BOOL&) {
  ShowContextMenu();
  return 0;
}

LRESULT CCensusListView::OnDoubleClick(int, NMHDR*, BOOL&) {
  OpenFolderOfRow();
  return 0;
}

DWORD CCensusListView::OnSubItemPrePaint(int, NMCUSTOMDRAW* cd) {
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(cd);
  const int row = static_cast<int>(cd->dwItemSpec);
  if (row < 0 || row >= RowCount()) return CDRF_DODEFAULT;
  if ((cd->uItemState & (CDIS_SELECTED | CDIS_FOCUS)) == (CDIS_SELECTED | CDIS_FOCUS)) {
    draw->clrText = ::GetSysColor(COLOR_3DLIGHT);
    return CDRF_NEWFONT;
  }
  const CensusRecord& record = RecordOfRow(row);
  const int column = draw->iSubItem;
  draw->clrText = ::GetSysColor(COLOR_WINDOWTEXT);
  draw->clrTextBk = ::GetSysColor(COLOR_WINDOW);
  if (record.Has(kInSystemFonts) && filterMode_ != kFilterAll && column == kCensusName)
    draw->clrText = g_Preferences.Colors[kColorInstalled];
  if (record.Has(kFirstOfGroup) && sortColumn_ == kCensusName) draw->clrTextBk = kFirstOfGroupBack;
  if (record.Has(kDiffers)) {
    if (column == kCensusName || column == kCensusVersion) draw->clrText = g_Preferences.Colors[kColorOtherVersion];
    draw->clrTextBk = kDiffersBack;
  }
  if (record.Has(census_flags::kUnusable) && column == kCensusName) draw->clrText = g_Preferences.Colors[kColorUnreadable];
  if (ListView_GetItemState(m_hWnd, row, LVIS_SELECTED)) draw->clrText = ::GetSysColor(COLOR_GRAYTEXT);
  return CDRF_NEWFONT;
}

LRESULT CCensusListView::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  handled = FALSE;
  if (!mouseTracked_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    mouseTracked_ = ::TrackMouseEvent(&track) != FALSE;
  } else if (static_cast<short>(LOWORD(lParam)) > ListView_GetColumnWidth(m_hWnd, kCensusName)) {
    // Right of the names the preview ends.
    ::PostMessageW(m_hWnd, WM_MOUSELEAVE, 0, 0);
  }
  return 0;
}

LRESULT CCensusListView::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  ReleasePreviewFont();
  mouseTracked_ = false;
  return 0;
}

LRESULT CCensusListView::OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (!busy_ && !IsChecking()) {
    handled = FALSE;
    return 0;
  }
  ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
  return TRUE;
}

LRESULT CCensusListView::OnInputDuringCheck(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  if (filterMode_ == kFilterUnusable && IsChecking()) stopCheck_ = true;
  return 0;
}

LRESULT CCensusListView::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  StopCheck();
  ReleasePreviewFont();
  return 0;
}
