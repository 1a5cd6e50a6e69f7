// The detail reader as the lists use it: a clear stops and joins it first, copies of rows that
// went are dropped, and a long run of fills, sorts, removals, clears and repaints with the reader
// running ends with the right rows, each completed from its own file.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <random>

#include "app/AppState.h"
#include "fonts/EnsureFontItemLoaded.h"
#include "lists/COrvelListView.h"
#include "tests/lists/ListTestHost.h"
#include "tests/support/TestSupport.h"

namespace {

// Twelve DejaVu files, each with the display name it gives when read.
std::map<std::wstring, std::wstring> DejaVuNames() {
  std::map<std::wstring, std::wstring> names;
  for (const wchar_t* face : {L"Sans", L"Sans-Bold", L"Sans-Oblique", L"Sans-ExtraLight", L"SansCondensed",
                              L"SansMono", L"SansMono-Bold", L"Serif", L"Serif-Bold", L"Serif-Italic",
                              L"SerifCondensed", L"SansCondensed-Bold"}) {
    FontItem record;
    record.fileRef = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVu" + std::wstring(face) + L".ttf";
    ReadFontItemFromFile(std::wstring(), record);
    names[record.fileRef] = record.displayName;
  }
  return names;
}

bool WaitForReader(const COrvelListView& list) {
  for (int i = 0; i < 1000 && list.DetailReaderRunning(); ++i) ::Sleep(10);
  return !list.DetailReaderRunning();
}

std::atomic<int> g_reads{0};

}  // namespace

TEST_F(HostedList, ClearStopsAndJoinsTheReaderFirst) {
  DetailReader::SetReadFunction([](const std::wstring&, FontItem& record) {
    ::Sleep(3);
    record.flags |= font_flags::kRead;
    ++g_reads;
  });
  COrvelListView list;
  for (int i = 0; i < 300; ++i) list.AddItemFromFile(L"Font " + std::to_wstring(i), L"missing.ttf", false);
  Show(list);
  g_reads = 0;
  list.StartDetailReader();
  for (int i = 0; i < 500 && g_reads < 5; ++i) ::Sleep(2);
  list.Clear();
  const int atClear = g_reads;
  ::Sleep(60);
  DetailReader::SetReadFunction(nullptr);
  EXPECT_LT(atClear, 250) << "told to stop, not waited for to the end";
  EXPECT_EQ(g_reads, atClear) << "no read after Clear returned";
  EXPECT_FALSE(list.DetailReaderRunning());
}

TEST_F(HostedList, DetailsPostedBeforeAClearAreDropped) {
  const auto names = DejaVuNames();
  COrvelListView list;
  for (int i = 0; i < 60; ++i) list.AddItemFromFile(L"Old", names.begin()->first, false);
  Show(list);
  list.StartDetailReader();
  ASSERT_TRUE(WaitForReader(list));  // every copy made, its command 218 waiting in the queue
  list.Clear();
  for (int i = 0; i < 60; ++i) list.AddItemFromFile(L"New", names.rbegin()->first, false);
  testing_support::PumpMessages(50);
  for (const auto& row : list.Rows()) {
    EXPECT_FALSE(row->record->HasFlag(font_flags::kRead)) << "a copy of a cleared row landed on a new one";
    EXPECT_EQ(row->record->displayName, L"New");
  }
}

// A file held by another handle (as Wine's font code holds one it loads) leaves its row listed,
// neither read nor unreadable, and it is read once the file is free.
TEST_F(HostedList, ARowOfAHeldFileStaysListedUntilTheFileIsFree) {
  const auto [file, name] = *DejaVuNames().begin();
  orv::ScopedHandle hold(::CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  COrvelListView list;
  const FontItem& record = *list.AddItemFromFile(L"Listed", file, false)->record;
  Show(list);  // the painting tries first, then the reader, then command 218
  list.StartDetailReader();
  ASSERT_TRUE(hold && WaitForReader(list));
  testing_support::PumpMessages(50);
  hold.Reset();
  ::RedrawWindow(list.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(record.displayName, name);
  EXPECT_EQ(record.flags & (font_flags::kResolved | font_flags::kUnreadable), font_flags::kResolved);
}

// Several thousand rows, added, sorted, removed, cleared and repainted while the reader runs, as
// the group, search and installed lists will run it.
TEST_F(HostedList, ReaderRunsWhileRowsAreAddedSortedRemovedClearedAndRepainted) {
  const auto names = DejaVuNames();
  std::vector<std::wstring> files;
  for (const auto& [file, name] : names) files.push_back(file);
  std::mt19937 random(11);
  g_AppState.FontCache.SetReady(true);
  g_AppState.FontCache.RemoveAll(false);  // every run loads the files while readers read them
  g_AppState.FontCache.SetReady(false);
  COrvelListView list;
  Show(list);
  std::multiset<std::wstring> model;  // the file of every row that should be there
  auto addRow = [&](bool sorted) {
    FontItem record;
    record.displayName = L"Row " + std::to_wstring(random() % 90000);
    record.fileRef = files[random() % files.size()];
    sorted ? list.AddItem(record, false) : list.AppendItem(record);
    model.insert(record.fileRef);
  };
  auto checkRows = [&] {
    std::multiset<std::wstring> actual;
    for (const auto& row : list.Rows()) {
      actual.insert(row->record->fileRef);
      if (row->record->HasFlag(font_flags::kRead)) {
        ASSERT_EQ(row->record->displayName, names.at(row->record->fileRef));
      }
    }
    ASSERT_EQ(actual, model);
  };
  for (int round = 0; round < 24; ++round) {
    if (round % 8 == 0) {  // a refill
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
    if (round % 2) list.RemoveRows(gone);
    else for (const FontListRow* row : gone) list.RemoveRow(const_cast<FontListRow*>(row));
    list.SortRows();
    list.Repopulate();
    list.ScrollToRow(static_cast<int>(random() % list.Rows().size()), -1);
    ::RedrawWindow(list.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    testing_support::PumpMessages(10);  // the reader's copies come in
    if (round % 5 == 3) list.StartDetailReader();
    ASSERT_NO_FATAL_FAILURE(checkRows()) << "round " << round;
  }
  list.StartDetailReader();
  ASSERT_TRUE(WaitForReader(list));
  testing_support::PumpMessages(100);
  ASSERT_NO_FATAL_FAILURE(checkRows());
  for (const auto& row : list.Rows()) ASSERT_TRUE(row->record->HasFlag(font_flags::kResolved));
  EXPECT_EQ(::SendMessageW(list.m_hWnd, LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(list.Rows().size()));
}
