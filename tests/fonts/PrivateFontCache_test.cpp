// The private font cache with real FR_PRIVATE loads under Wine: copies of a small generated
// font under distinct names are loaded, counted and unloaded.
#include "fonts/PrivateFontCache.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <thread>

#include "app/AppState.h"
#include "common/ResourceIds.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

namespace {

std::vector<std::wstring> MakeCopies(const testing_support::ScratchDir& dir, int count) {
  return sfnt_test::MakeRenamedFontCopies(dir.Path(), count);
}

// Whether this process has the file loaded privately: a second private load of a loaded file
// still succeeds, so ask GDI to remove it and load it back.
bool IsLoaded(const std::wstring& path) {
  if (!::RemoveFontResourceExW(path.c_str(), FR_PRIVATE, nullptr)) return false;
  ::AddFontResourceExW(path.c_str(), FR_PRIVATE, nullptr);
  return true;
}

TEST(PrivateFontCache, LoadsOnceAndComparesExactly) {
  testing_support::ScratchDir dir;
  const auto files = MakeCopies(dir, 1);
  PrivateFontCache cache;
  cache.SetReady(true);
  EXPECT_TRUE(cache.Add(files[0]));
  EXPECT_TRUE(cache.Add(files[0]));
  EXPECT_EQ(cache.Count(), 1u);
  EXPECT_TRUE(IsLoaded(files[0]));
  std::wstring upper = files[0];
  ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  EXPECT_TRUE(cache.Add(upper));
  EXPECT_EQ(cache.Count(), 2u);
  cache.RemoveAll(true);
  EXPECT_EQ(cache.Count(), 0u);
}

TEST(PrivateFontCache, LimitUnloadsTheOldestFifthPlusOne) {
  testing_support::ScratchDir dir;
  const auto files = MakeCopies(dir, 11);
  PrivateFontCache cache;
  cache.SetReady(true);
  cache.SetLimit(10);
  for (int i = 0; i < 10; ++i) cache.Add(files[i]);
  EXPECT_EQ(cache.Count(), 10u);
  cache.Add(files[10]);
  const auto kept = cache.Files();
  ASSERT_EQ(kept.size(), 8u);
  EXPECT_EQ(kept.front(), files[3]);
  EXPECT_EQ(kept.back(), files[10]);
  // The three left the list at once; GDI lets them go in the idle passes, oldest first.
  EXPECT_EQ(cache.TrimmedCount(), 3u);
  EXPECT_TRUE(IsLoaded(files[2]));
  EXPECT_TRUE(cache.UnloadTrimmed(2));
  EXPECT_FALSE(IsLoaded(files[0]));
  EXPECT_TRUE(IsLoaded(files[2]));
  EXPECT_FALSE(cache.UnloadTrimmed(2));
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(IsLoaded(files[i])) << i;
  EXPECT_TRUE(IsLoaded(files[3]));
  cache.RemoveAll(false);
  for (int i = 3; i < 11; ++i) EXPECT_FALSE(IsLoaded(files[i])) << i;
}

TEST(PrivateFontCache, TrimmedEntriesWaitingAreUnloadedWhenTheyMustBe) {
  testing_support::ScratchDir dir;
  const auto files = MakeCopies(dir, 6);
  PrivateFontCache cache;
  cache.SetReady(true);
  cache.SetLimit(2);  // each cut takes 2 / 5 + 1 = 1 entry
  for (int i = 0; i < 4; ++i) cache.Add(files[i]);
  EXPECT_FALSE(IsLoaded(files[0])) << "a second cut before any idle pass unloads the one still waiting";
  EXPECT_EQ(cache.TrimmedCount(), 1u);  // files[1]
  cache.Add(files[1]);                  // loaded again while it waits: its late unload leaves it loaded
  EXPECT_FALSE(cache.UnloadTrimmed(5));
  EXPECT_TRUE(IsLoaded(files[1]));
  cache.Add(files[4]);                  // files[3] waits; a file about to be deleted goes from there too
  EXPECT_FALSE(cache.RemoveFile(files[3]));
  EXPECT_FALSE(IsLoaded(files[3]));
  cache.Add(files[5]);                  // files[1] waits; RemoveAll takes it too
  cache.RemoveAll(false);
  EXPECT_EQ(cache.TrimmedCount(), 0u);
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(IsLoaded(files[i])) << i;
}

TEST(PrivateFontCache, LimitZeroAndNegative) {
  testing_support::ScratchDir dir;
  const auto files = MakeCopies(dir, 3);
  PrivateFontCache cache;
  cache.SetReady(true);
  cache.SetLimit(0);
  cache.Add(files[0]);
  EXPECT_EQ(cache.Count(), 0u);
  EXPECT_FALSE(cache.UnloadTrimmed(1));
  EXPECT_FALSE(IsLoaded(files[0]));
  cache.SetLimit(-1);
  cache.Add(files[1]);
  cache.Add(files[2]);
  EXPECT_EQ(cache.Count(), 2u);
  cache.RemoveAll(false);
}

TEST(PrivateFontCache, RejectedFileIsNotRecorded) {
  testing_support::ScratchDir dir;
  sfnt_test::WriteFile(dir.File(L"junk.ttf"), "not a font at all");
  PrivateFontCache cache;
  cache.SetReady(true);
  EXPECT_TRUE(cache.Add(dir.File(L"junk.ttf")));
  EXPECT_EQ(cache.Count(), 0u);
}

TEST(PrivateFontCache, RemoveAllRulesAndReport) {
  testing_support::ResetRecords();
  PrivateFontCache cache;
  cache.RemoveAll(true);  // empty: nothing, no message
  EXPECT_TRUE(testing_support::Boxes().empty());
  // Not ready: the entries stay.
  cache.Remember(L"C:\\nowhere\\gone.ttf");
  cache.RemoveAll(true);
  EXPECT_EQ(cache.Count(), 1u);
  EXPECT_TRUE(testing_support::Boxes().empty());
  // Ready: an entry that cannot be unloaded is reported once.
  cache.SetReady(true);
  cache.RemoveAll(true);
  EXPECT_EQ(cache.Count(), 0u);
  ASSERT_EQ(testing_support::Boxes().size(), 1u);
  EXPECT_NE(testing_support::Boxes()[0].type & MB_ICONERROR, 0u);
  EXPECT_NE(testing_support::Boxes()[0].text.find(L"could not be unloaded"), std::wstring::npos);
  testing_support::ResetRecords();
  cache.Remember(L"C:\\nowhere\\gone.ttf");
  cache.RemoveAll(false);
  EXPECT_TRUE(testing_support::Boxes().empty());
}

// A private load that made no face available is not recorded: here the file itself is loaded for
// the system already, and a copy of it is its namesake (GDI may take either load as done without
// loading anything, and then refuse to unload it). Emptying the cache then reports nothing, and a
// face that did load is unloaded.
TEST(PrivateFontCache, OnlyLoadsThatMadeAFaceAvailableAreCounted) {
  testing_support::ResetRecords();
  testing_support::ScratchDir dir;
  const auto files = MakeCopies(dir, 2);
  const std::wstring namesake = dir.File(L"namesake.ttf");
  ASSERT_TRUE(::CopyFileW(files[0].c_str(), namesake.c_str(), FALSE));
  ASSERT_GT(::AddFontResourceW(files[0].c_str()), 0);
  PrivateFontCache cache;
  cache.SetReady(true);
  for (const std::wstring& file : {files[0], namesake, files[1]}) cache.Add(file);
  for (const std::wstring& file : cache.Files()) EXPECT_TRUE(IsLoaded(file)) << testing_support::Narrow(file);
  EXPECT_TRUE(cache.Contains(files[1]));
  cache.RemoveAll(true);
  EXPECT_TRUE(testing_support::Boxes().empty()) << "no unload failed";
  EXPECT_FALSE(IsLoaded(files[1]));
  while (::RemoveFontResourceW(files[0].c_str())) {
  }
}

// While a modal window of the program is open (the main window disabled under it), emptying the
// cache opens no box of its own over it; the failure is told, once, by the next report made with
// no modal window open, in front of the main window.
TEST(PrivateFontCache, NoReportOverAnOpenModalWindow) {
  testing_support::ResetRecords();
  HWND main = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(main, nullptr);
  const HWND saved = g_AppState.MainWindow;
  g_AppState.MainWindow = main;
  PrivateFontCache cache;
  cache.SetReady(true);
  cache.Remember(L"C:\\nowhere\\gone.ttf");
  ::EnableWindow(main, FALSE);
  cache.RemoveAll(true);
  EXPECT_TRUE(testing_support::Boxes().empty());
  ::EnableWindow(main, TRUE);
  cache.RemoveAll(true);
  ASSERT_EQ(testing_support::Boxes().size(), 1u);
  EXPECT_EQ(testing_support::Boxes()[0].owner, main);
  EXPECT_NE(testing_support::Boxes()[0].text.find(L"could not be unloaded"), std::wstring::npos);
  cache.RemoveAll(true);
  EXPECT_EQ(testing_support::Boxes().size(), 1u);
  g_AppState.MainWindow = saved;
  ::DestroyWindow(main);
}

TEST(PrivateFontCache, StatusTextOnOwnThreadOnly) {
  testing_support::ScratchDir dir;
  const auto files = MakeCopies(dir, 2);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  HWND bar = ::CreateWindowExW(0, L"msctls_statusbar32", L"", WS_POPUP, 0, 0, 300, 20, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(bar, nullptr);
  ::SendMessageW(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"Ready"));
  PrivateFontCache cache;
  cache.SetReady(true);
  cache.SetStatusBar(bar);
  cache.Add(files[0], L"Orvel Var");
  wchar_t text[64] = {};
  ::SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, L"Ready");  // the saved text is back
  // From another thread the load runs without touching the window.
  std::thread worker([&] { cache.Add(files[1], L"Orvel Var"); });
  worker.join();
  EXPECT_EQ(cache.Count(), 2u);
  cache.RemoveAll(false);
  ::DestroyWindow(bar);
}

TEST(PrivateFontCache, ConcurrentAddsKeepOneEntryPerFile) {
  testing_support::ScratchDir dir;
  const auto files = MakeCopies(dir, 8);
  PrivateFontCache cache;
  cache.SetReady(true);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int round = 0; round < 5; ++round)
        for (const auto& f : files) cache.Add(f);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(cache.Count(), files.size());
  cache.RemoveAll(false);
}

}  // namespace
