// bench_installed_fill: times the installed fonts list's fill over the machine's registered
// fonts (under Wine the prefix registers the host's fonts, about 2,000 values with the Debian
// Noto packages) the way the program fills it (CLVInstalledFonts::Fill in a window of its own),
// step by step: the count pass, the Type 1 keys, the Fonts keys, the GDI faces, EUDC, the
// protection pass and the repopulation; then a font change as the main frame handles
// WM_FONTCHANGE: the private font cache emptied, the list refilled, the rows shown resolved and
// the screen repainted. Each figure is the median of several runs after one cold fill. A machine
// with fewer registered values gets its own values again under the current user for the run, up
// to about 2,000.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "bench/BenchListHost.h"
#include "bench/BenchProgram.h"
#include "bench/BenchTiming.h"
#include "common/StringHelpers.h"
#include "fonts/RegistryValueEnumerator.h"
#include "lists/CLVInstalledFonts.h"

namespace {

constexpr int kHostWidth = 800;
constexpr int kHostHeight = 900;
constexpr int kRunsDefault = 5;
constexpr double kTargetFillMs = 1500;
constexpr double kTargetFontChangeMs = 2000;
constexpr int kSteps = 7;
const char* const kStepNames[kSteps] = {"count", "type1", "fonts", "gdi", "eudc", "protect", "shown"};

double g_stepAt[kSteps];
double g_start = 0;

void OnStep(InstalledFillStep step) { g_stepAt[static_cast<int>(step)] = NowMs(); }

const wchar_t kFontsKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr DWORD kRegisteredTarget = 2000;

// Brings the registry to about 2,000 registered TrueType/OpenType values, as a machine with the
// Debian Noto packages has: the machine's own values again under the current user, each under a
// name of its own. Returns the names written (RemoveExtraValues takes them out again).
std::vector<std::wstring> AddExtraValues() {
  std::vector<std::pair<std::wstring, std::wstring>> machine;
  {
    RegistryValueEnumerator values(HKEY_LOCAL_MACHINE, kFontsKey);
    while (values.NextString()) {
      const std::wstring file(values.Text());
      if (EndsWithNoCase(file, L".ttf") || EndsWithNoCase(file, L".otf") || EndsWithNoCase(file, L".ttc"))
        machine.emplace_back(std::wstring(values.Name()), file);
    }
  }
  std::vector<std::wstring> written;
  if (machine.empty() || machine.size() >= kRegisteredTarget) return written;
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kFontsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return written;
  for (size_t i = 0; machine.size() + written.size() < kRegisteredTarget; ++i) {
    const auto& [name, file] = machine[i % machine.size()];
    const std::wstring copy = name + L" #" + std::to_wstring(i / machine.size() + 1);
    if (::RegSetValueExW(key, copy.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(file.c_str()),
                         static_cast<DWORD>((file.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS)
      written.push_back(copy);
  }
  ::RegCloseKey(key);
  return written;
}

void RemoveExtraValues(const std::vector<std::wstring>& names) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kFontsKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  for (const std::wstring& name : names) ::RegDeleteValueW(key, name.c_str());
  ::RegCloseKey(key);
}

// One fill: each step's own time, and the whole.
std::vector<double> TimeFill(CLVInstalledFonts& list) {
  g_start = NowMs();
  list.Fill();
  std::vector<double> times;
  double before = g_start;
  for (double at : g_stepAt) {
    times.push_back(at - before);
    before = at;
  }
  times.push_back(before - g_start);
  return times;
}

}  // namespace

int wmain() {
  BenchProgram program("bench_installed_fill");
  if (!program.Ready()) return 2;
  g_AppState.WindowsRelease = 1903;  // the per-user keys are read
  const std::vector<std::wstring> extra = AddExtraValues();

  int result = 0;
  {
    BenchListHost host(kHostWidth, kHostHeight);
    CLVInstalledFonts& list = g_AppState.InstalledFonts;
    host.Attach(list, 206);
    SetInstalledFillObserver(&OnStep);
    printf("bench_installed_fill: installed fonts list fill under Wine; times in ms (performance counter)\n"
           "  count: count pass; type1, fonts: the Type 1 and Fonts keys (machine and user); gdi: GDI pass;\n"
           "  eudc; protect: protection pass; shown: repopulation and first paint; fill: all of it;\n"
           "  change: a font change (cache emptied, fill, rows shown resolved, screen repainted)\n");
    const std::vector<double> cold = TimeFill(list);
    const CLVInstalledFonts::Counts& c = list.Counters();
    printf("  registered values: the machine's, and %zu of them again under the user\n", extra.size());
    printf("  rows %d (registered %d, type 1 %d, GDI only %d, raster %d, vertical %d, EUDC %d), shown %d\n",
           list.CountShown(true), c.registered, c.type1, c.gdiOnly, c.raster, c.vertical, c.eudc,
           list.CountShown(false));
    printf("  cold fill %.0f\n", cold.back());
    std::vector<std::vector<double>> runs(kSteps + 1);
    std::vector<double> changes;
    for (int run = 0, runCount = BenchRuns(kRunsDefault); run < runCount; ++run) {
      const std::vector<double> times = TimeFill(list);
      for (size_t i = 0; i < times.size(); ++i) runs[i].push_back(times[i]);
      // WM_FONTCHANGE as the main frame handles it, up to the repainted screen.
      const double start = NowMs();
      g_AppState.FontCache.RemoveAll(true);
      list.Fill();
      ::RedrawWindow(host.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      changes.push_back(NowMs() - start);
    }
    printf(" ");
    for (int i = 0; i < kSteps; ++i) printf(" %s %.0f", kStepNames[i], Median(runs[i]));
    const double fill = Median(runs[kSteps]);
    const double change = Median(changes);
    printf("\n  fill %.0f (target < %.0f), change %.0f (target < %.0f)\n", fill, kTargetFillMs, change,
           kTargetFontChangeMs);
    if (fill > kTargetFillMs || change > kTargetFontChangeMs) {
      printf("  ABOVE TARGET\n");
      result = 1;
    }
    SetInstalledFillObserver(nullptr);
    g_AppState.FontCache.RemoveAll(false);
    if (list.m_hWnd) ::DestroyWindow(list.m_hWnd);
  }
  RemoveExtraValues(extra);
  return result;
}
