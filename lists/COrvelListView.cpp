#include "lists/COrvelListView.h"

#include <windowsx.h>

#include <algorithm>
#include <unordered_set>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "framework/AppModule.h"
#include "fonts/FontFileCommand.h"
#include "lists/FontDragSession.h"
#include "lists/FontListImages.h"
#include "printing/CPrintFontSet.h"

namespace {

constexpr uint32_t kFlaggedRowMask = 0x3C0010;  // GDI only, list colour, unreadable, other version, other type
constexpr ULONGLONG kEscapeLookInterval = 8;     // ms between two looks for Esc while collecting

bool KeyDown(int key) { return (::GetAsyncKeyState(key) & 0x8000) != 0; }

}  // namespace

std::wstring FoldRowName(const std::wstring& name) {
  std::wstring folded = name;
  if (!folded.empty()) ::CharLowerBuffW(folded.data(), static_cast<DWORD>(folded.size()));
  return folded;
}

bool CtrlAlone() { return KeyDown(VK_CONTROL) && !KeyDown(VK_SHIFT) && !KeyDown(VK_MENU); }

HFONT CreateListFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    metrics.lfMessageFont.lfHeight = -11;
    wcscpy_s(metrics.lfMessageFont.lfFaceName, L"Tahoma");
  }
  LOGFONTW& font = metrics.lfMessageFont;
  const std::wstring face = font.lfFaceName;
  if (EqualsNoCase(face, L"MS Sans Serif")) wcscpy_s(font.lfFaceName, L"Microsoft Sans Serif");
  else if (EqualsNoCase(face, L"MS Serif")) wcscpy_s(font.lfFaceName, L"Times New Roman");
  return ::CreateFontIndirectW(&font);
}

COrvelListView::COrvelListView()
    : m_backgroundColor(::GetSysColor(COLOR_WINDOW)),
      m_textColor(::GetSysColor(COLOR_WINDOWTEXT)),
      m_invertSelectedText(::GetSysColor(COLOR_HIGHLIGHTTEXT) != ::GetSysColor(COLOR_WINDOWTEXT)),
      listFont_(CreateListFont()) {}

COrvelListView::~COrvelListView() {
  // A window left behind would send its next message to a freed object and draw freed rows.
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  RegisterIdleHandler(false);
  FreeRows();
}

void COrvelListView::FreeRows() {
  StopDetailReader();
  if (m_hWnd) ::SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0);
  rows_.clear();
  rowOfSerial_.clear();
  aheadTop_ = -1;
  aheadRows_.clear();
  m_refreshPending = false;
}

void COrvelListView::RegisterIdleHandler(bool add) {
  if (add == idleHandlerAdded_) return;
  orv::CMessageLoop* loop = orv::g_Module.GetMessageLoop();
  if (!loop) return;
  if (add) loop->AddIdleHandler(this);
  else loop->RemoveIdleHandler(this);
  idleHandlerAdded_ = add;
}

// ---------------------------------------------------------------------------------------------
// Set-up

void COrvelListView::Initialize() {
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  ::SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  const FontListImages& images = FontListImages::Get();
  if (images.ownerList == nullptr) {
    FontListImages::Load(m_hWnd);
    ::SendMessageW(m_hWnd, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.small));
    ::SendMessageW(m_hWnd, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images.large));
  }
  const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
  if ((style & LVS_TYPEMASK) != LVS_REPORT) ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~LVS_TYPEMASK) | LVS_REPORT);
  ::SendMessageW(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_REGIONAL);
  m_namesOnly = (g_Preferences.StyleFlags & 1) != 0;
  MeasureRows();
  RegisterIdleHandler(true);
}

void COrvelListView::SetNamesOnly(bool namesOnly) {
  m_namesOnly = namesOnly;
  MeasureRows();
}

// ---------------------------------------------------------------------------------------------
// Rows

