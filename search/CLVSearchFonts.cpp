#include "search/CLVSearchFonts.h"

#include <algorithm>

#include "app/AppState.h"
#include "common/StringHelpers.h"
#include "framework/Beep.h"
#include "lists/FontItemList.h"

int CLVSearchFonts::InsertionIndex(const FontItem& record) const {
  // The rows are records only and stay in sorted order: a binary search finds the place the
  // sorted insert of the base would find, behind every row of an equal name.
  const std::wstring key = FoldRowName(record.displayName);
  const auto at = std::upper_bound(rows_.begin(), rows_.end(), key,
                                   [](const std::wstring& k, const auto& row) { return k.compare(row->sortKey) < 0; });
  return static_cast<int>(at - rows_.begin());
}

void CLVSearchFonts::MergeResults(std::vector<FontItem> records) {
  if (records.empty() || !m_hWnd) return;
  const bool hadRows = !rows_.empty();
  const int top = TopIndex();
  int insertedAboveTop = 0;
  ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.pszText = LPSTR_TEXTCALLBACKW;
  for (FontItem& record : records) {
    const int place = InsertionIndex(record);
    const int shown = static_cast<int>(rows_.size());
    auto row = std::make_unique<FontListRow>();
    row->record = std::make_unique<FontItem>(std::move(record));
    row->record->enumOwner = row->record.get();
    row->sortKey = FoldRowName(row->record->displayName);
    // Later than every row there, so that rows of equal names keep their order of arrival in
    // both directions of the sort.
    row->order = std::max(nextOrder_, rows_.size());
    nextOrder_ = row->order + 1;
    FontListRow* added = Register(rows_.insert(rows_.begin() + place, std::move(row))->get());
    // Descending, the list shows the rows back to front.
    item.iItem = m_sortAscending ? place : shown - place;
    item.lParam = reinterpret_cast<LPARAM>(added);
    const int at = static_cast<int>(::SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (at >= 0 && at <= top + insertedAboveTop) ++insertedAboveTop;
  }
  // The row that was at the top stays there.
  if (hadRows) {
    const int now = TopIndex();
    const int wanted = top + insertedAboveTop;
    if (now != wanted) ::SendMessageW(m_hWnd, LVM_SCROLL, 0, static_cast<LPARAM>(m_rowHeight) * (wanted - now));
  }
  FitColumn();
  ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CLVSearchFonts::ShowInFolder() {
  const int focused = m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                                LVNI_FOCUSED))
                             : -1;
  const FontItem* record = GetRecordAt(focused);
  if (!record) return;
  const std::wstring folder = ParentFolder(record->fullPath);
  const std::wstring name = record->FullName();
  if (HWND main = g_AppState.MainWindow) {
    if (::IsIconic(main)) ::ShowWindow(main, SW_RESTORE);
    ::SetForegroundWindow(main);
    ::BringWindowToTop(main);
    if (g_AppState.GroupListShown) ::SendMessageW(main, WM_COMMAND, ID_SHOW_FONT_LIST, 1);
  }
  CLVFolderFonts& folderList = g_AppState.FolderFonts;
  if (!EqualsNoCase(folder, folderList.m_folder)) {
    // Selecting the folder in the tree fills the folder list the usual way; the row is selected
    // when the fill is done.
    CFolderTreeView& tree = g_AppState.FolderTree;
    const HTREEITEM item = tree.IsWindow() ? tree.FindItemByIdList(folder, true) : nullptr;
    if (!item) return;
    folderList.SetPositionName(name, true);
    tree.SelectItem(item);
    tree.SelectItem(item, TVGN_FIRSTVISIBLE);
    return;
  }
  folderList.SetPositionName(name, true);
  folderList.RestorePosition(false);
}

void CLVSearchFonts::AddSelectionToGroup() {
  CGroupsTreeView& tree = g_AppState.GroupsTree;
  const HTREEITEM group = tree.IsWindow() ? tree.GetSelectedItem() : nullptr;
  if (!group) {
    seams::Beep(0);
    return;
  }
  FontItemList fonts;
  if (CollectItems(fonts, true) == 0) return;
  tree.AddFontsToGroup(fonts, group);
}

bool CLVSearchFonts::OnKey(UINT key, bool) {
  if (key != VK_INSERT) return false;
  AddSelectionToGroup();
  return true;
}

void CLVSearchFonts::OnRightClick(NMITEMACTIVATE*) {
  ::PostMessageW(::GetParent(m_hWnd), WM_COMMAND, ID_PANE_MENU, reinterpret_cast<LPARAM>(m_hWnd));
}

void CLVSearchFonts::OnItemChanged(NMLISTVIEW*) {
  if (!m_busy) TellNoticeWindow();
}

void CLVSearchFonts::OnResized() { TellNoticeWindow(); }

void CLVSearchFonts::TellNoticeWindow() const {
  if (noticeWindow_)
    ::SendMessageW(noticeWindow_, WM_COMMAND, ID_SEARCH_SHOW_SELECTION, reinterpret_cast<LPARAM>(m_hWnd));
}
