// The search dialog's run: starting the worker, taking its results into the list in batches,
// the status bar's counts and folder, and the finishing steps.
#include "search/CSearchDlg.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <cwchar>

#include "common/ResString.h"
#include "common/StringHelpers.h"

namespace {

// Padding that makes a count wider than its part, so that the part counts as cut and its
// tooltip shows.
constexpr wchar_t kCountPadding[] = L"              \u00A0.";
constexpr wchar_t kWidening[] = L"  ";
constexpr int kFolderPartMargin = 8;

const int kSearchLockedControls[] = {IDC_SEARCH_CLOSE,     IDC_SEARCH_NAME_MODE,   IDC_SEARCH_PATTERN,
                                     IDC_SEARCH_ROOTS,     IDC_SEARCH_FILTER_ON,   IDC_SEARCH_FILTER_EDIT,
                                     IDC_SEARCH_PANOSE,    IDC_SEARCH_SAME_CLASS};

int TextWidth(HDC dc, const std::wstring& text) {
  SIZE size{};
  return ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size) ? size.cx : 0;
}

}  // namespace

void CSearchDlg::StartSearch() {
  if (searching_ || !m_hWnd) return;
  SetDlgItemText(IDC_SEARCH_START, LoadResString(IDS_SEARCH_STOP).c_str());
  if (driveListFilled_) (void)GetComboSelectedText(driveList_, roots_);
  SyncFilterBox();
  searching_ = true;
  EnableSearchControls(false);
  list_.SetBusy(true);
  list_.Clear();
  SetTimer(kFlushTimer, kFlushIntervalMs);
  ResetStatusCounts();
  folderShown_ = false;

  if (similarMode_) {
    matcher_.pattern = kPassEverything;
    matcher_.familyNames = false;
  } else {
    matcher_.pattern = Pattern();
    matcher_.familyNames = ::SendMessageW(GetDlgItem(IDC_SEARCH_NAME_MODE), CB_GETCURSEL, 0, 0) > 0;
  }
  matcher_.filterOn = filterOn_;
  matcher_.filter = filter_;
  list_.SetFocus();
  if (!worker_.StartSearch(roots_, matcher_)) FinishSearch();
}

void CSearchDlg::FlushResults() {
  if (!worker_.HasPending()) return;
  list_.MergeResults(worker_.TakePending());
  int rows = 0;
  list_.GetCounts(&rows, nullptr);
  SetCountPart(kFoundPart, static_cast<uint32_t>(rows));
}

void CSearchDlg::FinishSearch() {
  if (!searching_) return;
  KillTimer(kFlushTimer);
  worker_.WaitForWalk();
  FlushResults();
  list_.FitColumn();
  list_.Invalidate();
  list_.UpdateWindow();
  list_.SetBusy(false);
  SetCountPart(kExaminedPart, worker_.TakeProgress().examined);
  SetDlgItemText(IDC_SEARCH_START, LoadResString(IDS_SEARCH_START).c_str());
  if (similarMode_) ::EnableWindow(GetDlgItem(IDC_SEARCH_START), FALSE);
  SetFolderPart(LoadResString(worker_.Stopped() ? IDS_SEARCH_STOPPED : IDS_OPERATION_FINISHED), {}, false);
  folderShown_ = false;
  searching_ = false;
  EnableSearchControls(true);
  ::BringWindowToTop(m_hWnd);
  if (closePending_) DestroyWindow();
}

void CSearchDlg::EnableSearchControls(bool enable) {
  if (!enable) {
    for (int id : kSearchLockedControls) ::EnableWindow(GetDlgItem(id), FALSE);
    return;
  }
  // The similar-fonts boxes stay as they are: a finished search in that mode is the last.
  for (int id : {IDC_SEARCH_CLOSE, IDC_SEARCH_NAME_MODE, IDC_SEARCH_FILTER_ON, IDC_SEARCH_FILTER_EDIT})
    ::EnableWindow(GetDlgItem(id), TRUE);
  if (!similarMode_) ::EnableWindow(GetDlgItem(IDC_SEARCH_PATTERN), TRUE);
  if (driveListFilled_) ::EnableWindow(GetDlgItem(IDC_SEARCH_ROOTS), TRUE);
}

LRESULT CSearchDlg::OnTimer(UINT, WPARAM id, LPARAM, BOOL& handled) {
  if (id != kFlushTimer) {
    handled = FALSE;
    return 0;
  }
  FlushResults();
  return 0;
}

