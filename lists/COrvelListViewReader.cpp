// The font list's side of the detail reader: completing a row's record on the main thread, and
// starting, stopping and taking in the reader's copies.
#include "lists/COrvelListView.h"
#include "common/ByteReader.h"
#include "fonts/EnsureFontItemLoaded.h"

bool ReadFontDetails(const std::wstring& listFolder, FontItem& record) {
  if (record.HasFlag(font_flags::kRead)) return true;
  FontItem read = record;
  const uint32_t heldBefore = FileBytes::HeldOpens();
  ReadFontItemFromFile(record.folder.empty() ? listFolder : record.folder, read);
  // The record takes a read whole, the read flag with what it found. A file that another handle
  // still held (the byte reader waited for it) is no verdict: the record stays listed, unread.
  if (read.IsUnreadable() && FileBytes::HeldOpens() != heldBefore) return false;
  record.CopyFrom(read);
  return true;
}

void COrvelListView::CompleteRow(FontListRow& row) {
  if (!row.record) return;
  // Not read (its file held for now): it stays listed, and is read when next drawn or reached.
  if (!ReadFontDetails(m_folder, *row.record)) return;
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
    // A copy the reader could not read (its file held) is read here.
    if (!record.HasFlag(font_flags::kResolved)) CompleteRow(*it->second);
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
