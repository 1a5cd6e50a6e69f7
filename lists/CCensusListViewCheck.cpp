// The test of every census record for loadability, behind the filter of fonts that cannot be
// loaded. The check thread reads and privately loads copies of the records not tested yet and
// posts its answers in batches; the list marks its records and lists the unusable ones as the
// answers come in, so a check that is stopped keeps what it found and the next one goes on
// with the records still untested.
#include <process.h>

#include <utility>

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "fonts/FaceLookups.h"
#include "fonts/FontFileReader.h"
#include "framework/OwnedPost.h"
#include "framework/Beep.h"
#include "lists/CCensusListView.h"

using namespace census_flags;

namespace {

constexpr size_t kResultsBatch = 32;
constexpr ULONGLONG kResultsInterval = 100;  // ms between batches at most, for the progress

bool LoadsPrivately(const CensusRecord& record) {
  FontFileReader reader;
  if (!ReadCensusRecordFont(record, reader)) return false;
  const std::wstring paths = reader.GetFilePaths();
  if (::AddFontResourceExW(paths.c_str(), FR_PRIVATE, nullptr) == 0) return false;
  // A lookup of the main thread meanwhile may find the face, which is gone again at once.
  ForgetFaceLookups();
  ::RemoveFontResourceExW(paths.c_str(), FR_PRIVATE, nullptr);
  ForgetFaceLookups();
  return true;
}

}  // namespace

unsigned __stdcall CCensusListView::CheckThreadProc(void* param) {
  const auto* job = static_cast<const CensusCheckJob*>(param);
  auto batch = std::make_unique<CensusCheckResults>();
  ULONGLONG lastPost = ::GetTickCount64();
  bool completed = true;
  for (const auto& [index, record] : job->records) {
    if (job->stop->load()) {
      completed = false;
      break;
    }
    batch->loadable.emplace_back(index, LoadsPrivately(record));
    const ULONGLONG now = ::GetTickCount64();
    if (batch->loadable.size() >= kResultsBatch || now - lastPost >= kResultsInterval) {
      (void)orv::PostOwned(job->list, kMsgCheckResults, 0, std::move(batch));
      batch = std::make_unique<CensusCheckResults>();
      lastPost = now;
    }
  }
  if (!batch->loadable.empty()) (void)orv::PostOwned(job->list, kMsgCheckResults, 0, std::move(batch));
  ::PostMessageW(job->list, kMsgCheckDone, completed ? 1 : 0, 0);
  return 0;
}

void CCensusListView::StartCheck() {
  rows_.clear();
  ShowRows();
  ClearSortArrows();
  sortColumn_ = -1;
  if (status_ && status_->Handle()) status_->SetText(3, LoadResString(IDS_CENSUS_CHECKING));
  ::SetFocus(m_hWnd);
  auto job = std::make_unique<CensusCheckJob>();
  job->list = m_hWnd;
  job->stop = &stopCheck_;
  for (int index = 0; index < RecordCount(); ++index) {
    const CensusRecord& record = records_[static_cast<size_t>(index)];
    if (record.Has(census_flags::kUnusable)) rows_.push_back(index);
    else if (!record.Has(kLoadable)) job->records.emplace_back(index, record);
  }
  ShowRows();
  if (job->records.empty()) {
    EndCheck(true, true);
    return;
  }
  CreateCheckProgress(static_cast<int>(job->records.size()));
  stopCheck_ = false;
  closeWhenStopped_ = false;
  const uintptr_t thread = ::_beginthreadex(nullptr, 0, &CCensusListView::CheckThreadProc, job.get(), 0, nullptr);
  if (!thread) {
    EndCheck(false, true);
    return;
  }
  checkJob_ = std::move(job);
  checkThread_.Reset(reinterpret_cast<HANDLE>(thread));
}

