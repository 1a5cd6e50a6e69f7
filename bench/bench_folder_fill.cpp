// bench_folder_fill [folder...]: times the folder fonts list's fill of large font folders the way
// the program fills it (CLVFolderFonts::Fill in a window of its own), step by step: the counting
// pass, the pass that reads the files, the sort and repopulation, the first paint of the list,
// and the whole from the request to the first drawn screen; then a scroll through all rows one
// screen at a time, at the pace of a user paging through the fonts: a new screen every
// kScrollPeriodMs, the message loop idling (the list's idle passes) for what is left of each
// period. Each figure is the median of several fills after one cold fill. Then it times the
// parts of drawing a row on their own: loading the font privately, the private font cache's
// trim, making the display font, and clearing a full list; and one scroll without pauses.
//
// Without arguments it lists ORVEL_BENCH_DATA\fonts-1000 and \fonts-5000 (bench/make_bench_fonts.py
// makes them; ./orvel bench does both).
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "bench/BenchTiming.h"
#include "app/Preferences.h"
#include "bench/BenchListHost.h"
#include "bench/BenchProgram.h"
#include "framework/AppModule.h"
#include "lists/CLVFolderFonts.h"
#include "fonts/FontFileReader.h"
#include "lists/CLVFolderFontsLoader.h"

namespace {

constexpr int kHostWidth = 800;
constexpr int kHostHeight = 900;
constexpr double kTargetFirstScreenMs = 2000;
constexpr double kTargetScrollStepMs = 100;
constexpr double kTargetScrollMedianMs = 60;
// A screen every 200 ms: a user paging through fonts five screens a second.
constexpr double kScrollPeriodMs = 200;

// The moments of one fill, in milliseconds of the performance counter.
struct FillMoments {
  double start = 0, counted = 0, read = 0, sorted = 0, shown = 0, returned = 0;
  double firstPaintBegin = 0, firstPaintEnd = 0;
  int rowsDrawn = 0;         // rows drawn during the fill
  int rowsInFirstPaint = 0;
};

FillMoments* g_fill = nullptr;  // the fill being timed
HWND g_listWindow = nullptr;
int g_rowsDrawn = 0;  // every row drawn since the program started

void OnFillStep(FolderFillStep step) {
  if (!g_fill) return;
  const double now = NowMs();
  switch (step) {
    case FolderFillStep::kCounted: g_fill->counted = now; break;
    case FolderFillStep::kFilesRead: g_fill->read = now; break;
    case FolderFillStep::kRowsSorted: g_fill->sorted = now; break;
    case FolderFillStep::kListShown:
      g_fill->shown = now;
      if (g_fill->firstPaintBegin > 0) g_fill->firstPaintEnd = now;
      break;
  }
}

// The host sees every row drawn. The first paint of a fill is taken from its first row to the
// end of the repopulation, which ends with that paint. (Watching the list's WM_PAINT through a
// subclass or a message hook would cost Wine server calls for every message of the list and
// slow the very steps measured.)
void OnDrawItem() {
  ++g_rowsDrawn;
  if (!g_fill) return;
  ++g_fill->rowsDrawn;
  if (g_fill->read > 0 && g_fill->shown == 0) {
    if (g_fill->firstPaintBegin == 0) g_fill->firstPaintBegin = NowMs();
    ++g_fill->rowsInFirstPaint;
  }
}

void PumpPending() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

int TopIndex(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETTOPINDEX, 0, 0)); }

bool g_verbose = false;  // ORVEL_BENCH_VERBOSE set: every scroll step over the target is listed
orv::CMessageLoop* g_loop = nullptr;  // the benchmark's message loop: the list is its idle handler

// What the program's message loop does for `ms`: messages as they come, and an idle pass when the
// queue runs empty after a message that starts one.
void RunMessageLoopFor(double ms) {
  const double end = NowMs() + ms;
  bool idle = true;
  for (double now = NowMs(); now < end; now = NowMs()) {
    MSG msg;
    if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
      idle = idle || orv::CMessageLoop::IsIdleMessage(msg);
    } else if (idle) {
      g_loop->OnIdle(0);
      idle = false;
    } else {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now) + 1, QS_ALLINPUT);
    }
  }
}