FontListRow* COrvelListView::InsertSorted(std::unique_ptr<FontListRow> row) {
  const bool isSubgroup = row->subgroup != nullptr;
  auto at = rows_.end();
  for (auto it = rows_.begin(); it != rows_.end(); ++it) {
    const FontListRow& e = **it;
    const bool sameKind = isSubgroup ? e.subgroup != nullptr : e.record != nullptr;
    if (sameKind && e.sortKey.compare(row->sortKey) > 0) {
      at = it;
      break;
    }
  }
  return Register(rows_.insert(at, std::move(row))->get());
}

FontListRow* COrvelListView::Register(FontListRow* row) {
  row->serial = nextSerial_++;
  rowOfSerial_[row->serial] = row;
  return row;
}

FontListRow* COrvelListView::AddItem(const FontItem& record, bool readNow) {
  auto row = std::make_unique<FontListRow>();
  row->record = std::make_unique<FontItem>(record);
  row->record->enumOwner = row->record.get();
  row->sortKey = FoldRowName(record.displayName);
  FontListRow* added = InsertSorted(std::move(row));
  if (readNow) ReadFontDetails(m_folder, *added->record);
  return added;
}

FontListRow* COrvelListView::AddItemFromFile(const std::wstring& name, const std::wstring& file, bool readNow) {
  FontItem record;
  record.displayName = name;
  record.names.System(NameSlot::Family) = name;
  record.fileRef = file;
  return AddItem(record, readNow);
}

FontListRow* COrvelListView::AddSubgroupEntry(const std::wstring& name, const std::wstring& groupFile,
                                              bool installed, bool loadFailed) {
  auto row = std::make_unique<FontListRow>();
  row->subgroup = std::make_unique<SubgroupEntry>(SubgroupEntry{name, groupFile, installed, loadFailed});
  row->sortKey = FoldRowName(name);
  return InsertSorted(std::move(row));
}

FontListRow* COrvelListView::AppendItem(const FontItem& record) {
  auto row = std::make_unique<FontListRow>();
  row->record = std::make_unique<FontItem>(record);
  row->record->enumOwner = row->record.get();
  row->sortKey = FoldRowName(record.displayName);
  rows_.push_back(std::move(row));
  return Register(rows_.back().get());
}

void COrvelListView::SortRows() {
  // Sorted inserts put each row behind every row of its kind that does not compare greater: a
  // stable sort of each kind among the places that kind holds.
  for (const bool subgroups : {false, true}) {
    std::vector<size_t> places;
    std::vector<std::unique_ptr<FontListRow>> kind;
    for (size_t i = 0; i < rows_.size(); ++i) {
      if ((rows_[i]->subgroup != nullptr) == subgroups) {
        places.push_back(i);
        kind.push_back(std::move(rows_[i]));
      }
    }
    std::stable_sort(kind.begin(), kind.end(),
                     [](const auto& a, const auto& b) { return a->sortKey.compare(b->sortKey) < 0; });
    for (size_t i = 0; i < places.size(); ++i) rows_[places[i]] = std::move(kind[i]);
  }
}

void COrvelListView::Repopulate() {
  if (!m_hWnd) return;
  ::SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0);
  itemsStale_ = false;
  aheadTop_ = -1;  // the rows ahead are planned again for the new order
  ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(m_hWnd, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOINVALIDATEALL);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.pszText = LPSTR_TEXTCALLBACKW;
  int index = 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    FontListRow& row = *rows_[i];
    row.order = i;
    if (IsHidden(row)) continue;
    item.iItem = index++;
    item.lParam = reinterpret_cast<LPARAM>(&row);
    ::SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  Sort();
  ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  ::UpdateWindow(m_hWnd);
}

int CALLBACK COrvelListView::CompareItems(LPARAM a, LPARAM b, LPARAM list) {
  const auto* self = reinterpret_cast<const COrvelListView*>(list);
  const auto* ra = reinterpret_cast<const FontListRow*>(a);
  const auto* rb = reinterpret_cast<const FontListRow*>(b);
  int result = 0;
  if (!ra || !rb) {
    result = 0;
  } else if (ra->subgroup && rb->subgroup) {
    result = ra->sortKey.compare(rb->sortKey);
  } else if (!ra->record || !rb->record) {
    result = (ra->record ? 1 : 0) - (rb->record ? 1 : 0);
  } else {
    result = ra->sortKey.compare(rb->sortKey);
  }
  // Rows that compare equal keep the order of the row entries.
  if (result == 0 && ra && rb) result = ra->order < rb->order ? -1 : (ra->order > rb->order ? 1 : 0);
  else result = result < 0 ? -1 : 1;
  return self->m_sortAscending ? result : -result;
}

