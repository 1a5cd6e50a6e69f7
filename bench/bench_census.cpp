// bench_census [root...]: times the folder census the way the program runs it (CCensusDlg in a
// window of its own, the walk on its worker thread): the walk from the start to the end of the
// analysis, faces per second, then the filters, a sort by folder and the HTML report of all
// rows. Each root is walked a few times; the figures are medians after one cold census.
//
// Without arguments it takes ORVEL_BENCH_DATA (the folders bench/make_bench_fonts.py makes;
// ./orvel bench does) and the host's font tree Z:\usr\share\fonts.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "bench/BenchProgram.h"
#include "bench/BenchTiming.h"
#include "common/Seams.h"
#include "framework/AppModule.h"
#include "lists/CCensusDlg.h"

namespace {

constexpr int kRuns = 3;

// Processor time of the whole process (all threads), in milliseconds: on a busy machine a
// steadier figure than the wall clock.
double CpuMs() {
  FILETIME created, exited, kernel, user;
  if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  auto ms = [](const FILETIME& t) { return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0; };
  return ms(kernel) + ms(user);
}

void PumpUntilIdle(CCensusDlg& dlg) {
  MSG msg;
  while (dlg.IsWalkRunning() || dlg.List().IsBusy()) {
    if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    } else {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }
}

void Bench(const std::wstring& root) {
  std::vector<double> walk, walkCpu, filters, sort, report;
  int records = 0;
  for (int run = 0; run <= kRuns; ++run) {
    CCensusDlg dlg;
    if (!dlg.CreateModeless()) return;
    double start = NowMs();
    const double cpuStart = CpuMs();
    dlg.StartCensus(root);
    PumpUntilIdle(dlg);
    const double walked = NowMs() - start;
    const double walkedCpu = CpuMs() - cpuStart;
    records = dlg.List().RecordCount();
    start = NowMs();
    dlg.List().ShowDuplicates();
    dlg.List().ShowOtherFileNames();
    dlg.List().ShowSameFileOtherFonts();
    dlg.List().ShowAll();
    const double filtered = NowMs() - start;
    start = NowMs();
    dlg.List().SortByColumn(kCensusFolder, 1);
    const double sorted = NowMs() - start;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring file = std::wstring(temp) + L"bench_census_report.htm";
    ::DeleteFileW(file.c_str());
    start = NowMs();
    (void)dlg.WriteReport(file, CensusReportKind::kHtml);
    const double reported = NowMs() - start;
    ::DeleteFileW(file.c_str());
    dlg.SendMessage(WM_CLOSE);
    if (run == 0) {
      printf("  cold census: %.0f ms for %d faces\n", walked, records);
      continue;
    }
    walk.push_back(walked);
    walkCpu.push_back(walkedCpu);
    filters.push_back(filtered);
    sort.push_back(sorted);
    report.push_back(reported);
  }
  const double w = Median(walk);
  const double c = Median(walkCpu);
  printf("  census (walk, read, analysis): %.0f ms wall, %.0f ms processor, %d faces, %.0f faces/s (%.0f per processor second)\n",
         w, c, records, w > 0 ? records * 1000.0 / w : 0.0, c > 0 ? records * 1000.0 / c : 0.0);
  printf("  four filters: %.1f ms; sort by folder: %.1f ms; HTML report of every row: %.1f ms\n", Median(filters),
         Median(sort), Median(report));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> roots;
  for (int i = 1; i < argc; ++i) roots.push_back(argv[i]);
  if (roots.empty()) {
    const std::wstring data = BenchDataFolder();
    if (!data.empty()) roots.push_back(data);
    roots.push_back(L"Z:\\usr\\share\\fonts");
  }
  BenchProgram program("bench_census");
  if (!program.Ready()) return 2;
  SetDefaultPreferences(g_Preferences);
  for (const std::wstring& root : roots) {
    printf("census of %ls\n", root.c_str());
    Bench(root);
  }
  ::CoUninitialize();
  return 0;
}