struct ScrollResult {
  int steps = 0;
  double total = 0;
  double longest = 0;
  int longestStep = 0;
  int trims = 0;            // steps in which the private font cache was cut back
  double longestTrimStep = 0;
  double longestPlainStep = 0;  // the longest step without a trim
  std::vector<double> stepTimes;
};

// Scrolls from the top to the bottom one screen at a time, drawing each screen; a new screen
// every `periodMs`, the message loop running for the rest of each period (0: no pauses).
ScrollResult ScrollThrough(CLVFolderFonts& list, double periodMs) {
  ScrollResult result;
  HWND window = list.m_hWnd;
  const int perPage = std::max(1, static_cast<int>(::SendMessageW(window, LVM_GETCOUNTPERPAGE, 0, 0)));
  const int dy = perPage * list.RowHeight();
  for (;;) {
    const int top = TopIndex(window);
    const size_t cached = g_AppState.FontCache.Count();
    const double begin = NowMs();
    ::SendMessageW(window, LVM_SCROLL, 0, dy);
    ::UpdateWindow(window);
    const double took = NowMs() - begin;
    const size_t cachedAfter = g_AppState.FontCache.Count();
    if (TopIndex(window) == top) break;
    const bool trimmed = cachedAfter < cached;
    if (took >= kTargetScrollStepMs && g_verbose && periodMs > 0)
      printf("    step %d: %.1f ms, %s %zu fonts, %zu cut entries waiting\n", result.steps + 1, took,
             trimmed ? "cache cut, now" : "loaded", trimmed ? cachedAfter : cachedAfter - cached,
             g_AppState.FontCache.TrimmedCount());
    if (periodMs > 0) RunMessageLoopFor(periodMs - took);
    ++result.steps;
    result.total += took;
    result.stepTimes.push_back(took);
    if (took > result.longest) {
      result.longest = took;
      result.longestStep = result.steps;
    }
    if (trimmed) {
      ++result.trims;
      result.longestTrimStep = std::max(result.longestTrimStep, took);
    } else {
      result.longestPlainStep = std::max(result.longestPlainStep, took);
    }
  }
  return result;
}

struct RunResult {
  double clear = 0, count = 0, load = 0, sort = 0, sortRepopulate = 0, paint = 0, total = 0, returned = 0;
  double repaint = 0;
  int rowsRepainted = 0, rowsInFirstPaint = 0, rowsDrawn = 0, rows = 0;
  size_t cachedAfterFill = 0;
  ScrollResult scroll;
};

RunResult FillOnce(CLVFolderFonts& list, const std::wstring& folder) {
  RunResult run;
  // The rows of the last fill go first, as when another folder is selected.
  double begin = NowMs();
  list.Clear();
  run.clear = NowMs() - begin;
  g_AppState.FontCache.RemoveAll(false);
  PumpPending();
  ::Sleep(50);

  FillMoments moments;
  g_fill = &moments;
  list.m_folder = folder;
  moments.start = NowMs();
  const int filled = list.Fill();
  moments.returned = NowMs();
  g_fill = nullptr;
  if (!filled) fprintf(stderr, "bench_folder_fill: the fill of %ls failed\n", folder.c_str());
  run.count = moments.counted - moments.start;
  run.load = moments.read - moments.counted;
  run.sort = moments.sorted - moments.read;
  const double shownAt = moments.firstPaintBegin > 0 ? moments.firstPaintBegin : moments.shown;
  run.sortRepopulate = shownAt - moments.read;
  run.paint = moments.firstPaintEnd > 0 ? moments.firstPaintEnd - moments.firstPaintBegin : 0;
  run.total = (moments.firstPaintEnd > 0 ? moments.firstPaintEnd : moments.shown) - moments.start;
  run.returned = moments.returned - moments.start;
  run.rowsInFirstPaint = moments.rowsInFirstPaint;
  run.rowsDrawn = moments.rowsDrawn;
  run.rows = static_cast<int>(::SendMessageW(list.m_hWnd, LVM_GETITEMCOUNT, 0, 0));
  run.cachedAfterFill = g_AppState.FontCache.Count();
  // What the fill left invalid is drawn at the next pass of the message loop.
  begin = NowMs();
  const int drawnBefore = g_rowsDrawn;
  ::UpdateWindow(list.m_hWnd);
  run.repaint = NowMs() - begin;
  run.rowsRepainted = g_rowsDrawn - drawnBefore;
  PumpPending();
  RunMessageLoopFor(kScrollPeriodMs);  // the user looks at the first screen
  run.scroll = ScrollThrough(list, kScrollPeriodMs);
  return run;
}