LRESULT CSearchDlg::OnWorkerFlush(UINT, WPARAM, LPARAM, BOOL&) {
  if (searching_) FlushResults();
  return 0;
}

LRESULT CSearchDlg::OnWorkerProgress(UINT, WPARAM, LPARAM, BOOL&) {
  if (!searching_) return 0;
  const SearchWorker::Progress progress = worker_.TakeProgress();
  SetCountPart(kExaminedPart, progress.examined);
  SetFolderPart(progress.folder, progress.folder, false);
  return 0;
}

LRESULT CSearchDlg::OnWorkerDone(UINT, WPARAM serial, LPARAM, BOOL&) {
  if (serial == worker_.RunSerial()) FinishSearch();
  return 0;
}

void CSearchDlg::ResetStatusCounts() {
  SetCountPart(kExaminedPart, 0);
  SetCountPart(kFoundPart, 0);
  if (statusBar_.m_hWnd) statusBar_.SendMessage(SB_SETICON, kFolderPart, 0);
}

void CSearchDlg::SetCountPart(StatusPart part, uint32_t count) {
  if (!statusBar_.m_hWnd) return;
  const std::wstring text = L" " + std::to_wstring(count) + kCountPadding;
  statusBar_.SendMessage(SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
}

void CSearchDlg::SetFolderPart(const std::wstring& text, const std::wstring& tip, bool withIcon) {
  if (!statusBar_.m_hWnd) return;
  statusBar_.SendMessage(SB_SETTEXTW, kFolderPart, reinterpret_cast<LPARAM>(text.c_str()));
  statusBar_.SendMessage(SB_SETTIPTEXTW, kFolderPart, reinterpret_cast<LPARAM>(tip.c_str()));
  statusBar_.SendMessage(SB_SETICON, kFolderPart, reinterpret_cast<LPARAM>(withIcon ? folderIcon_.Get() : nullptr));
}

void CSearchDlg::ShowSelection() {
  folderShown_ = false;
  statusBar_.SendMessage(SB_SETICON, kFolderPart, 0);
  const int focused = static_cast<int>(list_.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  const bool anySelected = list_.SendMessage(LVM_GETSELECTEDCOUNT) > 0;
  if (focused >= 0 && !anySelected) {
    LVITEMW state{};
    state.stateMask = LVIS_FOCUSED;
    list_.SendMessage(LVM_SETITEMSTATE, focused, reinterpret_cast<LPARAM>(&state));
    return;
  }
  const FontItem* record = focused >= 0 ? list_.GetRecordAt(focused) : nullptr;
  if (!record) {
    SetFolderPart({}, {}, false);
    return;
  }
  const std::wstring folder = ParentFolder(record->fullPath);
  RECT part{}, bar{};
  statusBar_.SendMessage(SB_GETRECT, kFolderPart, reinterpret_cast<LPARAM>(&part));
  statusBar_.GetClientRect(&bar);
  orv::ScopedGetDC dc(statusBar_.m_hWnd);
  orv::ScopedSelectObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(statusBar_.SendMessage(WM_GETFONT)));
  wchar_t shortened[MAX_PATH]{};
  wcsncpy(shortened, folder.c_str(), MAX_PATH - 1);
  const int room = part.right - part.left - ::GetSystemMetrics(SM_CXSMICON) - kFolderPartMargin;
  ::PathCompactPathW(dc.Get(), shortened, static_cast<UINT>(room > 0 ? room : 1));
  std::wstring text = shortened;
  const bool cut = text != folder;
  // A cut text is made wider than the whole bar, so that the part shows its tooltip.
  while (cut && TextWidth(dc.Get(), text) < bar.right) text += kWidening;
  SetFolderPart(text, cut ? folder : std::wstring(), true);
  folderShown_ = true;
}

void CSearchDlg::OnShowSelection(UINT, int, HWND) { ShowSelection(); }

LRESULT CSearchDlg::OnStatusSetCursor(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (!folderShown_) {
    handled = FALSE;
    return FALSE;
  }
  ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
  return TRUE;
}

LRESULT CSearchDlg::OnStatusClick(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  handled = FALSE;
  RECT part{};
  statusBar_.SendMessage(SB_GETRECT, kFolderPart, reinterpret_cast<LPARAM>(&part));
  const int x = static_cast<short>(LOWORD(lParam));
  if (!searching_ && x >= part.left && list_.m_hWnd) list_.PostMessage(WM_COMMAND, ID_SEARCH_OPEN_FOLDER);
  return 0;
}
