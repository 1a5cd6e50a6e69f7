// The detail reader as the lists use it: it completes copies of the records in row order, the
// list swaps them in on the main thread, rows may change meanwhile, copies of rows that went are
// dropped, and a clear or the end of the window stops and joins it first. Last, a long run of
// fills, sorts, removals, clears and repaints with the reader running.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <random>

#include "fonts/EnsureFontItemLoaded.h"
#include "lists/COrvelListView.h"
#include "tests/lists/ListTestHost.h"
#include "tests/support/TestSupport.h"

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";

std::vector<std::wstring> DejaVuFiles() {
  std::vector<std::wstring> files;
  for (const wchar_t* name : {L"DejaVuSans.ttf", L"DejaVuSans-Bold.ttf", L"DejaVuSans-Oblique.ttf",
                              L"DejaVuSans-ExtraLight.ttf", L"DejaVuSansCondensed.ttf", L"DejaVuSansMono.ttf",
                              L"DejaVuSansMono-Bold.ttf", L"DejaVuSerif.ttf", L"DejaVuSerif-Bold.ttf",
                              L"DejaVuSerif-Italic.ttf", L"DejaVuSerifCondensed.ttf", L"DejaVuSansCondensed-Bold.ttf"})
    files.push_back(kDejaVu + name);
  return files;
}

// The display name each file gives when read: what a completed row of that file must show.
std::map<std::wstring, std::wstring> NamesWhenRead(const std::vector<std::wstring>& files) {
  std::map<std::wstring, std::wstring> names;
  for (const std::wstring& file : files) {
    FontItem record;
    record.fileRef = file;
    ReadFontItemFromFile(std::wstring(), record);
    names[file] = record.displayName;
  }
  return names;
}

bool WaitForReader(const COrvelListView& list) {
  for (int i = 0; i < 1000 && list.DetailReaderRunning(); ++i) ::Sleep(10);
  return !list.DetailReaderRunning();
}

std::atomic<int> g_reads{0};
std::atomic<int> g_readDelayMs{0};

void CountingRead(const std::wstring&, FontItem& record) {
  if (g_readDelayMs) ::Sleep(g_readDelayMs);
  record.flags |= font_flags::kRead | font_flags::kUnreadable;
  ++g_reads;
}

struct CountingReads {
  explicit CountingReads(int delayMs) {
    g_reads = 0;
    g_readDelayMs = delayMs;
    DetailReader::SetReadFunction(&CountingRead);
  }
  ~CountingReads() { DetailReader::SetReadFunction(nullptr); }
};

int CountWith(const COrvelListView& list, uint32_t flag) {
  int n = 0;
  for (const auto& row : list.Rows()) n += row->record && row->record->HasFlag(flag);
  return n;
}

}  // namespace

TEST_F(HostedList, DetailReaderCompletesTheRowsThePaintingLeftOnceEach) {
  COrvelListView list;
  for (int i = 0; i < 200; ++i) list.AddItemFromFile(L"Font " + std::to_wstring(1000 + i), L"missing.ttf", false);
  Show(list);  // the painting completes the rows on the first screen itself
  const int painted = CountWith(list, font_flags::kResolved);
  ASSERT_GT(painted, 0);
  CountingReads reads(0);
  list.StartDetailReader();
  ASSERT_TRUE(WaitForReader(list));
  EXPECT_EQ(g_reads, 200 - painted) << "the rows the painting completed are passed over";
  testing_support::PumpMessages(50);  // the commands 218 swap the copies in
  EXPECT_EQ(CountWith(list, font_flags::kRead), 200);
  EXPECT_EQ(CountWith(list, font_flags::kResolved), 200);
  EXPECT_EQ(CountWith(list, font_flags::kUnreadable), 200);
}

TEST_F(HostedList, ClearAndTheWindowsEndStopAndJoinTheReaderFirst) {
  CountingReads reads(3);
  for (const bool destroy : {false, true}) {
    COrvelListView list;
    for (int i = 0; i < 300; ++i) list.AddItemFromFile(L"Font " + std::to_wstring(i), L"missing.ttf", false);
    Show(list);
    g_reads = 0;
    list.StartDetailReader();
    for (int i = 0; i < 500 && g_reads < 5; ++i) ::Sleep(2);
    if (destroy) ::DestroyWindow(list.m_hWnd);
    else list.Clear();
    const int atStop = g_reads;
    EXPECT_EQ(list.CountRecords(), 0);
    EXPECT_FALSE(list.DetailReaderRunning());
    EXPECT_LT(atStop, 250) << "the reader was told to stop, not waited for to the end";
    ::Sleep(60);
    EXPECT_EQ(g_reads, atStop) << "no read after the rows went (destroy " << destroy << ")";
    testing_support::PumpMessages(20);
  }
}

