// A font list's idle passes load the fonts of the screen below the visible rows before it is
// scrolled into view and unload what the private font cache cut back; the cache keeps its limit.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/AppState.h"
#include "fonts/EnsureFontItemLoaded.h"
#include "tests/lists/ListTestHost.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

TEST_F(HostedList, IdlePassesLoadTheNextScreenAndUnloadWhatTheCacheCut) {
  testing_support::ScratchDir dir;
  PrivateFontCache& cache = g_AppState.FontCache;
  const int32_t savedLimit = cache.Limit();
  cache.SetReady(true);
  COrvelListView list;
  for (const std::wstring& file : sfnt_test::MakeRenamedFontCopies(dir.Path(), 100)) {
    FontItem record;
    record.fileRef = file;
    ReadFontItemFromFile(std::wstring(), record);
    list.AppendItem(record);
  }
  Show(list);
  const int page = static_cast<int>(::SendMessageW(list.m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_LT(4 * page, 100);
  cache.SetLimit(4 * page);  // the smallest cache that loading ahead is done for
  auto loaded = [&](int row) {
    const auto files = cache.Files();
    return std::count(files.begin(), files.end(), list.GetRecordAt(row)->GetFilePaths()) == 1;
  };
  for (int top = 0; top + page + 1 < 100; top += page) {
    list.ScrollToRow(top, -1);
    ::UpdateWindow(list.m_hWnd);
    EXPECT_FALSE(loaded(top + page + 1)) << "not drawn, not loaded yet";
    for (int i = 0; i < 500 && list.OnIdle(); ++i) {
    }
    for (int row = top; row <= std::min(top + 2 * page, 99); ++row) EXPECT_TRUE(loaded(row)) << row;
    EXPECT_LE(cache.Count(), static_cast<size_t>(4 * page));
    EXPECT_EQ(cache.TrimmedCount(), 0u);
  }
  testing_support::PumpMessages(10);  // the null messages the passes posted
  list.Clear();
  cache.RemoveAll(false);
  cache.SetLimit(savedLimit);
  cache.SetReady(false);
}
