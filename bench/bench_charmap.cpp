// bench_charmap [font file...]: times the character map the way a user meets it: opening a
// font's tab (AddFontTab up to the end of the grid's first full paint) and scrolling through the
// whole grid, one page at a time (Page Down) and one row at a time (Down) over the first screens,
// each step drawn at once. Each opening is timed several times after one cold opening; each
// figure is printed with its target.
//
// Without arguments it opens the first face of Noto Sans CJK (fonts-noto-cjk, 40,000+ code
// points) and DejaVu Sans.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "bench/BenchTiming.h"
#include "common/Seams.h"
#include "fonts/FontFileWalk.h"
#include "framework/AppModule.h"
#include "viewing/CCharMapFrame.h"

namespace {

constexpr double kTargetOpenMs = 500;
constexpr double kTargetScrollStepMs = 100;
constexpr int kOpenRuns = 5;
constexpr int kLineSteps = 200;
const RECT kFrameRect{0, 0, 760, 900};
const wchar_t kKeeperFont[] = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSansMono.ttf";

void PumpPending() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

FontItem ReadFirstRecord(const std::wstring& path) {
  FontItem first;
  bool taken = false;
  ForEachFontItem(L"", path, [&](const FontItem& item) {
    if (!taken) first = item;
    taken = true;
  });
  return first;
}

struct StepTimes {
  int steps = 0;
  double total = 0, longest = 0;
  std::vector<double> all;
};

// Steps through the grid with `step` until the offset stops moving (or `limit` steps).
template <typename Step>
StepTimes ScrollThrough(CCharMapGrid& grid, Step step, int limit) {
  StepTimes t;
  grid.SetScrollOffset(0, 0);
  grid.UpdateWindow();
  for (int i = 0; i < limit; ++i) {
    const int before = grid.GetScrollOffset().y;
    const double begin = NowMs();
    step();
    grid.UpdateWindow();
    const double took = NowMs() - begin;
    if (grid.GetScrollOffset().y == before) break;
    ++t.steps;
    t.total += took;
    t.longest = std::max(t.longest, took);
    t.all.push_back(took);
  }
  return t;
}

int RunFont(CCharMapFrame& frame, const std::wstring& path) {
  const FontItem font = ReadFirstRecord(path);
  if (font.IsUnreadable() || font.FullName().empty()) {
    fprintf(stderr, "bench_charmap: cannot read %ls\n", path.c_str());
    return 2;
  }
  printf("%ls (%ls)\n", font.FullName().c_str(), path.c_str());
  std::vector<double> opens;
  CCharMapChildFrame* child = nullptr;
  size_t codePoints = 0;
  for (int run = 0; run <= kOpenRuns; ++run) {
    const double begin = NowMs();
    child = frame.AddFontTab(font, true);
    if (!child) {
      fprintf(stderr, "bench_charmap: no tab for %ls\n", path.c_str());
      return 2;
    }
    CCharMapGrid& grid = child->View().Grid();
    grid.UpdateWindow();  // the layout pass
    grid.UpdateWindow();  // the first full drawing
    const double took = NowMs() - begin;
    codePoints = grid.CodePoints().Size();
    if (run > 0) opens.push_back(took);
    else printf("  cold opening: %.1f ms\n", took);
    if (run < kOpenRuns) {
      frame.SendMessage(WM_COMMAND, ID_TAB_CLOSE);
      PumpPending();
    }
  }
  CCharMapGrid& grid = child->View().Grid();
  printf("  %zu code points, %d rows, cell %d px\n", codePoints, grid.RowCount(), grid.CellSize());
  const double open = Median(opens);
  printf("  opening (median of %d): %.1f ms (target < %.0f ms) %s\n", kOpenRuns, open, kTargetOpenMs,
         open < kTargetOpenMs ? "ok" : "SLOW");
  const StepTimes pages = ScrollThrough(grid, [&] { grid.ScrollByKey(VK_NEXT); }, 100000);
  printf("  Page Down through all rows: %d steps, median %.1f ms, longest %.1f ms (target < %.0f ms) %s\n",
         pages.steps, Median(pages.all), pages.longest, kTargetScrollStepMs,
         pages.longest < kTargetScrollStepMs ? "ok" : "STALL");
  const StepTimes lines = ScrollThrough(grid, [&] { grid.SendMessage(WM_KEYDOWN, VK_DOWN, 0); }, kLineSteps);
  printf("  Down, %d rows: median %.1f ms, longest %.1f ms %s\n", lines.steps, Median(lines.all), lines.longest,
         lines.longest < kTargetScrollStepMs ? "ok" : "STALL");
  const StepTimes wheel = ScrollThrough(
      grid, [&] { grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(10, 10)); }, kLineSteps);
  printf("  wheel, %d notches: median %.1f ms, longest %.1f ms %s\n", wheel.steps, Median(wheel.all), wheel.longest,
         wheel.longest < kTargetScrollStepMs ? "ok" : "STALL");
  frame.SendMessage(WM_COMMAND, ID_TAB_CLOSE);
  PumpPending();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::CoInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  orv::g_Module.Init(::GetModuleHandleW(nullptr));
  HMODULE resources = ::LoadLibraryW(L"OrvelRes64.dll");
  if (!resources) {
    fprintf(stderr, "bench_charmap: OrvelRes64.dll not found\n");
    return 2;
  }
  orv::g_Module.SetResourceInstance(resources);
  g_AppState.BlockTable.Load();

  std::vector<std::wstring> fonts;
  for (int i = 1; i < argc; ++i) fonts.push_back(argv[i]);
  if (fonts.empty()) {
    fonts.push_back(L"Z:\\usr\\share\\fonts\\opentype\\noto\\NotoSansCJK-Regular.ttc");
    fonts.push_back(L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf");
  }
  int result = 0;
  for (const std::wstring& path : fonts) {
    // A frame per font, with a small font's tab kept open: the last tab closed closes the frame.
    auto frame = std::make_unique<CCharMapFrame>(nullptr, kFrameRect);
    if (!frame->CreateFrame()) return 2;
    frame->ShowWindow(SW_SHOWNORMAL);
    frame->AddFontTab(ReadFirstRecord(kKeeperFont), true);
    PumpPending();
    result |= RunFont(*frame, path);
    if (frame->IsWindow()) frame->DestroyWindow();
    PumpPending();
  }
  orv::g_Module.Term();
  ::CoUninitialize();
  return result;
}
