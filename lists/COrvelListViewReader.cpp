// The font list's side of the detail reader: completing a row's record on the main thread, and
// starting, stopping and taking in the reader's copies.
#include "lists/COrvelListView.h"
#include "fonts/EnsureFontItemLoaded.h"

void ReadFontDetails(const std::wstring& listFolder, FontItem& record) {
  if (record.HasFlag(font_flags::kRead)) return;
  ReadFontItemFromFile(record.folder.empty() ? listFolder : record.folder, record);
}

void COrvelListView::CompleteRow(FontListRow& row) {
  if (!row.record) return;
  ReadFontDetails(m_folder, *row.record);
  EnsureFontItemLoaded(m_folder, *row.record);
  if (reader_) reader_->Skip(row.serial);
}

void COrvelListView::OnDetailsRead() {
  if (!reader_) return;
  for (DetailReader::Job& copy : reader_->TakeResults()) {
    const auto it = rowOfSerial_.find(copy.serial);
    if (it == rowOfSerial_.end() || !it->second->record) continue;  // removed since the reader copied it
    FontItem& record = *it->second->record;
    // A row the painting read meanwhile keeps its own record.
    if (!record.HasFlag(font_flags::kRead) && copy.record.HasFlag(font_flags::kRead)) {
      record.CopyFrom(copy.record);
      it->second->sampleFontHeight = 0;  // the names the sample font was looked up by may have changed
    }
    if (!record.HasFlag(font_flags::kResolved)) EnsureFontItemLoaded(m_folder, record);
  }
}

void COrvelListView::StartDetailReader() {
  StopDetailReader();
  std::vector<DetailReader::Job> jobs;
  for (const auto& row : rows_) {
    if (row->record && !row->record->HasFlag(font_flags::kResolved))
      jobs.push_back(DetailReader::Job{row->serial, *row->record});
  }
  auto reader = std::make_unique<DetailReader>(m_hWnd, m_folder, std::move(jobs));
  if (reader->Start()) reader_ = std::move(reader);
}

void COrvelListView::StopDetailReader() {
  // The reader is joined before it goes, and its copies go with it: commands 218 still queued
  // find nothing to take in.
  reader_.reset();
}
