#include "fonts/CRegListView.h"

#include <shlwapi.h>

#include <algorithm>

#include "app/AppState.h"
#include "app/COrvelFavWnd.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "lists/FontListImages.h"

using namespace reg_entry_flags;

namespace {

constexpr int kColumnFormat = LVCFMT_IMAGE | LVCFMT_BITMAP_ON_RIGHT;
constexpr size_t kColumnTitleMax = 260;
constexpr int kUnreadableImage = 0;
// Which of the "Colors" preference marks which check result.
constexpr int kUnreadableColor = kColorUnreadable;
constexpr int kNameMismatchColor = kColorOtherVersion;
constexpr int kNamesakeColor = kColorNotInstalled;
constexpr int kCollisionColor = kColorInstalled;

void CopyText(const std::wstring& text, wchar_t* buffer, int size) {
  if (buffer && size > 0) ::lstrcpynW(buffer, text.c_str(), size);
}

}  // namespace

void CRegListView::SetUpColumns() {
  if (!FontListImages::Get().small) FontListImages::Load(m_hWnd);
  ::SendMessageW(m_hWnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(FontListImages::Get().small));
  const std::wstring titles = LoadResString(IDS_REGISTRY_FONT_COLUMNS);
  for (int column = 0; column < kColumnCount; ++column) {
    std::wstring title = FieldAt(titles, static_cast<size_t>(column)).substr(0, kColumnTitleMax);
    LVCOLUMNW info{};
    info.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
    info.fmt = kColumnFormat;
    info.pszText = title.data();
    info.iSubItem = column;
    ::SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
    // Until the rows fit them, the titles show.
    ::SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE_USEHEADER);
  }
}

void CRegListView::Fill(const std::wstring& fontsFolder, int windowsRelease) {
  ::SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0);
  table_.SetFontsFolder(fontsFolder);
  table_.ReadSystemRegistration(windowsRelease);
  ShowRows();
}

void CRegListView::ShowRows() {
  ::SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0);
  const std::vector<RegisteredFontEntry>& rows = table_.Rows();
  sortKeys_.clear();
  sortKeys_.reserve(rows.size());
  for (const RegisteredFontEntry& row : rows)
    sortKeys_.push_back({FoldCase(row.name), FoldCase(row.valueName), FoldCase(row.fileRef)});
  ::SendMessageW(m_hWnd, LVM_SETITEMCOUNT, rows.size(), 0);
  for (size_t i = 0; i < rows.size(); ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.pszText = LPSTR_TEXTCALLBACKW;
    item.iImage = I_IMAGECALLBACK;
    item.lParam = static_cast<LPARAM>(i);
    ::SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  SortByColumn(kColumnNumber, true);
  if (!rows.empty()) FitColumns();
}

const RegisteredFontEntry* CRegListView::RowOfItem(int item) const {
  if (item < 0) return nullptr;
  LVITEMW info{};
  info.mask = LVIF_PARAM;
  info.iItem = item;
  if (!::SendMessageW(m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info))) return nullptr;
  const auto index = static_cast<size_t>(info.lParam);
  return index < table_.Rows().size() ? &table_.Rows()[index] : nullptr;
}

LRESULT CRegListView::OnGetDispInfo(int, NMHDR* hdr, BOOL&) {
  LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(hdr)->item;
  const auto index = static_cast<size_t>(item.lParam);
  if (index >= table_.Rows().size()) return 0;
  const RegisteredFontEntry& row = table_.Rows()[index];
  if (item.mask & LVIF_TEXT) {
    switch (item.iSubItem) {
      case kColumnNumber:
        numberText_ = std::to_wstring(index + 1);
        CopyText(numberText_, item.pszText, item.cchTextMax);
        break;
      case kColumnName: CopyText(row.name, item.pszText, item.cchTextMax); break;
      case kColumnValueName: CopyText(row.valueName, item.pszText, item.cchTextMax); break;
      case kColumnFileRef: CopyText(row.fileRef, item.pszText, item.cchTextMax); break;
      default: CopyText(std::wstring(), item.pszText, item.cchTextMax); break;
    }
  }
  if (item.mask & LVIF_IMAGE) item.iImage = (row.flags & kUnreadable) ? kUnreadableImage : row.image;
  return 0;
}

int CALLBACK CRegListView::CompareRows(LPARAM a, LPARAM b, LPARAM self) {
  const auto& view = *reinterpret_cast<const CRegListView*>(self);
  const auto ia = static_cast<size_t>(a), ib = static_cast<size_t>(b);
  int result = 0;
  if (view.sortColumn_ == kColumnNumber || ia >= view.sortKeys_.size() || ib >= view.sortKeys_.size()) {
    result = ia < ib ? -1 : (ia > ib ? 1 : 0);
  } else {
    const size_t key = static_cast<size_t>(view.sortColumn_ - kColumnName);
    result = view.sortKeys_[ia][key].compare(view.sortKeys_[ib][key]);
    result = result < 0 ? -1 : (result > 0 ? 1 : 0);
  }
  return view.sortAscending_ ? result : -result;
}

void CRegListView::SortByColumn(int column, bool ascending) {
  if (column < 0 || column >= kColumnCount) return;
  sortColumn_ = column;
  sortAscending_ = ascending;
  ::SendMessageW(m_hWnd, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&CompareRows));
  ShowSortArrow();
}

