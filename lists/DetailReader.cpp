// The detail reader of a font list: a worker that completes the records of the rows in row
// order, ahead of the painting, and hands each record to the list on the main thread to
// resolve its installed status.
#include <process.h>

#include "lists/COrvelListView.h"
#include "fonts/FontFileReader.h"

namespace {

bool EndsWithNoCase(const std::wstring& text, const wchar_t* suffix) {
  const size_t n = wcslen(suffix);
  return text.size() >= n && EqualsNoCase(text.substr(text.size() - n), suffix);
}

}  // namespace

void ReadFontDetails(const std::wstring& listFolder, FontItem& record) {
  if (record.HasFlag(font_flags::kRead)) return;
  FontFileReader reader;
  reader.CopyFrom(record);
  if (reader.folder.empty()) reader.folder = listFolder;
  bool ok = false;
  if (EndsWithNoCase(record.fileRef, L".ttc")) ok = reader.ReadCollectionFaceByName();
  else if (record.IsVariable()) ok = reader.ReadNamedInstanceByName();
  else ok = reader.ReadFontFile();
  (void)ok;  // a failed read leaves the reader's unreadable record, which the row shows
  reader.flags |= font_flags::kRead;
  static_cast<FontItem&>(record) = static_cast<const FontItem&>(reader);
  record.enumOwner = &record;
}

void COrvelListView::CompleteRecord(FontItem& record) {
  std::lock_guard<std::mutex> lock(recordLock_);
  ReadFontDetails(m_folder, record);
  if (!record.HasFlag(font_flags::kResolved)) {
    record.ResolveInstallStatus();
    record.ReadInstalledMarker();
    record.flags |= font_flags::kResolved;
  }
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