void CCensusListView::CreateCheckProgress(int records) {
  if (!status_ || !status_->Handle()) return;
  HWND bar = status_->Handle();
  RECT rc{};
  ::GetClientRect(bar, &rc);
  rc.left += (rc.right - rc.left) * 4 / 5;
  ::InflateRect(&rc, -12, -6);
  checkProgress_ = ::CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, rc.left, rc.top,
                                     rc.right - rc.left, rc.bottom - rc.top, bar, nullptr, nullptr, nullptr);
  if (!checkProgress_) return;
  ::SendMessageW(checkProgress_, PBM_SETRANGE32, 0, records);
  ::SendMessageW(checkProgress_, PBM_SETSTEP, 1, 0);
}

void CCensusListView::ApplyCheckResults(const CensusCheckResults& results) {
  const int before = RowCount();
  for (const auto& [index, loadable] : results.loadable) {
    if (index < 0 || index >= RecordCount()) continue;
    CensusRecord& record = records_[static_cast<size_t>(index)];
    record.censusFlags |= loadable ? kLoadable : census_flags::kUnusable;
    if (!loadable && filterMode_ == kFilterUnusable) rows_.push_back(index);
    if (checkProgress_) ::SendMessageW(checkProgress_, PBM_STEPIT, 0, 0);
  }
  if (RowCount() != before && m_hWnd) {
    ListView_SetItemCountEx(m_hWnd, RowCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    ::UpdateWindow(m_hWnd);
  }
  ShowCounts();
}

LRESULT CCensusListView::OnCheckResults(UINT, WPARAM, LPARAM lParam, BOOL&) {
  const std::unique_ptr<CensusCheckResults> results = orv::TakeOwned<CensusCheckResults>(lParam);
  // Answers of a check that was stopped and joined meanwhile were taken then.
  if (results && checkThread_) ApplyCheckResults(*results);
  return 0;
}

LRESULT CCensusListView::OnCheckDone(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (!checkThread_) return 0;
  ::WaitForSingleObject(checkThread_.Get(), INFINITE);
  checkThread_.Reset();
  checkJob_.reset();
  EndCheck(wParam != 0, true);
  if (closeWhenStopped_) {
    closeWhenStopped_ = false;
    ::PostMessageW(::GetParent(m_hWnd), WM_CLOSE, 0, 0);
  }
  return 0;
}

bool CCensusListView::CanClose() {
  if (!IsChecking()) return true;
  stopCheck_ = true;
  closeWhenStopped_ = true;
  return false;
}

void CCensusListView::StopCheck() {
  if (!checkThread_) return;
  stopCheck_ = true;
  ::WaitForSingleObject(checkThread_.Get(), INFINITE);
  checkThread_.Reset();
  checkJob_.reset();
  if (m_hWnd) {
    // What the thread found before it stopped is kept; its end message is no longer needed.
    orv::DrainOwned<CensusCheckResults>(m_hWnd, kMsgCheckResults,
                                        [this](std::unique_ptr<CensusCheckResults> results) {
                                          if (results) ApplyCheckResults(*results);
                                        });
    MSG msg;
    while (::PeekMessageW(&msg, m_hWnd, kMsgCheckDone, kMsgCheckDone, PM_REMOVE | PM_NOYIELD)) {
    }
  }
  EndCheck(false, false);
}

void CCensusListView::EndCheck(bool completed, bool report) {
  if (checkProgress_) {
    ::DestroyWindow(checkProgress_);
    checkProgress_ = nullptr;
    if (status_ && status_->Handle()) ::InvalidateRect(status_->Handle(), nullptr, TRUE);
  }
  if (!report) return;
  seams::Beep(MB_ICONWARNING);
  const bool hasStatus = status_ && status_->Handle();
  if (!completed) {
    if (hasStatus)
      status_->SetText(3, LoadResString(IDS_CENSUS_UNUSABLE) + L" " + LoadResString(IDS_CENSUS_STOPPED));
    return;
  }
  checkDone_ = true;
  SortByColumn(kCensusName, 1);
  if (hasStatus) status_->SetText(3, {});
  ShowCounts();
  if (rows_.empty()) ClearSortArrows();
  if (m_hWnd) {
    HWND dialog = ::GetParent(m_hWnd);
    ::BringWindowToTop(dialog);
    ::EnableWindow(::GetDlgItem(dialog, IDC_CENSUS_SAVE), !rows_.empty());
  }
}
