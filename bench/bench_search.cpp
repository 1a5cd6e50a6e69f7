// bench_search [folder]: times the font search the way the search dialog runs it (its worker
// walking the folder on a thread of its own), beside the floor the readers set:
//   1. a name-only search ("*Sans*", no filter) against reading the same files with the font
//      readers as bench_readers does (every face, every named instance);
//   2. a search with a character filter, counting the fonts it loaded into GDI (none is needed
//      for a font whose file has a Unicode cmap);
//   3. merging 1,000 and 5,000 results into the result list in batches of 25, as they arrive
//      from the worker, with the ratio of the two (5 for a merge that grows with the rows).
// Each figure is the median of several passes after a warm-up pass. Without a folder it
// searches the host's font tree (Z:\usr\share\fonts) and ORVEL_BENCH_DATA\fonts-5000 when set.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "app/ResourceLibrary.h"
#include "bench/BenchListHost.h"
#include "bench/BenchProgram.h"
#include "bench/BenchTiming.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "fonts/FontFileWalk.h"
#include "framework/AppModule.h"
#include "search/CLVSearchFonts.h"
#include "search/SearchWorker.h"

namespace {

constexpr int kPasses = 9;
constexpr size_t kBatch = SearchWorker::kFlushAt;
constexpr int kHostWidth = 600;
constexpr int kHostHeight = 800;


// The files the search's patterns find under `folder`, walked as the search walks.
struct FileLister : CFolderWalkerImpl<FileLister> {
  std::vector<std::pair<std::wstring, std::wstring>> files;
  FileLister() {
    m_threaded = 0;
    m_skipDotFolders = 0;
    m_showHidden = m_showSuperHidden = 1;
    m_patterns = SearchWorker::kFontPatterns;
  }
  void OnFile() { files.push_back({m_path, m_fileName}); }
  bool ShouldAbort() { return false; }
};

struct SearchRun {
  double ms = 0;
  size_t results = 0;
  uint32_t examined = 0;
};

SearchRun Search(const std::wstring& root, const SearchMatcher& matcher) {
  SearchWorker worker;
  worker.m_silent = 1;
  const double start = NowMs();
  if (!worker.StartSearch(root, matcher)) return {};
  worker.WaitForWalk();
  SearchRun run;
  run.ms = NowMs() - start;
  run.results = worker.TakePending().size();
  run.examined = worker.TakeProgress().examined;
  return run;
}

double MedianSearch(const std::wstring& root, const SearchMatcher& matcher, SearchRun& last) {
  std::vector<double> times;
  for (int pass = 0; pass <= kPasses; ++pass) {
    last = Search(root, matcher);
    if (pass > 0) times.push_back(last.ms);
  }
  return Median(times);
}

void BenchFolder(const std::wstring& root) {
  FileLister lister;
  lister.m_roots = root;
  lister.Start();
  if (lister.files.empty()) {
    fprintf(stderr, "bench_search: no font files under %ls\n", root.c_str());
    return;
  }
  printf("%ls: %zu font files\n", root.c_str(), lister.files.size());

  std::vector<double> readTimes;
  size_t faces = 0;
  for (int pass = 0; pass <= kPasses; ++pass) {
    const double start = NowMs();
    size_t passFaces = 0;
    for (const auto& [folder, name] : lister.files)
      passFaces += ForEachFontItem(folder, name, [](const FontItem&) {});
    if (pass > 0) readTimes.push_back(NowMs() - start);
    faces = passFaces;
  }
  const double readMs = Median(readTimes);
  printf("  reading every face (bench_readers' way): %.1f ms, %zu faces, %.0f faces/s\n", readMs, faces,
         faces / readMs * 1000);

  SearchMatcher byName;
  byName.pattern = L"*Sans*";
  SearchRun run;
  const double nameMs = MedianSearch(root, byName, run);
  printf("  name-only search \"*Sans*\": %.1f ms, %u files examined, %zu found; %.2f times the reading time\n", nameMs,
         run.examined, run.results, nameMs / readMs);

  SearchMatcher byCharacters;
  byCharacters.pattern = L"*";
  byCharacters.filterOn = true;
  byCharacters.filter.SetCharacters(L"\u20AC\u0416");
  const size_t cachedBefore = g_AppState.FontCache.Count();
  const double charactersMs = MedianSearch(root, byCharacters, run);
  printf("  character filter (euro sign, Cyrillic Zhe): %.1f ms, %zu found, %zu fonts loaded into GDI on the way\n",
         charactersMs, run.results, g_AppState.FontCache.Count() - cachedBefore);
  g_AppState.FontCache.RemoveAll(false);
}

// A record of its own name for each result, as the worker would hand them over.
std::vector<FontItem> MakeResults(size_t count) {
  std::vector<FontItem> records(count);
  for (size_t i = 0; i < count; ++i) {
    // Names in an order unlike the order of arrival, so that every batch lands all over the list.
    const size_t key = (i * 7919) % count;
    records[i].displayName = L"Result " + std::to_wstring(key);
    records[i].names.English(NameSlot::FullName) = records[i].displayName;
    records[i].fullPath = L"C:\\Fonts\\r" + std::to_wstring(i) + L".ttf";
    records[i].flags = font_flags::kSfnt | font_flags::kRead | font_flags::kResolved;
  }
  return records;
}

double MergeMs(CLVSearchFonts& list, size_t count) {
  const std::vector<FontItem> records = MakeResults(count);
  std::vector<double> times;
  for (int pass = 0; pass <= kPasses / 3; ++pass) {
    list.Clear();
    const double start = NowMs();
    for (size_t at = 0; at < records.size(); at += kBatch) {
      const size_t end = std::min(records.size(), at + kBatch);
      list.MergeResults(std::vector<FontItem>(records.begin() + at, records.begin() + end));
    }
    if (pass > 0) times.push_back(NowMs() - start);
  }
  return Median(times);
}

void BenchMerge() {
  BenchListHost host(kHostWidth, kHostHeight);
  CLVSearchFonts list;
  host.Attach(list, 338);
  list.SetNamesOnly(true);
  const double thousand = MergeMs(list, 1000);
  const double fiveThousand = MergeMs(list, 5000);
  printf("merging results in batches of %zu: 1000 in %.1f ms, 5000 in %.1f ms (%.1f times; 5 grows with the rows, 25 "
         "with their square)\n",
         kBatch, thousand, fiveThousand, fiveThousand / thousand);
  list.Clear();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> roots;
  for (int i = 1; i < argc; ++i) roots.push_back(argv[i]);
  if (roots.empty()) {
    roots.push_back(L"Z:\\usr\\share\\fonts");
    wchar_t data[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"ORVEL_BENCH_DATA", data, MAX_PATH)) roots.push_back(std::wstring(data) + L"\\fonts-5000");
  }
  BenchProgram program("bench_search");
  if (!program.Ready()) return 2;
  SetDefaultPreferences(g_Preferences);
  g_AppState.FontCache.SetLimit(g_Preferences.FontCacheSize);
  g_AppState.FontCache.SetReady(true);

  for (const std::wstring& root : roots) BenchFolder(root);
  BenchMerge();
  g_AppState.FontCache.RemoveAll(false);
  ::CoUninitialize();
  return 0;
}