void COrvelListView::Sort() {
  if (!m_hWnd) return;
  // The rows carry their entry as item data, so the sort compares entries directly.
  ::SendMessageW(m_hWnd, LVM_SORTITEMS, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(&CompareItems));
  FitColumn();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void COrvelListView::Clear() { FreeRows(); }

void COrvelListView::InvalidateRecords() {
  for (auto& row : rows_) {
    if (row->record) row->record->ResetInstallStatus();
    row->sampleFontHeight = 0;
  }
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

int COrvelListView::CountRecords() const {
  return static_cast<int>(std::count_if(rows_.begin(), rows_.end(), [](const auto& r) { return r->record != nullptr; }));
}

void COrvelListView::RemoveRow(FontListRow* row) {
  if (row) RemoveRows({row});
}

void COrvelListView::RemoveRows(const std::unordered_set<const FontListRow*>& rows) {
  if (rows.empty()) return;
  // One pass over the rows, however many go.
  auto kept = std::stable_partition(rows_.begin(), rows_.end(), [&rows](const auto& r) { return !rows.count(r.get()); });
  for (auto it = kept; it != rows_.end(); ++it) rowOfSerial_.erase((*it)->serial);
  rows_.erase(kept, rows_.end());
  aheadTop_ = -1;
  itemsStale_ = m_hWnd != nullptr;
}

// ---------------------------------------------------------------------------------------------
// Queries

int COrvelListView::ItemCount() const {
  return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int COrvelListView::TopIndex() const {
  return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, LVM_GETTOPINDEX, 0, 0)) : 0;
}

FontListRow* COrvelListView::GetRowAt(int row) const {
  if (!m_hWnd || row < 0 || itemsStale_) return nullptr;  // stale items may name freed rows
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!::SendMessageW(m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return nullptr;
  return reinterpret_cast<FontListRow*>(item.lParam);
}

FontItem* COrvelListView::GetRecordAt(int row) const { return GetItemRecord(GetRowAt(row)); }

int COrvelListView::GetItemKind(int row) const {
  if (row == -1) row = GetFirstSelected();
  const FontListRow* entry = GetRowAt(row);
  if (!entry) return -1;
  if (entry->record) return 1;
  return entry->subgroup ? 0 : -1;
}

bool COrvelListView::GetItemNameAndPath(int row, std::wstring& name, std::wstring& path, bool& isRecord) const {
  const FontListRow* entry = GetRowAt(row);
  if (entry && entry->record) {
    name = entry->record->displayName;
    path = entry->record->fileRef;
    isRecord = true;
    return true;
  }
  if (entry && entry->subgroup) {
    name = entry->subgroup->name;
    path = entry->subgroup->groupFile;
    isRecord = false;
    return true;
  }
  return false;
}

std::wstring COrvelListView::GetRowName(int row) const {
  const FontListRow* entry = GetRowAt(row);
  return entry ? entry->Name() : std::wstring();
}

int COrvelListView::GetFirstSelected() const {
  return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED))
                : -1;
}

std::vector<int> COrvelListView::GetSelectedIndices() const {
  std::vector<int> rows;
  for (int i = GetFirstSelected(); i >= 0;
       i = static_cast<int>(::SendMessageW(m_hWnd, LVM_GETNEXTITEM, i, LVNI_SELECTED)))
    rows.push_back(i);
  return rows;
}

std::vector<int> COrvelListView::GetSelectedFileIndices() const {
  std::vector<int> rows;
  for (int i : GetSelectedIndices()) {
    const FontItem* record = GetRecordAt(i);
    if (record && !record->HasFlag(font_flags::kUnreadable | font_flags::kEudc)) rows.push_back(i);
  }
  return rows;
}