void CRegListView::ShowSortArrow() {
  HWND header = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, LVM_GETHEADER, 0, 0));
  if (!header) return;
  for (int column = 0; column < kColumnCount; ++column) {
    HDITEMW info{};
    info.mask = HDI_FORMAT;
    if (!::SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&info))) continue;
    info.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (column == sortColumn_) info.fmt |= sortAscending_ ? HDF_SORTUP : HDF_SORTDOWN;
    ::SendMessageW(header, HDM_SETITEMW, column, reinterpret_cast<LPARAM>(&info));
  }
}

LRESULT CRegListView::OnColumnClick(int, NMHDR* hdr, BOOL&) {
  const int column = reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem;
  SortByColumn(column, column != sortColumn_ || !sortAscending_);
  ::UpdateWindow(m_hWnd);
  return 0;
}

UINT CRegListView::StatusTextId(uint32_t flags) {
  // The most telling result wins: an unreadable file, then a wrong name, then a duplicate.
  if (flags & kUnreadable) return IDS_REGISTRY_FONT_UNREADABLE;
  if (flags & kNameMismatch) return IDS_REGISTRY_FONT_NAME_MISMATCH;
  if (flags & kDuplicateFile) return IDS_REGISTRY_FONT_DUPLICATE;
  return 0;
}

COLORREF CRegListView::TextColor(uint32_t flags) {
  if (flags & kUnreadable) return g_Preferences.Colors[kUnreadableColor];
  if (flags & kNameMismatch) return g_Preferences.Colors[kNameMismatchColor];
  if (flags & kType1Namesake) return g_Preferences.Colors[kNamesakeColor];
  if (flags & (kDuplicateFile | kSameExpectedName)) return g_Preferences.Colors[kCollisionColor];
  return ::GetSysColor(COLOR_WINDOWTEXT);
}

LRESULT CRegListView::OnItemChanged(int, NMHDR* hdr, BOOL&) {
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(hdr);
  // Only selection changes speak: a selected row explains itself, a deselected one clears.
  if (!(change->uChanged & LVIF_STATE) || !((change->uOldState ^ change->uNewState) & LVIS_SELECTED)) return 0;
  if (!statusBar_ || !::IsWindow(statusBar_)) return 0;
  UINT textId = 0;
  if (change->uNewState & LVIS_SELECTED) {
    if (const RegisteredFontEntry* row = RowOfItem(change->iItem)) textId = StatusTextId(row->flags);
  }
  const std::wstring text = textId ? LoadResString(textId) : std::wstring();
  ::SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
  return 0;
}

DWORD CRegListView::OnSubItemPrePaint(int, NMCUSTOMDRAW* cd) {
  auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(cd);
  const auto item = static_cast<int>(cd->dwItemSpec);
  constexpr UINT kMarked = LVIS_SELECTED | LVIS_FOCUSED;
  const auto state = static_cast<UINT>(::SendMessageW(m_hWnd, LVM_GETITEMSTATE, item, kMarked));
  const auto index = static_cast<size_t>(cd->lItemlParam);
  if ((state & kMarked) == kMarked) {
    draw->clrText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  } else if (index < table_.Rows().size()) {
    draw->clrText = TextColor(table_.Rows()[index].flags);
  }
  return CDRF_NEWFONT;
}

void CRegListView::FitColumns() {
  ::SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, kColumnNumber, LVSCW_AUTOSIZE);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  fittedWidth_ = client.right;
  int sum = 0;
  for (int column = kColumnName; column < kColumnCount; ++column) {
    ::SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, column, LVSCW_AUTOSIZE);
    sum += static_cast<int>(::SendMessageW(m_hWnd, LVM_GETCOLUMNWIDTH, column, 0));
  }
  const int rest = client.right - static_cast<int>(::SendMessageW(m_hWnd, LVM_GETCOLUMNWIDTH, kColumnNumber, 0));
  if (sum > rest) {
    for (int column = kColumnName; column < kColumnCount; ++column)
      ::SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, column, std::max(rest / 3, 0));
  }
}

void CRegListView::OnSize(UINT, SIZE client) {
  DefWindowProc();
  if (client.cx != fittedWidth_ && !table_.Rows().empty()) FitColumns();
}

LRESULT CRegListView::OnDoubleClick(int, NMHDR*, BOOL&) {
  const auto item = static_cast<int>(::SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  const RegisteredFontEntry* row = RowOfItem(item);
  // Type 1 rows have no path, and a folder that is gone cannot be shown.
  if (!row || row->fullPath.empty()) return 0;
  const std::wstring folder = ParentFolder(row->fullPath);
  if (folder.empty() || !::PathIsDirectoryW(folder.c_str())) return 0;
  ShowFontInFolderList(folder, row->name);
  return 0;
}

void ShowFontInFolderList(const std::wstring& folder, const std::wstring& name) {
  HWND main = g_AppState.MainWindow;
  if (!main || !::IsWindow(main)) return;
  if (::IsIconic(main)) ::ShowWindow(main, SW_RESTORE);
  ::BringWindowToTop(main);
  if (g_AppState.GroupListShown) ::SendMessageW(main, WM_COMMAND, ID_SHOW_FONT_LIST, 1);
  CLVFolderFonts& list = g_AppState.FolderFonts;
  if (!EqualsNoCase(folder, list.m_folder)) {
    // The list fills from the tree's selection on an idle pass and then selects the row.
    GoToFolderInTree(folder);
    list.SetPositionName(name, true);
  } else {
    list.SetPositionName(name, true);
    list.RestorePosition(false);
  }
}