TEST_F(HostedList, DetailsOfRowsThatWentMeanwhileAreDropped) {
  const std::vector<std::wstring> files = DejaVuFiles();
  const auto readName = NamesWhenRead(files);
  COrvelListView list;
  for (int i = 0; i < 60; ++i) list.AddItemFromFile(L"Old " + std::to_wstring(i), files[i % 2], false);
  Show(list);
  list.StartDetailReader();
  ASSERT_TRUE(WaitForReader(list));  // every copy is made and its command 218 waits in the queue
  // Half the rows the painting left go, new rows come.
  std::unordered_set<const FontListRow*> gone;
  for (const auto& row : list.Rows())
    if (!row->record->HasFlag(font_flags::kRead) && (row->serial & 1)) gone.insert(row.get());
  ASSERT_GT(gone.size(), 10u);
  list.RemoveRows(gone);
  for (int i = 0; i < 30; ++i) list.AddItemFromFile(L"New " + std::to_wstring(i), files[2], false);
  testing_support::PumpMessages(50);
  EXPECT_EQ(list.Rows().size(), 60 - gone.size() + 30);
  for (const auto& row : list.Rows()) {
    const FontItem& r = *row->record;
    if (r.fileRef == files[2]) {
      EXPECT_FALSE(r.HasFlag(font_flags::kRead)) << "a copy of a removed row landed on a new one";
      EXPECT_EQ(r.displayName.substr(0, 4), L"New ");
    } else {
      EXPECT_TRUE(r.HasFlag(font_flags::kResolved));
      EXPECT_EQ(r.displayName, readName.at(r.fileRef));
    }
  }
  // The same after a clear: the rows that come next never get the copies of the cleared ones.
  list.StartDetailReader();
  ASSERT_TRUE(WaitForReader(list));
  list.Clear();
  for (int i = 0; i < 30; ++i) list.AddItemFromFile(L"Next " + std::to_wstring(i), files[3], false);
  testing_support::PumpMessages(50);
  for (const auto& row : list.Rows()) {
    EXPECT_FALSE(row->record->HasFlag(font_flags::kRead));
    EXPECT_EQ(row->record->displayName.substr(0, 5), L"Next ");
  }
}

// The reader as the group, search and installed lists will run it: several thousand rows, with
// rows added, sorted, removed, cleared and repainted while it reads. The list must end with the
// rows the test put in, each completed from its own file, and nothing may crash on the way.
TEST_F(HostedList, ReaderRunsWhileRowsAreAddedSortedRemovedClearedAndRepainted) {
  const std::vector<std::wstring> files = DejaVuFiles();
  const auto readName = NamesWhenRead(files);
  std::mt19937 random(11);
  COrvelListView list;
  Show(list);
  std::multiset<std::wstring> model;  // the file of every row that should be there
  int added = 0;
  auto addRow = [&](bool sorted) {
    const std::wstring& file = files[random() % files.size()];
    FontItem record;
    record.displayName = L"Row " + std::to_wstring(100000 + (random() % 90000));
    record.fileRef = file;
    if (sorted) list.AddItem(record, false);
    else list.AppendItem(record);
    model.insert(file);
    ++added;
  };
  auto checkRows = [&](const char* when) {
    std::multiset<std::wstring> actual;
    for (const auto& row : list.Rows()) {
      ASSERT_NE(row->record, nullptr) << when;
      const FontItem& r = *row->record;
      actual.insert(r.fileRef);
      if (r.HasFlag(font_flags::kRead)) ASSERT_EQ(r.displayName, readName.at(r.fileRef)) << when;
    }
    ASSERT_EQ(actual, model) << when;
  };
  for (int round = 0; round < 24; ++round) {
    if (round % 8 == 0) {
      // A refill: clear, append a few thousand rows, one sort, show, start reading.
      list.Clear();
      model.clear();
      for (int i = 0; i < 3000; ++i) addRow(false);
      list.SortRows();
      list.Repopulate();
      list.StartDetailReader();
    }
    for (int i = 0; i < 40; ++i) addRow(true);
    std::unordered_set<const FontListRow*> gone;
    for (int i = 0; i < 40; ++i) {
      const FontListRow* row = list.Rows()[random() % list.Rows().size()].get();
      if (gone.insert(row).second) model.erase(model.find(row->record->fileRef));
    }
    if (round % 2) {
      list.RemoveRows(gone);
    } else {
      for (const FontListRow* row : gone) list.RemoveRow(const_cast<FontListRow*>(row));
    }
    list.SortRows();
    list.Repopulate();
    // Scroll somewhere and paint there, take in what the reader sent, now and then start it anew.
    list.ScrollToRow(static_cast<int>(random() % list.Rows().size()), -1);
    ::RedrawWindow(list.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    testing_support::PumpMessages(10);
    if (round % 5 == 3) list.StartDetailReader();
    checkRows("during the run");
    if (HasFatalFailure()) return;
  }
  // Let the last reader finish every row, then look at them all.
  list.StartDetailReader();
  ASSERT_TRUE(WaitForReader(list));
  testing_support::PumpMessages(100);
  checkRows("at the end");
  EXPECT_EQ(CountWith(list, font_flags::kResolved), static_cast<int>(list.Rows().size()));
  EXPECT_EQ(::SendMessageW(list.m_hWnd, LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(list.Rows().size()));
  for (int i = 0; i < static_cast<int>(list.Rows().size()); i += 97)
    EXPECT_NE(list.GetRecordAt(i), nullptr);
  EXPECT_GT(added, 3000);
}
