// What the census result list does with one row: the preview of its font in the tooltip, its
// context menu, its folder shown in the main window and its property sheet.
#include <shlwapi.h>

#include "app/AppState.h"
#include "app/COrvelFavWnd.h"
#include "app/Preferences.h"
#include "common/IconPopupMenu.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "fonts/FaceLookups.h"
#include "fonts/FontFileReader.h"
#include "framework/TrackPopupMenuOnMonitor.h"
#include "lists/CCensusListView.h"
#include "viewing/FontPropertySheets.h"

using namespace census_flags;

namespace {

constexpr int kPreviewPoints = 12;

void CopyTip(const std::wstring& text, NMLVGETINFOTIPW* tip) {
  if (!tip->pszText || tip->cchTextMax <= 0) return;
  const size_t length = std::min(text.size(), static_cast<size_t>(tip->cchTextMax - 1));
  text.copy(tip->pszText, length);
  tip->pszText[length] = L'\0';
}

}  // namespace

LRESULT CCensusListView::OnGetInfoTip(int, NMHDR* hdr, BOOL&) {
  auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(hdr);
  ReleasePreviewFont();
  const int row = tip->iItem;
  if (row < 0 || row >= RowCount()) return 0;
  const int index = RecordIndexOfRow(row);
  FontFileReader reader;
  if (records_[static_cast<size_t>(index)].Has(census_flags::kUnusable) || !ReadRowFont(row, reader)) {
    CopyTip(LoadResString(IDS_UNREADABLE_FONT), tip);
    return 0;
  }
  HWND tooltip = ListView_GetToolTips(m_hWnd);
  if (!tooltipFont_ && tooltip) {
    LOGFONTW own{};
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(tooltip, WM_GETFONT, 0, 0));
    if (!font || !::GetObjectW(font, sizeof(own), &own))
      ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(own), &own);
    tooltipFont_.Reset(::CreateFontIndirectW(&own));
  }
  const std::wstring paths = reader.GetFilePaths();
  if (::AddFontResourceExW(paths.c_str(), FR_PRIVATE, nullptr) == 0) {
    records_[static_cast<size_t>(index)].censusFlags |= census_flags::kUnusable;
    CopyTip(LoadResString(IDS_UNREADABLE_FONT), tip);
    return 0;
  }
  previewFile_ = paths;
  ForgetFaceLookups();  // the face is there now
  int dpi = 96;
  if (orv::ScopedGetDC dc(tooltip); dc) dpi = ::GetDeviceCaps(dc.Get(), LOGPIXELSY);
  previewFont_.Reset(reader.CreateDisplayFont(-::MulDiv(kPreviewPoints, dpi, 72)));
  if (tooltip && previewFont_) ::SendMessageW(tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(previewFont_.Get()), TRUE);
  CopyTip(g_Preferences.SampleText, tip);
  return 0;
}

void CCensusListView::ReleasePreviewFont() {
  if (previewFile_.empty()) return;
  if (m_hWnd && tooltipFont_)
    if (HWND tooltip = ListView_GetToolTips(m_hWnd))
      ::SendMessageW(tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(tooltipFont_.Get()), TRUE);
  previewFont_.Reset();
  ::RemoveFontResourceExW(previewFile_.c_str(), FR_PRIVATE, nullptr);
  ForgetFaceLookups();
  previewFile_.clear();
}

void CCensusListView::ShowContextMenu() {
  const int row = SelectedRow();
  if (row < 0) return;
  ::PostMessageW(m_hWnd, WM_MOUSELEAVE, 0, 0);
  IconPopupMenu menu(::CreatePopupMenu());
  if (!menu.Get()) return;
  const std::wstring texts = LoadResString(IDS_CENSUS_MENU);
  FontFileReader reader;
  const bool readable = ReadRowFont(row, reader);
  menu.InsertItem(ID_CENSUS_OPEN_FOLDER, FieldAt(texts, 0).c_str(), MF_ENABLED);
  menu.InsertItem(ID_CENSUS_PROPERTIES, FieldAt(texts, 1).c_str(), readable ? MF_ENABLED : MF_GRAYED | MF_DISABLED);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  orv::TrackPopupMenuOnMonitor(menu.Get(), TPM_LEFTBUTTON, cursor, m_hWnd);
}

void CCensusListView::OpenFolderOfRow() {
  const int row = SelectedRow();
  if (row < 0) return;
  const CensusRecord& record = RecordOfRow(row);
  const std::wstring folder = WithoutTrailingBackslash(record.folder);
  if (folder.empty() || !::PathFileExistsW(folder.c_str())) {
    seams::Beep(MB_ICONEXCLAMATION);
    return;
  }
  ShowFolderInMainTree(folder, record.name);
}

void ShowFolderInMainTree(const std::wstring& folder, const std::wstring& fontName) {
  HWND main = g_AppState.MainWindow;
  if (main) {
    ::BringWindowToTop(main);
    if (g_AppState.GroupListShown) ::SendMessageW(main, WM_COMMAND, ID_SHOW_FONT_LIST, 1);
  }
  CLVFolderFonts& list = g_AppState.FolderFonts;
  if (!EqualsNoCase(folder, list.m_folder)) {
    if (GoToFolderInTree(folder) && !fontName.empty()) list.SetPositionName(fontName, true);
    return;
  }
  if (fontName.empty() || !list.m_hWnd) return;
  list.SetPositionName(fontName, true);
  list.RestorePosition(false);
}

void CCensusListView::ShowProperties() {
  const int row = SelectedRow();
  if (row < 0) return;
  FontFileReader reader;
  if (!ReadRowFont(row, reader) || reader.IsGdiOnly()) {
    seams::Beep(MB_ICONEXCLAMATION);
    return;
  }
  (void)ShowFontProperties(reader, ::GetActiveWindow());
}