int COrvelListView::FindNextByName(const std::wstring& text, int after, bool byDisplayName) const {
  const int count = ItemCount();
  for (int i = std::max(after + 1, 0); i < count; ++i) {
    const FontItem* record = GetRecordAt(i);
    if (!record) continue;
    if ((byDisplayName ? record->displayName : record->FullName()) == text) return i;
  }
  return -1;
}

int COrvelListView::FindMatchingRow(const FontItem& record) const {
  struct Candidate {
    int row;
    int rank;
  };
  std::vector<Candidate> candidates;
  const int count = ItemCount();
  const uint32_t type = record.flags & font_flags::kTypeMask;
  for (int i = 0; i < count && candidates.size() < 5; ++i) {
    const FontItem* r = GetRecordAt(i);
    if (!r) continue;
    const bool sameType = (r->flags & font_flags::kTypeMask) == type;
    if (r->FullName() == record.FullName()) {
      if (sameType) return i;
      candidates.push_back({i, 3});
    } else if (r->names.English(NameSlot::FullName) == record.names.English(NameSlot::FullName)) {
      candidates.push_back({i, sameType ? 1 : 5});
    }
  }
  int best = -1;
  int bestRank = 6;
  for (const Candidate& c : candidates) {
    if (c.rank < bestRank) {
      best = c.row;
      bestRank = c.rank;
    }
  }
  return best;
}

