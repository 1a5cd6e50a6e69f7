// The detail reader of a font list: a worker that completes the records of the rows in row
// order, ahead of the painting, and hands each record to the list on the main thread to
// resolve its installed status.
#include <process.h>

#include "lists/COrvelListView.h"
#include "fonts/EnsureFontItemLoaded.h"

void ReadFontDetails(const std::wstring& listFolder, FontItem& record) {
  if (record.HasFlag(font_flags::kRead)) return;
  ReadFontItemFromFile(record.folder.empty() ? listFolder : record.folder, record);
}

void COrvelListView::CompleteRecord(FontItem& record) {
  std::lock_guard<std::mutex> lock(recordLock_);
  ReadFontDetails(m_folder, record);
  EnsureFontItemLoaded(m_folder, record);
}

void COrvelListView::OnDetailsRead(FontItem* record) {
  if (record) CompleteRecord(*record);
}

void COrvelListView::StartDetailReader() {
  StopDetailReader();
  readerStop_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!readerStop_) return;
  readerGeneration_ = generation_;
  const uintptr_t thread = _beginthreadex(nullptr, 0, &DetailReaderThread, this, 0, nullptr);
  readerThread_.Reset(reinterpret_cast<HANDLE>(thread));
  if (!readerThread_) readerStop_.Reset();
}

bool COrvelListView::StopDetailReader() {
  if (!readerThread_) return true;
  DWORD code = 0;
  if (::GetExitCodeThread(readerThread_.Get(), &code) && code == STILL_ACTIVE) {
    ::SetEvent(readerStop_.Get());
    ::WaitForSingleObject(readerThread_.Get(), INFINITE);
  }
  readerThread_.Reset();
  readerStop_.Reset();
  return true;
}

unsigned __stdcall COrvelListView::DetailReaderThread(void* param) {
  auto* list = static_cast<COrvelListView*>(param);
  const WPARAM command = MAKEWPARAM(218, static_cast<WORD>(list->readerGeneration_));
  for (const auto& row : list->rows_) {
    if (::WaitForSingleObject(list->readerStop_.Get(), 0) == WAIT_OBJECT_0) break;
    FontItem* record = row->record.get();
    if (!record) continue;
    bool resolved = false;
    {
      std::lock_guard<std::mutex> lock(list->recordLock_);
      resolved = record->HasFlag(font_flags::kResolved);
      if (!resolved) ReadFontDetails(list->m_folder, *record);
    }
    if (!resolved) ::PostMessageW(list->m_hWnd, WM_COMMAND, command, reinterpret_cast<LPARAM>(record));
  }
  return 0;
}
