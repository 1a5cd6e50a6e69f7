// A font list's idle passes: the fonts of the screens next to the visible rows are loaded before
// they are scrolled into view, the screen the last scroll went towards first, and what the
// private font cache cut back is unloaded; the cache keeps its limit throughout.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/AppState.h"
#include "fonts/EnsureFontItemLoaded.h"
#include "lists/COrvelListView.h"
#include "tests/lists/ListTestHost.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

namespace {

void RunIdlePasses(COrvelListView& list) {
  for (int i = 0; i < 500 && list.OnIdle(); ++i) {
  }
  testing_support::PumpMessages(10);  // the null messages the passes posted
}

void ScrollTo(COrvelListView& list, int row) {
  list.ScrollToRow(row, -1);
  ::UpdateWindow(list.m_hWnd);
}

}  // namespace

TEST_F(HostedList, IdlePassesLoadTheScreensAroundTheVisibleRowsAndUnloadWhatTheCacheCut) {
  testing_support::ScratchDir dir;
  const std::vector<std::wstring> files = sfnt_test::MakeRenamedFontCopies(dir.Path(), 100);
  PrivateFontCache& cache = g_AppState.FontCache;
  const int32_t savedLimit = cache.Limit();
  cache.SetReady(true);
  cache.RemoveAll(false);
  COrvelListView list;
  for (const std::wstring& file : files) {
    FontItem record;
    record.fileRef = file;
    ReadFontItemFromFile(std::wstring(), record);
    list.AppendItem(record);
  }
  list.SortRows();
  host.Attach(list);
  const int page = static_cast<int>(::SendMessageW(list.m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_GE(page, 5);
  ASSERT_LT(6 * page, 100);
  cache.SetLimit(4 * page);  // the smallest cache that loading ahead is done for
  list.Repopulate();
  auto file = [&list](int row) { return list.GetRecordAt(row)->GetFilePaths(); };
  auto position = [&cache, &file](int row) {
    const std::vector<std::wstring> loaded = cache.Files();
    const auto it = std::find(loaded.begin(), loaded.end(), file(row));
    return it == loaded.end() ? -1 : static_cast<int>(it - loaded.begin());
  };
  ASSERT_GE(position(0), 0) << "the painting loads the visible rows";
  ASSERT_LT(position(page + 1), 0);

  // At the top: the screen below is loaded, nothing further.
  RunIdlePasses(list);
  for (int row = page; row <= 2 * page; ++row) EXPECT_GE(position(row), 0) << row;
  EXPECT_LT(position(2 * page + 1), 0);

  // At the bottom, then three screens back up: the screen above the new top comes first.
  const int bottom = 100 - page;
  ScrollTo(list, bottom);
  RunIdlePasses(list);
  const int top = bottom - 3 * page;
  ASSERT_LT(position(top - 1), 0);
  ScrollTo(list, top);
  RunIdlePasses(list);
  EXPECT_GE(position(top - 1), 0);
  EXPECT_GE(position(top + page + 1), 0);
  EXPECT_LT(position(top - 1), position(top + page + 1)) << "the direction of the last scroll first";

  // The cache never held more than its limit, and the idle passes unloaded what it cut.
  EXPECT_LE(cache.Count(), static_cast<size_t>(4 * page));
  EXPECT_EQ(cache.TrimmedCount(), 0u);
  for (int row = top; row < top + page; ++row) EXPECT_GE(position(row), 0) << "visible row " << row;

  list.Clear();
  cache.RemoveAll(false);
  cache.SetLimit(savedLimit);
  cache.SetReady(false);
}