void COrvelListView::GetCounts(int* items, int* selected) const {
  if (items) *items = ItemCount();
  if (selected) *selected = m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

// ---------------------------------------------------------------------------------------------
// Selection

void COrvelListView::SelectAll(bool select) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = select ? LVIS_SELECTED : 0;
  ::SendMessageW(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

void COrvelListView::InvertSelection() {
  const int count = ItemCount();
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  for (int i = 0; i < count; ++i) {
    const UINT state = static_cast<UINT>(::SendMessageW(m_hWnd, LVM_GETITEMSTATE, i, LVIS_SELECTED));
    item.state = (state & LVIS_SELECTED) ? 0 : LVIS_SELECTED;
    ::SendMessageW(m_hWnd, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
  }
}

void COrvelListView::ExtendSelectionToSameFile() {
  // The selected collection faces' files, then one pass over the rows: linear in the rows even
  // when a whole list of collection faces is selected.
  std::unordered_set<std::wstring> files;
  for (int s : GetSelectedFileIndices()) {
    const FontItem* a = GetRecordAt(s);
    if (a && a->IsCollectionFace()) files.insert(a->fileRef);
  }
  if (files.empty()) return;
  const int count = ItemCount();
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  for (int i = 0; i < count; ++i) {
    const FontItem* b = GetRecordAt(i);
    if (b && b->IsCollectionFace() && files.count(b->fileRef))
      ::SendMessageW(m_hWnd, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
  }
}

// ---------------------------------------------------------------------------------------------
// Position

void COrvelListView::SavePosition(bool preferUnselected) {
  const int top = TopIndex();
  int row = top;
  if (preferUnselected) {
    const int count = ItemCount();
    auto selected = [this](int i) {
      return (::SendMessageW(m_hWnd, LVM_GETITEMSTATE, i, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    };
    row = -1;
    for (int i = top; i < count && row < 0; ++i)
      if (!selected(i)) row = i;
    for (int i = top - 1; i >= 0 && row < 0; --i)
      if (!selected(i)) row = i;
    if (row < 0) row = 0;
  }
  m_rememberedRow = GetRowName(row);
  m_selectOnRestore = false;
}

void COrvelListView::SetPositionName(const std::wstring& name, bool select) {
  m_rememberedRow = name;
  m_selectOnRestore = select;
}

void COrvelListView::RestorePosition(bool byDisplayName) {
  if (m_rememberedRow.empty() || !m_hWnd) return;
  const int count = ItemCount();
  int found = -1;
  for (int i = 0; i < count && found < 0; ++i) {
    const FontListRow* row = GetRowAt(i);
    if (!row) continue;
    if (row->record) {
      if ((byDisplayName ? row->record->displayName : row->record->FullName()) == m_rememberedRow) found = i;
    } else if (row->subgroup && row->subgroup->name == m_rememberedRow) {
      found = i;
    }
  }
  if (found >= 0) {
    ::SendMessageW(m_hWnd, LVM_SCROLL, 0, static_cast<LPARAM>(m_rowHeight) * (found - TopIndex()));
    if (m_selectOnRestore) {
      SelectAll(false);
      LVITEMW item{};
      item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      item.state = LVIS_SELECTED | LVIS_FOCUSED;
      ::SendMessageW(m_hWnd, LVM_SETITEMSTATE, found, reinterpret_cast<LPARAM>(&item));
    }
  }
  m_rememberedRow.clear();
}

void COrvelListView::ScrollToRow(int row, int where) {
  if (!m_hWnd || row < 0 || m_rowHeight <= 0) return;
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  const int height = client.bottom - client.top;
  int dy = m_rowHeight * (row - TopIndex());
  if (where == 0) dy -= height / 2;
  else if (where > 0) dy += height % m_rowHeight - height + m_rowHeight;
  ::SendMessageW(m_hWnd, LVM_SCROLL, 0, dy);
}

void COrvelListView::FitColumn() {
  if (!m_hWnd) return;
  ::ShowScrollBar(m_hWnd, SB_HORZ, FALSE);
  RECT window{};
  ::GetWindowRect(m_hWnd, &window);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  int width = (window.right - window.left) - 2 * ::GetSystemMetrics(SM_CXEDGE);
  if (static_cast<long long>(ItemCount()) * m_rowHeight >= client.bottom - client.top)
    width -= ::GetSystemMetrics(SM_CXVSCROLL);
  ::SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, 0, std::max(width, 0));
}

// ---------------------------------------------------------------------------------------------
// Commands on the selection

int COrvelListView::CollectItems(FontItemList& list, bool selectedOnly) {
  HCURSOR old = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  ExtendSelectionToSameFile();
  std::vector<int> rows;
  if (selectedOnly) {
    rows = GetSelectedIndices();
  } else {
    rows.resize(ItemCount());
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
  }
  // Esc is looked for before the first row and then every few milliseconds: as quick to answer
  // as a look before every row, without a round trip to the window server per row.
  ULONGLONG lastLook = 0;
  for (int i : rows) {
    MSG msg;
    const ULONGLONG now = ::GetTickCount64();
    const bool look = lastLook == 0 || now - lastLook >= kEscapeLookInterval;
    if (look) lastLook = now;
    if (look && ::PeekMessageW(&msg, m_hWnd, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE | PM_QS_INPUT) &&
        msg.wParam == VK_ESCAPE) {
      seams::Beep(MB_ICONEXCLAMATION);
      list.RemoveAll();
      break;
    }
    FontListRow* row = GetRowAt(i);
    if (!row) continue;
    if (row->record) {
      list.AddUnique(*row->record, i);
    } else if (row->subgroup && !AcceptEntry(list, *row->subgroup)) {
      break;
    }
  }
  ::SetCursor(old);
  return static_cast<int>(list.Count());
}

void COrvelListView::CopySelectionToFolder() {
  if (GetFirstSelected() < 0) return;
  FontItemList items;
  if (CollectItems(items, true) == 0) return;
  FontFileCommand command(&items, FontFileCommand::kCopy, IDS_COPY_FONTS_CAPTION);
  command.AskTargetAndRun(g_AppState.FolderFonts.m_folder);
}

void COrvelListView::PrintList() {
  CPrintFontSet job;
  job.PrintFontList(*this);
}

void COrvelListView::ShowInInstalledList() {
  COrvelListView& installed = g_AppState.InstalledFonts;
  if (!installed.m_hWnd || &installed == this) return;
  const int s = GetFirstSelected();
  const FontItem* record = GetRecordAt(s);
  if (!record) return;
  const int m = installed.FindMatchingRow(*record);
  if (m < 0) return;
  const int top = TopIndex();
  const int installedTop = installed.TopIndex();
  const int wantedTop = m - (s - top);  // M as far from the installed list's top as S from ours
  ::SendMessageW(installed.m_hWnd, LVM_SCROLL, 0, static_cast<LPARAM>(m_rowHeight) * (wantedTop - installedTop));
  const int reached = installed.TopIndex();
  if (reached != wantedTop)
    ::SendMessageW(m_hWnd, LVM_SCROLL, 0, static_cast<LPARAM>(m_rowHeight) * (reached - wantedTop));
}

void COrvelListView::AppendContextMenuItems(HMENU menu, UINT flags) const {
  std::vector<std::wstring> parts = SplitFields(LoadResString(IDS_LIST_MENU_CAPTIONS));
  parts.resize(6);  // a short string gives empty captions rather than missing items
  ::AppendMenuW(menu, MF_STRING, ID_LIST_SELECT_ALL, parts[0].c_str());
  ::AppendMenuW(menu, MF_STRING, ID_LIST_INVERT_SELECTION, parts[1].c_str());
  ::AppendMenuW(menu, MF_STRING | flags, ID_FONT_SHEET_, parts[2].c_str());
  ::AppendMenuW(menu, MF_STRING | flags, ID_CHARMAP_, parts[3].c_str());
  ::AppendMenuW(menu, MF_STRING, ID_REFRESH_, parts[4].c_str());
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu, MF_STRING | flags, ID_LIST_PRINT, parts[5].c_str());
}

void COrvelListView::JumpToFlaggedRow(bool down) {
  const int count = ItemCount();
  const int first = GetFirstSelected();
  if (first < 0 && !down) return;
  for (int i = first < 0 ? 0 : first + (down ? 1 : -1); i >= 0 && i < count; i += down ? 1 : -1) {
    FontItem* record = GetRecordAt(i);
    if (!record) continue;
    if (!record->HasFlag(font_flags::kResolved)) CompleteRow(*GetRowAt(i));
    if (!record->HasFlag(kFlaggedRowMask)) continue;
    SelectAll(false);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(m_hWnd, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
    ScrollToRow(i, 0);
    return;
  }
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT COrvelListView::OnGetDispInfo(int, NMHDR* header, BOOL&) {
  auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
  if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
    const auto* row = itemsStale_ ? nullptr : reinterpret_cast<const FontListRow*>(info->item.lParam);
    const std::wstring name = row ? row->Name() : std::wstring();
    lstrcpynW(info->item.pszText, name.c_str(), info->item.cchTextMax);
  }
  return 0;
}

LRESULT COrvelListView::OnItemChangedNotify(int, NMHDR* header, BOOL&) {
  OnItemChanged(reinterpret_cast<NMLISTVIEW*>(header));
  return 0;
}

LRESULT COrvelListView::OnDeleteItem(int, NMHDR* header, BOOL&) {
  const auto* info = reinterpret_cast<NMLISTVIEW*>(header);
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  if (::SendMessageW(m_hWnd, LVM_GETITEMRECT, info->iItem, reinterpret_cast<LPARAM>(&rect))) {
    rect.bottom += 2;
    ::InvalidateRect(m_hWnd, &rect, TRUE);
  }
  m_selectionChanged = true;
  return 0;
}

LRESULT COrvelListView::OnDeleteAllItems(int, NMHDR*, BOOL&) {
  // The control redraws the whole emptied list itself: the items need no notification each,
  // which would cost a round trip to the main window per row of a large list.
  m_selectionChanged = true;
  return TRUE;
}

LRESULT COrvelListView::OnRightClickNotify(int, NMHDR* header, BOOL&) {
  OnRightClick(reinterpret_cast<NMITEMACTIVATE*>(header));
  return 0;
}

LRESULT COrvelListView::OnDoubleClickNotify(int, NMHDR* header, BOOL&) {
  OnItemActivate(reinterpret_cast<NMITEMACTIVATE*>(header));
  return 0;
}

LRESULT COrvelListView::OnBeginDrag(int, NMHDR*, BOOL&) {
  if (!m_dragAllowed) return 0;
  CancelDrag();
  ::SetFocus(m_hWnd);
  ::SetCapture(m_hWnd);
  m_currentDrag = std::make_unique<FontDragSession>(*this, ControlId());
  if (!m_currentDrag->Started()) CancelDrag();
  return 0;
}

void COrvelListView::CancelDrag() {
  if (!m_currentDrag) return;
  m_currentDrag.reset();
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

LRESULT COrvelListView::OnMouseMove(UINT, WPARAM keys, LPARAM point, BOOL& handled) {
  handled = FALSE;
  if (m_currentDrag && m_currentDrag->Started()) m_currentDrag->Move(keys, {GET_X_LPARAM(point), GET_Y_LPARAM(point)});
  return 0;
}

LRESULT COrvelListView::OnLeftButtonUp(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;
  if (!m_currentDrag) return 0;
  // The drop may ask the user (a message box, the shell's questions): the mouse is free first.
  std::unique_ptr<FontDragSession> drag = std::move(m_currentDrag);
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  drag->Drop();
  drag.reset();
  ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
  return 0;
}

LRESULT COrvelListView::OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (!m_busy) {
    handled = FALSE;
    return 0;
  }
  ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  return TRUE;
}

LRESULT COrvelListView::OnDetailsReadCommand(WORD, WORD, HWND, BOOL&) {
  OnDetailsRead();
  return 0;
}

LRESULT COrvelListView::OnSelectAllCommand(WORD, WORD, HWND, BOOL&) {
  SelectAll(true);
  return 0;
}

LRESULT COrvelListView::OnInvertCommand(WORD, WORD, HWND, BOOL&) {
  InvertSelection();
  return 0;
}

LRESULT COrvelListView::OnCopyToFolderCommand(WORD, WORD, HWND, BOOL&) {
  CopySelectionToFolder();
  return 0;
}

LRESULT COrvelListView::OnPassToMainWindow(WORD, WORD id, HWND, BOOL&) {
  if (g_AppState.MainWindow) ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, id, reinterpret_cast<LPARAM>(this));
  return 0;
}

LRESULT COrvelListView::OnShowInstalledCommand(WORD, WORD, HWND, BOOL&) {
  ShowInInstalledList();
  return 0;
}

LRESULT COrvelListView::OnRefreshCommand(WORD, WORD, HWND, BOOL&) {
  m_refreshPending = true;
  return 0;
}

LRESULT COrvelListView::OnPrintCommand(WORD, WORD, HWND, BOOL&) {
  PrintList();
  return 0;
}

LRESULT COrvelListView::OnEndDragCommand(WORD, WORD, HWND, BOOL&) {
  CancelDrag();
  return 0;
}

LRESULT COrvelListView::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  CancelDrag();
  RegisterIdleHandler(false);
  FreeRows();
  handled = FALSE;
  return 0;
}

LRESULT COrvelListView::OnSize(UINT, WPARAM, LPARAM, BOOL& handled) {
  FitColumn();
  OnResized();
  handled = FALSE;
  return 0;
}

LRESULT COrvelListView::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& handled) {
  m_selectionChanged = true;
  handled = FALSE;
  return 0;
}

LRESULT COrvelListView::OnKeyDown(UINT, WPARAM key, LPARAM, BOOL& handled) {
  handled = FALSE;  // every key also reaches the control
  const bool ctrl = CtrlAlone();
  switch (key) {
    case VK_ESCAPE:
      CancelDrag();
      break;
    case VK_UP:
    case VK_DOWN:
      if (ctrl) JumpToFlaggedRow(key == VK_DOWN);
      else OnKey(static_cast<UINT>(key), ctrl);
      break;
    case VK_F5:
      m_refreshPending = true;
      break;
    default:
      if (ctrl) {
        switch (key) {
          case 'A': SelectAll(true); return 0;
          case 'I': InstallSelection(false); return 0;
          case 'P': PrintList(); return 0;
          case 'R': InvertSelection(); return 0;
          case 'T': SetNamesOnly(!m_namesOnly); return 0;
          case 'U': UninstallSelection(0); return 0;
          case VK_OEM_PLUS: ShowInInstalledList(); return 0;
          default: break;
        }
      }
      OnKey(static_cast<UINT>(key), ctrl);
      break;
  }
  return 0;
}