void PrintRun(const char* label, const RunResult& r) {
  printf("  %-7s %7.1f %7.1f %7.1f %7.1f %9.1f %7.1f %8.1f %8.1f %5d %7.1f %5d %7d %9.0f %8.1f %5d\n", label,
         r.clear, r.count, r.load, r.sort, r.sortRepopulate, r.paint, r.total, r.returned, r.rowsInFirstPaint,
         r.repaint, r.rowsRepainted,
         r.scroll.steps, r.scroll.total, r.scroll.longest, r.scroll.trims);
}

int CountFontFiles(const std::wstring& folder) {
  int count = 0;
  for (const wchar_t* pattern : {L"*.ttf", L"*.otf", L"*.ttc", L"*.pfm"}) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) continue;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
  }
  return count;
}

// The parts of drawing a row, each on its own, over the rows of the filled list.
void ProfileRowParts(CLVFolderFonts& list) {
  const int rows = static_cast<int>(::SendMessageW(list.m_hWnd, LVM_GETITEMCOUNT, 0, 0));
  const int limit = g_AppState.FontCache.Limit();
  std::vector<FontItem> records;
  for (int i = 0; i < rows; ++i)
    if (const FontItem* record = list.GetRecordAt(i)) records.push_back(*record);
  if (records.empty()) return;
  HDC screen = ::GetDC(nullptr);
  const int px = ::MulDiv(g_Preferences.FontPointSize, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  printf("  parts of drawing a row (%zu rows, cache limit %d):\n", records.size(), limit);

  // Loading privately, as the cache does it, at the start and near its limit.
  g_AppState.FontCache.RemoveAll(false);
  const size_t sample = std::min<size_t>(200, records.size());
  auto timeAdds = [&](size_t from, size_t n) {
    const double begin = NowMs();
    for (size_t i = from; i < from + n && i < records.size(); ++i)
      g_AppState.FontCache.Add(records[i].GetFilePaths(), records[i].displayName.c_str());
    return (NowMs() - begin) / double(n);
  };
  const double addEarly = timeAdds(0, sample);
  auto timeDisplayFonts = [&](size_t from, size_t n) {
    const double begin = NowMs();
    for (size_t i = from; i < from + n && i < records.size(); ++i) {
      FontItem copy = records[i];
      copy.enumOwner = &copy;
      if (HFONT font = copy.CreateDisplayFont(-px)) ::DeleteObject(font);
    }
    return (NowMs() - begin) / double(n);
  };
  const double fontEarly = timeDisplayFonts(0, sample);
  double addLate = 0, fontLate = 0, trim = 0, addAtLimit = 0;
  if (limit > 0 && records.size() > static_cast<size_t>(limit) + 1) {
    const size_t lateFrom = static_cast<size_t>(limit) - sample;
    (void)timeAdds(sample, lateFrom - sample);
    addLate = timeAdds(lateFrom, sample);
    fontLate = timeDisplayFonts(lateFrom, sample);
    // The next new file passes the limit: the cache unloads its oldest fifth.
    const double begin = NowMs();
    g_AppState.FontCache.Add(records[limit].GetFilePaths(), records[limit].displayName.c_str());
    trim = NowMs() - begin;
    // An Add of a file the cache holds already: the look-up alone.
    const double lookup = NowMs();
    for (int i = 0; i < 100; ++i)
      g_AppState.FontCache.Add(records[limit].GetFilePaths(), records[limit].displayName.c_str());
    addAtLimit = (NowMs() - lookup) / 100;
  }
  printf("    cache Add (AddFontResourceExW), first %zu files: %.2f ms each\n", sample, addEarly);
  printf("    CreateDisplayFont (EnumFontFamiliesExW), %zu fonts loaded: %.2f ms each\n", sample, fontEarly);
  if (addLate > 0) {
    printf("    cache Add, files %zu to %d (cache near its limit): %.2f ms each\n", static_cast<size_t>(limit) - sample,
           limit, addLate);
    printf("    CreateDisplayFont, %d fonts loaded: %.2f ms each\n", limit, fontLate);
    printf("    the Add that passes the limit (unloads %d files): %.1f ms\n", limit / 5 + 1, trim);
    printf("    cache Add of a file already loaded (%zu entries): %.3f ms\n", g_AppState.FontCache.Count(), addAtLimit);
  }
  g_AppState.FontCache.RemoveAll(false);
}

// The parts of the reading pass's work for one file, each on its own, over `n` files.
void ProfileReadParts(HWND host, const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((folder + L"\\*.ttf").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do names.push_back(data.cFileName);
  while (::FindNextFileW(find, &data) && names.size() < 500);
  ::FindClose(find);
  const double n = double(names.size());
  printf("  parts of the reading pass (%zu files, ms per file):\n", names.size());
  double begin = NowMs();
  for (size_t i = 0; i < names.size(); ++i) ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  printf("    wait cursor (SetCursor(LoadCursorW(IDC_WAIT))): %.3f\n", (NowMs() - begin) / n);
  begin = NowMs();
  for (size_t i = 0; i < names.size(); ++i) (void)::LoadCursorW(nullptr, IDC_WAIT);
  printf("      of which LoadCursorW: %.3f\n", (NowMs() - begin) / n);
  const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
  begin = NowMs();
  for (size_t i = 0; i < names.size(); ++i) (void)::GetCursor();
  printf("      GetCursor alone: %.3f\n", (NowMs() - begin) / n);
  begin = NowMs();
  for (size_t i = 0; i < names.size(); ++i) ::SetCursor(wait);
  printf("      SetCursor of the cursor already set: %.3f\n", (NowMs() - begin) / n);
  HWND tree = FindMainFolderTree();
  begin = NowMs();
  for (size_t i = 0; i < names.size(); ++i) {
    MSG msg;
    while (::PeekMessageW(&msg, tree, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
    }
  }
  printf("    abort check (PeekMessageW on the tree, input only): %.3f\n", (NowMs() - begin) / n);
  HWND progress = ::CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 12, 6, 300, 12, host, nullptr,
                                    nullptr, nullptr);
  ::SendMessageW(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(names.size()));
  ::SendMessageW(progress, PBM_SETSTEP, 1, 0);
  begin = NowMs();
  for (size_t i = 0; i < names.size(); ++i) ::SendMessageW(progress, PBM_STEPIT, 0, 0);
  printf("    progress bar step (PBM_STEPIT): %.3f\n", (NowMs() - begin) / n);
  ::DestroyWindow(progress);
  std::vector<FontItem> read;
  begin = NowMs();
  for (const std::wstring& name : names) {
    FontFileReader reader;
    reader.folder = folder;
    (void)reader.ReadFontFile(name);
    read.push_back(static_cast<const FontItem&>(reader));
  }
  printf("    reading the file (FontFileReader::ReadFontFile): %.3f\n", (NowMs() - begin) / n);
  // Items put into a bare list view of the same styles, its notifications unanswered.
  HWND bare = ::CreateWindowExW(kFontListExStyle, WC_LISTVIEWW, nullptr, kFontListStyle | LVS_REPORT, 0, 0, 300, 300,
                                host, nullptr, nullptr, nullptr);
  ::SendMessageW(bare, WM_SETREDRAW, FALSE, 0);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.pszText = LPSTR_TEXTCALLBACKW;
  begin = NowMs();
  for (int i = 0; i < 5000; ++i) {
    item.iItem = i;
    ::SendMessageW(bare, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  printf("    LVM_INSERTITEMW into a bare list view (5000 items, redraw off): %.3f per item\n", (NowMs() - begin) / 5000);
  begin = NowMs();
  ::SendMessageW(bare, LVM_DELETEALLITEMS, 0, 0);
  printf("    LVM_DELETEALLITEMS of those (one LVN_DELETEITEM each, unanswered): %.1f ms\n", NowMs() - begin);
  ::DestroyWindow(bare);
  {
    // The same with a column and the lists' extended styles.
    HWND styled = ::CreateWindowExW(kFontListExStyle, WC_LISTVIEWW, nullptr, kFontListStyle | LVS_REPORT, 0, 0, 300,
                                    300, host, nullptr, nullptr, nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    ::SendMessageW(styled, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    ::SendMessageW(styled, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_REGIONAL);
    ::SendMessageW(styled, WM_SETREDRAW, FALSE, 0);
    begin = NowMs();
    for (int i = 0; i < 5000; ++i) {
      item.iItem = i;
      ::SendMessageW(styled, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    printf("    the same with a column and LVS_EX_FULLROWSELECT | LVS_EX_REGIONAL: %.3f per item\n",
           (NowMs() - begin) / 5000);
    ::DestroyWindow(styled);
  }
  {
    // The folder list itself, its items put back as Repopulate does, without the rest of it.
    HWND own = g_AppState.FolderFonts.m_hWnd;
    const auto& entries = g_AppState.FolderFonts.Rows();
    ::SendMessageW(own, LVM_DELETEALLITEMS, 0, 0);
    ::SendMessageW(own, WM_SETREDRAW, FALSE, 0);
    begin = NowMs();
    for (size_t i = 0; i < entries.size(); ++i) {
      item.iItem = static_cast<int>(i);
      item.lParam = reinterpret_cast<LPARAM>(entries[i].get());
      ::SendMessageW(own, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    printf("    LVM_INSERTITEMW into the folder list (%zu items, redraw off): %.3f per item\n", entries.size(),
           (NowMs() - begin) / double(std::max<size_t>(entries.size(), 1)));
    // What any message to a window of the framework costs first: finding its object.
    begin = NowMs();
    for (int i = 0; i < 5000; ++i) (void)::GetPropW(own, L"OrvelBenchNoSuchProp");
    printf("    GetPropW (how the framework finds a window's object for every message): %.3f\n", (NowMs() - begin) / 5000);
    begin = NowMs();
    for (int i = 0; i < 5000; ++i) ::SendMessageW(own, WM_NULL, 0, 0);
    printf("    SendMessageW(WM_NULL) to the folder list: %.3f\n", (NowMs() - begin) / 5000);
    HWND plain = ::CreateWindowExW(0, WC_LISTVIEWW, nullptr, WS_CHILD, 0, 0, 10, 10, host, nullptr, nullptr, nullptr);
    begin = NowMs();
    for (int i = 0; i < 5000; ++i) ::SendMessageW(plain, WM_NULL, 0, 0);
    printf("    SendMessageW(WM_NULL) to a bare list view: %.3f\n", (NowMs() - begin) / 5000);
    ::DestroyWindow(plain);
    ::SendMessageW(own, WM_SETREDRAW, TRUE, 0);
    g_AppState.FolderFonts.Repopulate();
  }
  CLVFolderFonts rows;  // no window: the row entries alone
  begin = NowMs();
  for (const FontItem& item : read) rows.AppendItem(item);
  printf("    adding the row entry (AppendItem): %.3f\n", (NowMs() - begin) / n);
}

// The same scroll with no pause between the screens: nothing is loaded ahead, every new row
// loads its font while the screen is drawn, and the cache's cuts have no idle time to unload in.
void ProfileScrollWithoutPauses(CLVFolderFonts& list, const std::wstring& folder) {
  list.Clear();
  g_AppState.FontCache.RemoveAll(false);
  list.m_folder = folder;
  list.Fill();
  ::UpdateWindow(list.m_hWnd);
  const ScrollResult r = ScrollThrough(list, 0);
  printf("  scroll without pauses (%d screens): median step %.1f ms, longest %.1f ms, %d cache cuts\n", r.steps,
         Median(r.stepTimes), r.longest, r.trims);
}

// Ctrl+A, then the selection collected for a command, as Del, copy and install collect it.
void ProfileSelection(CLVFolderFonts& list) {
  list.SelectAll(true);
  FontItemList items;
  const double begin = NowMs();
  const int collected = list.CollectItems(items, true);
  printf("  all %d rows selected and collected for a command (CollectItems): %.1f ms\n", collected, NowMs() - begin);
  list.SelectAll(false);
}

int RunFolder(CLVFolderFonts& list, const std::wstring& folder, int runs, bool profile) {
  const int files = CountFontFiles(folder);
  if (files == 0) {
    fprintf(stderr, "bench_folder_fill: no font files in %ls\n", folder.c_str());
    return 2;
  }
  RECT client{};
  ::GetClientRect(list.m_hWnd, &client);
  printf("\n%ls: %d font files; list %ldx%ld, row height %d, %d rows a screen; %d fills (the first cold)\n",
         folder.c_str(), files, client.right, client.bottom, list.RowHeight(),
         static_cast<int>(::SendMessageW(list.m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0)), runs + 1);
  printf("  %-7s %7s %7s %7s %7s %9s %7s %8s %8s %5s %7s %5s %7s %9s %8s %5s\n", "ms", "clear", "count", "load",
         "sort", "sort+rep", "paint", "total", "returns", "drawn", "repaint", "rows", "scrolls", "scroll", "longest",
         "trims");
  std::vector<RunResult> results;
  for (int i = 0; i <= runs; ++i) {
    RunResult r = FillOnce(list, folder);
    char label[16];
    snprintf(label, sizeof label, i == 0 ? "cold" : "run %d", i);
    PrintRun(label, r);
    if (i > 0) results.push_back(r);
    if (i == 0) printf("  (rows %d, rows drawn in the fill %d, fonts cached after the fill %zu)\n", r.rows,
                       r.rowsDrawn, r.cachedAfterFill);
  }
  auto median = [&results](auto field) {
    std::vector<double> v;
    for (const RunResult& r : results) v.push_back(double(field(r)));
    return Median(v);
  };
  RunResult m;
  m.clear = median([](const RunResult& r) { return r.clear; });
  m.count = median([](const RunResult& r) { return r.count; });
  m.load = median([](const RunResult& r) { return r.load; });
  m.sort = median([](const RunResult& r) { return r.sort; });
  m.sortRepopulate = median([](const RunResult& r) { return r.sortRepopulate; });
  m.paint = median([](const RunResult& r) { return r.paint; });
  m.total = median([](const RunResult& r) { return r.total; });
  m.returned = median([](const RunResult& r) { return r.returned; });
  m.repaint = median([](const RunResult& r) { return r.repaint; });
  m.rowsRepainted = static_cast<int>(median([](const RunResult& r) { return r.rowsRepainted; }));
  m.rowsInFirstPaint = static_cast<int>(median([](const RunResult& r) { return r.rowsInFirstPaint; }));
  m.scroll.steps = static_cast<int>(median([](const RunResult& r) { return r.scroll.steps; }));
  m.scroll.total = median([](const RunResult& r) { return r.scroll.total; });
  m.scroll.longest = median([](const RunResult& r) { return r.scroll.longest; });
  m.scroll.trims = static_cast<int>(median([](const RunResult& r) { return r.scroll.trims; }));
  PrintRun("median", m);
  double worstStep = 0, worstTrim = 0, worstPlain = 0;
  std::vector<double> steps;
  for (const RunResult& r : results) {
    worstStep = std::max(worstStep, r.scroll.longest);
    worstTrim = std::max(worstTrim, r.scroll.longestTrimStep);
    worstPlain = std::max(worstPlain, r.scroll.longestPlainStep);
    steps.insert(steps.end(), r.scroll.stepTimes.begin(), r.scroll.stepTimes.end());
  }
  const auto over = std::count_if(steps.begin(), steps.end(), [](double t) { return t >= kTargetScrollStepMs; });
  printf("  scroll steps: median %.1f ms, longest %.1f ms (longest with a cache trim %.1f ms, without %.1f ms);\n"
         "  %d of %zu steps took %.0f ms or more\n",
         Median(steps), worstStep, worstTrim, worstPlain, static_cast<int>(over), steps.size(), kTargetScrollStepMs);
  printf("  targets: first screen in %.0f ms (target < %.0f): %s; longest scroll step %.1f ms (target < %.0f): %s;\n"
         "  median scroll step %.1f ms (target < %.0f): %s\n",
         m.total, kTargetFirstScreenMs, m.total < kTargetFirstScreenMs ? "met" : "MISSED", worstStep,
         kTargetScrollStepMs, worstStep < kTargetScrollStepMs ? "met" : "MISSED", Median(steps), kTargetScrollMedianMs,
         Median(steps) < kTargetScrollMedianMs ? "met" : "MISSED");
  if (profile) {
    double begin = NowMs();
    list.Repopulate();
    printf("  Repopulate of the full list again (items deleted and put back, sorted, drawn): %.1f ms\n", NowMs() - begin);
    begin = NowMs();
    list.SortRows();
    printf("  SortRows of the sorted rows: %.1f ms\n", NowMs() - begin);
    ProfileReadParts(::GetParent(list.m_hWnd), folder);
    ProfileRowParts(list);
    ProfileScrollWithoutPauses(list, folder);
    ProfileSelection(list);
  }
  const double begin = NowMs();
  list.Clear();
  printf("  clearing the full list (LVN_DELETEITEM per row) after the profile: %.1f ms\n", NowMs() - begin);
  return 0;
}

// The number of timed fills of each folder: ORVEL_BENCH_RUNS where set, else `fallback`.
int Runs(int fallback) {
  wchar_t value[16] = {};
  if (!::GetEnvironmentVariableW(L"ORVEL_BENCH_RUNS", value, 16)) return fallback;
  return std::max(1, _wtoi(value));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> folders;
  for (int i = 1; i < argc; ++i) folders.push_back(argv[i]);
  g_verbose = ::GetEnvironmentVariableW(L"ORVEL_BENCH_VERBOSE", nullptr, 0) != 0;
  if (folders.empty()) {
    const std::wstring data = BenchDataFolder();
    if (data.empty()) {
      fprintf(stderr, "bench_folder_fill: give folders, or set ORVEL_BENCH_DATA (./orvel bench does)\n");
      return 2;
    }
    folders = {data + L"\\fonts-1000", data + L"\\fonts-5000"};
  }

  BenchProgram program("bench_folder_fill");
  if (!program.Ready()) return 2;
  SetDefaultPreferences(g_Preferences);
  g_AppState.FontCache.SetLimit(g_Preferences.FontCacheSize);
  g_AppState.FontCache.SetReady(true);

  int result = 0;
  orv::CMessageLoop loop;
  orv::g_Module.AddMessageLoop(&loop);
  g_loop = &loop;
  {
    BenchListHost host(kHostWidth, kHostHeight);
    host.onDrawItem = &OnDrawItem;
    CLVFolderFonts& list = g_AppState.FolderFonts;
    host.Attach(list);
    g_listWindow = list.m_hWnd;
    SetFolderFillObserver(&OnFillStep);
    printf("bench_folder_fill: folder fonts list fill under Wine; times in ms (performance counter)\n");
    printf("  clear: emptying the list of the last fill (before the request); count: counting pass; load: reading\n"
           "  pass; sort: the sort alone; sort+rep: sort and repopulation up to the first row drawn; paint: the first\n"
           "  paint, from its first row; total: request to the first drawn screen; returns: Fill() returned; drawn:\n"
           "  rows in the first paint; repaint, rows: UpdateWindow after the fill (what the message loop would draw\n"
           "  next) and its rows; scrolls: screens scrolled (LVM_SCROLL + UpdateWindow), one every %.0f ms, the\n"
           "  message loop idling for the rest; scroll: all of them;\n"
           "  longest: the longest one; trims: screens in which the private font cache was cut back\n",
           kScrollPeriodMs);
    for (size_t i = 0; i < folders.size(); ++i) {
      const bool last = i + 1 == folders.size();
      result = std::max(result, RunFolder(list, folders[i], Runs(last ? 3 : 5), last));
    }
    SetFolderFillObserver(nullptr);
    g_AppState.FontCache.RemoveAll(false);
  }
  orv::g_Module.RemoveMessageLoop();
  orv::g_Module.Term();
  ::CoUninitialize();
  return result;
}
